// Registers and latches: pins and texts, two-phase sampling, transparency, reset, the state
// file and the clock level carried across runs.
#include "ComponentTestSupport.h"
#include "components/digital/Registers.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace {

enum { RST = 0, CK = 1, D0 = 2 };

// A register whose inputs are driven by pins of our own, all high to begin with.
struct TBench : TDrivenComponent {
    int width = 0;

    explicit TBench(std::unique_ptr<TIOBauteil> comp)
        : TDrivenComponent(std::move(comp)), width(c->OutputCount)
    {
    }
    // One step with the given reset, clock and data.
    void Step(bool rst, bool ck, int data)
    {
        Set(RST, rst);
        Set(CK, ck);
        in.SetNumber(D0, width, uint32_t(data));
        c->Calculate();
    }
    int Q() const { return LastOutputs(width); }
};

class RegisterTest : public TComponentTest<RegisterSequentialComponents> {};

struct TMember {
    const char* cls;
    bool latch;
    int width;
    const char* prefix;
    const char* type[3];
};
const TMember Members[] = {
    {"TBTREG2", false, 2, "2REG", {"2-bit Register", "Register (2 bit)", "Registre (2 bits)"}},
    {"TBTREG4", false, 4, "4REG", {"4-bit Register", "Register (4 bit)", "Registre (4 bits)"}},
    {"TBTREG8", false, 8, "8REG", {"8-bit Register", "Register (8 bit)", "Registre 8 bits"}},
    {"TBTREG16", false, 16, "16REG",
     {"16-bit Register", "Register (16 bit)", "Registre 16 bits"}},
    {"TBTREG2_T", true, 2, "2LAT", {"2-bit Latch", "Latch (2-bit)", "Latch (2 bits)"}},
    {"TBTREG4_T", true, 4, "4LAT", {"4-bit Latch", "Latch (4-bit)", "Latch 4 bits"}},
    {"TBTREG8_T", true, 8, "8LAT", {"8-bit Latch", "Latch (8-bit)", "Latch 8 bits"}},
    {"TBTREG16_T", true, 16, "16LAT", {"16-bit Latch", "Latch (16-bit)", "Latch (16 bits)"}},
};

TEST_F(RegisterTest, PinsPrefixesAndTexts)
{
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        auto r = Create(m.cls);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Prefix(), QString::fromLatin1(m.prefix));
        EXPECT_EQ(r->HelpContext, 25000);
        ASSERT_EQ(r->InputCount, m.width + 2);
        ASSERT_EQ(r->OutputCount, m.width);
        EXPECT_EQ(r->Inputs[0]->Name(), QStringLiteral("/RST"));
        EXPECT_EQ(r->Inputs[1]->Name(), m.latch ? QStringLiteral("CK") : QStringLiteral("|CK"));
        for (int k = 0; k < m.width; ++k) {
            EXPECT_EQ(r->Inputs[2 + k]->Name(), QStringLiteral("D%1").arg(k));
            EXPECT_EQ(r->Outputs[k]->Name(), QStringLiteral("Q%1").arg(m.width - 1 - k));
        }
        for (uint8_t lang = 0; lang < 3; ++lang) {
            Ctx().CurrentLanguage = lang;
            EXPECT_EQ(r->GetTypeName(), QString::fromUtf8(m.type[lang])) << int(lang);
        }
        Ctx().CurrentLanguage = 0;
    }
}

// Every bit of every width reaches its output: registers on the falling edge after the rising
// one, latches at once while the clock is high.
TEST_F(RegisterTest, EveryWidthCarriesItsWord)
{
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        TBench b(Create(m.cls));
        b.c->SimReset();
        const int mask = (1 << m.width) - 1;
        int shown = 0;
        for (int word : {0x5A5A & mask, 0xA5A5 & mask, mask, 0}) {
            b.Step(true, false, 0);
            EXPECT_EQ(b.Q(), shown);
            b.Step(true, true, word); // rising: a register samples, a latch passes
            EXPECT_EQ(b.Q(), m.latch ? word : shown);
            b.Step(true, false, ~word & mask); // falling: a register shows, a latch holds
            EXPECT_EQ(b.Q(), word);
            shown = word;
        }
    }
}

