// The logic analyser: trigger sources and edges, the sampling clocks against a generated
// signal, the painted traces, the window's layout and cursor, the element's hotkeys, web
// submissions and settings, and the component's stream.

#include "recorders/RecorderTestSupport.h"

#include "components/analyser/Analyser.h"
#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "frontpanel/analyser/AnalyserElement.h"
#include "frontpanel/analyser/AnalyserWindow.h"
#include "platform/IniFile.h"
#include "shell/Composition.h"

#include <QComboBox>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

using AnalyserTest = RecorderTest;

constexpr int kTrg = 8, kExt = 9;

struct TAnalyser : TLinked<TBT_Analyser, TFP_Analyser> {
    TDrive drive{*c};
    TMyAnalyser& w() { return *c->Window(); }
    void Step() { c->Calculate(); }
};

} // namespace

TEST_F(AnalyserTest, WindowIsDockedIntoTheElementAndCaptioned)
{
    TAnalyser a;
    ASSERT_NE(a.c->Window(), nullptr);
    EXPECT_EQ(a.c->Window()->parentWidget(), a.e.get());
    EXPECT_EQ(a.e->Window(), a.c->Window());
    a.e->show();
    a.e->resize(400, 250);
    EXPECT_EQ(a.w().geometry(), a.e->rect().adjusted(1, 1, -1, -1));
    a.c->SetNumber(3);
    a.c->UpdateWindowCaption();
    EXPECT_EQ(a.w().windowTitle(), QStringLiteral("8-Kanal-Analyser [3]"));
}

// Step at which a recording starts, for trigger sources and edges over a sequence of levels
// of "|Trg" and of channel 3.
TEST_F(AnalyserTest, TriggerTable)
{
    struct TCase {
        const char* name;
        int index;
        bool rising;
        std::vector<int> trg, d3;
        int requestAt;  // step of a press of the start button; -1 none
        int expected;   // first recording step; -1 none
    };
    const std::vector<TCase> cases{
        {"manual, not pressed", 0, true, {0, 0, 0}, {0, 0, 0}, -1, -1},
        {"manual, pressed", 0, true, {0, 0, 0}, {0, 0, 0}, 1, 1},
        {"loop", 1, true, {0, 0, 0}, {0, 0, 0}, -1, 0},
        {"external rising", 2, true, {0, 0, 1}, {0, 0, 0}, -1, 2},
        {"external rising, high at start", 2, true, {1, 1, 1}, {0, 0, 0}, -1, 0},
        {"external falling", 2, false, {1, 1, 0}, {0, 0, 0}, -1, 2},
        {"external falling, low throughout", 2, false, {0, 0, 0}, {0, 0, 0}, -1, -1},
        {"channel 3 rising, high at start", 6, true, {0, 0, 0}, {1, 1, 1}, -1, 0},
        {"channel 3 falling", 6, false, {1, 1, 1}, {1, 0, 0}, -1, 1},
        {"channel 3 ignores |Trg", 6, true, {0, 1, 0}, {0, 0, 0}, -1, -1},
        {"no source", -1, true, {1, 0, 1}, {1, 0, 1}, -1, -1},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.name);
        TAnalyser a;
        a.w().RB_Ext->setChecked(true);  // the external clock stays unwired: no sample is taken
        a.w().SetTriggerIndex(t.index);
        a.w().SetTriggerPositiv(t.rising);
        a.c->SimReset();
        int started = -1;
        for (size_t s = 0; s < t.trg.size(); ++s) {
            a.drive.Set(kTrg, t.trg[s] * 5).Set(3, t.d3[s] * 5);
            if (int(s) == t.requestAt)
                a.w().SB_StartClick();
            a.Step();
            if (a.w().Aufnahme && started < 0)
                started = int(s);
        }
        EXPECT_EQ(started, t.expected);
        if (t.index == 0 && started >= 0) {
            EXPECT_FALSE(a.w().StartRequest);
        }
    }
}

