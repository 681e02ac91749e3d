#pragma once
// The main window (form Form1): program-wide objects made at start-up (word table, language,
// settings files, class registry, top board, palette area), the menus, the tool bar, the mode
// and run buttons, the board area with its tabs, and the captions in three languages.
//
// Start-up runs in two steps as the window's own events: FormCreate from the constructor and
// FormShow at the first show. The start-up options name the executable (which decides the
// compiled-program mode) and the command-line parameters; tests pass their own.

#include <QMainWindow>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QBuffer;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class TWLXImageListBox;
class QMenu;
class QScrollArea;
class QSplitter;
class QTabBar;
class QToolBar;
class QToolButton;
class QWidget;
class TBauteilPin;
class QIODevice;
class QKeyEvent;
class TBibo;
class TBoardEditor;
class TMakro;
class TBoardView;
class TDesign;
class THintBox;
class TIniFile;
class TPlatine;
class TReader;
class TProjectFiles;
class TSimulationControl;
class TProgressWindow;
class QTimer;
class QProgressBar;
class TCompiler;
class TIUpdater;
class TInfoDlg;
class TObjektliste;
class TPartsLister;
class TSList;
class TWLXBrowseEdit;

// What the program was started as: the executable's file name and the command-line parameters
// (without the program name).
struct TStartupOptions {
    QString ExecutableName;
    QStringList Arguments;
};
// The running program's name and parameters.
TStartupOptions CurrentStartupOptions();

// True when an executable of this file name (folder ignored) runs as a compiled project: every
// name other than "tavrinol40", compared in lower case.
bool IsCompiledProgramName(const QString& executableFileName);

// The project named on the command line: the parameters up to the first empty one, joined by
// single blanks; the first " /RUN" (any case) is cut out and asks for a run after loading.
struct TCommandLine {
    QString ProjectName;
    bool RunRequested = false;
};
TCommandLine ParseCommandLine(const QStringList& parameters);

