// Counters: pins and texts, counting tables on real pins, the lagging carry, reset and load
// priority, wrap-around, the state file and the clock level carried across runs; the caption.
#include "ComponentTestSupport.h"
#include "components/digital/Counters.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace {

enum { CK = 0, RST = 1, UD = 2, ENT = 3, ENP = 4, LD = 5, D0 = 6 };

// A counter whose inputs are driven by pins of our own, all high to begin with (so it counts
// up, enabled, not reset, not loading).
struct TBench : TDrivenComponent {
    int width = 0;

    explicit TBench(std::unique_ptr<TIOBauteil> comp)
        : TDrivenComponent(std::move(comp)), width(c->OutputCount - 1)
    {
    }
    void SetData(int v) { in.SetNumber(D0, width, uint32_t(v)); }
    void Step() { c->Calculate(); }
    // Clock high for a step, then low for a step: one falling edge.
    void Pulse()
    {
        Set(CK, true);
        Step();
        Set(CK, false);
        Step();
    }
    bool Carry() const { return c->Outputs[0]->Value >= 2.5L; }
    // The number on the Q outputs ("Q0" last).
    int Q() const { return LastOutputs(width); }
};

class CounterTest : public TComponentTest<RegisterSequentialComponents> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    // A run-started counter holding count: through the state file where the class keeps its
    // count, else through its load inputs.
    TBench Started(const char* cls, int count)
    {
        TBench b(Create(cls));
        b.c->SetNumber(1);
        b.c->SimReset();
        b.Set(CK, false);
        if (std::string(cls) == "TBTCNTL") {
            b.SetData(count);
            b.Set(LD, false);
            b.Step();
            b.Set(LD, true);
        } else {
            TIniFile ini(dir.filePath(QStringLiteral("preset.set")));
            ini.WriteInteger(QStringLiteral("MAIN.") + b.c->Prefix() + QStringLiteral("1"),
                             QStringLiteral("Z"), count);
            b.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        }
        b.Step();
        return b;
    }

    QTemporaryDir dir;
};

TEST_F(CounterTest, PinsPrefixesAndTexts)
{
    struct Case {
        const char* cls;
        const char* prefix;
        int inputs, outputs;
        const char* type[3];
        const char* caption[3];
    };
    const Case cases[] = {
        {"TBTCNT4", "ZBIN", 5, 5, {"4-bit Zähler", "Counter\r(4 bit)", "Compteur\r4 bits"},
         {"Zähler (4)", "Counter (4)", "Compteur (4)"}},
        {"TBTCNT8", "Z8BIN", 5, 9, {"8-bit Zähler", "Counter\r(8 bit)", "Compteur\r8 bits"},
         {"Zähler (8)", "Counter (8)", "Compteur (8)"}},
        {"TBTCNT16", "Z16BIN", 5, 17,
         {"16-bit Zähler", "Counter\r(16 bit)", "Compteur\r16 bits"},
         {"Zähler (16)", "Counter (16)", "Compteur (16)"}},
        {"TBTCNT4D", "ZDEK", 5, 5,
         {"4-bit Zähler\r(dekade)", "Decade counter\r(4 bit)", "Compteur décade\r4 bits"},
         {"Zähler (Dez)", "D-counter", "Compteur-D"}},
        {"TBTCNTLD", "ZDEKL", 10, 5,
         {"4-bit Zähler\r(dekade, ladbar)", "Decade counter\rwith load",
          "Compteur décade\ravec chargement"},
         {"Zähler, ladbar (Dez)", "Decade counter", "Compteur décade"}},
        {"TBTCNTL", "ZBINL", 10, 5,
         {"4-bit Zähler\r(ladbar)", "Counter\rwith load (4 bit)",
          "Compteur avec\rchargement 4 bits"},
         {"Zähler, ladbar (4)", "Counter (4)", "Compteur (4)"}},
        {"TBTCNTL8", "Z8BINL", 14, 9,
         {"8-bit Zähler\r(ladbar)", "Counter (8 bit)\rwith load",
          "Compteur avec\rchargement 8 bits"},
         {"Zähler, ladbar (8)", "Counter (8)", "Compteur (8)"}},
        {"TBTCNTL16", "Z16BINL", 22, 17,
         {"16-bit Zähler\r(ladbar)", "Counter (16 bit)\rwith load",
          "Coumpteur 16 bits\ravec chargement"},
         {"Zähler, ladbar (16)", "Counter (16)", "Compteur (16)"}},
    };
    const char* fixedIn[] = {"|CK", "/RST", "U/D", "/ENT", "/ENP", "/LD"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        auto cnt = Create(c.cls);
        ASSERT_TRUE(cnt);
        EXPECT_EQ(cnt->Prefix(), QString::fromLatin1(c.prefix));
        EXPECT_EQ(cnt->HelpContext, 24000);
        ASSERT_EQ(cnt->InputCount, c.inputs);
        ASSERT_EQ(cnt->OutputCount, c.outputs);
        for (int i = 0; i < c.inputs; ++i) {
            const QString expected = i < 6 ? QString::fromLatin1(fixedIn[i])
                                           : QStringLiteral("D%1").arg(i - 6);
            EXPECT_EQ(cnt->Inputs[i]->Name(), expected);
        }
        EXPECT_EQ(cnt->Outputs[0]->Name(), QStringLiteral("/RCO"));
        for (int k = 1; k < c.outputs; ++k)
            EXPECT_EQ(cnt->Outputs[k]->Name(), QStringLiteral("Q%1").arg(c.outputs - 1 - k));
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(cnt->GetTypeName(), QString::fromUtf8(c.type[lang])) << int(lang);
        }
        Ctx().CurrentLanguage = 0;
    }
}