TEST_F(AnalyserTest, ChangedTriggerSourceComparesWithTheOldSourcesLevel)
{
    TAnalyser a;
    a.w().RB_Ext->setChecked(true);
    a.c->SimReset();
    a.w().SetTriggerIndex(2);
    a.drive.High(kTrg).Low(3);
    a.Step();  // |Trg rises: recording
    EXPECT_TRUE(a.w().Aufnahme);
    a.w().SetAufnahme(false);
    a.w().SetTriggerIndex(6);  // channel 3, which is high now
    a.drive.High(3);
    a.Step();  // compared with |Trg's high level: no edge
    EXPECT_FALSE(a.w().Aufnahme);
    a.drive.Low(3);
    a.Step();
    a.drive.High(3);
    a.Step();
    EXPECT_TRUE(a.w().Aufnahme);
}

// The data inputs carry the step number (bit i on channel i); each recorded sample must hold
// the number of the step it was taken in: with a divider of n - 1 the step counter reaches it
// in the n-th step after the trigger.
TEST_F(AnalyserTest, SystemClockSamplesAGeneratedSignal)
{
    struct TCase {
        int entry;
        int stepsPerSample;
    };
    for (const TCase t : {TCase{0, 1}, TCase{2, 4}, TCase{3, 10}}) {
        SCOPED_TRACE(t.entry);
        TAnalyser a;
        a.w().CB_Systemtakt->setCurrentIndex(t.entry);
        a.w().SetTriggerIndex(1);
        a.c->SimReset();
        int completedAt = -1;
        for (int step = 0; step < 100 * t.stepsPerSample + 5 && completedAt < 0; ++step) {
            for (int i = 0; i < 8; ++i)
                a.drive.Set(i, ((step >> i) & 1) * 5);
            a.Step();
            if (step > 0 && !a.w().Aufnahme)
                completedAt = step;
        }
        // "Max" samples in the trigger's step; the 100th sample ends the recording.
        const int first = t.stepsPerSample - 1;
        EXPECT_EQ(completedAt, first + 99 * t.stepsPerSample);
        for (int p = 0; p < 100; ++p) {
            const int step = first + p * t.stepsPerSample;
            for (int i = 0; i < 8; ++i)
                ASSERT_EQ(a.w().Channels[size_t(i)]->Samples[size_t(p)], bool((step >> i) & 1))
                    << "sample " << p << " channel " << i;
        }
    }
}

TEST_F(AnalyserTest, TimerAndExternalClocks)
{
    {
        SCOPED_TRACE("0.2 s: a sample every fourth tick, taken in the next step");
        TAnalyser a;
        a.w().RB_Time->setChecked(true);
        a.w().CB_TimeBase->setCurrentIndex(2);
        a.w().SetTriggerIndex(1);
        a.c->SimReset();
        a.drive.High(0);
        a.Step();
        EXPECT_EQ(a.c->SampleCounter, 0);
        for (int tick = 0; tick < 3; ++tick) {
            a.c->ClockTick();
            a.Step();
        }
        EXPECT_EQ(a.c->SampleCounter, 0);
        a.c->ClockTick();
        a.Step();
        EXPECT_EQ(a.c->SampleCounter, 1);
    }
    {
        SCOPED_TRACE("external: a sample at each falling edge of |Ext");
        TAnalyser a;
        a.w().RB_Ext->setChecked(true);
        a.w().SetTriggerIndex(1);
        a.c->SimReset();
        const int ext[] = {1, 0, 0, 1, 0, 1};
        int samples[6];
        for (int s = 0; s < 6; ++s) {
            a.drive.Set(kExt, ext[s] * 5).Set(0, s % 2 * 5);
            a.Step();
            samples[s] = a.c->SampleCounter;
        }
        EXPECT_EQ(std::vector<int>(samples, samples + 6), (std::vector<int>{0, 1, 1, 1, 2, 2}));
        EXPECT_TRUE(a.w().Channels[0]->Samples[0]);   // step 1
        EXPECT_FALSE(a.w().Channels[0]->Samples[1]);  // step 4
    }
    {
        SCOPED_TRACE("unwired |Ext reads high: never a falling edge");
        TAnalyser a;
        a.w().RB_Ext->setChecked(true);
        a.w().SetTriggerIndex(1);
        a.c->SimReset();
        for (int s = 0; s < 50; ++s)
            a.Step();
        EXPECT_TRUE(a.w().Aufnahme);
        EXPECT_EQ(a.c->SampleCounter, 0);
    }
}

