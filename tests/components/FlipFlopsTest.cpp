// Flip-flops: sequence tables on real pins, state file, clock memory across runs; and what the
// whole storing family (flip-flops, counters, registers, shift registers) shares: registry,
// stream records and language-chosen prefixes.
#include "ComponentTestSupport.h"
#include "components/digital/FlipFlops.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace {

// A component whose inputs are driven by pins of our own (all high to begin with).
struct TBench : TDrivenComponent {
    using TDrivenComponent::TDrivenComponent;
    // '1' high, '0' low, '-' unconnected; one character per input.
    void Levels(const char* s)
    {
        for (int i = 0; i < c->InputCount; ++i) {
            c->Inputs[i]->SetSource(s[i] == '-' ? nullptr : in.pins[i].get());
            in.pins[i]->Value = s[i] == '1' ? 5.0L : 0.0L;
        }
    }
    void Step(const char* s)
    {
        Levels(s);
        c->Calculate();
    }
    bool Out(int i) const { return c->Outputs[i]->Value >= 2.5L; }
};

class FlipFlopTest : public TComponentTest<RegisterSequentialComponents> {};

TEST_F(FlipFlopTest, PinsPrefixesAndTextsPerLanguage)
{
    struct Case {
        const char* cls;
        std::vector<const char*> inputs;
        const char* prefix[3];
        int32_t help;
        const char* type[3];
    };
    const Case cases[] = {
        {"TBTRSFF", {"S", "R"}, {"RS", "RS", "RS"}, 18300, {"RS-FlipFlop", "RS-FF", "RS-FF"}},
        {"TBTRSFFZ", {"1S", "C1", "1R"}, {"RSZ", "RSC", "RSC"}, 18305,
         {"RS-FF\r(zustandsgest.)", "RS-FF\rwith clock", "RS-FF\ravec horloge"}},
        {"TBTRSFFF", {"/S", "1S", "|C1", "1R", "/R"}, {"RSF", "RS-MS", "RS-MS"}, 18310,
         {"RS-FF\r(flankengest.)", "RS-FF\r(master-slave)", "RS-FF\r(maître-esclave)"}},
        {"TBTJKFF", {"/S", "1J", "|C1", "1K", "/R"}, {"JK", "JK", "JK"}, 18315,
         {"JK-FlipFlop\r(master-slave)", "JK-FF\r(master-slave)", "JK-FF\r(maître-esclave)"}},
        {"TBTDFFZ", {"1D", "C1"}, {"DZ", "DL", "LT"}, 18320,
         {"D-FF\r(zustandsgest.)", "D-FF\r(transparent latch)", "Latch D-FF\r(transparent)"}},
        {"TBTDFFF", {"/S", "1D", "|C1", "/R"}, {"DF", "D-MS", "D-MS"}, 18325,
         {"D-FF\r(flankengest.)", "D-FF\r(master-slave)", "D-FF\r(maître-esclave)"}},
    };
    for (const Case& c : cases) {
        for (uint8_t lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(testing::Message() << c.cls << " language " << int(lang));
            Ctx().CurrentLanguage = lang;
            auto ff = Create(c.cls);
            ASSERT_TRUE(ff);
            EXPECT_EQ(ff->Prefix(), QString::fromUtf8(c.prefix[lang]));
            EXPECT_EQ(ff->GetTypeName(), QString::fromUtf8(c.type[lang]));
            ASSERT_EQ(ff->InputCount, int(c.inputs.size()));
            for (size_t i = 0; i < c.inputs.size(); ++i)
                EXPECT_EQ(ff->Inputs[i]->Name(), QString::fromLatin1(c.inputs[i]));
            ASSERT_EQ(ff->OutputCount, 2);
            EXPECT_EQ(ff->Outputs[0]->Name(), QStringLiteral("/Q"));
            EXPECT_EQ(ff->Outputs[1]->Name(), QStringLiteral("Q"));
            EXPECT_EQ(ff->HelpContext, c.help);
            EXPECT_FALSE(ff->Editable);
            EXPECT_FALSE(ff->Clocked);
            EXPECT_TRUE(ff->ElementClass().isEmpty());
            // The prefix stays the one of the language at creation.
            Ctx().CurrentLanguage = uint8_t((lang + 1) % 3);
            EXPECT_EQ(ff->Prefix(), QString::fromUtf8(c.prefix[lang]));
        }
    }
}

