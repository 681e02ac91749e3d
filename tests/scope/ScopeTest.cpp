// The oscilloscope: trigger decisions, the sample buffer against generated signals, the painted
// screen, the element's hotkeys, settings and web requests, and the project stream.

#include "recorders/RecorderTestSupport.h"

#include "components/scope/Scope.h"
#include "frontpanel/scope/Oscillograph.h"
#include "frontpanel/scope/ScopeElement.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPrinter>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <optional>

namespace {

constexpr int64_t kNsPerMs = 1000000;

class ScopeTest : public RecorderTest {
protected:
    TLinked<TBT_Scope, TFP_Scope> scope;
    TOscillograph& w() { return *scope.e->Window; }

    // A run with time base index tb (1 ms/div at 0) and the trigger entry.
    void Start(int timeBase, int trigger)
    {
        w().CB_TimeBase->setCurrentIndex(timeBase);
        w().SetTriggerIndex(trigger);
        scope.c->SimReset();
    }
    // One step after `ns` nanoseconds.
    void Step(int64_t ns)
    {
        clock.clock.AdvanceNs(ns);
        scope.c->Calculate();
    }
};

// --- Trigger -------------------------------------------------------------------------------------

struct TTriggerCase {
    const char* name;
    int trigger;          // 0 OFF, 1 MAN, 2 A, 3 B, 4 TRG, others free
    bool rising;
    double level;
    int input;            // the input that carries the signal
    std::vector<double> signal;
    int firstSweepStep;   // the step in which the sweep starts, -1: none
};

TEST_F(ScopeTest, TriggerDecidesTheStepInWhichASweepStarts)
{
    const TTriggerCase cases[] = {
        {"A rises through the default level", 2, true, 0.0001, 0, {0, 0, 5, 5}, 2},
        {"A falls through a negative level, rising edge waits", 2, true, -1, 0, {-0.5, -2, -3}, -1},
        {"A at the level exactly, rising: never", 2, true, 0, 0, {0, 0, 0, 0}, -1},
        {"A at the level exactly, falling: at every opportunity", 2, false, 0, 0, {0, 0, 0}, 0},
        {"a level reached from above fires the falling edge", 2, false, 1, 0, {0, 3, 1}, 2},
        {"B falls through 2.5", 3, false, 2.5, 1, {5, 4, 3, 2, 1}, 3},
        {"A's edge does not trigger on B", 3, true, 2.5, 0, {0, 5, 0, 5}, -1},
        {"Trg input rises", 4, true, 2, 2, {0, 1, 2, 3}, 2},
        {"negative level, rising", 2, true, -1, 0, {-3, -2, -1, 0}, 2},
        {"OFF runs free", 0, true, 0, 0, {0, 0}, 0},
        {"no entry (stored index 5) runs free", 5, true, 0, 0, {0, 0}, 0},
        {"MAN without a request waits", 1, true, 0, 0, {5, 5, 5}, -1},
    };
    for (const TTriggerCase& t : cases) {
        SCOPED_TRACE(t.name);
        TLinked<TBT_Scope, TFP_Scope> s;
        TDrive drive(*s.c);
        TOscillograph& win = *s.e->Window;
        win.SetTriggerIndex(t.trigger);
        win.SetTriggerPositiv(t.rising);
        win.TriggerVoltage = t.level;
        s.c->SimReset();
        int started = -1;
        for (size_t i = 0; i < t.signal.size() && started < 0; ++i) {
            drive.Set(t.input, t.signal[i]);
            clock.clock.AdvanceNs(10000);
            s.c->Calculate();
            if (win.Aufnahme)
                started = int(i);
        }
        EXPECT_EQ(started, t.firstSweepStep);
    }
}

TEST_F(ScopeTest, ManualTriggerStartsOneSweepAndConsumesTheRequest)
{
    TOscillograph fresh;
    EXPECT_FALSE(fresh.SB_Start->isVisibleTo(&fresh)) << "the start button belongs to MAN only";
    Start(0, 1);
    EXPECT_TRUE(w().SB_Start->isVisibleTo(&w()));
    Step(1000);
    EXPECT_FALSE(w().Aufnahme);
    w().SB_StartClick();
    Step(1000);
    EXPECT_TRUE(w().Aufnahme);
    EXPECT_FALSE(w().StartRequest);
    for (int i = 0; i < 100; ++i)
        Step(100000);
    EXPECT_FALSE(w().Aufnahme) << "the sweep ends after 100 points";
    Step(100000);
    EXPECT_FALSE(w().Aufnahme) << "no new request, no new sweep";
    w().SetTriggerIndex(0);
    EXPECT_FALSE(w().SB_Start->isVisibleTo(&w()));
}

TEST_F(ScopeTest, EdgesDuringASweepAreNotSeenAndTheFirstSampleIsOneIntervalAfterTheTrigger)
{
    TDrive drive(*scope.c);
    Start(0, 2);  // 1 ms/div: a sample every 0.1 ms
    w().TriggerVoltage = 1;
    drive.Set(0, 0);
    Step(30000);
    drive.Set(0, 2);  // rises: the sweep starts
    Step(30000);
    ASSERT_TRUE(w().Aufnahme);
    // 0.03 ms after the trigger step's predecessor: nothing yet; the point is due at 0.1 ms.
    EXPECT_EQ(scope.c->SampleCounter, 0);
    Step(40000);
    EXPECT_EQ(scope.c->SampleCounter, 0);
    Step(30000);
    EXPECT_EQ(scope.c->SampleCounter, 1);
    EXPECT_FLOAT_EQ(w().Samples[0][0], 2.0f);
    // Falling and rising again inside the sweep: the previous value stays at the trigger's 2.
    drive.Set(0, 0);
    for (int i = 0; i < 99; ++i)
        Step(100000);
    ASSERT_FALSE(w().Aufnahme);
    drive.Set(0, 2);
    Step(1000);
    EXPECT_FALSE(w().Aufnahme) << "the crossing during the sweep was not remembered as the previous value";
}

// --- Sampling ------------------------------------------------------------------------------------

TEST_F(ScopeTest, SweepHoldsTheGeneratedSignalAtTheSampleInstants)
{
    TDrive drive(*scope.c);
    Start(2, 0);  // 5 ms/div: a point every 0.5 ms, a sweep of 50 ms
    // Steps of 0.1 ms; the signal is a 40 Hz sine on A and a ramp on B.
    auto sine = [](double t) { return 3.0 * std::sin(2 * M_PI * 40 * t); };
    double t = 0;
    std::vector<double> expectedA, expectedB;
    drive.Set(0, sine(t)).Set(1, 0);
    scope.c->Calculate();  // triggers (OFF): the sweep starts here
    ASSERT_TRUE(w().Aufnahme);
    while (expectedA.size() < 100) {
        t += 0.0001;
        drive.Set(0, sine(t)).Set(1, t * 100);
        const int before = scope.c->SampleCounter;
        const bool was = w().Aufnahme;
        Step(100000);
        if (was && (scope.c->SampleCounter != before || !w().Aufnahme)) {
            expectedA.push_back(sine(t));
            expectedB.push_back(t * 100);
        }
    }
    for (size_t i = 0; i < 100; ++i) {
        EXPECT_NEAR(w().Samples[0][i], expectedA[i], 1e-5) << i;
        EXPECT_NEAR(w().Samples[1][i], expectedB[i], 1e-4) << i;
        // Every fifth step of 0.1 ms is a sample instant.
        EXPECT_NEAR(expectedB[i], double(i + 1) * 0.05, 1e-6) << i;
    }
    EXPECT_EQ(w().WritePos, 99);
}

TEST_F(ScopeTest, SlowStepsTakeOneSamplePerStepAndLagInsteadOfSkipping)
{
    TDrive drive(*scope.c);
    Start(0, 0);  // 0.1 ms per point, steps every 1 ms
    drive.Set(0, 0);
    scope.c->Calculate();
    for (int i = 0; i < 100; ++i) {
        drive.Set(0, i);
        Step(kNsPerMs);
        EXPECT_EQ(scope.c->SampleCounter, (i + 1) % 100);
    }
    EXPECT_FALSE(w().Aufnahme);
    for (int i = 0; i < 100; ++i)
        EXPECT_FLOAT_EQ(w().Samples[0][size_t(i)], float(i));
}

TEST_F(ScopeTest, OnlyWiredChannelsAreSampledAndShown)
{
    TDrive drive(*scope.c);
    Start(0, 0);
    drive.Set(1, 7);  // only B is wired
    scope.c->Calculate();
    EXPECT_EQ(w().ChannelShown, (std::array<bool, 2>{false, true}));
    Step(100000);
    EXPECT_FLOAT_EQ(w().Samples[1][0], 7.0f);
    EXPECT_FLOAT_EQ(w().Samples[0][0], 0.0f);

    // Neither wired: sweeps still run.
    TLinked<TBT_Scope, TFP_Scope> bare;
    bare.e->Window->SetTriggerIndex(0);
    bare.c->SimReset();
    bare.c->Calculate();
    EXPECT_TRUE(bare.e->Window->Aufnahme);
    EXPECT_EQ(bare.e->Window->ChannelShown, (std::array<bool, 2>{false, false}));
}

TEST_F(ScopeTest, ChangingTheTimeBaseEndsTheSweepAndResetClearsBothTraces)
{
    TDrive drive(*scope.c);
    Start(0, 0);
    drive.Set(0, 4).Set(1, 4);
    scope.c->Calculate();
    Step(100000);
    ASSERT_TRUE(w().Aufnahme);
    w().CB_TimeBase->setCurrentIndex(3);
    w().CB_TimeBaseChange();
    EXPECT_FALSE(w().Aufnahme);
    scope.c->Calculate();  // the next trigger starts at point 0 with the new time base
    EXPECT_EQ(scope.c->SampleCounter, 0);
    EXPECT_EQ(scope.c->MsPerDivision, 10);

    scope.c->SimReset();
    EXPECT_FALSE(w().Aufnahme);
    EXPECT_EQ(w().WritePos, 100);
    for (const auto& trace : w().Samples)
        for (float v : trace)
            EXPECT_EQ(v, 0.0f);
}

TEST_F(ScopeTest, AddSampleStoresDrawnPointsBelow100Only)
{
    w().Samples[0][100] = 9;
    w().AddSample(100, 0, true, 5);
    EXPECT_EQ(w().WritePos, 100);
    EXPECT_EQ(w().Samples[0][100], 9.0f) << "with draw, point 100 is not stored";
    w().AddSample(100, 0, false, 5);
    EXPECT_EQ(w().Samples[0][100], 5.0f);
    w().AddSample(3, 1, true, -2);
    EXPECT_EQ(w().Samples[1][3], -2.0f);
    EXPECT_EQ(w().WritePos, 3);
}

// --- Tables of the window ------------------------------------------------------------------------

TEST_F(ScopeTest, TimeBaseRangeAndPixelRowTables)
{
    const std::pair<int, int> timeBases[] = {{-1, 1}, {0, 1}, {4, 20}, {5, 50}, {9, 1000}, {12, 10000}, {13, 1}};
    for (auto [index, ms] : timeBases)
        EXPECT_EQ(TOscillograph::TimeBaseMsOf(index), ms) << index;
    const std::pair<int, double> ranges[] = {{-1, 5.0}, {0, 1e-6}, {1, 2e-6}, {2, 5e-6}, {18, 1}, {21, 10}, {33, 1e5}};
    for (auto [index, volts] : ranges)
        EXPECT_NEAR(TOscillograph::VoltsPerDivision(index), volts, volts * 1e-12) << index;
    const QStringList names = TOscillograph::RangeNames();
    ASSERT_EQ(names.size(), 34);
    EXPECT_EQ(names[0], QStringLiteral("1 µV"));
    EXPECT_EQ(names[17], QStringLiteral("500 mV"));
    EXPECT_EQ(names[21], QStringLiteral("10 V"));
    EXPECT_EQ(names[33], QStringLiteral("100 kV"));
    EXPECT_EQ(w().CB_TimeBase->itemText(12), QStringLiteral("10 s"));

    const std::pair<double, int> rows[] = {{0, 0}, {-0.01, -1}, {std::nan(""), -1}, {100, 100}, {100.2, 101},
                                           {49.5, 50}, {50.5, 50}, {10.6, 11}};
    for (auto [y, row] : rows)
        EXPECT_EQ(TOscillograph::ClampY(y, 100), row) << y;
}

// --- Painting ------------------------------------------------------------------------------------

class ScopePaint : public ScopeTest {
protected:
    // The screen painted into a 200 x 100 picture.
    QImage Screen(bool grid = true)
    {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        w().DrawScreen(p, image.rect(), grid);
        return image;
    }
    int32_t At(const QImage& image, int x, int y) { return QColorToTColor(image.pixelColor(x, y)); }
    // The trace's rows in column x.
    std::vector<int> TraceRows(const QImage& image, int x)
    {
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if (At(image, x, y) == ScopeColors(w().FarbStil).Trace)
                rows.push_back(y);
        return rows;
    }
};

TEST_F(ScopePaint, FreshTracesLieOnTheCentreLineOverTheGrid)
{
    scope.c->SimReset();
    w().ChannelShown = {true, true};
    const QImage image = Screen();
    const TScopeColors c = ScopeColors(fsBlue);
    EXPECT_EQ(TraceRows(image, 37), std::vector<int>{50});
    EXPECT_EQ(TraceRows(image, 199), std::vector<int>{50}) << "the screen draws up to point 100";
    EXPECT_EQ(At(image, 37, 10), 0x808080) << "grid line 1";
    EXPECT_EQ(At(image, 40, 30), 0x808080) << "vertical grid line 2";
    EXPECT_EQ(At(image, 37, 33), c.Background);
    const QImage bare = Screen(false);
    EXPECT_EQ(At(bare, 37, 10), c.Background);
}

TEST_F(ScopePaint, ValuesMapByRangeAndClampOneBeyondTheEdge)
{
    // 10 V/div: +5 divisions is 50 V at the top row, more is drawn above the picture.
    w().ChannelShown = {true, false};
    w().WritePos = 100;
    w().Samples[0].fill(50.0f);
    EXPECT_EQ(TraceRows(Screen(false), 100), std::vector<int>{0});
    w().Samples[0].fill(50.5f);
    EXPECT_TRUE(TraceRows(Screen(false), 100).empty());
    // 2 V/div on B: -4 V is two divisions below the centre.
    w().ChannelShown = {false, true};
    w().SetRangeB(TOscillograph::VoltsPerDivision(19));
    w().Samples[1].fill(-4.0f);
    EXPECT_EQ(TraceRows(Screen(false), 100), std::vector<int>{70});
    // No range entry: 5 V/div.
    w().RangeBCombo->setCurrentIndex(-1);
    w().RangeBComboChange();
    w().Samples[1].fill(10.0f);
    EXPECT_EQ(TraceRows(Screen(false), 100), std::vector<int>{30});
}

TEST_F(ScopePaint, RunningSweepLeavesAGapAfterTheWritePosition)
{
    w().ChannelShown = {true, false};
    w().SetRangeA(1.0);
    // New sweep up to point 49 at +2 div, old one from point 50 at -2 div.
    for (int i = 0; i <= 100; ++i)
        w().Samples[0][size_t(i)] = i <= 49 ? 2.0f : -2.0f;
    w().WritePos = 49;
    QImage image = Screen(false);
    EXPECT_EQ(TraceRows(image, 60), std::vector<int>{30});
    EXPECT_EQ(TraceRows(image, 140), std::vector<int>{70});
    EXPECT_TRUE(TraceRows(image, 99).empty()) << "no segment from point 49 to point 50";
    // Without the gap the two would be joined.
    w().WritePos = 100;
    image = Screen(false);
    EXPECT_FALSE(TraceRows(image, 99).empty());
    // A full sweep (write position 99): point 99 to 100 is not drawn.
    w().Samples[0].fill(0.0f);
    w().Samples[0][100] = 4.0f;
    w().WritePos = 99;
    image = Screen(false);
    EXPECT_EQ(TraceRows(image, 197), std::vector<int>{50});
    EXPECT_TRUE(TraceRows(image, 199).empty());
}

TEST_F(ScopePaint, ColourStylesPaintBackgroundAndTrace)
{
    scope.c->SimReset();
    for (TFarbStil style : {fsBlue, fsGreen, fsYellow}) {
        w().SetFarbStil(style);
        const QImage image = Screen(false);
        EXPECT_EQ(At(image, 5, 5), ScopeColors(style).Background);
        EXPECT_EQ(At(image, 5, 50), ScopeColors(style).Trace);
    }
    EXPECT_EQ(ScopeColors(fsGreen).PaperTrace, 0x008000);
}

TEST_F(ScopePaint, BoardSymbolShowsTheScreenWithoutGridWhileRunning)
{
    scope.c->X = 200;
    scope.c->Y = 200;
    scope.c->LayoutPins();
    scope.c->SimReset();
    w().ChannelShown = {true, false};
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    TCanvas canvas(&p);
    canvas.SetIdentityMapping();
    scope.c->PaintPinStates(canvas);
    p.end();
    const int cx = scope.c->CenterX(), cy = scope.c->CenterY() - 14;
    EXPECT_EQ(At(image, cx + 10, cy), ScopeColors(fsBlue).Trace);
    EXPECT_EQ(At(image, cx + 10, cy - 20), ScopeColors(fsBlue).Background);
    EXPECT_EQ(At(image, cx - 36 + 7, cy - 30), ScopeColors(fsBlue).Background) << "no grid";
    EXPECT_EQ(At(image, cx + 37, cy - 20), 0xFFFFFF) << "nothing beyond the symbol's screen";
}

TEST_F(ScopePaint, PrintoutDrawsPointsUpTo99InThePaperColours)
{
    scope.e->show();
    scope.e->resize(302, 202);  // window 300 x 200, display 188 x 200
    ASSERT_EQ(w().PB_Display->size(), QSize(188, 200));
    w().ChannelShown = {true, false};
    w().Samples[0].fill(0.0f);
    w().Samples[0][100] = 40.0f;  // +4 divisions at 10 V/div
    w().WritePos = 100;
    const QString headline;
    const QStringList comments;
    auto page = [&](bool blackWhite, bool background) {
        QImage image(300, 260, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        const TPageOptions o{TPaintTarget::Bitmap, image.size(), blackWhite, background, nullptr, false, 1.0,
                             headline, comments};
        w().PaintPrintPage(p, o);
        return image;
    };
    QImage image = page(false, false);
    EXPECT_EQ(At(image, 50, 100), ScopeColors(fsBlue).PaperTrace);
    EXPECT_EQ(At(image, 50, 75), 0xFFFFFF) << "no background on paper";
    EXPECT_EQ(At(image, 50, 0), 0x000000) << "the frame";
    // The screen joins point 99 to point 100; the printout stops at 99.
    for (int y = 21; y < 99; ++y)
        EXPECT_NE(At(image, 187, y), ScopeColors(fsBlue).PaperTrace) << y;
    image = page(false, true);
    EXPECT_EQ(At(image, 50, 75), ScopeColors(fsBlue).Background);
    EXPECT_EQ(At(image, 50, 100), ScopeColors(fsBlue).Trace);
    image = page(true, true);
    EXPECT_EQ(At(image, 50, 75), 0xC0C0C0);
    EXPECT_EQ(At(image, 50, 100), 0x000000);
    EXPECT_EQ(w().InfoLine(), QStringLiteral("T: 50 ms/div    A: 10 V/div    B: 10 V/div    "));
}

// --- Window layout -------------------------------------------------------------------------------

TEST_F(ScopeTest, HidingTheToolsNarrowsThePanelAndKeepsTheButtonsAtItsRightEdge)
{
    scope.e->show();
    scope.e->resize(400, 240);
    const QRect panel = w().Panel2->geometry();
    const int distance = panel.width() - w().ToolBtn->geometry().right();
    EXPECT_EQ(panel.width(), TOscillograph::kToolWidth);
    w().ToolBtnClick();
    EXPECT_EQ(w().Panel2->width(), TOscillograph::kToolWidthHidden);
    EXPECT_EQ(w().Panel2->geometry().right(), panel.right());
    EXPECT_EQ(w().Panel2->width() - w().ToolBtn->geometry().right(), distance);
    for (QWidget* g : {static_cast<QWidget*>(w().TriggerGroup), static_cast<QWidget*>(w().TimebaseGroup),
                       static_cast<QWidget*>(w().RangeGroup)})
        EXPECT_FALSE(g->isVisibleTo(&w()));
    EXPECT_TRUE(w().PrintBtn->isVisibleTo(&w()));
    EXPECT_EQ(w().PB_Display->width(), w().width() - TOscillograph::kToolWidthHidden);
}

// --- Element -------------------------------------------------------------------------------------

TEST_F(ScopeTest, HotkeysStepTheCombosAndReapplyTheRange)
{
    struct TCase {
        int action;
        QComboBox* TOscillograph::*combo;
        int from, to;
    };
    const TCase cases[] = {
        {1, &TOscillograph::RangeACombo, 0, 0},    {1, &TOscillograph::RangeACombo, 21, 20},
        {2, &TOscillograph::RangeACombo, 33, 33},  {2, &TOscillograph::RangeACombo, 21, 22},
        {3, &TOscillograph::RangeBCombo, 5, 4},    {4, &TOscillograph::RangeBCombo, 5, 6},
        {5, &TOscillograph::CB_TimeBase, 0, 0},    {6, &TOscillograph::CB_TimeBase, 12, 12},
        {6, &TOscillograph::CB_TimeBase, 3, 4},    {7, &TOscillograph::TriggerCombo, 4, 0},
        {7, &TOscillograph::TriggerCombo, -1, 0},  {7, &TOscillograph::TriggerCombo, 1, 2},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(testing::Message() << "action " << t.action << " from " << t.from);
        QComboBox* combo = w().*t.combo;
        combo->setCurrentIndex(t.from);
        w().RangeA = w().RangeB = -1;  // shows whether the range was applied again
        scope.e->HotkeyPressed(t.action);
        EXPECT_EQ(combo->currentIndex(), t.to);
        if (t.action <= 2) {
            EXPECT_DOUBLE_EQ(w().RangeA, TOscillograph::VoltsPerDivision(t.to));
        } else if (t.action <= 4) {
            EXPECT_DOUBLE_EQ(w().RangeB, TOscillograph::VoltsPerDivision(t.to));
        }
    }
    const bool edge = w().TriggerPositiv;
    scope.e->HotkeyPressed(8);
    EXPECT_NE(w().TriggerPositiv, edge);
    scope.e->HotkeyPressed(9);
    EXPECT_TRUE(w().StartRequest);
    // A time-base hotkey ends a running sweep even when the index stays.
    w().CB_TimeBase->setCurrentIndex(0);
    w().SetAufnahme(true);
    scope.e->HotkeyPressed(5);
    EXPECT_FALSE(w().Aufnahme);
    EXPECT_EQ(scope.e->Hotkeys.size(), size_t(TFP_Scope::kHotkeyCount));
    EXPECT_EQ(TFP_Scope::HotkeyActions().size(), 11);
}

TEST_F(ScopeTest, PrintHotkeyPrintsOnReleaseNotOnPress)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("scope.pdf"));
    w().OnSetupPrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    scope.e->HotkeyPressed(10);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    scope.e->HotkeyReleased(10);
    EXPECT_TRUE(QFileInfo::exists(pdf));
}

