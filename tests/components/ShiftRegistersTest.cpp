// Shift registers: pins and texts, shifting both ways at every width, sampling in the step
// before the edge (chains on one clock), reset and load, the state file and the clock level
// carried across runs.
#include "ComponentTestSupport.h"
#include "components/digital/RegisterDigital.h"
#include "components/digital/ShiftRegisters.h"
#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace {

enum { CK = 0, RST = 1, LR = 2, DL = 3, DR = 4, LD = 5, D0 = 6 };

// A shift register whose inputs are driven by pins of our own, all high to begin with.
struct TBench : TDrivenComponent {
    int width = 0;

    explicit TBench(std::unique_ptr<TIOBauteil> comp)
        : TDrivenComponent(std::move(comp)), width(c->OutputCount)
    {
    }
    void SetData(int v) { in.SetNumber(D0, width, uint32_t(v)); }
    void Step() { c->Calculate(); }
    // Clock high for a step with the serial inputs given, then low for a step: one shift.
    void Shift(bool left, bool dl, bool dr)
    {
        Set(CK, true);
        Set(LR, left);
        Set(DL, dl);
        Set(DR, dr);
        Step();
        Set(CK, false);
        Step();
    }
    int Q() const { return LastOutputs(width); }
};

class ShiftRegisterTest : public TComponentTest<RegisterSequentialComponents> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    // A run-started register holding contents (from the state file), clock low.
    TBench Started(const char* cls, int contents)
    {
        TBench b(Create(cls));
        b.c->SetNumber(1);
        b.c->SimReset();
        TIniFile ini(dir.filePath(QStringLiteral("preset.set")));
        ini.WriteInteger(QStringLiteral("MAIN.") + b.c->Prefix() + QStringLiteral("1"),
                         QStringLiteral("State"), contents);
        b.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        b.Set(CK, false);
        b.Step();
        return b;
    }

    QTemporaryDir dir;
};

struct TMember {
    const char* cls;
    int width;
    bool loadable;
    const char* prefix;
    const char* type[3];
};
const TMember Members[] = {
    {"TBTSREG", 4, false, "SR-",
     {"Schieberegister\r(4 bit)", "Shift register\r(4 bit)", "Reg. à décalage\r(4)"}},
    {"TBTSREG8", 8, false, "SR8-",
     {"Schieberegister\r(8 bit)", "Shift register\r(8 bit)", "Reg. à décalage\r(8)"}},
    {"TBTSREG16", 16, false, "SR16-",
     {"Schieberegister\r(16 bit)", "Shift register\r(16 bit)", "Reg. à décalage\r(16)"}},
    {"TBTSREGL", 4, true, "SRL-",
     {"Schieberegister\r(4 bit, ladbar)", "Shift register\rwith load (4 bit)",
      "Reg. à décalage\ravec charg. (4)"}},
    {"TBTSREGL8", 8, true, "SRL8-",
     {"Schieberegister\r(8 bit, ladbar)", "Shift register\rwith load (8 bit)",
      "Reg. à décalage\ravec charg.(8)"}},
    {"TBTSREGL16", 16, true, "SRL16-",
     {"Schieberegister\r(16 Bit, ladbar)", "Shift register\rwith load (16 bit)",
      "Reg. à décalage\ravec charg. (16)"}},
};

TEST_F(ShiftRegisterTest, PinsPrefixesAndTexts)
{
    const char* fixedIn[] = {"|CK", "/RST", "L/R", "DL", "DR", "/LD"};
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        auto r = Create(m.cls);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Prefix(), QString::fromLatin1(m.prefix));
        EXPECT_EQ(r->HelpContext, 26000);
        ASSERT_EQ(r->InputCount, m.loadable ? 6 + m.width : 5);
        ASSERT_EQ(r->OutputCount, m.width);
        for (int i = 0; i < r->InputCount; ++i) {
            const QString expected = i < 6 ? QString::fromLatin1(fixedIn[i])
                                           : QStringLiteral("D%1").arg(i - 6);
            EXPECT_EQ(r->Inputs[i]->Name(), expected);
        }
        for (int k = 0; k < m.width; ++k)
            EXPECT_EQ(r->Outputs[k]->Name(), QStringLiteral("Q%1").arg(m.width - 1 - k));
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(r->GetTypeName(), QString::fromUtf8(m.type[lang])) << int(lang);
        }
        Ctx().CurrentLanguage = 0;
    }
}