TEST_F(AnalyserTest, ClockButtonEndsARecordingAndALeftOverStepCountSamplesAtOnce)
{
    TAnalyser a;
    a.w().CB_Systemtakt->setCurrentIndex(9);  // 1/1000
    a.w().SetTriggerIndex(1);
    a.c->SimReset();
    for (int s = 0; s < 5; ++s)
        a.Step();
    EXPECT_TRUE(a.w().Aufnahme);
    EXPECT_EQ(a.c->SampleCounter, 0);
    EXPECT_EQ(a.c->StepCounter, 5);
    a.w().RB_Time->setChecked(true);
    EXPECT_FALSE(a.w().Aufnahme);
    a.w().RB_System->setChecked(true);
    a.w().CB_Systemtakt->setCurrentIndex(1);  // 1/2, below the step count left over
    a.Step();
    EXPECT_TRUE(a.w().Aufnahme);
    EXPECT_EQ(a.c->SampleCounter, 1);  // sampled in the first step
    a.Step();
    EXPECT_EQ(a.c->SampleCounter, 1);
    a.Step();
    EXPECT_EQ(a.c->SampleCounter, 2);
}

TEST_F(AnalyserTest, StepAndTickDividerTables)
{
    TAnalyser a;
    const int steps[] = {0, 1, 3, 9, 19, 39, 99, 199, 399, 999};
    for (int i = 0; i < 10; ++i) {
        a.w().CB_Systemtakt->setCurrentIndex(i);
        EXPECT_EQ(a.w().StepDivider(), steps[i]);
    }
    const int ticks[] = {1, 2, 4, 10, 20, 40, 100};
    for (int i = 0; i < 7; ++i) {
        a.w().CB_TimeBase->setCurrentIndex(i);
        EXPECT_EQ(a.w().TickDivider(), ticks[i]);
    }
    a.w().CB_Systemtakt->setCurrentIndex(-1);
    a.w().CB_TimeBase->setCurrentIndex(-1);
    EXPECT_EQ(a.w().StepDivider(), 0);
    EXPECT_EQ(a.w().TickDivider(), 1);
}

// --- Painting --------------------------------------------------------------------------------

namespace {

QImage Trace(const std::array<bool, 100>& samples, int w, int h, bool fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    TKanalDisplay::PaintTrace(p, samples, w, h, QColor(0, 255, 0), fill);
    return image;
}

const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

} // namespace

TEST_F(AnalyserTest, AllHighTraceIsOneTopLineFilledBelow)
{
    std::array<bool, 100> high;
    high.fill(true);
    const int W = 202, H = 20;
    const int end = 198;  // round(99 x 202 / 101)
    const QImage line = Trace(high, W, H, false);
    EXPECT_EQ(line.pixel(0, 0), kGreen);
    EXPECT_EQ(line.pixel(end, 0), kGreen);
    EXPECT_EQ(line.pixel(end + 2, 0), kBlack);
    EXPECT_EQ(line.pixel(50, H - 1), kBlack);
    EXPECT_EQ(line.pixel(50, 10), kBlack);
    const QImage filled = Trace(high, W, H, true);
    EXPECT_EQ(filled.pixel(1, 1), kWhite);
    EXPECT_EQ(filled.pixel(end - 1, H - 1), kWhite);
    EXPECT_EQ(filled.pixel(0, 10), kBlack);
    EXPECT_EQ(filled.pixel(end + 1, 10), kBlack);
}

