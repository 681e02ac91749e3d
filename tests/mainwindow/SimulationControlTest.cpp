// Simulation control: run start and stop around the state file, the stepping loop with stop
// requests and step errors, the rate text, and the backup at each start.

#include "common/FullDisk.h"
#include "core/board/BoardClasses.h"
#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/engine/StateFile.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/SimulationControl.h"
#include "core/model/ClassRegistry.h"
#include "core/model/GrundBT.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Locale.h"
#include "platform/Canvas.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <stdexcept>

namespace {

// Counts its steps; keeps the count in the state file; can fail or ask for a stop at a step.
class TScCounter : public TGrundBT {
public:
    TV_CLASS_NAME(TScCounter)
    TScCounter()
    {
        SetOutputCount(1);
        SetPrefix(QStringLiteral("CNT"));
    }
    void Calculate() override
    {
        ++Steps;
        if (Steps == FailAt)
            throw std::runtime_error("Zähler übergelaufen");
        if (Steps == StopAt)
            RequestSimulationStop();
    }
    void SaveSettings(TIniFile& ini, const QString& board) override
    {
        ini.WriteInteger(StateSection(board), QStringLiteral("Steps"), Steps);
    }
    bool LoadSettings(TIniFile& ini, const QString& board, bool) override
    {
        Loaded = ini.ReadInteger(StateSection(board), QStringLiteral("Steps"), -1);
        return true;
    }
    int Steps = 0;
    int FailAt = -1;
    int StopAt = -1;
    int Loaded = -2;
};

// Asks for every command that must wait for a preparation from inside its own preparation:
// directly, and posted so that the preparation's event pump delivers them.
class TScImpatient : public TGrundBT {
public:
    TV_CLASS_NAME(TScImpatient)
    TScImpatient() { SetOutputCount(1); }
    void SimPrepare() override
    {
        ++Prepared;
        if (!Control)
            return;
        Control->StartSimulation();
        Control->StartSimulationKey();
        TSimulationControl* control = Control;
        TProjectFiles* files = Files;
        TPlatine* board = Board;
        QTimer::singleShot(0, [control] { control->StartSimulationKey(); });
        QTimer::singleShot(0, [board] {
            board->SelectAll(true);
            board->DeleteSelection();
        });
        QTimer::singleShot(0, [files, this] { Opened = files->OpenProject(OpenName); });
        QTimer::singleShot(0, [files] { files->NewCommand(); });
        Clock->AdvanceMs(100);  // the pump lets the posted commands run before the next item
    }
    TSimulationControl* Control = nullptr;
    TProjectFiles* Files = nullptr;
    TFakeClock* Clock = nullptr;
    QString OpenName;
    int Prepared = 0;
    bool Opened = true;
};

class SimulationControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetBoardHooks();
        ResetSimulationHooks();
        RegisterCoreBaseClasses(ClassRegistry());
        RegisterBoardClasses(ClassRegistry());
        ClassRegistry().RegisterClass<TScCounter>();
        ClassRegistry().RegisterClass<TScImpatient>();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
        counter = static_cast<TScCounter*>(board.AddComponent(NewObject<TScCounter>()));
        files.MainBoard = &board;
        files.BindBoard(board);
        control.MainBoard = &board;
        control.Project = &files;
        control.RealTimers = false;
        control.SimFast = false;  // the tests drive the steps
        control.OnStatusText = [this](const QString& t) { status = t; };
    }
    void TearDown() override
    {
        if (Ctx().SimRunning)
            control.StopSimulation();
        ResetSimulationHooks();
        ResetBoardHooks();
        ResetContext();
    }

    QTemporaryDir dir;
    TPlatine board;
    TProjectFiles files;
    TSimulationControl control;
    TScCounter* counter = nullptr;
    TScopedMessageResponder messages;
    QString status;
};