// Register sequences (8 bits): steps of reset, clock, data and the expected outputs.
TEST_F(RegisterTest, RegisterSequences)
{
    struct Step {
        bool rst, ck;
        int data, q;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"data changed between the edges: the rising edge's data count",
         {{true, false, 0, 0}, {true, true, 0x12, 0}, {true, true, 0x34, 0},
          {true, false, 0x56, 0x12}, {true, false, 0x78, 0x12}}},
        {"reset clears the outputs but keeps the sample; a rise under reset samples nothing",
         {{true, true, 0x21, 0}, {true, false, 0, 0x21}, {true, true, 0x42, 0x21},
          {false, false, 0, 0},     // reset while the clock falls
          {false, true, 0x99, 0},   // rises under reset: not sampled
          {true, false, 0x77, 0x42}}}, // falls after the reset: the sample from before
        {"reset wins over the falling edge",
         {{true, true, 0x0F, 0}, {false, false, 0, 0}, {true, false, 0, 0}}},
        {"a steady clock never changes the outputs",
         {{true, true, 0x33, 0}, {true, true, 0x44, 0}, {true, false, 0x55, 0x33},
          {true, false, 0x66, 0x33}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBench b(Create("TBTREG8"));
        b.c->SimReset();
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(n++);
            b.Step(s.rst, s.ck, s.data);
            EXPECT_EQ(b.Q(), s.q);
        }
    }
}

TEST_F(RegisterTest, LatchFollowsWhileClockHigh)
{
    TBench b(Create("TBTREG4_T"));
    b.c->SimReset();
    struct Step {
        bool rst, ck;
        int data, q;
    };
    const Step steps[] = {
        {true, true, 3, 3},  {true, true, 9, 9},  {true, false, 5, 9}, {true, false, 6, 9},
        {false, true, 7, 0}, {true, true, 7, 7},  {false, false, 1, 0}, {true, false, 1, 0},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        b.Step(s.rst, s.ck, s.data);
        EXPECT_EQ(b.Q(), s.q);
    }
}

// Every input open: a latch shows all ones from its first step; a register samples once in
// its first step (rising edge from the new component's low level) but never shows it.
TEST_F(RegisterTest, OpenInputs)
{
    for (const char* cls : {"TBTREG8_T", "TBTREG8"}) {
        SCOPED_TRACE(cls);
        TBench b(Create(cls));
        for (auto& pin : b.c->Inputs)
            pin->SetSource(nullptr);
        b.c->SimReset();
        for (int i = 0; i < 5; ++i) {
            b.c->Calculate();
            EXPECT_EQ(b.Q(), std::string(cls) == "TBTREG8_T" ? 0xFF : 0);
        }
    }
}

// The state file: "State" (and "StateInternal" for registers) under the board's section, read
// back with the outputs set at once; SimEnd sets the outputs low.
TEST_F(RegisterTest, StateFileRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("P_Default.set"));
    for (const TMember& m : Members) {
        SCOPED_TRACE(m.cls);
        QFile::remove(file);
        const int mask = (1 << m.width) - 1;
        const int shown = 0x9A6B & mask, sampled = 0x2C51 & mask;
        TBench b(Create(m.cls));
        b.c->SetNumber(4);
        b.c->SimReset();
        b.Step(true, true, shown);
        b.Step(true, false, 0);
        if (!m.latch)
            b.Step(true, true, sampled);
        ASSERT_EQ(b.Q(), shown);
        {
            TIniFile ini(file);
            b.c->SaveSettings(ini, QStringLiteral("MAIN"));
            ASSERT_TRUE(ini.UpdateFile());
        }
        b.c->SimEnd();
        EXPECT_EQ(b.Q(), 0);

        TIniFile ini(file);
        const QString section = QStringLiteral("MAIN.") + QString::fromLatin1(m.prefix) + QStringLiteral("4");
        EXPECT_EQ(ini.ReadSections(), QStringList{section});
        EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("State"), -1), shown);
        EXPECT_EQ(ini.ValueExists(section, QStringLiteral("StateInternal")), !m.latch);
        if (!m.latch) {
            EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("StateInternal"), -1), sampled);
        }

        b.c->SimReset();
        b.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        EXPECT_EQ(b.Q(), shown);
        if (!m.latch) {
            // The clock ended high; the first step of the new run falls: the loaded sample.
            b.Step(true, false, 0);
            EXPECT_EQ(b.Q(), sampled);
        }
    }
}

// The clock level survives SimEnd and SimReset: a clock that ended a run high and starts the
// next one low is a falling edge that shows the sample (here the loaded "StateInternal").
TEST_F(RegisterTest, ClockLevelCarriesAcrossRuns)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.set")));
    ini.WriteInteger(QStringLiteral("MAIN.4REG1"), QStringLiteral("StateInternal"), 6);
    TBench r(Create("TBTREG4"));
    r.c->SetNumber(1);
    r.c->SimReset();
    r.Step(true, true, 0);
    r.c->SimEnd();
    r.c->SimReset();
    r.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
    r.Step(true, false, 0);
    EXPECT_EQ(r.Q(), 6);
    // A new register starting with the clock low shows nothing.
    TBench fresh(Create("TBTREG4"));
    fresh.c->SetNumber(1);
    fresh.c->SimReset();
    fresh.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
    fresh.Step(true, false, 0);
    EXPECT_EQ(fresh.Q(), 0);
}

} // namespace