TEST_F(AnalyserTest, EdgesAreVerticalLinesAtTheirSamplesColumn)
{
    // Low for samples 0..9, high for 10..49, low again from 50.
    std::array<bool, 100> s{};
    for (int i = 10; i < 50; ++i)
        s[size_t(i)] = true;
    const int W = 303, H = 20;
    const int rise = 30, fall = 150;  // round(i x 303 / 101) = 3 i
    const QImage line = Trace(s, W, H, false);
    EXPECT_EQ(line.pixel(5, H - 1), kGreen);
    EXPECT_EQ(line.pixel(5, 0), kBlack);
    for (int y : {0, 10, H - 1}) {
        EXPECT_EQ(line.pixel(rise, y), kGreen) << y;
        EXPECT_EQ(line.pixel(fall, y), kGreen) << y;
    }
    EXPECT_EQ(line.pixel(rise - 1, 10), kBlack);
    EXPECT_EQ(line.pixel(100, 0), kGreen);
    EXPECT_EQ(line.pixel(100, H - 1), kBlack);
    EXPECT_EQ(line.pixel(200, H - 1), kGreen);
    const QImage filled = Trace(s, W, H, true);
    EXPECT_EQ(filled.pixel(rise + 1, 1), kWhite);
    EXPECT_EQ(filled.pixel(fall - 1, H - 1), kWhite);
    EXPECT_EQ(filled.pixel(fall + 1, 10), kBlack);
    EXPECT_EQ(filled.pixel(rise - 1, 10), kBlack);
}

TEST_F(AnalyserTest, ProgressBarAndTracesAfterTheHundredthSample)
{
    TAnalyser a;
    a.e->resize(470, 310);
    a.e->show();
    a.w().SetTriggerIndex(1);
    a.c->SimReset();
    a.drive.High(2);
    for (int s = 0; s < 50; ++s)
        a.Step();
    QImage bar(a.w().PaintBox1->size(), QImage::Format_RGB32);
    a.w().PaintBox1->render(&bar);
    // 50 of 100 samples: 30 of 60 pixels, the last one left free, rows 3 to height - 2.
    EXPECT_EQ(bar.pixel(0, 3), qRgb(255, 0, 0));
    EXPECT_EQ(bar.pixel(28, 3), qRgb(255, 0, 0));
    EXPECT_NE(bar.pixel(30, 3), qRgb(255, 0, 0));
    EXPECT_NE(bar.pixel(10, 1), qRgb(255, 0, 0));
    for (int s = 0; s < 50; ++s)
        a.Step();
    EXPECT_FALSE(a.w().Aufnahme);
    a.w().PaintBox1->render(&bar);
    EXPECT_NE(bar.pixel(0, 3), qRgb(255, 0, 0));
    const TKanalDisplay& channel = *a.w().Channels[2];
    QImage trace(channel.size(), QImage::Format_RGB32);
    trace.fill(Qt::black);
    const_cast<TKanalDisplay&>(channel).render(&trace);
    EXPECT_EQ(trace.pixel(channel.width() / 2, 0), kGreen);
}

TEST_F(AnalyserTest, RelayoutSizesTheChannelsToTheDisplay)
{
    TAnalyser a;
    a.e->show();
    a.e->resize(a.e->width(), 62);  // a display height of 60
    a.w().SetToolsVisible(false);
    a.w().Relayout();
    ASSERT_EQ(a.w().PB_Display->height(), 60);
    EXPECT_EQ(a.w().ChannelHeight, 4);
    EXPECT_EQ(a.w().Channels[1]->y() - a.w().Channels[0]->y(), 6);
    EXPECT_EQ(a.w().Channels[0]->geometry(), QRect(60, 12, a.w().PB_Display->width() - 60, 4));
    EXPECT_EQ(a.w().Labels[3]->y(), a.w().Channels[3]->y() + 2 - 4);
}

TEST_F(AnalyserTest, CursorFollowsTheRightButtonOnly)
{
    TAnalyser a;
    a.e->show();
    TMyAnalyser& w = a.w();
    w.CursorPress(Qt::LeftButton, 100);
    EXPECT_FALSE(w.CursorShown);
    w.CursorPress(Qt::RightButton, 100);
    EXPECT_TRUE(w.CursorShown);
    w.CursorMove(140);
    EXPECT_EQ(w.CursorX, 140);
    w.CursorMove(10);  // not left of the traces
    EXPECT_EQ(w.CursorX, 60);
    w.CursorRelease(Qt::LeftButton);
    EXPECT_TRUE(w.CursorShown);
    w.CursorRelease(Qt::RightButton);
    EXPECT_FALSE(w.CursorShown);
}