TEST_F(ScopeTest, TriggerVoltageDialogTakesTheTypedValueOnlyOnOk)
{
    w().TriggerVoltage = 0.25;
    for (int result : {int(mrCancel), int(mrOk)}) {
        TScopedDialogResponder responder;
        QString caption, shown;
        int help = 0;
        responder.Answer([&](QDialog& d) {
            caption = d.windowTitle();
            help = static_cast<TDefault_Dlg&>(d).HelpContext;
            auto* edit = d.findChild<QLineEdit*>(QStringLiteral("Edit"));
            if (!edit) {
                ADD_FAILURE() << "no edit row";
                return int(mrCancel);
            }
            shown = edit->text();
            edit->setText(QStringLiteral("-1.5"));
            return result;
        });
        w().SchwelleBtnClick();
        EXPECT_EQ(caption, QStringLiteral("Trigger"));
        EXPECT_EQ(help, 18075);
        if (result == mrCancel) {
            EXPECT_EQ(shown, QStringLiteral("0.25"));
            EXPECT_DOUBLE_EQ(w().TriggerVoltage, 0.25);
        } else {
            EXPECT_DOUBLE_EQ(w().TriggerVoltage, -1.5);
        }
    }
}

TEST_F(ScopeTest, PropertyDialogSetsTheColourStyleOnlyOnOk)
{
    for (int result : {int(mrCancel), int(mrOk)}) {
        TScopedDialogResponder responder;
        int rows = 0;
        responder.Answer([&](QDialog& d) {
            rows = int(static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows().size());
            auto* combo = d.findChild<QComboBox*>(QStringLiteral("Combo"));
            if (!combo) {
                ADD_FAILURE() << "no style row";
                return int(mrCancel);
            }
            combo->setCurrentIndex(2);
            return result;
        });
        scope.e->userEdit = true;
        scope.e->EditProperties();
        EXPECT_EQ(w().FarbStil, result == mrOk ? fsYellow : fsBlue);
        // Colour caption and style, hotkey caption and ten hotkeys, options caption, hint, run-time flag.
        EXPECT_EQ(rows, 16);
    }
}