// One run from SimReset on: each step gives the inputs and the expected "Q"; "/Q" must always
// be its complement.
TEST_F(FlipFlopTest, SequenceTables)
{
    struct Step {
        const char* in;
        bool q;
    };
    struct Case {
        const char* cls;
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"TBTRSFF", "S sets, R resets, R wins",
         {{"00", false}, {"10", true}, {"00", true}, {"01", false}, {"11", false}, {"10", true},
          {"--", false}}},
        {"TBTRSFFZ", "inputs 1S, C1, 1R act only while C1 is high; both high hold",
         {{"000", true}, {"011", false}, {"100", false}, {"101", false}, {"110", true},
          {"111", true}, {"011", false}, {"111", false}, {"010", false}}},
        {"TBTDFFZ", "Q follows 1D while C1 is high and holds after it falls",
         {{"01", false}, {"11", true}, {"01", false}, {"11", true}, {"10", true}, {"00", true},
          {"01", false}, {"10", false}}},
        {"TBTJKFF", "J, K taken on the rising edge and acting on the falling one",
         {{"10001", true},  // no edge (clock low from the start)
          {"10111", true},  // rising: J 0, K 1 stored
          {"11001", false}, // falling: reset; J at the pin no longer counts
          {"11101", false}, // rising: J 1, K 0
          {"10001", true},  // falling: set, although J went low before the edge
          {"11111", true},  // rising: J, K both high
          {"11011", false}, // falling: toggle
          {"11111", false},
          {"11011", true},  // toggles once per clock period
          {"11001", true},  // clock stays low: nothing
          {"00000", false}, // /S and /R low: reset wins
          {"01001", true},  // /S alone
          {"10111", true},  // rising: J 0, K 1
          {"10010", false}, // /R low; the falling clock is ignored
          {"11100", false}, // the clock rises under /R: J 1, K 0 are not taken
          {"11000", false}, // and falls again: ignored
          {"01101", true},  // /S low while the clock rises: ignored as well
          {"11101", true},  // /S, /R released, clock held high: no edge
          {"11001", false}}}, // falling: the J 0, K 1 taken before the reset
        {"TBTRSFFF", "master takes 1S/1R on the rising edge, Q shows it on the falling one",
         {{"10001", true},
          {"10111", true},  // rising: 1R high, master false
          {"10001", false}, // falling: Q := master
          {"11111", false}, // rising with 1S and 1R high: master false
          {"10001", false},
          {"11101", false}, // rising: master true
          {"10001", true},
          {"11101", true},  // master true again, clock stays high
          {"11100", false}, // /R low forces Q and the master low
          {"10101", false}, // released, no edge
          {"10001", false}, // falling: the forced master
          {"00001", true},  // /S low forces both high
          {"10101", true},  // rising with 1S, 1R low: master unchanged
          {"10001", true},
          {"00000", false}}}, // both low: reset wins
        {"TBTDFFF", "1D taken on the rising edge, shown on the falling one",
         {{"1111", false}, // clock high in the first step: rising edge, master 1
          {"1001", true},  // falling: shown; 1D went low in between without effect
          {"1011", true},  // rising: master 0
          {"1111", true},  // 1D changes between the edges
          {"1001", false}, // falling
          {"0001", true},  // /S
          {"0000", false}, // /S and /R: reset wins
          {"1001", false}, // released, no edge
          {"1111", false}, // rising: master 1
          {"1110", false}, // /R low leaves the master alone
          {"1011", false}, // released, clock held high: no edge
          {"1001", true}}}, // falling: the master taken before the reset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << ": " << c.what);
        TBench b(Create(c.cls));
        b.c->SimReset();
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(testing::Message() << "step " << n++ << " inputs " << s.in);
            b.Step(s.in);
            EXPECT_EQ(b.Out(1), s.q);
            EXPECT_NE(b.Out(0), b.Out(1));
        }
    }
}