// Left shifts push out the first output ("Q<n-1>") and take "DL" in at "Q0"; right shifts push
// out "Q0" and take "DR" in at the most significant bit.
TEST_F(ShiftRegisterTest, ShiftsBothWaysAtEveryWidth)
{
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        const int n = m.width;
        const int top = 1 << (n - 1);
        const int mask = (1 << n) - 1;
        TBench b = Started(m.cls, top | 1);
        EXPECT_EQ(b.Q(), top | 1);
        b.Shift(true, true, false); // 10..01 -> 0..011
        EXPECT_EQ(b.Q(), 3);
        b.Shift(false, true, false); // right, DR low -> 0..01
        EXPECT_EQ(b.Q(), 1);
        b.Shift(false, false, true); // right, DR high -> 10..0
        EXPECT_EQ(b.Q(), top);
        b.Shift(true, false, true); // left, DL low: the top bit drops out
        EXPECT_EQ(b.Q(), 0);
        for (int i = 0; i < n; ++i)
            b.Shift(true, true, false);
        EXPECT_EQ(b.Q(), mask);
    }
    // 1001 shifted right with DR low gives 0100.
    TBench b = Started("TBTSREG", 9);
    b.Shift(false, true, false);
    EXPECT_EQ(b.Q(), 4);
}

// The bit shifted in is the one present in the step before the falling edge.
TEST_F(ShiftRegisterTest, SerialInputSampledBeforeTheEdge)
{
    TBench b = Started("TBTSREG8", 0);
    b.Set(LR, true);
    b.Set(DL, true);
    b.Set(CK, true);
    b.Step();
    b.Set(DL, false); // changes in the edge's own step: too late
    b.Set(CK, false);
    b.Step();
    EXPECT_EQ(b.Q(), 1);
    b.Set(CK, true);
    b.Step(); // DL low sampled
    b.Set(DL, true);
    b.Set(CK, false);
    b.Step();
    EXPECT_EQ(b.Q(), 2);
}

// Two registers on one clock, the first's "Q3" feeding the second's "DL", both shifting left:
// after each edge the second holds the bit the first held before it, in either step order.
TEST_F(ShiftRegisterTest, ChainOnOneClockMovesOnePlacePerEdge)
{
    for (bool firstFirst : {true, false}) {
        SCOPED_TRACE(firstFirst ? "first stepped first" : "second stepped first");
        TBench a = Started("TBTSREG", 0xB); // 1011
        TBench b = Started("TBTSREG", 0);
        TBauteilPin clock;
        for (TBench* r : {&a, &b}) {
            r->Set(LR, true);
            r->c->Inputs[CK]->SetSource(&clock);
        }
        a.Set(DL, false);
        b.c->Inputs[DL]->SetSource(a.c->Outputs[0].get());
        const int expectB[] = {0x1, 0x2, 0x5, 0xB, 0x6};
        for (int edge = 0; edge < 5; ++edge) {
            for (bool level : {true, false}) {
                clock.Value = level ? 5.0L : 0.0L;
                if (firstFirst) {
                    a.Step();
                    b.Step();
                } else {
                    b.Step();
                    a.Step();
                }
            }
            EXPECT_EQ(b.Q(), expectB[edge]) << "edge " << edge;
        }
    }
}

// Reset clears at once and samples nothing: the first edge after it shifts in the serial
// samples taken before the reset.
TEST_F(ShiftRegisterTest, ResetKeepsTheSamples)
{
    TBench r = Started("TBTSREG", 0x6);
    r.Set(LR, true);
    r.Set(DL, true);
    r.Set(CK, true);
    r.Step(); // samples DL high
    r.Set(RST, false);
    r.Set(DL, false);
    r.Set(CK, false);
    r.Step(); // reset: 0, nothing sampled (falling edge swallowed)
    EXPECT_EQ(r.Q(), 0);
    r.Set(CK, true);
    r.Step(); // still reset, still no sample
    EXPECT_EQ(r.Q(), 0);
    r.Set(RST, true);
    r.Set(CK, false);
    r.Step(); // first edge after the reset: the DL sample from before it
    EXPECT_EQ(r.Q(), 1);
}