TEST_F(ScopeTest, SettingsRoundTripAndAMissingKeyChangesNothing)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.est")));
    w().CB_TimeBase->setCurrentIndex(7);
    w().SetTriggerIndex(3);
    w().SetTriggerPositiv(false);
    w().RangeACombo->setCurrentIndex(18);
    w().RangeBCombo->setCurrentIndex(10);
    w().SetToolsVisible(false);
    w().TriggerVoltage = -1.25;
    scope.e->SaveSettings(ini, QStringLiteral("MainModul"));

    TLinked<TBT_Scope, TFP_Scope> other;
    TOscillograph& o = *other.e->Window;
    ASSERT_TRUE(other.e->LoadSettings(ini, QStringLiteral("MainModul"), true));
    ASSERT_TRUE(other.e->LoadSettings(ini, QStringLiteral("MainModul"), false));
    EXPECT_EQ(o.CB_TimeBase->currentIndex(), 7);
    EXPECT_EQ(o.GetTriggerIndex(), 3);
    EXPECT_FALSE(o.TriggerPositiv);
    EXPECT_DOUBLE_EQ(o.RangeA, 1.0);
    EXPECT_DOUBLE_EQ(o.RangeB, 0.002);
    EXPECT_FALSE(o.ToolsVisible);
    EXPECT_DOUBLE_EQ(o.TriggerVoltage, -1.25);

    ini.DeleteKey(QStringLiteral("MainModul.") + scope.e->ElementName, QStringLiteral("RangeBIndex"));
    TLinked<TBT_Scope, TFP_Scope> third;
    const int timeBase = third.e->Window->CB_TimeBase->currentIndex();
    EXPECT_FALSE(third.e->LoadSettings(ini, QStringLiteral("MainModul"), true));
    EXPECT_EQ(third.e->Window->CB_TimeBase->currentIndex(), timeBase);
    EXPECT_NE(timeBase, 7);
}

