// Start-up of the main window: the program-wide objects made once at creation, the first
// show (folders, options, compiled-program mode, command line), the window caption, the boards
// made for the window and the list of recent projects.

#include "shell/mainwindow/MainWindow.h"

#include "components/core/SimulationStop.h"
#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "shell/Composition.h"
#include "shell/boardview/BoardView.h"
#include "components/core/CoreComponents.h"
#include "shell/mainwindow/ProgressWindow.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/palette/PaletteCategories.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "shell/mainwindow/SimulationControl.h"
#include "shell/tools/InfoDlg.h"
#include "shell/tools/PartsList.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ProgramFolder.h"
#include "platform/ScreenFit.h"
#include "platform/Progress.h"
#include "platform/QtTranslations.h"
#include "widgets/BrowseEdit.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

TForm1* g_form = nullptr;

const QString kOptions = QStringLiteral("OPTIONS");
const QString kMainWindow = QStringLiteral("HAUPTFENSTER");
const QString kDirectories = QStringLiteral("DIRECTORIES");

} // namespace

// --- Free helpers -----------------------------------------------------------------------------

TStartupOptions CurrentStartupOptions()
{
    TStartupOptions options;
    options.ExecutableName = QCoreApplication::applicationFilePath();
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    options.Arguments = args;
    return options;
}

bool IsCompiledProgramName(const QString& executableFileName)
{
    return QFileInfo(executableFileName).fileName().toLower() != QStringLiteral("tavrinol40");
}

TCommandLine ParseCommandLine(const QStringList& parameters)
{
    TCommandLine result;
    if (parameters.isEmpty())
        return result;
    QString text = parameters.first();
    for (int i = 1; i < parameters.size() && !parameters[i].isEmpty(); ++i)
        text += u' ' + parameters[i];
    const int at = text.toUpper().indexOf(QStringLiteral(" /RUN"));
    if (at >= 0) {
        result.RunRequested = true;
        text.remove(at, 5);
    }
    result.ProjectName = text;
    return result;
}

QVector<QColor> MakeBoardPalette(int bitsPerPixel)
{
    if (bitsPerPixel > 7)
        return {QColor(230, 240, 248), QColor(255, 255, 246), QColor(230, 230, 230),
                QColor(220, 220, 250)};
    return QVector<QColor>(4, QColor(255, 255, 255));
}

TForm1* Form1()
{
    return g_form;
}

// --- Creation ---------------------------------------------------------------------------------