TEST_F(AnalyserTest, RenamedChannelShowsInTheTriggerListKeepingTheSelection)
{
    TAnalyser a;
    a.w().SetTriggerIndex(5);
    a.w().Labels[2]->setText(QStringLiteral("Clock"));
    a.w().FillTriggerList();
    EXPECT_EQ(a.w().TriggerCombo->currentIndex(), 5);
    EXPECT_EQ(a.w().TriggerCombo->itemText(5), QStringLiteral("Clock"));
    EXPECT_EQ(a.w().TriggerCombo->count(), 11);
}

// --- Element ---------------------------------------------------------------------------------

TEST_F(AnalyserTest, HotkeyActions)
{
    TAnalyser a;
    TMyAnalyser& w = a.w();
    a.e->HotkeyPressed(1);
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 1);
    a.e->HotkeyPressed(2);
    a.e->HotkeyPressed(2);
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 0);
    a.e->HotkeyPressed(5);
    EXPECT_TRUE(w.RB_Ext->isChecked());
    a.e->HotkeyPressed(1);  // "= T+" with the external clock: nothing
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 0);
    EXPECT_EQ(w.CB_TimeBase->currentIndex(), 0);
    a.e->HotkeyPressed(4);
    a.e->HotkeyPressed(1);
    EXPECT_EQ(w.CB_TimeBase->currentIndex(), 1);
    a.e->HotkeyPressed(6);
    EXPECT_FALSE(w.TriggerPositiv);
    w.SetTriggerIndex(10);
    a.e->HotkeyPressed(7);  // "= TGS" after the last channel: back to manual
    EXPECT_EQ(w.TriggerIndex, 0);
    EXPECT_TRUE(w.SB_Start->isVisibleTo(&w));
    a.e->HotkeyPressed(7);
    EXPECT_EQ(w.TriggerIndex, 1);
    EXPECT_FALSE(w.SB_Start->isVisibleTo(&w));
    a.e->HotkeyPressed(8);
    EXPECT_TRUE(w.StartRequest);
}

TEST_F(AnalyserTest, WebSubmissions)
{
    TAnalyser a;
    TMyAnalyser& w = a.w();
    w.SetTriggerIndex(1);
    a.c->SimReset();
    a.Step();
    ASSERT_TRUE(w.Aufnahme);
    a.e->WebSubmit(QStringLiteral("K1"));
    EXPECT_TRUE(w.RB_Time->isChecked());
    EXPECT_FALSE(w.Aufnahme);
    a.e->WebSubmit(QStringLiteral("S3"));
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 3);
    a.e->WebSubmit(QStringLiteral("I6"));
    EXPECT_EQ(w.CB_TimeBase->currentIndex(), 6);
    a.e->WebSubmit(QStringLiteral("T4"));
    EXPECT_EQ(w.TriggerIndex, 4);
    // Not a number, out of range, unknown letter: ignored.
    for (const char* bad : {"Sx", "S99", "T-5", "K7", "Z1", ""})
        a.e->WebSubmit(QString::fromLatin1(bad));
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 3);
    EXPECT_EQ(w.TriggerIndex, 4);
    EXPECT_TRUE(w.RB_Time->isChecked());
}

TEST_F(AnalyserTest, WebFormListsTheClockModes)
{
    TAnalyser a;
    a.e->LaufzeitEinstellbar = true;
    a.e->ElementName = QStringLiteral("AN1");
    a.w().RB_Time->setChecked(true);
    QStringList lines;
    a.e->WriteWebElement(lines);
    const int at = int(lines.indexOf(QStringLiteral("</select> Clock mode</BR>")));
    ASSERT_GE(at, 3);
    EXPECT_EQ(lines.mid(at - 3, 3), (QStringList{QStringLiteral("<option VALUE=\"K0\">Sys"),
                                                QStringLiteral("<option VALUE=\"K1\"selected>Time"),
                                                QStringLiteral("<option VALUE=\"K2\">Ext")}));
    EXPECT_EQ(lines.back(), QStringLiteral("</form>"));
}