TEST_F(ScopeTest, WebRequestsReachTheControls)
{
    TDrive drive(*scope.c);
    Start(0, 0);
    scope.c->Calculate();
    ASSERT_TRUE(w().Aufnahme);
    scope.e->WebSubmit(QStringLiteral("I12"));
    EXPECT_EQ(w().CB_TimeBase->currentText(), QStringLiteral("10 s"));
    EXPECT_FALSE(w().Aufnahme) << "a time-base change ends the sweep";
    scope.e->WebSubmit(QStringLiteral("Ixy"));
    EXPECT_EQ(w().CB_TimeBase->currentIndex(), 12) << "a value that names no entry is ignored";
    scope.e->WebSubmit(QStringLiteral("A99"));
    EXPECT_EQ(w().RangeACombo->currentIndex(), 21);
    scope.e->WebSubmit(QStringLiteral("B18"));
    EXPECT_DOUBLE_EQ(w().RangeB, 1.0);
    scope.e->WebSubmit(QStringLiteral("T1"));
    EXPECT_EQ(w().GetTriggerIndex(), 1);
    EXPECT_TRUE(w().SB_Start->isVisibleTo(&w()));
    scope.e->WebSubmit(QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(w().TriggerVoltage, 0.5);
    scope.e->WebAction(6);
    EXPECT_TRUE(w().StartRequest);
    scope.e->WebAction(4);
    EXPECT_FALSE(w().TriggerPositiv);
    scope.e->WebAction(16);
    EXPECT_FALSE(w().ToolsVisible);

    QStringList lines;
    scope.e->LaufzeitEinstellbar = true;
    scope.e->WriteWebElement(lines);
    const QString page = lines.join(u'\n');
    EXPECT_TRUE(page.contains(QStringLiteral("type=\"text\" size=\"30\" maxlength=\"30\" Value=\"0")));
    EXPECT_TRUE(page.contains(QStringLiteral("Trigger Volt</BR>")));
    EXPECT_TRUE(page.contains(QStringLiteral("VALUE=\"I12\"selected>10 s")));
}

// --- Stream --------------------------------------------------------------------------------------

TEST_F(ScopeTest, ProjectStreamCarriesTheWindowSettings)
{
    w().CB_TimeBase->setCurrentIndex(9);
    w().SetTriggerIndex(4);
    w().SetTriggerPositiv(false);
    w().TriggerVoltage = 2.5;
    w().RangeACombo->setCurrentIndex(3);
    w().RangeBCombo->setCurrentIndex(30);
    w().SetFarbStil(fsYellow);
    w().Headline = QStringLiteral("Messung");
    w().CommentLines = {QStringLiteral("eins"), QStringLiteral("zwei")};
    w().Print.ZoomPos = 80;
    w().Print.Zoom = 2.5;
    w().Print.BlackWhite = true;
    w().Print.Origin = QPoint(3, 4);
    const QByteArray bytes = StreamBytes([&](TWriter& writer) { scope.c->WriteData(writer); });

    TLinked<TBT_Scope, TFP_Scope> copy;
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& reader) { copy.c->ReadData(reader, 44); }));
    const TOscillograph& o = *copy.e->Window;
    EXPECT_EQ(o.CB_TimeBase->currentIndex(), 9);
    EXPECT_EQ(o.GetTriggerIndex(), 4);
    EXPECT_FALSE(o.TriggerPositiv);
    EXPECT_DOUBLE_EQ(o.TriggerVoltage, 2.5);
    EXPECT_DOUBLE_EQ(o.RangeA, 1e-5);
    EXPECT_DOUBLE_EQ(o.RangeB, 1e4);
    EXPECT_EQ(o.FarbStil, fsYellow);
    EXPECT_EQ(o.Headline, QStringLiteral("Messung"));
    EXPECT_EQ(o.CommentLines, w().CommentLines);
    EXPECT_EQ(o.Print.ZoomPos, 80);
    EXPECT_DOUBLE_EQ(o.Print.Zoom, 2.5);
    EXPECT_TRUE(o.Print.BlackWhite);
    EXPECT_EQ(o.Print.Origin, QPoint(3, 4));
    // The same bytes again: nothing lost.
    EXPECT_EQ(StreamBytes([&](TWriter& writer) { copy.c->WriteData(writer); }), bytes);
}