TForm1::TForm1(const TStartupOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , Options(options)
    , Projects(std::make_unique<TProjectFiles>())
    , Simulation(std::make_unique<TSimulationControl>())
{
    setObjectName(QStringLiteral("Form1"));
    g_form = this;
    BuildMenus();
    BuildToolBar();
    BuildModePanel();
    BuildPalettePanel();
    BuildBoardArea();
    SetStoredCaptions();
    resize(957, 677 + 60);
    FormCreate();
    ConnectCommands();
}

TForm1::~TForm1()
{
    if (ProgressSink() == ProgressWindow)
        SetProgressSink(nullptr);
    if (Simulation && Simulation->Running())
        Simulation->StopSimulation();
    if (PlatineScrollbox)
        PlatineScrollbox->SetEditor(nullptr);
    // The window's boards go before the controller that their handlers call; their editors
    // before them.
    m_editors.clear();
    OpenBoards.clear();
    CurrentBoard = nullptr;
    MainBoard = nullptr;
    m_boards.clear();
    if (TFrontplatte* panel = Frontplatte())
        RemoveFrontPanelWindowHooks(*panel);
    if (g_form == this)
        g_form = nullptr;
}

void TForm1::FormCreate()
{
    InstallHooks();
    BuildTranslationTable();
    Ctx().ColorSymbols = true;
    // Tool-bar images are painted with the buttons.

    if (Ctx().ProgramFolder.isEmpty())
        InitProgramFolder();
    Ctx().CurrentLanguage = uint8_t(ReadLanguageSetting());
    // Qt's own dialogs and buttons speak the program's language too.
    InstallQtTranslations(Ctx().CurrentLanguage);
    TranslateMenus();

    Ctx().RuntimeMode = IsCompiledProgramName(Options.ExecutableName);
    if (Ctx().RuntimeMode) {
        const QString icon = ResolvePath(QStringLiteral("ICON.ICO"), QDir::currentPath());
        if (QFileInfo::exists(icon))
            QApplication::setWindowIcon(QIcon(icon));
    }

    HardwareLinks = std::make_unique<TIniFile>(ProgramPath(QStringLiteral("Settings\\HardwareLinks.ini")));
    Settings = std::make_unique<TIniFile>(ProgramPath(QStringLiteral("Settings\\QUORIN.INI")));
    HeaderByte0 = 2;
    FormatVersion = TProjectFiles::kProjectVersion;
    const QScreen* screen = QGuiApplication::primaryScreen();
    BoardPalette = MakeBoardPalette(screen ? screen->depth() : 24);

    RegisterComponentClasses(ClassRegistry());

    ClipboardStream = std::make_unique<QBuffer>();
    ClipboardStream->open(QIODevice::ReadWrite);

    MainBoard = CreatePlatine();
    CurrentBoard = MainBoard;
    OpenBoards = {MainBoard};
    PlatineScrollbox->SetEditor(&EditorOf(MainBoard));

    LibraryFolder = Ctx().ProgramFolder + QStringLiteral("QJN_BIBO/");
    BuildPaletteCategories();
    TextOnly = false;
    LoadPaletteCategory(DefaultPaletteRow);

    Projects->MainBoard = MainBoard;
    Projects->CurrentBoard = MainBoard;
    Projects->HistoryIniFile = Settings->FileName();
    // File names are shown as they are written: on this system the lower-case name is that
    // of another file.
    Projects->OnProjectNameChanged = [this](const QString& name) {
        setWindowTitle(name.isEmpty() ? QStringLiteral("Tavrinol Ombrel 4.0")
                                      : QStringLiteral("Tavrinol Ombrel 4.0 - [") + name + u']');
    };
    Projects->OnHistoryChanged = [this] { ShowHistory(); };
    Projects->OnProjectReset = [this] { ShowBoardTab(0); };
    // A macro about to be freed takes its board's tab with it.
    Projects->OnMacroRemoving = [this](TMakro& macro) {
        TPlatine* inner = macro.InnerBoard();
        for (size_t i = 1; i < OpenBoards.size(); ++i) {
            if (OpenBoards[i] != inner)
                continue;
            if (CurrentBoard == inner)
                ShowBoardTab(0);
            OpenBoards.erase(OpenBoards.begin() + std::ptrdiff_t(i));
            TabSet->removeTab(int(i));
            break;
        }
        if (PlatineScrollbox->Board() != inner)
            m_editors.erase(inner);
    };
    Projects->OnProjectLoaded = [this] {
        ShowBoardTab(0);
        // An opened project is shown with all its items in view.
        EditorOf(MainBoard).ZoomTool.ZoomToObjects(false);
        PlatineScrollbox->SyncScrollBars();
        MainBoard->Repaint();
        KeepWindowsOnScreen();
    };
    Projects->OnMacroFileSaved = [this](const QString& fileName) {
        MacroFolder = QFileInfo(fileName).absolutePath() + u'/';
        MakroPathEdit->SetPath(MacroFolder);
        MakroClick();
    };
    Simulation->MainBoard = MainBoard;
    Simulation->Project = Projects.get();
    Simulation->OnStatusText = [this](const QString& text) { Status->setText(text); };
    Simulation->OnRunStateChanged = [this](bool running) {
        (running ? SB_Start : SB_Stop)->setChecked(true);
        UpdateTools();
        // The board's background and grid show whether a run is going on.
        if (CurrentBoard)
            CurrentBoard->Repaint();
    };
    Simulation->OnLockEditing = [this](bool lock) {
        Bearbeiten1->setEnabled(!lock);
        for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton6", "ToolButton8",
                                 "ToolButton9", "ToolButton12", "ToolButton15"})
            m_buttons.value(QString::fromLatin1(name))->setEnabled(!lock);
    };
    Simulation->OnShowFrontPanel = [] {
        if (TFrontplatte* panel = Frontplatte())
            panel->show();
    };
    Simulation->OnSpeedStored = [](bool fast) {
        TIniFile speed(ProgramPath(QStringLiteral("Settings\\SPEED.INI")));
        speed.WriteBool(QStringLiteral("Speed"), QStringLiteral("Fast"), fast);
        speed.UpdateFile();
    };

    // Long operations report to the shared progress window.
    ProgressWindow = new TProgressWindow(this);
    SetProgressSink(ProgressWindow);

    SetProjectName(QString());
    Ctx().SimRunning = false;
    Projects->LoadingProject = false;
    Projects->CompiledCopy = false;
    m_actions.value(QStringLiteral("naechstes1"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
    ReadHistory();
    StandardBtn->setChecked(true);
    SB_Stop->setChecked(true);
    Ctx().ProjectFolder = Ctx().ProgramFolder;
    Simulation->StartArmed = false;

    UpdateTools();
    Ctx().PerfFrequency = Clock().PerformanceFrequency();
    HintBox = new THintBox(this);
    // Hint texts of board items, and the pin value shown while the mouse is on a wire.
    PlatineScrollbox->OnHint = [this](const QString& text) {
        ShowBoardHint(text, mapFromGlobal(QCursor::pos()));
    };
    PlatineScrollbox->OnHover = [this](QPoint screenPoint, QPoint devicePoint) {
        HoverOverBoard(screenPoint, devicePoint);
    };
    Simulation->OnPinHint = [this](const QString& text) { ShowPinHint(text); };
    Timer10Sec = new QTimer(this);
    Timer10Sec->setInterval(10000);
    connect(Timer10Sec, &QTimer::timeout, this, [this] { Timer10SecTimer(); });

    const TIniFile speed(ProgramPath(QStringLiteral("Settings\\SPEED.INI")));
    Simulation->SimFast = speed.ReadBool(QStringLiteral("Speed"), QStringLiteral("Fast"), true);

    CloseTimer = new QTimer(this);
    CloseTimer->setSingleShot(true);
    connect(CloseTimer, &QTimer::timeout, this, [this] { CloseTimerTimer(); });
    // A compiled program reads its device settings at every start of a run.
    Simulation->OnPrepareDevices = [this] { LoadCompiledHardwareSettings(); };
    // The about box stands as the splash until the first show (not for a compiled program,
    // nor where nobody would see it).
    if (!Ctx().RuntimeMode && !IsHeadlessSession()) {
        m_splash = new TInfoDlg(this);
        m_splash->ArrangeAsSplash();
        m_splash->show();
        m_splash->repaint();
    }
    cbSpeed->setCurrentIndex(Simulation->SimFast ? 0 : 1);
    Created = true;
}

TPlatine* TForm1::CreatePlatine()
{
    m_boards.push_back(std::make_unique<TPlatine>());
    TPlatine* board = m_boards.back().get();
    board->ClipboardStream = ClipboardStream.get();
    board->OnChange = [this](TPlatine* sender) { PlatineChange(sender); };
    board->OnModeChange = [this](TPlatine* sender) { PlatineModeChange(sender); };
    board->OnAktTools = [this](TPlatine*) { UpdateTools(); };
    board->OnPopupRequest = [this](TPlatine*) {
        if (!BauteilMenu)
            return;
        PlatinePopupRequest();
        BauteilMenu->popup(QCursor::pos());
    };
    Projects->BindBoard(*board);
    board->OnNeuesMakro = [this](TMakro* macro, TReader& reader, TPlatine* holder, uint8_t version) {
        ReadMacroContent(*macro, reader, version, *holder);
    };
    board->TopBoard = MainBoard ? MainBoard : board;
    return board;
}

TBoardEditor& TForm1::EditorOf(TPlatine* board)
{
    std::unique_ptr<TBoardEditor>& editor = m_editors[board];
    if (!editor) {
        editor = std::make_unique<TBoardEditor>(*board);
        editor->View.GridVisible = GridVisible;
    }
    return *editor;
}

void TForm1::SetProjectName(const QString& name)
{
    Projects->SetProjectName(name);  // the caption follows through OnProjectNameChanged
}

QString TForm1::ProjectFileName() const
{
    return Projects->ProjectFileName;
}

// --- Recent projects --------------------------------------------------------------------------

void TForm1::ReadHistory()
{
    Projects->ReadHistory();  // the menu follows through OnHistoryChanged
}

void TForm1::ShowHistory()
{
    for (int i = 0; i < 4; ++i) {
        const QString& name = Projects->History[size_t(i)];
        HistoryItems[size_t(i)]->setText(QStringLiteral("&%1 ").arg(i + 1) + name);
        HistoryItems[size_t(i)]->setVisible(name.size() > 1);
    }
    HistoryTrenner->setVisible(HistoryItems[0]->isVisible());
}

void TForm1::AddToHistory(const QString& fileName)
{
    Projects->AddToHistory(fileName);  // the menu follows through OnHistoryChanged
}

// --- First show -------------------------------------------------------------------------------

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!Shown) {
        // After the window is on the screen, as its show event does.
        QTimer::singleShot(0, this, [this] { FormShow(); });
    }
}