// Up from the maximum gives 0, down from 0 gives the maximum, for every member.
TEST_F(CounterTest, WrapsAtBothEnds)
{
    struct Case {
        const char* cls;
        int max;
    };
    const Case cases[] = {{"TBTCNT4", 15},   {"TBTCNT8", 255},   {"TBTCNT16", 65535},
                          {"TBTCNT4D", 9},   {"TBTCNTLD", 9},    {"TBTCNTL", 15},
                          {"TBTCNTL8", 255}, {"TBTCNTL16", 65535}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        TBench b = Started(c.cls, c.max - 1);
        ASSERT_EQ(b.Q(), c.max - 1);
        b.Pulse();
        EXPECT_EQ(b.Q(), c.max);
        b.Pulse();
        EXPECT_EQ(b.Q(), 0);
        b.Set(UD, false);
        b.Pulse();
        EXPECT_EQ(b.Q(), c.max);
        b.Pulse();
        EXPECT_EQ(b.Q(), c.max - 1);
    }
}

// Only a falling clock edge counts, and only with both enables high and no load.
TEST_F(CounterTest, CountsOnFallingEdgesOnly)
{
    TBench b = Started("TBTCNTL8", 100);
    struct Step {
        bool ck;
        int in;      // -1 none, else the input set low for this step
        int q;
    };
    const Step steps[] = {
        {true, -1, 100},  // rising edge: nothing
        {true, -1, 100},  // high: nothing
        {false, -1, 101}, // falling
        {false, -1, 101}, // low: nothing
        {true, -1, 101},  {false, ENP, 101}, // /ENP low blocks
        {true, -1, 101},  {false, ENT, 101}, // /ENT low blocks
        {true, -1, 101},  {false, UD, 100},  // down
        {true, -1, 100},  {false, -1, 101},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        for (int i : {UD, ENT, ENP})
            b.Set(i, i != s.in);
        b.Set(CK, s.ck);
        b.Step();
        EXPECT_EQ(b.Q(), s.q);
    }
}