// Load: the parallel sample wins over shifting and over reset; the outputs follow the data
// while "/LD" is low, one step late in a falling-edge step.
TEST_F(ShiftRegisterTest, LoadFollowsTheDataAndWinsOverReset)
{
    TBench b = Started("TBTSREGL8", 0);
    b.Set(LD, false);
    for (int v : {0x3C, 0x81, 0x7F}) {
        b.SetData(v);
        b.Step();
        EXPECT_EQ(b.Q(), v);
    }
    b.Set(CK, true);
    b.SetData(0x11);
    b.Step();
    EXPECT_EQ(b.Q(), 0x11);
    b.Set(CK, false);
    b.SetData(0x22); // the edge step shows the sample of the step before
    b.Step();
    EXPECT_EQ(b.Q(), 0x11);
    b.Step();
    EXPECT_EQ(b.Q(), 0x22);

    // "/LD" and "/RST" low together: the sample from before the reset, not 0.
    b.SetData(0x5A);
    b.Step();
    b.Set(RST, false);
    b.SetData(0x0F);
    b.Step();
    EXPECT_EQ(b.Q(), 0x5A);
    b.Set(LD, true);
    b.Step();
    EXPECT_EQ(b.Q(), 0);
    // After SimReset the sample is 0.
    b.c->SimReset();
    b.Set(LD, false);
    b.Step();
    EXPECT_EQ(b.Q(), 0);
}

// Every input open: the clock never falls, so nothing ever shifts.
TEST_F(ShiftRegisterTest, OpenRegisterNeverShifts)
{
    TBench b(Create("TBTSREG16"));
    for (auto& pin : b.c->Inputs)
        pin->SetSource(nullptr);
    b.c->SimReset();
    for (int i = 0; i < 6; ++i) {
        b.Step();
        EXPECT_EQ(b.Q(), 0);
    }
}

// The state file keeps the contents under "State"; SimEnd sets the outputs low; the clock
// level carries into the next run, where a first step with the clock low shifts (with the
// serial samples false after SimReset).
TEST_F(ShiftRegisterTest, StateFileAndClockLevelAcrossRuns)
{
    const QString file = dir.filePath(QStringLiteral("X_Default.set"));
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        QFile::remove(file);
        TBench b(Create(m.cls));
        b.c->SetNumber(2);
        b.c->SimReset();
        b.Shift(true, true, false);
        b.Shift(true, true, false);
        b.Shift(true, false, false);
        b.Set(CK, true);
        b.Step(); // the run ends with the clock high
        ASSERT_EQ(b.Q(), 6);
        {
            TIniFile ini(file);
            b.c->SaveSettings(ini, QStringLiteral("MAIN"));
            ASSERT_TRUE(ini.UpdateFile());
        }
        b.c->SimEnd();
        EXPECT_EQ(b.Q(), 0);

        TIniFile ini(file);
        const QString section = QStringLiteral("MAIN.") + QString::fromLatin1(m.prefix) +
                                QStringLiteral("2");
        EXPECT_EQ(ini.ReadSections(), QStringList{section});
        EXPECT_EQ(ini.ReadSection(section), QStringList{QStringLiteral("State")});
        EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("State"), -1), 6);

        b.c->SimReset();
        b.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        EXPECT_EQ(b.Q(), 6);
        b.Set(DL, true); // read in this step, but the shift uses the reset sample
        b.Set(CK, false);
        b.Step();
        EXPECT_EQ(b.Q(), 12);
    }
}

// Contents from the state file outside the width: a left shift keeps only the width, a right
// shift halves what is there.
TEST_F(ShiftRegisterTest, ContentsOutsideTheWidth)
{
    TBench b = Started("TBTSREG", 0x35);
    EXPECT_EQ(b.Q(), 0x5);
    b.Shift(true, false, false);
    EXPECT_EQ(b.Q(), 0xA);
    TBench r = Started("TBTSREG", -8);
    r.Shift(false, false, false); // -4: the low bits 1100
    EXPECT_EQ(r.Q(), 0xC);
    TBench big = Started("TBTSREG16", 2147483647);
    big.Shift(true, false, false);
    EXPECT_EQ(big.Q(), 0xFFFE);
}

} // namespace