// SimReset writes the outputs; the master-slave members then write only on a change.
TEST_F(FlipFlopTest, ResetValuesAndWritesOnlyOnChange)
{
    struct Case {
        const char* cls;
        bool q;
    };
    const Case cases[] = {{"TBTRSFF", false}, {"TBTRSFFZ", true}, {"TBTRSFFF", true},
                          {"TBTJKFF", true},  {"TBTDFFZ", true},  {"TBTDFFF", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        auto ff = Create(c.cls);
        ff->Outputs[0]->Value = 1.0L;
        ff->Outputs[1]->Value = 1.0L;
        ff->SimReset();
        EXPECT_EQ(ff->Outputs[1]->Value, c.q ? 5.0L : 0.0L);
        EXPECT_EQ(ff->Outputs[0]->Value, c.q ? 0.0L : 5.0L);
    }
    // A master-slave flip-flop leaves its outputs alone while its state does not change.
    TBench jk(Create("TBTJKFF"));
    jk.c->SimReset();
    jk.c->Outputs[1]->Value = 3.0L;
    jk.Step("10001");
    EXPECT_EQ(jk.c->Outputs[1]->Value, 3.0L);
    // The plain ones write in every step.
    TBench rs(Create("TBTRSFF"));
    rs.c->SimReset();
    rs.c->Outputs[1]->Value = 3.0L;
    rs.Step("00");
    EXPECT_EQ(rs.c->Outputs[1]->Value, 0.0L);
}

// The state file: keys per class under the board's section, values read back over the reset
// values, and the outputs written at once only by the master-slave members.
TEST_F(FlipFlopTest, StateFileRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Project_Default.set"));

    struct Case {
        const char* cls;
        std::vector<const char*> steps; // drive the state away from the reset values
        const char* section;
        std::vector<std::pair<const char*, const char*>> keys;
        bool q;
        bool writesAtLoad;
        const char* quiet; // no edge, nothing active
    };
    const Case cases[] = {
        {"TBTRSFF", {"10"}, "MAIN.RS3", {{"Q", "1"}}, true, false, "00"},
        {"TBTRSFFZ", {"011"}, "MAIN.RSZ3", {{"Q", "0"}}, false, false, "000"},
        {"TBTDFFZ", {"01"}, "MAIN.DZ3", {{"Q", "0"}}, false, false, "00"},
        {"TBTRSFFF", {"10111", "10001"}, "MAIN.RSF3", {{"Q", "0"}, {"Qinternal", "0"}}, false,
         true, "10001"},
        {"TBTJKFF", {"11111"}, "MAIN.JK3", {{"Q", "1"}, {"J1internal", "1"}, {"K1internal", "1"}},
         true, true, "10001"},
        {"TBTDFFF", {"1111", "1001", "1011"}, "MAIN.DF3", {{"Q", "1"}, {"Qinternal", "0"}}, true,
         true, "1001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        QFile::remove(file);
        {
            TBench b(Create(c.cls));
            b.c->SetNumber(3);
            b.c->SimReset();
            for (const char* s : c.steps)
                b.Step(s);
            ASSERT_EQ(b.Out(1), c.q);
            TIniFile ini(file);
            b.c->SaveSettings(ini, QStringLiteral("MAIN"));
            ASSERT_TRUE(ini.UpdateFile());
        }
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadSections(), QStringList{QString::fromLatin1(c.section)});
        ASSERT_EQ(ini.ReadSection(QString::fromLatin1(c.section)).size(), int(c.keys.size()));
        for (const auto& [key, value] : c.keys)
            EXPECT_EQ(ini.ReadString(QString::fromLatin1(c.section), QString::fromLatin1(key),
                                     QString()),
                      QString::fromLatin1(value))
                << key;

        // Next run: SimReset, then the state file; the reset value loses.
        TBench next(Create(c.cls));
        next.c->SetNumber(3);
        next.c->SimReset();
        const bool resetQ = next.Out(1);
        next.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        EXPECT_EQ(next.Out(1), c.writesAtLoad ? c.q : resetQ);
        // A step without any edge or active input shows the loaded state.
        next.Step(c.quiet);
        EXPECT_EQ(next.Out(1), c.q);
        EXPECT_NE(next.Out(0), next.Out(1));
    }
}

// A state file without the component's section gives the defaults of each class.
TEST_F(FlipFlopTest, MissingSectionGivesDefaults)
{
    struct Case {
        const char* cls;
        const char* away;  // drives the state away from the default
        const char* quiet; // no edge, nothing active
        bool q;
    };
    const Case cases[] = {
        {"TBTRSFF", "10", "00", false},       {"TBTRSFFZ", "011", "000", true},
        {"TBTRSFFF", "10000", "10001", true}, {"TBTJKFF", "10000", "10001", true},
        {"TBTDFFZ", "01", "00", true},        {"TBTDFFF", "0001", "1001", false},
    };
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.set")));
    ini.WriteBool(QStringLiteral("MAIN_MCR1.RS1"), QStringLiteral("Q"), true); // another board
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls);
        TBench b(Create(c.cls));
        b.c->SetNumber(1);
        b.c->SimReset();
        b.Step(c.away);
        ASSERT_NE(b.Out(1), c.q);
        b.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        b.Step(c.quiet);
        EXPECT_EQ(b.Out(1), c.q);
    }
}