// The four colours of the boards' palette for a screen of the given bits per pixel.
QVector<QColor> MakeBoardPalette(int bitsPerPixel);

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const TStartupOptions& options = CurrentStartupOptions(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Start-up (MainWindowStartup.cpp) ---------------------------------------------------
    void FormCreate();
    // The first show's work (runs once; showEvent calls it).
    void FormShow();
    // The program's start: the editor shows this window; a compiled program does the first
    // show's work without it, so that only its front panel shows.
    void ShowAtStart();
    void SetProjectName(const QString& name);
    QString ProjectFileName() const;
    // A new board owned by the window, wired to its handlers.
    TPlatine* CreatePlatine();
    void ReadHistory();
    void ShowHistory();
    void AddToHistory(const QString& fileName);
    void ApplyGridOptions();
    void ApplyWindowBounds();

    // --- Captions (MainWindowCaptions.cpp) ----------------------------------------------------
    // Captions, hints, dialog titles and filters for Ctx().CurrentLanguage.
    void TranslateMenus();

    // --- Commands wired here (MainWindowMenus.cpp) ---------------------------------------------
    void StartSimulationKey();
    void StopSimulationKey();
    void StartSimulation();
    // Shows the board of tab index (0: the main board).
    void ShowBoardTab(int index);
    void UpdateTools();
    void SpeedBtnClick(QToolButton* button);
    void PlatineModeChange(TPlatine* board);
    void PlatineChange(TPlatine* board);

    // --- Edit, zoom and help commands (MainWindowCommands.cpp) --------------------------------
    void CutCommand();
    void CopyCommand();
    void PasteCommand();
    void DuplicateCommand();
    void SelectAllCommand();
    void DeleteCommand();
    // Deselects everything, then selects dangling wire chains, ready for Delete.
    void CleanUpCommand();
    void ZoomInCentre();
    void ZoomOutCentre();
    // 0: whole board, 1: all items, 2: selected items.
    void ZoomCommand(int which);
    void HelpCommand();
    // Whether an edit keeps this key from the board's edit commands.
    static bool KeepsBoardKey(const QKeyEvent& key);
    // Enabled and ticked states of the menus, computed when a menu opens.
    void UpdateMenuStates();
    // Fills the component pop-up's states for the current selection.
    void PlatinePopupRequest();

    // --- Hints, window placement and the web link (MainWindowScreen.cpp) ----------------------
    // The hint of the board item under the mouse above a cursor point of this window, ending
    // 10 pixels before the right edge at the latest; an empty text hides it.
    void ShowBoardHint(const QString& text, QPoint cursor);
    // The mouse at a point of the board: a wire that carries a pin's value makes that pin the
    // one whose value the run shows in the hint box, placed beside the mouse.
    void HoverOverBoard(QPoint screenPoint, QPoint devicePoint);
    // The pin value the run shows every 50 ms (empty: no pin under the mouse).
    void ShowPinHint(const QString& text);
    // Windows of the program that lie off the screen area go to (50, 50), (70, 70) ... of it.
    void BringFormsOnScreen(const QRect& area);
    // The front-panel window is moved to lie within the screen area.
    void KeepFrontPanelOnScreen(const QRect& area);
    // Both, for the screens as they are now (after loading and when the screens change).
    void KeepWindowsOnScreen();
    void StartWebLink();
    void StopWebLink();
    // Every 10 s: a front panel that publishes and has no link gets one again.
    void Timer10SecTimer();
    QTimer* Timer10Sec = nullptr;

    // --- Palette, quick find and macro palette (shell/palette/MainWindowPalette.cpp) ----------
    void BuildPaletteCategories();
    // The palette menu as built (hardware categories without devices left out); the buttons
    // step through it.
    const std::vector<std::vector<int>>& PaletteMenuShown() const { return m_paletteMenu; }
    // Shows a category (an invalid row shows the default one).
    void LoadPaletteCategory(int row);
    // The palette button's caption in a font small enough to show it whole (down to 6 points).
    void FitPaletteButtonText();
    // Row shown by the palette, -1 for the macro palette.
    int ShownPaletteRow() const;
    // A category's library: the installed file, else built from the registered classes.
    QByteArray CategoryLibrary(int row) const;
    void SB_BiboPlusClick();
    void SB_BiboMinusClick();
    void CB_NurTextClick();
    void CloseBiboClick();
    // A palette entry pressed: its stream is pasted on the current board for placing.
    void BiboDropComponent(QIODevice& stream);
    void BiboDropMacro();
    void MakroClick();
    void MakroPathEditChange();
    // The palette pop-up at a point of the palette: the delete item for a macro entry there.
    void PopupBiboPopup(QPoint palettePoint);
    void Del1Click();
    void BuildSearchIndex();
    void SearchBtnClick();
    void SearchEditChange();
    // Places the selected search result on the current board.
    void SearchAddClick();
    QStringList SearchNames;    // component names, each once
    QStringList SearchClasses;  // parallel: class to create ("Hardware" + device class)

    // --- Macro files and windows (MainWindowMacros.cpp) ---------------------------------------
    // Reads a macro file into a new macro block appended to board; throws on a read error.
    TMakro* LoadMacroFile(const QString& fileName, TPlatine& board);
    // A macro's inner circuit and element list from a stream: the inner board of holder, and
    // the macro's front-panel group inside the design shown now (it takes the elements).
    void ReadMacroContent(TMakro& macro, TReader& reader, uint8_t version, TPlatine& holder);
    // LoadMacroFile with the error reported; with paste the block hangs at the mouse to be
    // placed. The block made (nullptr on failure).
    TMakro* ImportMacroFile(const QString& fileName, bool paste, TPlatine* board);
    void MakroimportierenClick();
    // True when the macro file was written.
    bool MakroSpeichernClick();
    void OpenMacroWindow(TMakro* macro);
    void Bearbeiten2Click();
    void RenameMacroWindow(TMakro* macro);
    void CloseMacroTab();
    // File dialogs of macro files; empty: a file dialog through ShowModal.
    std::function<QString(bool save, const QString& folder)> AskMacroFileName;

    // --- Parts list, print, compile, about box, update, shutdown (MainWindowTools.cpp) -------
    void SB_SListClick();
    void Drucken1Click();
    void CompilierenClick();
    void InfoClick();
    void InternetUpdate1Click();
    void InternetForum1Click();
    // At the first show with the update option: the update window, only when there is one.
    void CheckForUpdate();
    // The configuration window on the main board.
    void Bauteileinstellungenbersicht1Click();
    // The front panel's hardware and configuration requests during a run: stop, the dialog,
    // start again.
    void FrontPanelHardwareConfig();
    void FrontPanelAppConfig();
    // The close request: a run is stopped first and the window closes a second later (the
    // close timer); otherwise the save question, the settings written back and the project
    // cleared. False refuses the close.
    bool FormCloseQuery();
    void CloseTimerTimer();
    // Options, window bounds and folders into the settings file.
    void WriteOptions();
    // Reads the device settings of a compiled program at each run start.
    void LoadCompiledHardwareSettings();
    // The window was closed for good (the program's entry ends the program then).
    std::function<void()> OnClosed;
    TSList* SList = nullptr;
    TObjektliste* Objektliste = nullptr;
    TCompiler* Compiler = nullptr;
    QTimer* CloseTimer = nullptr;        // single shot, 1 s
    std::unique_ptr<TPartsLister> PartsLister;
    // Made for the update command and the automatic check; tests point it at their server.
    std::function<void(TIUpdater& updater)> OnUpdaterCreated;

    // --- State ------------------------------------------------------------------------------
    // Project name, history, file version and the compiled-copy flag live in Projects; the
    // speed mode, the armed start and the step-rate ticks in Simulation.
    TStartupOptions Options;
    TPlatine* MainBoard = nullptr;       // owned (with every board made by CreatePlatine)
    TPlatine* CurrentBoard = nullptr;
    std::vector<TPlatine*> OpenBoards;   // index = tab index
    bool GridVisible = false;            // "RASTER": every board tab shows the grid
    // The editor (view state, mode, tools) of a board's tab, made on first use.
    TBoardEditor& EditorOf(TPlatine* board);
    TDesign* CurrentDesign = nullptr;
    TDesign* RootDesign = nullptr;
    uint8_t HeaderByte0 = 0;
    uint16_t FormatVersion = 0;
    std::unique_ptr<TIniFile> Settings;
    std::unique_ptr<TIniFile> HardwareLinks;
    QString MacroFolder;
    QString LibraryFolder;
    THintBox* HintBox = nullptr;
    std::unique_ptr<QBuffer> ClipboardStream;
    QVector<QColor> BoardPalette;
    bool RunRequested = false;
    bool UpdateInfo = false;
    bool ShowHints = true;               // tool-tip hints of the main window
    bool TextOnly = false;               // palette shows names only
    bool Created = false;                // FormCreate done
    bool Shown = false;                  // FormShow done
    // The front panel's grid options read at the first show.
    bool FPGridVisible = false;
    int32_t FPGridColor = 0xC0C0C0;
    int32_t FPGrid = 16;

    // Texts of the file dialogs: title and filter by dialog name ("OpenDialog1", "SaveDialog1",
    // "SaveMakroDialog").
    struct TFileDialogTexts {
        QString Title;
        QString Filter;
    };
    QHash<QString, TFileDialogTexts> FileDialogs;
    // Prefix of the macro palette's delete item ("Makro löschen: ").
    QString DeleteMacroPrefix;

    // Project commands and run control, owned by the window.
    std::unique_ptr<TProjectFiles> Projects;
    std::unique_ptr<TSimulationControl> Simulation;
    TProgressWindow* ProgressWindow = nullptr;  // shared progress window (child of this window)

    // --- Controls (names as the window's published fields) -----------------------------------
    QMenu* Datei1 = nullptr;
    QMenu* Bearbeiten1 = nullptr;
    QMenu* Frontplatte1 = nullptr;
    QMenu* Konfiguration1 = nullptr;
    QMenu* Option = nullptr;
    QMenu* Fenster1 = nullptr;
    QMenu* Hilfe1 = nullptr;
    QMenu* BiboMenu = nullptr;           // palette categories
    QMenu* BauteilMenu = nullptr;        // component pop-up
    std::array<QAction*, 4> HistoryItems{};
    QAction* HistoryTrenner = nullptr;
    QAction* N3 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QComboBox* cbSpeed = nullptr;
    QLabel* Status = nullptr;            // step rate
    QWidget* Panel7 = nullptr;
    QToolButton* StandardBtn = nullptr;
    QToolButton* LineBtn = nullptr;
    QToolButton* ZoomBtn = nullptr;
    QToolButton* SB_Start = nullptr;
    QToolButton* SB_Stop = nullptr;
    QToolButton* SB_HILO = nullptr;
    QToolButton* SB_Status = nullptr;
    QToolButton* SB_Front = nullptr;
    QToolButton* HintBtn = nullptr;
    QToolButton* CloseBibo = nullptr;
    QToolButton* SB_Raster = nullptr;
    QToolButton* tb_Compile = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* P_Bibo = nullptr;
    QToolButton* BiboButton = nullptr;
    QScrollArea* SB_Bibliothek = nullptr;
    QProgressBar* ProgressBar1 = nullptr;  // shown while the macro palette loads
    QWidget* SearchPanel = nullptr;
    TWLXImageListBox* SearchResultListbox = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QToolButton* cb_NurText = nullptr;
    QToolButton* SearchBtn = nullptr;
    QToolButton* sb_BiboPlus = nullptr;
    QToolButton* sb_BiboMinus = nullptr;
    TWLXBrowseEdit* MakroPathEdit = nullptr;   // the macro palette's folder
    TBibo* Bibo = nullptr;
    QAction* Del1 = nullptr;
    QWidget* Panel4 = nullptr;
    TBoardView* PlatineScrollbox = nullptr;
    QTabBar* TabSet = nullptr;

    // A menu item or tool button by its name (nullptr when there is none).
    QAction* ActionByName(const QString& name) const;
    QToolButton* ButtonByName(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildModePanel();
    void BuildPalettePanel();
    void SetUpPalette();
    QString AskMacroFile(bool save);
    void BuildBoardArea();
    void ConnectCommands();
    void SetStoredCaptions();
    void ApplyCaptions(int column);
    void SetCaption(const QString& name, int kind, const QString& text);

    std::vector<std::unique_ptr<TPlatine>> m_boards;  // every board made by CreatePlatine
    std::map<TPlatine*, std::unique_ptr<TBoardEditor>> m_editors;  // one per board tab
    QHash<QString, QAction*> m_actions;
    std::vector<std::vector<int>> m_paletteMenu;
    QHash<QString, QToolButton*> m_buttons;
    TInfoDlg* m_splash = nullptr;      // the about box as the start-up splash
    QAction* m_compileTool = nullptr;  // tb_Compile's place in the tool bar
    QString m_deleteMacro;             // macro file the palette pop-up offers to delete
    bool m_searchMouseDown = false;    // a double click in the search results waits for release
};

// The main window of the running program (nullptr before it is made and after it is gone).
TForm1* Form1();