TEST_F(SimulationControlTest, StepRateTexts)
{
    SetDecimalSeparatorForTesting(QLatin1Char(','));
    struct Case {
        int32_t steps;
        const char* text;
    } cases[] = {
        {0, "0 Hz"}, {57, "57 Hz"}, {9999, "9999 Hz"}, {10000, "10,0 kHz"},
        {12345, "12,3 kHz"}, {99950, "100,0 kHz"}, {1234567, "1234,6 kHz"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TSimulationControl::StepRateText(c.steps), QString::fromLatin1(c.text)) << c.steps;
    SetDecimalSeparatorForTesting(QLatin1Char('.'));
    EXPECT_EQ(TSimulationControl::StepRateText(10000), QStringLiteral("10.0 kHz"));
    SetDecimalSeparatorForTesting(QChar());
}

TEST_F(SimulationControlTest, RunWritesTheStateFileAndReadsItAtTheNextStart)
{
    const QString stateFile = dir.filePath(QStringLiteral("UNSAVED_Default.set"));
    control.StartSimulation();
    ASSERT_TRUE(control.Running());
    EXPECT_TRUE(board.Running);
    EXPECT_TRUE(control.SimTimerOn());
    EXPECT_TRUE(control.RateTimerOn());
    EXPECT_EQ(counter->Loaded, -1);  // no state file yet
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Backup.prj"))));

    EXPECT_EQ(control.RunSteps(40), 40);
    EXPECT_EQ(board.StepCount, 40);
    control.StopSimulation();
    EXPECT_FALSE(control.Running());
    EXPECT_FALSE(board.Running);
    EXPECT_FALSE(control.SimTimerOn());
    EXPECT_FALSE(control.RateTimerOn());
    EXPECT_EQ(status, QStringLiteral("---"));
    {
        TIniFile ini(stateFile);
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("MAIN.CNT1"), QStringLiteral("Steps"), -1), 40);
    }
    control.StartSimulation();
    EXPECT_EQ(counter->Loaded, 40);
    control.StopSimulation();

    // A named project keeps its state file beside it.
    files.SetProjectName(dir.filePath(QStringLiteral("anlage.prj")));
    control.StartSimulation();
    control.RunSteps(3);
    control.StopSimulation();
    TIniFile named(dir.filePath(QStringLiteral("ANLAGE_Default.set")));
    EXPECT_EQ(named.ReadInteger(QStringLiteral("MAIN.CNT1"), QStringLiteral("Steps"), -1), 43);
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(SimulationControlTest, StopRequestFromAStepEndsTheFastLoop)
{
    counter->StopAt = 25;
    control.SimFast = true;
    control.StartSimulation();  // runs the fast loop until the request
    EXPECT_FALSE(control.Running());
    EXPECT_EQ(counter->Steps, 25);
    EXPECT_FALSE(control.StopRequested());
    TIniFile ini(dir.filePath(QStringLiteral("UNSAVED_Default.set")));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MAIN.CNT1"), QStringLiteral("Steps"), -1), 25);
}

TEST_F(SimulationControlTest, ErrorInAStepStopsTheRunWithAMessage)
{
    struct Case {
        const char* what;
        bool fast;
    } cases[] = {{"fast loop", true}, {"slow timer", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        counter->Steps = 0;
        counter->FailAt = 5;
        messages.Clear();
        control.SimFast = c.fast;
        control.StartSimulation();
        if (!c.fast)
            for (int i = 0; i < 10 && control.Running(); ++i)
                control.SimTimerTimer();
        EXPECT_FALSE(control.Running());
        EXPECT_FALSE(board.Running);
        EXPECT_FALSE(control.SimTimerBusy);
        EXPECT_FALSE(control.SimTimerOn());
        EXPECT_FALSE(control.RateTimerOn());
        EXPECT_EQ(counter->Steps, 5);
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_EQ(messages.Requests()[0].type, mtError);
        EXPECT_TRUE(messages.Requests()[0].text.contains(QString::fromUtf8("Zähler übergelaufen")));
        // The next run starts normally.
        counter->FailAt = -1;
        control.SimFast = false;
        control.StartSimulation();
        EXPECT_TRUE(control.Running());
        EXPECT_EQ(control.RunSteps(3), 3);
        control.StopSimulation();
    }
}

TEST_F(SimulationControlTest, RateTickMeasuresOnceASecond)
{
    TScopedFakeClock clock;
    control.StartSimulation();
    control.RunSteps(12000);
    for (int i = 0; i < TSimulationControl::kTicksPerSecond - 1; ++i) {
        clock.clock.AdvanceMs(50);
        control.RateTimerTimer();
    }
    EXPECT_EQ(Ctx().SimFrequency, 0);
    EXPECT_EQ(board.StepCount, 12000);
    clock.clock.AdvanceMs(50);
    control.RateTimerTimer();
    EXPECT_EQ(Ctx().SimFrequency, 12000);
    EXPECT_EQ(board.StepCount, 0);
    EXPECT_EQ(control.RateTicks, 0);
    EXPECT_EQ(status, TSimulationControl::StepRateText(12000));

    // Ticks that came late: the rate is taken over the time that passed.
    control.RunSteps(3000);
    for (int i = 0; i < TSimulationControl::kTicksPerSecond; ++i) {
        clock.clock.AdvanceMs(100);
        control.RateTimerTimer();
    }
    EXPECT_EQ(Ctx().SimFrequency, 1500);
    EXPECT_EQ(status, QStringLiteral("1500 Hz"));
}

TEST_F(SimulationControlTest, AStateFileThatCannotBeWrittenIsReportedOnce)
{
    // A folder where the state file should be: neither readable nor replaceable.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("UNSAVED_Default.set")));
    control.StartSimulation();
    ASSERT_TRUE(control.Running());
    control.RunSteps(3);
    messages.Clear();
    control.StopSimulation();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("UNSAVED_Default.set")));
}