// The clock level of the last step survives SimReset (and SimEnd) and carries into the next run.
TEST_F(FlipFlopTest, ClockLevelCarriesAcrossRuns)
{
    // A new JK flip-flop with its clock left open sees a rising edge in its first step.
    {
        TBench jk(Create("TBTJKFF"));
        jk.c->SimReset();
        jk.Step("10-11"); // J 0, K 1 taken
        jk.Step("10011"); // clock now high... driven high: no edge
        jk.Step("10001"); // falling: reset by K
        EXPECT_FALSE(jk.Out(1));
    }
    // Run 1 ends with the clock high; run 2 starts with it high: no rising edge, so J/K stay
    // as SimReset left them (both false) and the falling edge changes nothing.
    {
        TBench jk(Create("TBTJKFF"));
        jk.c->SimReset();
        jk.Step("10111");
        jk.c->SimEnd();
        jk.c->SimReset();
        jk.Step("10111");
        jk.Step("10001");
        EXPECT_TRUE(jk.Out(1));
    }
    // Run 1 ends with the clock high; run 2 loads J 1, K 0 and Q low and starts with the clock
    // low: the loaded J sets Q at once.
    {
        QTemporaryDir dir;
        TIniFile ini(dir.filePath(QStringLiteral("s.set")));
        ini.WriteBool(QStringLiteral("MAIN.JK1"), QStringLiteral("Q"), false);
        ini.WriteBool(QStringLiteral("MAIN.JK1"), QStringLiteral("J1internal"), true);
        ini.WriteBool(QStringLiteral("MAIN.JK1"), QStringLiteral("K1internal"), false);
        TBench jk(Create("TBTJKFF"));
        jk.c->SetNumber(1);
        jk.c->SimReset();
        jk.Step("10111");
        jk.c->SimEnd();
        jk.c->SimReset();
        jk.c->LoadSettings(ini, QStringLiteral("MAIN"), true); // check-only changes nothing
        EXPECT_FALSE(jk.Out(1));
        jk.Step("10001");
        EXPECT_TRUE(jk.Out(1));
    }
    // Run 1 ends with the clock high; run 2 loads a master of 1 and starts with the clock low:
    // that first step is a falling edge and shows the master.
    {
        QTemporaryDir dir;
        TIniFile ini(dir.filePath(QStringLiteral("s.set")));
        ini.WriteBool(QStringLiteral("MAIN.DF1"), QStringLiteral("Qinternal"), true);
        TBench d(Create("TBTDFFF"));
        d.c->SetNumber(1);
        d.c->SimReset();
        d.Step("1011");
        d.c->SimEnd();
        d.c->SimReset();
        d.c->LoadSettings(ini, QStringLiteral("MAIN"), false);
        EXPECT_FALSE(d.Out(1));
        d.Step("1001");
        EXPECT_TRUE(d.Out(1));
    }
}

// --- The whole storing family ----------------------------------------------------------------

const char* const FamilyClasses[] = {
    "TBTRSFF",   "TBTRSFFZ",  "TBTRSFFF",   "TBTJKFF",   "TBTDFFZ",    "TBTDFFF",   "TBTCNT4",
    "TBTCNT8",   "TBTCNT16",  "TBTCNT4D",   "TBTCNTL",   "TBTCNTL8",   "TBTCNTL16", "TBTCNTLD",
    "TBTSREG",   "TBTSREG8",  "TBTSREG16",  "TBTSREGL",  "TBTSREGL8",  "TBTSREGL16", "TBTREG2",
    "TBTREG4",   "TBTREG8",   "TBTREG16",   "TBTREG2_T", "TBTREG4_T",  "TBTREG8_T", "TBTREG16_T",
};