// Reset beats load and clock; load beats the clock and acts without any edge.
TEST_F(CounterTest, ResetAndLoadPriority)
{
    struct Case {
        bool rst, ld, edge;
        int q;
    };
    const Case cases[] = {
        {false, true, true, 0},   // reset with a falling edge: 0, no count
        {false, false, false, 0}, // reset and load: 0
        {false, false, true, 0},
        {true, false, true, 9},   // load with a falling edge: the data
        {true, false, false, 9},  // load without any edge
        {true, true, true, 6},    // plain count
        {true, true, false, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rst " << c.rst << " ld " << c.ld << " edge " << c.edge);
        TBench b = Started("TBTCNTL16", 5);
        b.SetData(9);
        b.Set(CK, true);
        b.Step();
        b.Set(RST, c.rst);
        b.Set(LD, c.ld);
        b.Set(CK, !c.edge);
        b.Step();
        EXPECT_EQ(b.Q(), c.q);
    }
    // The outputs follow the data while /LD stays low.
    TBench b = Started("TBTCNTL", 0);
    b.Set(LD, false);
    for (int v : {3, 12, 7}) {
        b.SetData(v);
        b.Step();
        EXPECT_EQ(b.Q(), v);
    }
}

// "/RCO" shows the carry of the previous step: high one step after the terminal count is
// reached, low one step after it is left or "/ENT" goes low.
TEST_F(CounterTest, CarryLagsOneStep)
{
    TBench b = Started("TBTCNT4", 14);
    EXPECT_FALSE(b.Carry());
    b.Set(CK, true);
    b.Step();
    b.Set(CK, false);
    b.Step(); // count 15 now
    EXPECT_EQ(b.Q(), 15);
    EXPECT_FALSE(b.Carry());
    b.Step();
    EXPECT_TRUE(b.Carry());
    b.Step();
    EXPECT_TRUE(b.Carry());
    b.Set(ENT, false); // holds the count, the carry falls one step later
    b.Step();
    EXPECT_TRUE(b.Carry());
    b.Step();
    EXPECT_FALSE(b.Carry());
    b.Set(ENT, true);
    b.Step();
    b.Pulse(); // 0: the carry stays a step longer
    EXPECT_EQ(b.Q(), 0);
    EXPECT_TRUE(b.Carry());
    b.Step();
    EXPECT_FALSE(b.Carry());
    // Counting down the terminal value is 0.
    b.Set(UD, false);
    b.Step();
    EXPECT_FALSE(b.Carry());
    b.Step();
    EXPECT_TRUE(b.Carry());
}

// A counter of which only the clock is wired counts up on each falling edge.
TEST_F(CounterTest, OpenInputsCountUp)
{
    TBench b(Create("TBTCNTLD"));
    b.c->SimReset();
    for (int i = 1; i < b.c->InputCount; ++i)
        b.c->Inputs[i]->SetSource(nullptr);
    for (int expected : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}) {
        b.Pulse();
        EXPECT_EQ(b.Q(), expected);
    }
    // An inverted reset input reads low while open: held at 0.
    b.c->Inputs[RST]->SetInverted(true);
    b.Pulse();
    EXPECT_EQ(b.Q(), 0);
}

// Counts outside the range, from the state file or a decade counter's load, wrap as the step
// gives: up always to 0, down to the maximum only from max+1.
TEST_F(CounterTest, CountsOutsideTheRange)
{
    struct Case {
        const char* cls;
        int start;
        bool up;
        int shown, after;
    };
    const Case cases[] = {
        {"TBTCNT4", 20, true, 4, 0},   {"TBTCNT4", 20, false, 4, 0},
        {"TBTCNT4D", 12, true, 12, 0}, {"TBTCNT4D", 12, false, 12, 0},
        {"TBTCNT4D", 10, false, 10, 9}, {"TBTCNT4", -3, true, 13, 15},
        {"TBTCNT16", 2147483647, true, 65535, 0}, {"TBTCNT16", -2147483647 - 1, false, 0, 65535},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " from " << c.start << (c.up ? " up" : " down"));
        TBench b = Started(c.cls, c.start);
        EXPECT_EQ(b.Q(), c.shown);
        b.Set(UD, c.up);
        b.Step();
        EXPECT_FALSE(b.Carry());
        b.Pulse();
        EXPECT_EQ(b.Q(), c.after);
    }
    // A decade counter loaded with 13 shows it.
    TBench d = Started("TBTCNTLD", 0);
    d.SetData(13);
    d.Set(LD, false);
    d.Step();
    EXPECT_EQ(d.Q(), 13);
}