TEST_F(ScopeTest, OldProjectsLoadTheWindowSettingsWithoutPrintSettings)
{
    // Version 39: no run-time flag and label in the base data, no print settings.
    const auto bare = NewObject<TBT_Scope>();
    const QByteArray old = StreamBytes([&](TWriter& writer) {
        bare->TBauteil::WriteData(writer);
        for (int32_t v : {bare->X, bare->Y, bare->InputCount, bare->OutputCount})
            writer.WriteInteger(v);
        writer.WriteBoolean(false);
        for (int i = 0; i < bare->InputCount; ++i)
            writer.WriteBoolean(false);
        for (int32_t v : {10, 10, 100, 100, 9, 3})
            writer.WriteInteger(v);
        writer.WriteBoolean(false);
        writer.WriteFloat(2.5);
        for (int32_t v : {18, 19, 2})
            writer.WriteInteger(v);
    });
    TLinked<TBT_Scope, TFP_Scope> loaded;
    EXPECT_TRUE(ReadBytes(old, [&](TReader& reader) { loaded.c->ReadData(reader, 39); }));
    const TOscillograph& o = *loaded.e->Window;
    EXPECT_EQ(o.CB_TimeBase->currentIndex(), 9);
    EXPECT_EQ(o.GetTriggerIndex(), 3);
    EXPECT_FALSE(o.TriggerPositiv);
    EXPECT_DOUBLE_EQ(o.TriggerVoltage, 2.5);
    EXPECT_DOUBLE_EQ(o.RangeA, 1.0);
    EXPECT_DOUBLE_EQ(o.RangeB, 2.0);
    EXPECT_EQ(o.FarbStil, fsYellow);
    EXPECT_EQ(o.Print.ZoomPos, 120);
    EXPECT_DOUBLE_EQ(o.Print.Zoom, 0.5);
    EXPECT_TRUE(o.Print.Centred);
    EXPECT_TRUE(o.CommentLines.isEmpty());
}

TEST_F(ScopeTest, ElementStreamKeepsItsSize)
{
    scope.e->resize(411, 233);
    const QByteArray bytes = StreamBytes([&](TWriter& writer) { scope.e->WriteElementData(writer); });
    TFP_Scope copy;
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& reader) { copy.ReadElementData(reader, 44); }));
    EXPECT_EQ(copy.size(), QSize(411, 233));
    EXPECT_EQ(copy.Window->geometry(), copy.rect().adjusted(1, 1, -1, -1)) << "the window fills the frame";
}

} // namespace