using SequentialFamilyTest = FlipFlopTest;

TEST_F(SequentialFamilyTest, RegistryHoldsEveryClassUnderItsName)
{
    EXPECT_EQ(registry.Count(), int(std::size(FamilyClasses)));
    for (const char* cls : FamilyClasses) {
        SCOPED_TRACE(cls);
        auto c = Create(cls);
        ASSERT_TRUE(c);
        EXPECT_STREQ(c->ClassName(), cls);
        EXPECT_NE(dynamic_cast<TGrundBT*>(c.get()), nullptr);
        EXPECT_FALSE(c->Editable);
        EXPECT_EQ(c->EditProperties(), 0);
        EXPECT_EQ(c->DataVersion, 0);
        // The default label is the type name with its line break turned into a blank.
        EXPECT_EQ(c->GetLabel(), c->GetTypeName().replace(QLatin1Char('\r'), QLatin1Char(' ')));
        for (const auto& pin : c->Inputs)
            EXPECT_FALSE(pin->Name().startsWith(QLatin1Char('E'))) << "unnamed input";
    }
}

// Only the component record is stored: pins keep their names and counts, inversion flags,
// mirroring, position and label come back, and the prefix is the reader's language's.
TEST_F(SequentialFamilyTest, StreamRecordRoundTrip)
{
    for (const char* cls : FamilyClasses) {
        SCOPED_TRACE(cls);
        Ctx().CurrentLanguage = 0;
        auto c = Create(cls);
        const QStringList inNames = [&] {
            QStringList l;
            for (const auto& p : c->Inputs)
                l << p->Name();
            return l;
        }();
        c->Inputs[1]->SetInverted(true);
        c->Outputs[0]->SetInverted(true);
        c->SetMirrored(true);
        c->MoveBy(60, 20);
        c->SetLabel(QStringLiteral("Zähler Süd"));
        const QByteArray data = Write(*c);

        Ctx().CurrentLanguage = 1;
        auto copy = Create(cls);
        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_EQ(copy->InputCount, c->InputCount);
        EXPECT_EQ(copy->OutputCount, c->OutputCount);
        EXPECT_TRUE(copy->Inputs[1]->Inverted());
        EXPECT_FALSE(copy->Inputs[0]->Inverted());
        EXPECT_TRUE(copy->Outputs[0]->Inverted());
        EXPECT_TRUE(copy->Mirrored);
        EXPECT_EQ(copy->X, c->X);
        EXPECT_EQ(copy->GetLabel(), QStringLiteral("Zähler Süd"));
        for (int i = 0; i < copy->InputCount; ++i)
            EXPECT_EQ(copy->Inputs[i]->Name(), inNames[i]);
        EXPECT_EQ(Write(*copy), data);
    }
    // A language-dependent prefix follows the language in which the reader created the item.
    Ctx().CurrentLanguage = 0;
    auto rsz = Create("TBTRSFFZ");
    const QByteArray data = Write(*rsz);
    Ctx().CurrentLanguage = 2;
    auto loaded = Create("TBTRSFFZ");
    ASSERT_TRUE(Read(*loaded, data, 44));
    EXPECT_EQ(loaded->Prefix(), QStringLiteral("RSC"));
}