TEST_F(AnalyserTest, SettingsRoundTripAndCheck)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("a.est")));
    {
        TAnalyser a;
        a.e->ElementName = QStringLiteral("AN1");
        TMyAnalyser& w = a.w();
        w.SetTriggerPositiv(false);
        w.SetToolsVisible(false);
        w.RB_Time->setChecked(true);
        w.CB_TimeBase->setCurrentIndex(4);
        w.CB_Systemtakt->setCurrentIndex(7);
        w.Labels[6]->setText(QStringLiteral("Strobe"));
        w.SetChannelColor(6, 0x0000FF);
        w.FillTriggerList();
        w.SetTriggerIndex(9);
        a.e->SaveSettings(ini, QStringLiteral("MainModul"));
    }
    TAnalyser b;
    b.e->ElementName = QStringLiteral("AN1");
    EXPECT_TRUE(b.e->LoadSettings(ini, QStringLiteral("MainModul"), true));
    EXPECT_TRUE(b.e->LoadSettings(ini, QStringLiteral("MainModul"), false));
    TMyAnalyser& w = b.w();
    EXPECT_FALSE(w.TriggerPositiv);
    EXPECT_FALSE(w.ToolsVisible);
    EXPECT_TRUE(w.RB_Time->isChecked());
    EXPECT_EQ(w.CB_TimeBase->currentIndex(), 4);
    EXPECT_EQ(w.CB_Systemtakt->currentIndex(), 7);
    EXPECT_EQ(w.TriggerIndex, 9);
    EXPECT_EQ(w.TriggerCombo->itemText(9), QStringLiteral("Strobe"));
    EXPECT_EQ(w.Channels[6]->TraceColor, 0x0000FF);
    for (const char* key : {"ToolsVisible", "ExtClock", "ChName7", "ChColour0"}) {
        SCOPED_TRACE(key);
        TIniFile missing(dir.filePath(QStringLiteral("b.est")));
        b.e->SaveSettings(missing, QStringLiteral("MainModul"));
        missing.DeleteKey(QStringLiteral("MainModul.AN1"), QString::fromLatin1(key));
        EXPECT_FALSE(b.e->LoadSettings(missing, QStringLiteral("MainModul"), true));
    }
}

TEST_F(AnalyserTest, ElementDataKeepsTheSizeAndOldProjectsGet400By300)
{
    TAnalyser a;
    a.e->resize(502, 281);
    const QByteArray bytes = StreamBytes([&](TWriter& w) { a.e->WriteElementData(w); });
    TAnalyser b;
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b.e->ReadElementData(r, 44); }));
    EXPECT_EQ(b.e->size(), QSize(502, 281));
    // A version-2 record has no size: the frame's base data only.
    TAnalyser c;
    ReadBytes(bytes, [&](TReader& r) { c.e->ReadElementData(r, 2); });
    EXPECT_EQ(c.e->size(), QSize(402, 302));
}

// --- Component stream ------------------------------------------------------------------------

TEST_F(AnalyserTest, ComponentStreamRoundTrip)
{
    TAnalyser a;
    TMyAnalyser& w = a.w();
    w.Labels[0]->setText(QStringLiteral("A name much longer than thirty characters"));
    w.Labels[7]->setText(QStringLiteral("Busy"));
    w.SetChannelColor(7, 0x123456);
    w.RB_Ext->setChecked(true);
    w.CB_Systemtakt->setCurrentIndex(5);
    w.CB_TimeBase->setCurrentIndex(3);
    w.FillTriggerList();
    w.SetTriggerIndex(8);
    w.cb_Fill->setChecked(true);
    w.Headline = QStringLiteral("Bus");
    w.Comments = {QStringLiteral("line 1"), QStringLiteral("line 2")};
    w.Print.ZoomPos = 80;
    const QByteArray bytes = StreamBytes([&](TWriter& out) { a.c->WriteData(out); });
    TAnalyser b;
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b.c->ReadData(r, 44); }));
    TMyAnalyser& v = b.w();
    EXPECT_EQ(v.Labels[0]->text(), QStringLiteral("A name much longer than thirty"));
    EXPECT_EQ(v.Labels[7]->text(), QStringLiteral("Busy"));
    EXPECT_EQ(v.Channels[7]->TraceColor, 0x123456);
    EXPECT_EQ(v.Labels[7]->FontColor, 0x123456);
    EXPECT_TRUE(v.RB_Ext->isChecked());
    EXPECT_EQ(v.CB_Systemtakt->currentIndex(), 5);
    EXPECT_EQ(v.CB_TimeBase->currentIndex(), 3);
    EXPECT_EQ(v.TriggerIndex, 8);
    EXPECT_TRUE(v.cb_Fill->isChecked());
    EXPECT_TRUE(v.Channels[3]->Fill);
    EXPECT_EQ(v.Headline, QStringLiteral("Bus"));
    EXPECT_EQ(v.Comments, w.Comments);
    EXPECT_EQ(v.Print.ZoomPos, 80);
    // The settings block is 260 bytes; the same bytes again after a second trip.
    const QByteArray again = StreamBytes([&](TWriter& out) { b.c->WriteData(out); });
    EXPECT_EQ(again, bytes);
    const QByteArray own = StreamBytes([&](TWriter& out) { b.c->WriteSettings(out); });
    EXPECT_EQ(own.left(8 * 31).mid(7 * 31, 5), QByteArray("\x04" "Busy"));
}

