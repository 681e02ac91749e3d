// Start-up of the main window: defaults without settings files, settings read from them, the
// order of the program-wide services, the first show in editor and compiled-program mode.
#include "MainWindowTestSupport.h"

#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "shell/boardview/BoardView.h"
#include "shell/mainwindow/ProgressWindow.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "platform/MessageBox.h"
#include "widgets/BrowseEdit.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include <vector>

namespace {

using MainWindowStartup = MainWindowFixture;

} // namespace

TEST_F(MainWindowStartup, WithoutSettingsFilesEverythingTakesItsDefault)
{
    TForm1& f = Make();
    EXPECT_EQ(Ctx().CurrentLanguage, 0);
    EXPECT_FALSE(Ctx().RuntimeMode);
    EXPECT_TRUE(Ctx().ColorSymbols);
    EXPECT_EQ(f.HeaderByte0, 2);
    EXPECT_EQ(f.FormatVersion, 44);
    EXPECT_TRUE(f.Simulation->SimFast);
    EXPECT_EQ(f.cbSpeed->currentIndex(), 0);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tavrinol Ombrel 4.0"));
    EXPECT_TRUE(f.ProjectFileName().isEmpty());
    EXPECT_EQ(f.LibraryFolder, Ctx().ProgramFolder + QStringLiteral("QJN_BIBO/"));
    EXPECT_EQ(Ctx().ProjectFolder, Ctx().ProgramFolder);
    EXPECT_TRUE(f.StandardBtn->isChecked());
    EXPECT_TRUE(f.SB_Stop->isChecked());

    // Class registry: base classes and the component families.
    for (const char* name : {"TBauteil", "TIOBauteil", "TSegment", "TGrundBT"})
        EXPECT_TRUE(ClassRegistry().IsRegistered(QString::fromLatin1(name))) << name;
    EXPECT_GT(ClassRegistry().Count(), 20);

    // The top board: tab 0, shown in the board view, its own top board, select mode.
    ASSERT_NE(f.MainBoard, nullptr);
    EXPECT_EQ(f.CurrentBoard, f.MainBoard);
    ASSERT_EQ(f.OpenBoards.size(), 1u);
    EXPECT_EQ(f.OpenBoards[0], f.MainBoard);
    EXPECT_EQ(f.MainBoard->TopBoard, f.MainBoard);
    EXPECT_EQ(f.EditorOf(f.MainBoard).Mode, kModeSelect);
    EXPECT_EQ(f.PlatineScrollbox->Board(), f.MainBoard);
    EXPECT_EQ(f.TabSet->count(), 1);

    // First show in the editor: compile command visible, options at their defaults, the window
    // maximised.
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Compilieren"))->isVisible());
    f.FormShow();
    EXPECT_TRUE(f.ActionByName(QStringLiteral("Compilieren"))->isVisible());
    EXPECT_TRUE(f.N3->isVisible());
    EXPECT_FALSE(f.EditorOf(f.MainBoard).View.GridVisible);
    EXPECT_FALSE(f.SB_Raster->isChecked());
    EXPECT_TRUE(ShowComponentHints);
    EXPECT_TRUE(f.HintBtn->isChecked());
    EXPECT_TRUE(f.ShowHints);
    EXPECT_FALSE(f.UpdateInfo);
    EXPECT_FALSE(f.cb_NurText->isChecked());
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(f.MacroFolder, Ctx().ProgramFolder);
    EXPECT_EQ(f.MakroPathEdit->Path(), Ctx().ProgramFolder);
    EXPECT_FALSE(f.RunRequested);
}

