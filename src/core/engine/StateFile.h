#pragma once
// The component state file of a project: an INI file beside the project in which components
// keep the state the user changed during a run (switch positions, set values ...). It is read
// at the start of a run and written at its end. Each component writes its own keys into the
// section "<board name>.<prefix><number>".

#include <QString>

class TPlatine;

// The project's folder + its file name without folder and extension in capitals +
// "_Default.set"; a project without a name stands as "UNSAVED.PRJ" in the program folder.
QString ComponentStateFileName(const QString& projectFileName);

// Opens the project's state file, lets every item of the top board's hierarchy save its state
// and writes the file. False when it cannot be written: with error given *error gets the text
// for the caller to report, else the INI file reports it.
bool SaveComponentStateFile(TPlatine& topBoard, const QString& projectFileName,
                            QString* error = nullptr);

// Opens the project's state file and lets every item of the hierarchy load its state.
void LoadComponentStateFile(TPlatine& topBoard, const QString& projectFileName);