TEST_F(AnalyserTest, Version2StreamHasOnlyTheBlock)
{
    TBT_Analyser source;
    source.ChannelNames[1] = QStringLiteral("Old");
    source.TriggerIndex = 5;
    source.WindowWidth = 999;
    QByteArray bytes = StreamBytes([&](TWriter& w) { source.WriteSettings(w); });
    bytes.truncate(260);
    TBT_Analyser old;
    old.TriggerIndex = 7;
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { old.ReadSettings(r, 2); }));
    EXPECT_EQ(old.ChannelNames[1], QStringLiteral("Old"));
    EXPECT_EQ(old.TriggerIndex, 0);
    EXPECT_EQ(old.WindowWidth, 300);
    EXPECT_EQ(old.WindowHeight, 165);
    EXPECT_FALSE(old.FillFlag);
    EXPECT_EQ(old.TraceColors[4], 0x00FF00);
}

TEST_F(AnalyserTest, PrintedPageHasTheTracesAndTheLabels)
{
    TAnalyser a;
    a.e->show();
    a.e->resize(472, 312);
    a.w().Relayout();
    a.drive.High(0);
    a.w().SetTriggerIndex(1);
    a.c->SimReset();
    for (int s = 0; s < 100; ++s)
        a.Step();
    QImage page(a.w().size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QString none;
    const QStringList noLines;
    a.w().PaintPrintPage(painter, TPageOptions{TPaintTarget::Bitmap, page.size(), true, false, nullptr, false, 1.0,
                                               none, noLines});
    painter.end();
    const TKanalDisplay& ch0 = *a.w().Channels[0];
    const TKanalDisplay& ch1 = *a.w().Channels[1];
    // Black and white: channel 0 (high) along its top, channel 1 (unwired data input reads
    // high as well), labels left of the traces.
    EXPECT_EQ(page.pixel(ch0.x() + 40, ch0.y()), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(ch1.x() + 40, ch1.y()), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(ch0.x() + 40, ch0.y() + ch0.height() / 2), qRgb(255, 255, 255));
    bool labelInk = false;
    for (int x = 2; x < ch0.x() - 10; ++x)
        for (int y = ch0.y(); y < ch0.y() + 12; ++y)
            labelInk = labelInk || page.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(labelInk);
}

// The program's composition carries a renumbering on the board to the window's caption.
TEST_F(AnalyserTest, RenumberingOnTheBoardRecaptionsTheWindow)
{
    InstallHooks();
    {
        TPlatine board;
        auto first = NewObject<TBT_Analyser>();
        board.AddComponent(std::move(first));
        auto component = NewObject<TBT_Analyser>();
        TBT_Analyser* analyser = static_cast<TBT_Analyser*>(board.AddComponent(std::move(component)));
        std::unique_ptr<TFP_Analyser> element(NewElement<TFP_Analyser>(nullptr));
        analyser->SetLink(element.get());
        element->Component = analyser;
        board.RenumberClass("TBT_Analyser");
        EXPECT_EQ(analyser->Window()->windowTitle(), QStringLiteral("8-Kanal-Analyser [2]"));
        analyser->SetLink(nullptr);
        element->Component = nullptr;
    }
    ResetBoardHooks();
}