// Older file versions: inversion flags from version 3 on, run-time flag and label from 40 on.
TEST_F(SequentialFamilyTest, OlderRecordLayoutsReadByVersion)
{
    struct Case {
        uint8_t version;
        bool hasInversions;
        bool hasLabel;
    };
    const Case cases[] = {{2, false, false}, {3, true, false}, {39, true, false},
                          {40, true, true}, {44, true, true}};
    for (const char* cls : {"TBTJKFF", "TBTCNTL8", "TBTREG4_T", "TBTSREGL"}) {
        for (const Case& v : cases) {
            SCOPED_TRACE(testing::Message() << cls << " version " << int(v.version));
            auto proto = Create(cls);
            QByteArray data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            TWriter w(buffer);
            w.WriteInteger(0);
            w.WriteInteger(500);
            w.WriteInteger(600);
            w.WriteInteger(proto->InputCount);
            w.WriteInteger(proto->OutputCount);
            w.WriteBoolean(false);
            if (v.hasInversions) {
                for (int i = 0; i < proto->InputCount + proto->OutputCount; ++i)
                    w.WriteBoolean(i == 2);
            }
            if (v.hasLabel) {
                w.WriteBoolean(false);
                w.WriteString(QStringLiteral("Takt"));
            }
            buffer.close();

            auto c = Create(cls);
            c->Inputs[0]->SetInverted(true);
            c->SetLabel(QStringLiteral("vorher"));
            ASSERT_TRUE(Read(*c, data, v.version));
            EXPECT_FALSE(c->Inputs[0]->Inverted());
            EXPECT_EQ(c->Inputs[2]->Inverted(), v.hasInversions);
            const QString typeLabel =
                c->GetTypeName().replace(QLatin1Char('\r'), QLatin1Char(' '));
            EXPECT_EQ(c->GetLabel(), v.hasLabel ? QStringLiteral("Takt") : typeLabel);
            EXPECT_EQ(c->X, 500);
        }
    }
}

// A record with other pin counts than the class steps would let Calculate read or write past
// its pins: it is refused as invalid data.
TEST_F(SequentialFamilyTest, RecordWithOtherPinCountsIsRefused)
{
    for (const char* cls : FamilyClasses) {
        auto proto = Create(cls);
        const std::pair<int, int> counts[] = {{proto->InputCount - 1, proto->OutputCount},
                                              {proto->InputCount, proto->OutputCount + 1},
                                              {0, 0}};
        for (const auto& [in, out] : counts) {
            SCOPED_TRACE(testing::Message() << cls << " " << in << "/" << out);
            TIOBauteil source;
            source.SetInputCount(in);
            source.SetOutputCount(out);
            auto c = Create(cls);
            try {
                Read(*c, Write(source), 44);
                ADD_FAILURE() << "record accepted";
            } catch (const EFilerError& e) {
                EXPECT_EQ(e.kind(), EFilerError::InvalidData);
            }
        }
    }
}

// The edge-triggered members draw the clock wedge at their clock input on the body edge (the
// right edge when mirrored); the level-triggered ones draw none.
TEST_F(SequentialFamilyTest, ClockWedgeAtTheClockInput)
{
    struct Case {
        const char* cls;
        int clock; // -1: no wedge
    };
    const Case cases[] = {{"TBTRSFF", -1},  {"TBTRSFFZ", -1}, {"TBTDFFZ", -1},  {"TBTRSFFF", 2},
                          {"TBTJKFF", 2},   {"TBTDFFF", 2},   {"TBTCNT4", 0},   {"TBTCNTL16", 0},
                          {"TBTREG8", 1},   {"TBTREG8_T", -1}, {"TBTSREGL", 0}};
    for (const Case& c : cases) {
        for (bool mirrored : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.cls << (mirrored ? " mirrored" : ""));
            auto comp = Create(c.cls);
            comp->SetMirrored(mirrored);
            comp->MoveBy(200 - comp->X, 200 - comp->Y);
            QImage img(400, 1000, QImage::Format_RGB32);
            img.fill(Qt::white);
            {
                QPainter p(&img);
                TCanvas canvas(&p);
                canvas.SetMapping(254.0 / 16.0, QPoint(100, 100)); // one board unit per pixel
                comp->Paint(canvas);
            }
            // Dark pixels around the middle of the wedge's upper stroke, for every input.
            auto darkNear = [&](int x, int y) {
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) {
                        const QColor col = img.pixelColor(x + dx - 100, y + dy - 100);
                        if (col.red() < 80 && col.green() < 80 && col.blue() < 80)
                            return true;
                    }
                return false;
            };
            const int x = mirrored ? comp->Body.Right - 10 : comp->Body.Left + 10;
            for (int i = 0; i < comp->InputCount; ++i)
                EXPECT_EQ(darkNear(x, comp->Inputs[i]->Y - 5), i == c.clock) << "input " << i;
        }
    }
}

} // namespace
