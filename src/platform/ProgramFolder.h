#pragma once
// The program folder: where the settings, data, library and help folders live.

#include <QString>

// The executable's folder when the program may write there, else the per-user data folder
// (which then takes the same layout: Settings/, Data/ ...). Always ends with '/'.
QString DetermineProgramFolder(const QString& executableDir);

// Sets Ctx().ProgramFolder from the running executable's folder.
void InitProgramFolder();