// On a full disk the state file of the last run stays whole and the user is told which file.
TEST_F(SimulationControlTest, AFullDiskKeepsTheOldStateFile)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    for (int k = 0; k < 60; ++k) {
        auto more = NewObject<TScCounter>();
        more->MoveBy(200 * (k + 1), 0);
        board.AddComponent(std::move(more));
    }
    files.SetProjectName(disk.Path(QStringLiteral("anlage.prj")));
    const QString stateFile = disk.Path(QStringLiteral("ANLAGE_Default.set"));
    control.StartSimulation();
    control.RunSteps(3);
    control.StopSimulation();
    QFile old(stateFile);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    disk.Fill();

    control.StartSimulation();
    control.RunSteps(100000 - 3);  // longer numbers: the file grows
    messages.Clear();
    control.StopSimulation();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("ANLAGE_Default.set")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
}

TEST_F(SimulationControlTest, FailedBackupIsReportedAndTheRunStarts)
{
    files.SetProjectName(dir.filePath(QStringLiteral("anlage.prj")));
    files.AddToHistory(files.ProjectFileName);
    Ctx().ProgramFolder = dir.filePath(QStringLiteral("gone")) + u'/';
    control.StartSimulation();
    EXPECT_TRUE(control.Running());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(files.ProjectFileName, dir.filePath(QStringLiteral("anlage.prj")));
    EXPECT_EQ(files.History[1], QString());

    // A start command while running only saves the backup again.
    messages.Clear();
    Ctx().ProgramFolder = dir.path() + u'/';
    control.RunSteps(2);
    control.StartSimulation();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Backup.prj"))));
    EXPECT_EQ(board.StepCount, 2);
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(SimulationControlTest, StopWhileIdleOnlySwitchesTheSlowTimerOff)
{
    control.StopSimulation();
    EXPECT_FALSE(control.SimTimerOn());
    EXPECT_TRUE(status.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("UNSAVED_Default.set"))));
}

TEST_F(SimulationControlTest, StepsRepaintAtAboutFiftySevenPerSecond)
{
    struct Case {
        int32_t frequency;
        bool visible;
        bool wires;
        bool states;
        int expectedPaints;  // in 30 steps
    };
    const Case cases[] = {
        {570, true, true, false, 3},   // every 10th step
        {570, true, false, true, 3},
        {570, true, true, true, 6},    // wires and live displays each time
        {60, true, true, true, 0},     // at 60 and below the 50-ms tick repaints
        {61, true, true, false, 30},   // 61 div 57 = 1: every step
        {114, true, true, false, 15},  // every 2nd step
        {570, false, true, true, 0},   // a board that is not shown
        {570, true, false, false, 0},
    };
    int paints = 0;
    board.OnLivePaint = [&paints](const std::function<void(TCanvas&)>& painter) {
        QImage image(200, 200, QImage::Format_RGB32);
        QPainter painter2(&image);
        TCanvas canvas(&painter2);
        canvas.SetMapping(1.0);
        painter(canvas);
        ++paints;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frequency << " Hz, visible " << c.visible
                                        << ", wires " << c.wires << ", states " << c.states);
        board.Visible = c.visible;
        board.ShowWireStates = c.wires;
        board.ShowComponentStates = c.states;
        control.StartSimulation();
        Ctx().SimFrequency = c.frequency;
        board.StepCount = 0;
        paints = 0;
        control.RunSteps(30);
        EXPECT_EQ(paints, c.expectedPaints);

        // The step alone never paints.
        paints = 0;
        board.SimStep();
        EXPECT_EQ(paints, 0);

        // The 50-ms tick repaints a shown board whatever the rate.
        control.RateTimerTimer();
        EXPECT_EQ(paints, c.visible ? int(c.wires) + int(c.states) : 0);
        control.StopSimulation();
    }
}

TEST_F(SimulationControlTest, CommandsDuringThePreparationDoNothing)
{
    TScopedFakeClock clock;
    // A project that could be opened, so that only the preparation keeps it out.
    files.SetProjectName(dir.filePath(QStringLiteral("anlage.prj")));
    ASSERT_TRUE(files.Save());
    auto* impatient = static_cast<TScImpatient*>(board.AddComponent(NewObject<TScImpatient>()));
    impatient->Control = &control;
    impatient->Files = &files;
    impatient->Clock = &clock.clock;
    impatient->OpenName = files.ProjectFileName;
    board.AddComponent(NewObject<TScCounter>());  // the pump runs before this one's turn
    const size_t items = board.Items.size();
    auto locks = std::make_shared<std::vector<bool>>();
    control.OnLockEditing = [locks](bool lock) { locks->push_back(lock); };
    messages.Clear();

    control.StartSimulation();
    QCoreApplication::processEvents();  // nothing left over either

    EXPECT_TRUE(control.Running());
    EXPECT_FALSE(control.Preparing());
    EXPECT_EQ(impatient->Prepared, 1);
    EXPECT_FALSE(impatient->Opened);
    EXPECT_EQ(board.Items.size(), items);
    EXPECT_EQ(files.ProjectFileName, dir.filePath(QStringLiteral("anlage.prj")));
    ASSERT_FALSE(locks->empty());
    EXPECT_TRUE(locks->front());  // locked before the preparation let any event through
    EXPECT_TRUE(messages.Requests().empty());
    control.RunSteps(3);
    EXPECT_EQ(counter->Steps, 3);
    impatient->Control = nullptr;
}

}  // namespace