void TForm1::ShowAtStart()
{
    // As after a show: once the event loop runs, which a run's end then leaves.
    if (Ctx().RuntimeMode)
        QTimer::singleShot(0, this, [this] { FormShow(); });
    else
        show();
}

void TForm1::FormShow()
{
    if (Shown)
        return;
    Shown = true;
    delete m_splash;
    m_splash = nullptr;
    Timer10Sec->start();
    // Windows that a change of the screens leaves outside come back.
    auto onScreens = [this] { KeepWindowsOnScreen(); };
    connect(qApp, &QGuiApplication::screenAdded, this, onScreens);
    connect(qApp, &QGuiApplication::screenRemoved, this, onScreens);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::availableGeometryChanged, this, onScreens);
    const bool compiled = Ctx().RuntimeMode;
    TFrontplatte* panel = Frontplatte();

    if (panel) {
        panel->WebServerPath = Ctx().ProgramFolder + QStringLiteral("TvWebServer/TvWebServer10");
        panel->WebRefreshSeconds = 5;
        panel->hide();
        MainBoard->Design = panel->RootDesign;
        InstallFrontPanelWindowHooks(*panel, *this);
        RootDesign = CurrentDesign = panel->RootDesign;
        Projects->FrontPanel = panel;
        Simulation->FrontPanel = panel;
    }

    MacroFolder = Ctx().ProgramFolder;
    const QString ttl = ProgramPath(QStringLiteral("MAKROS\\TTL"));
    if (QFileInfo(ttl).isDir())
        MacroFolder = ttl + u'/';
    MacroFolder = Settings->ReadString(kDirectories, QStringLiteral("MACROS"), MacroFolder);
    Ctx().ProjectFolder = Settings->ReadString(kDirectories, QStringLiteral("PROJECTS"), Ctx().ProjectFolder);
    MakroPathEdit->SetPath(MacroFolder);

    if (compiled) {
        const QString compMod = ProgramPath(QStringLiteral("comp.mod"));
        if (QFileInfo::exists(compMod)) {
            Projects->CompiledCopy = true;
            const bool opened = Projects->OpenProject(compMod);
            Projects->CompiledCopy = false;
            if (!opened) {
                close();
                return;
            }
        } else {
            close();
            return;
        }
        // Only the front panel shows; the editor's window stays hidden.
        hide();
        StartSimulation();
        return;
    }

    m_actions.value(QStringLiteral("Compilieren"))->setVisible(true);
    N3->setVisible(true);
    m_compileTool->setVisible(true);

    ApplyGridOptions();
    ApplyWindowBounds();

    const TCommandLine line = ParseCommandLine(Options.Arguments);
    RunRequested = line.RunRequested;
    if (!Options.Arguments.isEmpty()) {
        const QString name = QFileInfo(line.ProjectName).isRelative()
                                 ? ResolvePath(line.ProjectName, QDir::currentPath())
                                 : ResolvePath(line.ProjectName);
        // A run is started only for the project asked for, never for the empty board left by
        // a failed open.
        if (!Projects->OpenProject(name) && RunRequested) {
            RunRequested = false;
            MessageDlg(Lang3Q("Das Projekt wurde nicht geöffnet; die Simulation wird nicht "
                              "gestartet.",
                              "The project was not opened; the simulation is not started.",
                              "Le projet n'a pas été ouvert ; la simulation n'est pas lancée."),
                       mtWarning, mbOK);
        }
    }

    if (panel)
        panel->show();
    KeepWindowsOnScreen();
    if (UpdateInfo)
        CheckForUpdate();
    if (RunRequested)
        StartSimulationKey();
}