// The count is filed under "Z" (except by the 4-bit loadable binary counter), read back with
// the outputs set at once; SimEnd leaves the outputs low until then.
TEST_F(CounterTest, StateFileRoundTrip)
{
    const QString file = dir.filePath(QStringLiteral("Projekt_Default.set"));
    for (const char* cls : {"TBTCNT8", "TBTCNTL8", "TBTCNTL"}) {
        SCOPED_TRACE(cls);
        const bool keeps = std::string(cls) != "TBTCNTL";
        QFile::remove(file);
        TBench b(Create(cls));
        b.c->SetNumber(2);
        b.c->SimReset();
        for (int i = 0; i < 7; ++i)
            b.Pulse();
        ASSERT_EQ(b.Q(), 7);
        {
            TIniFile ini(file);
            b.c->SaveSettings(ini, QStringLiteral("MAIN_MCR1"));
            ASSERT_TRUE(ini.UpdateFile());
        }
        b.c->SimEnd();
        EXPECT_EQ(b.Q(), 0);
        EXPECT_FALSE(b.Carry());

        TIniFile ini(file);
        const QString section = QStringLiteral("MAIN_MCR1.") + b.c->Prefix() + QStringLiteral("2");
        EXPECT_EQ(ini.ReadString(section, QStringLiteral("Z"), QStringLiteral("-")),
                  keeps ? QStringLiteral("7") : QStringLiteral("-"));
        ini.WriteInteger(section, QStringLiteral("Z"), 11); // ignored where no count is kept
        b.c->SimReset();
        b.c->LoadSettings(ini, QStringLiteral("MAIN_MCR1"), false);
        EXPECT_EQ(b.Q(), keeps ? 11 : 0);
        b.Pulse();
        EXPECT_EQ(b.Q(), keeps ? 12 : 1);
    }
}

// The clock level of the last step survives SimEnd and SimReset: a clock that ended a run high
// and starts the next one low counts in the first step.
TEST_F(CounterTest, ClockLevelCarriesAcrossRuns)
{
    TBench b(Create("TBTCNT4"));
    b.c->SimReset();
    b.Pulse();
    b.Set(CK, true);
    b.Step();
    b.c->SimEnd();
    b.c->SimReset();
    b.Set(CK, false);
    b.Step();
    EXPECT_EQ(b.Q(), 1);

    // A new counter's level is low: a clock low from the start does not count.
    TBench fresh(Create("TBTCNT4"));
    fresh.c->SimReset();
    fresh.Set(CK, false);
    fresh.Step();
    EXPECT_EQ(fresh.Q(), 0);
}

// Writes: the Q outputs only when the count changes, "/RCO" in every step.
TEST_F(CounterTest, QOutputsWrittenOnlyOnChange)
{
    TBench b = Started("TBTCNT8", 3);
    b.c->Outputs[8]->Value = 2.0L; // Q0
    b.c->Outputs[0]->Value = 2.0L; // /RCO
    b.Step();
    EXPECT_EQ(b.c->Outputs[8]->Value, 2.0L);
    EXPECT_EQ(b.c->Outputs[0]->Value, 0.0L);
}

// The caption stands inside the body, turned upright, black (red while selected).
TEST_F(CounterTest, CaptionInsideTheBody)
{
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "plain");
        auto c = Create("TBTCNT16");
        c->Selected = selected;
        c->MoveBy(-c->X + 200, -c->Y + 200);
        QImage img(300, 900, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            TCanvas canvas(&p);
            canvas.SetMapping(254.0 / 16.0, QPoint(100, 100)); // one board unit per pixel
            c->Paint(canvas);
        }
        // Bounding box of caption-coloured pixels inside the body, away from its edges and
        // from the clock wedge.
        const TRect body = c->Body;
        int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
        for (int y = body.Top + 10 - 100; y < body.Bottom - 10 - 100; ++y) {
            for (int x = body.Left + 25 - 100; x < body.Right - 25 - 100; ++x) {
                const QColor col = img.pixelColor(x, y);
                const bool hit = selected ? (col.red() > 160 && col.green() < 100)
                                          : (col.red() < 90 && col.green() < 90 && col.blue() < 90);
                if (hit) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << "no caption drawn";
        EXPECT_GT(bottom - top, 2 * (right - left)); // upright text: taller than wide
        const int cx = (body.Left + body.Right) / 2 - 100;
        EXPECT_LT(std::abs((left + right) / 2 - cx), 15);
    }
}

} // namespace
