#pragma once
// The compile command: turns the open project into a program of its own. It copies this
// program under the chosen name into the chosen folder, writes the project beside it as
// "comp.mod", copies the settings and the data files that the components name, and writes the
// device settings anew. A program not named "tavrinol40" starts in compiled-program mode on
// that "comp.mod" (see MainWindow).
//
// Two data files of the same name would land on one file in the target folder: the second is
// refused and the user is told which files collide.

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class TCompiler;
class TFrontplatte;
class TIOBauteil;
class TPlatine;
class TProjectFiles;

// The data files a component names that a compiled program needs beside it; for a hardware
// component the maker's files of its device found in the program folder.
QStringList CompileDataFiles(const TIOBauteil& component);

// Writes the device settings of the board's hardware anew into fileName (sections of an older
// file go); the older file stays whole when the new one cannot be written. False with *error.
bool WriteHardwareSettingsFile(TPlatine& board, const QString& fileName, QString* error);

class TCompileCommand {
public:
    TCompileCommand(TCompiler& window, TProjectFiles& project, TPlatine& mainBoard);

    // The running program (copied as the compiled one) and the program folder it comes from.
    QString ExecutableFile;
    QString ProgramFolder;
    TFrontplatte* FrontPanel = nullptr;
    // Starts the compiled program; empty: started as a detached process.
    std::function<bool(const QString& program)> StartProgram;

    // Fills the window for the open project: folder and program name.
    void Prepare();
    // The compile buttons; start: run the program afterwards. True when the program was made.
    bool CompileButtonClick(bool start);
    // True when the folder may be written: it exists and the user agrees, or it was made.
    bool PrepareTargetFolder(const QString& folder);
    // Everything into the folder of program; false when it stopped on an error.
    bool CompileProject(const QString& program);
    // Copies one file with its status line; false (line "*** FEHLER ***") when it failed. A
    // copy that cannot be written is told at the end and makes the compile fail.
    bool CopyCompileFile(const QString& source, const QString& destination);
    void CopyBoardFiles(TPlatine& board, const QString& folder);

    // The status lines (the window's list).
    QStringList StatusLines() const;

private:
    // Ends the compile with the status line "Abgebrochen." and the error (when not empty).
    bool Abort(const QString& error);
    void AddLine(const QString& line);
    void AppendToLine(const QString& text);
    // A data file to folder + its name; refuses a second, different file of that name.
    void CopyDataFile(const QString& source, const QString& folder);

    TCompiler& m_window;
    TProjectFiles& m_project;
    TPlatine& m_mainBoard;
    QHash<QString, QString> m_copied;  // target name (lower case) -> source
    QStringList m_collisions;
    QStringList m_failures;  // copies that could not be written, with the reason
};