void TForm1::ApplyGridOptions()
{
    GridVisible = Settings->ReadBool(kOptions, QStringLiteral("RASTER"), false);
    for (auto& [board, editor] : m_editors)
        editor->View.GridVisible = GridVisible;
    if (GridVisible) {
        MainBoard->Repaint();
        SB_Raster->setChecked(true);
        m_actions.value(QStringLiteral("Raster"))->setChecked(true);
    }
    FPGridVisible = Settings->ReadBool(kOptions, QStringLiteral("FPGridVisible"), false);
    FPGridColor = Settings->ReadInteger(kOptions, QStringLiteral("FPGridColor"), 0xC0C0C0);
    FPGrid = Settings->ReadInteger(kOptions, QStringLiteral("FPGrid"), 16);
    if (TFrontplatte* panel = Frontplatte()) {
        FPState().FPGridVisible = FPGridVisible;
        panel->SB_ZeichneRaster->setChecked(FPGridVisible);
        FPState().FPGridColor = FPGridColor;
        panel->ShowGridColor(FPGridColor);
        QToolButton* step = nullptr;
        switch (FPGrid) {
        case 4: step = panel->SB_R4; break;
        case 8: step = panel->SB_R8; break;
        case 16: step = panel->SB_R16; break;
        case 32: step = panel->SB_R32; break;
        default: break;
        }
        if (step) {
            step->setChecked(true);
            panel->SetRaster(FPGrid);
        } else {
            // Any other step: grid snapping off.
            panel->SB_Raster->setChecked(false);
            panel->SB_RasterClick();
        }
    }
    UpdateInfo = Settings->ReadBool(kOptions, QStringLiteral("UpdateInfo"), false);
    TextOnly = Settings->ReadBool(kOptions, QStringLiteral("TextOnly"), false);
    cb_NurText->setChecked(TextOnly);
    CB_NurTextClick();
    ShowComponentHints = Settings->ReadBool(kOptions, QStringLiteral("COMPONENTHINT"), true);
    HintBtn->setChecked(ShowComponentHints);
    ShowHints = Settings->ReadBool(kOptions, QStringLiteral("HINT"), true);
    m_actions.value(QStringLiteral("Hinweistexte"))->setChecked(ShowHints);
}

void TForm1::ApplyWindowBounds()
{
    if (Settings->ReadBool(kMainWindow, QStringLiteral("MAX"), true)) {
        // Fitted first: without a window manager nothing maximises the window.
        setGeometry(FitToScreen(geometry()));
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    const QRect r(pos(), size());
    const QRect stored(Settings->ReadInteger(kMainWindow, QStringLiteral("X"), r.x()),
                       Settings->ReadInteger(kMainWindow, QStringLiteral("Y"), r.y()),
                       Settings->ReadInteger(kMainWindow, QStringLiteral("W"), r.width()),
                       Settings->ReadInteger(kMainWindow, QStringLiteral("H"), r.height()));
    // The position places the frame, so that the title bar stays on the screen.
    const QRect fitted = FitToScreen(stored);
    resize(fitted.size());
    move(fitted.topLeft());
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (OnClosed)
        OnClosed();
}