TEST_F(MainWindowStartup, SettingsFilesAreRead)
{
    WriteFile(QStringLiteral("SPRACHE.INI"), "[Sprache]\r\nSprache=2\r\n");
    // File names are matched without regard to case.
    WriteFile(QStringLiteral("Settings/Speed.ini"), "[Speed]\r\nFast=0\r\n");
    WriteFile(QStringLiteral("Settings/QUORIN.INI"),
              "[OPTIONS]\r\nRASTER=1\r\nCOMPONENTHINT=0\r\nHINT=0\r\nTextOnly=1\r\nUpdateInfo=0\r\n"
              "[HAUPTFENSTER]\r\nMAX=0\r\nX=10\r\nY=20\r\nW=700\r\nH=500\r\n"
              "[DIRECTORIES]\r\nMACROS=/daten/makros/\r\nPROJECTS=/daten/projekte/\r\n");
    QDir().mkpath(dir.path() + QStringLiteral("/Makros/TTL"));

    TForm1& f = Make();
    EXPECT_EQ(Ctx().CurrentLanguage, 2);
    EXPECT_EQ(f.Datei1->title(), QStringLiteral("&Fichier"));
    EXPECT_FALSE(f.Simulation->SimFast);
    EXPECT_EQ(f.cbSpeed->currentIndex(), 1);

    f.FormShow();
    EXPECT_TRUE(f.EditorOf(f.MainBoard).View.GridVisible);
    EXPECT_TRUE(f.SB_Raster->isChecked());
    EXPECT_FALSE(ShowComponentHints);
    EXPECT_FALSE(f.HintBtn->isChecked());
    EXPECT_FALSE(f.ShowHints);
    EXPECT_TRUE(f.cb_NurText->isChecked());
    EXPECT_FALSE(f.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(f.geometry().width(), 700);
    EXPECT_EQ(f.geometry().height(), 500);
    // The stored folder wins over "Makros/TTL".
    EXPECT_EQ(f.MacroFolder, QStringLiteral("/daten/makros/"));
    EXPECT_EQ(Ctx().ProjectFolder, QStringLiteral("/daten/projekte/"));
}

TEST_F(MainWindowStartup, MacroFolderDefaultsToTtlMacros)
{
    QDir().mkpath(dir.path() + QStringLiteral("/Makros/TTL"));
    TForm1& f = Make();
    f.FormShow();
    EXPECT_EQ(QDir::cleanPath(f.MacroFolder), QDir::cleanPath(dir.path() + QStringLiteral("/Makros/TTL")));
    EXPECT_TRUE(f.MacroFolder.endsWith(u'/'));
}

TEST_F(MainWindowStartup, FrontPanelGridStepFromSettings)
{
    struct Case {
        int grid;
        int pressed;  // 4, 8, 16, 32 or 0 for none
    };
    const Case cases[] = {{4, 4}, {8, 8}, {16, 16}, {32, 32}, {12, 0}};
    for (const Case& c : cases) {
        ResetFrontPanelState();
        WriteFile(QStringLiteral("Settings/QUORIN.INI"),
                  "[OPTIONS]\r\nFPGrid=" + QByteArray::number(c.grid) +
                      "\r\nFPGridVisible=1\r\nFPGridColor=255\r\n");
        TFrontplatte panel;
        panel.SB_Raster->setChecked(true);
        TForm1& f = Make();
        f.FormShow();
        EXPECT_TRUE(panel.SB_ZeichneRaster->isChecked());
        EXPECT_EQ(FPState().FPGridColor, 255);
        EXPECT_TRUE(FPState().FPGridVisible);
        const std::pair<QToolButton*, int> steps[] = {
            {panel.SB_R4, 4}, {panel.SB_R8, 8}, {panel.SB_R16, 16}, {panel.SB_R32, 32}};
        for (const auto& [button, step] : steps) {
            if (step == c.pressed) {
                EXPECT_TRUE(button->isChecked()) << "FPGrid " << c.grid;
            }
        }
        if (c.pressed) {
            EXPECT_EQ(FPState().FPGrid, c.grid);
            EXPECT_TRUE(panel.SB_Raster->isChecked());
        } else {
            EXPECT_FALSE(panel.SB_Raster->isChecked()) << "snapping off";
            EXPECT_EQ(FPState().FPGrid, 1);
        }
        // The front panel's start and stop requests reach the window.
        EXPECT_TRUE(bool(panel.StartHook));
        EXPECT_TRUE(bool(panel.StopHook));
        EXPECT_EQ(f.RootDesign, panel.RootDesign);
        EXPECT_EQ(f.MainBoard->Design, panel.RootDesign);
        form.reset();
    }
}

TEST_F(MainWindowStartup, HistoryShowsNamesLongerThanOneCharacter)
{
    WriteFile(QStringLiteral("Settings/QUORIN.INI"),
              "[History]\r\nD1=/Daten/Anlage.PRJ\r\nD2=x\r\nD3=\r\nD4=/daten/b.prj\r\n");
    TForm1& f = Make();
    EXPECT_TRUE(f.HistoryItems[0]->isVisible());
    EXPECT_EQ(f.HistoryItems[0]->text(), QStringLiteral("&1 /Daten/Anlage.PRJ"));
    EXPECT_FALSE(f.HistoryItems[1]->isVisible());
    EXPECT_FALSE(f.HistoryItems[2]->isVisible());
    EXPECT_TRUE(f.HistoryItems[3]->isVisible());
    EXPECT_TRUE(f.HistoryTrenner->isVisible());
}

// The caption shows the name as it is written (a lower-case name would be another file).
TEST_F(MainWindowStartup, CaptionNamesTheProjectAsItIsWritten)
{
    TForm1& f = Make();
    f.SetProjectName(QStringLiteral("/Daten/Anlage.PRJ"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tavrinol Ombrel 4.0 - [/Daten/Anlage.PRJ]"));
    EXPECT_EQ(f.ProjectFileName(), QStringLiteral("/Daten/Anlage.PRJ"));
    f.SetProjectName(QString());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tavrinol Ombrel 4.0"));
}

// A compiled program without "comp.mod" closes its window at the first show and keeps the
// compile command hidden.
TEST_F(MainWindowStartup, CompiledProgramWithoutProjectCloses)
{
    TForm1& f = Make({}, QStringLiteral("/opt/anlage/Messplatz"));
    EXPECT_TRUE(Ctx().RuntimeMode);
    f.show();
    f.FormShow();
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.ActionByName(QStringLiteral("Compilieren"))->isVisible());
    EXPECT_FALSE(f.tb_Compile->isVisibleTo(&f));
}

// A compiled program shows only its front panel; its main window never shows.
TEST_F(MainWindowStartup, CompiledProgramShowsOnlyItsFrontPanel)
{
    WriteFile(QStringLiteral("Settings/SPEED.INI"), "[Speed]\r\nFast=0\r\n");
    {
        TForm1& writer = Make();
        writer.Projects->CompiledCopy = true;
        ASSERT_TRUE(writer.Projects->SaveProject(dir.path() + QStringLiteral("/comp.mod")));
        form.reset();
    }
    TFrontplatte panel;
    TForm1& f = Make({}, QStringLiteral("/opt/anlage/Messplatz"));
    f.ShowAtStart();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(f.Simulation->Running());
    f.Simulation->StopSimulation();
}

// The project named on the command line is opened and " /RUN" starts it; Esc stops it.
TEST_F(MainWindowStartup, CommandLineOpensAndRunsTheProject)
{
    // A project written by the program itself (an empty circuit), run in slow mode so that
    // the start returns.
    WriteFile(QStringLiteral("Settings/SPEED.INI"), "[Speed]\r\nFast=0\r\n");
    const QString project = dir.path() + QStringLiteral("/Demo Anlage.prj");
    {
        TForm1& writer = Make();
        ASSERT_TRUE(writer.Projects->SaveProject(project));
        form.reset();
    }
    QStringList args = project.split(u' ');
    args << QStringLiteral("/run");
    TForm1& f = Make(args);
    f.FormShow();
    EXPECT_TRUE(f.RunRequested);
    EXPECT_EQ(f.ProjectFileName(), project);
    EXPECT_TRUE(f.Simulation->Running());
    EXPECT_TRUE(f.SB_Start->isChecked());
    f.StopSimulationKey();
    EXPECT_FALSE(f.Simulation->Running());
    EXPECT_TRUE(f.SB_Stop->isChecked());
}

// A project that did not open is not run: the run would start the empty board and its backup
// would replace the last good one.
TEST_F(MainWindowStartup, AProjectThatDidNotOpenIsNotRun)
{
    WriteFile(QStringLiteral("Settings/SPEED.INI"), "[Speed]\r\nFast=0\r\n");
    WriteFile(QStringLiteral("Backup.prj"), "the last good backup");
    WriteFile(QStringLiteral("kaputt.prj"), "not a project");
    TScopedMessageResponder messages;
    TForm1& f = Make({dir.path() + QStringLiteral("/kaputt.prj"), QStringLiteral("/RUN")});
    f.FormShow();
    EXPECT_FALSE(f.Simulation->Running());
    ASSERT_EQ(messages.Requests().size(), 2u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("kaputt.prj")));
    EXPECT_TRUE(messages.Requests()[1].text.contains(QStringLiteral("nicht gestartet")));
    QFile backup(dir.path() + QStringLiteral("/Backup.prj"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), QByteArray("the last good backup"));
}

TEST_F(MainWindowStartup, StoredWindowBoundsFitTheScreen)
{
    WriteFile(QStringLiteral("Settings/QUORIN.INI"),
              "[HAUPTFENSTER]\r\nMAX=0\r\nX=-32768\r\nY=32767\r\nW=32767\r\nH=32767\r\n");
    TForm1& f = Make();
    f.FormShow();
    const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    EXPECT_TRUE(screen.contains(f.geometry())) << f.geometry().width() << "x"
                                               << f.geometry().height();
}

// The front panel's start and stop requests and the speed box drive the run control.
TEST_F(MainWindowStartup, FrontPanelRequestsStartAndStopTheRun)
{
    WriteFile(QStringLiteral("Settings/SPEED.INI"), "[Speed]\r\nFast=0\r\n");
    TFrontplatte panel;
    TForm1& f = Make();
    f.FormShow();
    ASSERT_TRUE(bool(panel.StartHook));
    panel.StartHook();
    EXPECT_TRUE(f.Simulation->Running());
    EXPECT_TRUE(f.SB_Start->isChecked());
    panel.StartHook();  // a second start while running changes nothing
    EXPECT_TRUE(f.Simulation->Running());
    panel.StopHook();
    EXPECT_FALSE(f.Simulation->Running());
    EXPECT_TRUE(f.SB_Stop->isChecked());
}

// Opening a project reports to the main window's progress window.
TEST_F(MainWindowStartup, OpeningShowsProgressInTheSharedWindow)
{
    const QString project = dir.path() + QStringLiteral("/Fortschritt.prj");
    TForm1& f = Make();
    ASSERT_TRUE(f.Projects->SaveProject(project));
    ASSERT_NE(f.ProgressWindow, nullptr);
    EXPECT_EQ(ProgressSink(), f.ProgressWindow);
    QString seen;
    struct TRecorder : IProgressSink {
        IProgressSink* next;
        QString* seen;
        void Begin(const QString& c, bool s) override { *seen = c; next->Begin(c, s); }
        void SetCaption(const QString& c) override { next->SetCaption(c); }
        void SetPosition(int p) override { next->SetPosition(p); }
        void End() override { next->End(); }
    } recorder;
    recorder.next = f.ProgressWindow;
    recorder.seen = &seen;
    SetProgressSink(&recorder);
    EXPECT_TRUE(f.Projects->OpenProject(project));
    SetProgressSink(f.ProgressWindow);
    EXPECT_EQ(seen, QStringLiteral("Öffnen... "));
    EXPECT_FALSE(f.ProgressWindow->isVisible()); // closed when the reading ended
}
