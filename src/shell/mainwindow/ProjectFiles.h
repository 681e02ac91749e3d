#pragma once
// Project files of the main window: the file header, New, Open, Save, Save as, the save
// question, the history of the last four projects, the backup written at each run start, and
// the board events through which a component's front-panel element travels with the circuit
// stream (created and read when a component is read, written with the component, deleted with
// it).
//
// A project file is one tagged stream: the 5-byte header, the main board's circuit (each
// component followed by a Boolean and, when true, its element record), the root design's
// element list and the front-panel window's record.
//
// The controller holds no widgets. The main window owns the boards and the front panel, points
// the fields below at them, binds its boards (BindBoard) and answers the callbacks.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>

class TDesign;
class TFP_Element;
class TFrontplatte;
class TIOBauteil;
class TMakro;
class TPlatine;
class TReader;
class TWriter;

class TProjectFiles {
public:
    // Format version written into every project and macro file.
    static constexpr uint8_t kProjectVersion = 44;
    // Raw header size and the count of random integers in front of "comp.mod".
    static constexpr int kHeaderSize = 5;
    static constexpr int kCompiledNoiseCount = 59;
    static constexpr int kHistorySize = 4;
    // Larger files are refused before they are read (a project of thousands of components
    // stays far below).
    static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

    TProjectFiles();
    ~TProjectFiles();
    TProjectFiles(const TProjectFiles&) = delete;
    TProjectFiles& operator=(const TProjectFiles&) = delete;

    // --- What the main window points at (not owned) ------------------------------------------
    TPlatine* MainBoard = nullptr;
    TPlatine* CurrentBoard = nullptr;     // board shown; nullptr stands for MainBoard
    TFrontplatte* FrontPanel = nullptr;   // nullptr: the program's window (Frontplatte())
    TDesign* CurrentDesign = nullptr;     // design shown; nullptr stands for the root design

    // --- State ----------------------------------------------------------------------------
    QString ProjectFileName;              // empty for an unnamed project
    bool LoadingProject = false;          // while a project is read
    bool CompiledCopy = false;            // "comp.mod": 59 integers before the header
    uint8_t FileVersion = kProjectVersion;  // version of the file being read
    std::array<QString, kHistorySize> History;  // D1 .. D4
    // Settings file of the history ([History] D1 .. D4); empty: ProgramFolder +
    // "Settings/QUORIN.INI".
    QString HistoryIniFile;

    // --- Callbacks to the main window (each may stay empty) -----------------------------------
    std::function<void(const QString& fileName)> OnProjectNameChanged;  // caption
    std::function<void()> OnHistoryChanged;                             // History1..4 captions
    // A project was reset or read: the view shows the main board, zooms, updates its tools.
    std::function<void()> OnProjectReset;
    std::function<void()> OnProjectLoaded;
    // A macro is about to be freed: its inner board leaves OpenBoards and its tabs.
    std::function<void(TMakro& macro)> OnMacroRemoving;
    // A macro file (".mak") was saved: macro folder and macro palette follow it.
    std::function<void(const QString& fileName)> OnMacroFileSaved;
    // File dialogs (initial folder given); an empty result means cancelled. Empty functions
    // show a file dialog through ShowModal.
    std::function<QString(const QString& folder)> AskOpenFileName;
    std::function<QString(const QString& folder)> AskSaveFileName;
    // After Save as: the front panel's and the components' state files (set by the simulation
    // control).
    std::function<void(const QString& fileName)> OnSavedAs;

    // --- Boards ---------------------------------------------------------------------------
    // Installs OnNeuesBauteil, OnWriteFPDaten and OnEntferneBauteil on a board (inner boards
    // created later take them over).
    void BindBoard(TPlatine& board);

    // --- Header ---------------------------------------------------------------------------
    void WriteProjectHeader(TWriter& writer);
    // Skips the 59 integers when CompiledCopy is set, reads 5 bytes; FileVersion := byte 3.
    uint8_t ReadProjectHeader(TReader& reader);
    // True when the five bytes are a header this program can read (2, 0, 0, version 1..44);
    // *why gets the reason otherwise.
    static bool CheckProjectHeader(const QByteArray& header, QString* why = nullptr);

    // --- Whole project streams ------------------------------------------------------------
    // Header, main board's circuit, root design's element list and the window record; a macro
    // file (asMacro) writes the current board and the current design instead.
    void WriteProject(TWriter& writer, bool asMacro = false);
    // Reads the parts after the header into the current (fresh) project.
    void ReadProjectBody(TReader& reader, uint8_t version);

    // --- Commands -------------------------------------------------------------------------
    // False only when the user cancelled, or chose Yes and the save was cancelled or failed.
    bool AskSaveChanges();
    void NewProject();
    // The New command: the save question, then NewProject.
    bool NewCommand();
    // Asks to save, checks the file's header, then reads it into a fresh project. On a read
    // error the user is told and the previous project comes back under its own name.
    bool OpenProject(const QString& fileName);
    // Writes through a temporary file that replaces the target only when complete. Success:
    // ProjectFileName := name, history updated. Failure: reported, name and file unchanged.
    bool SaveProject(const QString& fileName);
    bool Save();     // SaveProject(ProjectFileName), or Save as for an unnamed project
    bool SaveAs();   // false when the dialog was cancelled or the save failed
    bool OpenCommand();
    bool ExamplesCommand();
    bool OpenHistory(int tag);  // 1 .. 4
    // ProgramFolder + "Backup.prj" without touching ProjectFileName or the history; a failure
    // is reported and returns false. An empty main board writes nothing.
    bool SaveBackup();
    QString BackupFileName() const;

    void SetProjectName(const QString& fileName);
    void ReadHistory();
    void WriteHistory();
    void AddToHistory(const QString& fileName);

    // --- Board events ---------------------------------------------------------------------
    void PlatineNeuesBauteil(TPlatine* board, TIOBauteil* component, TReader& reader,
                             uint8_t version);
    void PlatineWriteFPDaten(TPlatine* board, TIOBauteil* component, TWriter& writer);
    void PlatineEntferneBauteil(TPlatine* board, TIOBauteil* component);
    // A macro's group shows once it holds an element of its own, and so do the groups of the
    // macros around it, up to the main board.
    static void UpdateMacroGroupVisibility(TPlatine* board);
    // Forgets the groups of every macro nested in `macro` (they go with its group).
    static void DetachNestedMacroGroups(TMakro& macro);

    // The front panel in use and its root design (nullptr without a window).
    TFrontplatte* Panel() const;
    TDesign* RootDesign() const;
    TDesign* ActiveDesign() const;  // CurrentDesign, else the root design
    TPlatine* ActiveBoard() const;  // CurrentBoard, else MainBoard

private:
    // The whole project (WriteProject) as bytes; throws what the writer throws.
    QByteArray ProjectBytes(bool asMacro);
    // Header and body from bytes into the current (fresh) project, LoadingProject set meanwhile.
    void ReadProjectBytes(QByteArray& data);
    bool WriteFile(const QString& fileName, bool asMacro, QString* error);
    void ReportError(const QString& text);
};
