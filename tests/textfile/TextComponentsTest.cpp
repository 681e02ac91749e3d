// Text operations, buffer, multiplexer, hold, split and the processor-load items of the
// system information: their steps on text and number sources, and what survives a record.
#include "TextTestSupport.h"
#include "components/ComponentTestSupport.h"
#include "components/text/RegisterText.h"
#include "components/text/SystemInfo.h"
#include "components/text/TextBuffers.h"
#include "components/text/TextFormat.h"
#include "components/text/TextOperations.h"
#include "platform/CpuLoad.h"
#include "platform/IniFile.h"
#include "platform/ValueText.h"

#include <QTemporaryDir>

namespace {

class TextComponentsTest : public TComponentTest<RegisterTextComponents, true> {};

TEST_F(TextComponentsTest, OperationsOnTextAndNumberSources)
{
    struct Case {
        const char* cls;
        QStringList in;
        QStringList out;  // from the top
    };
    const QString dotted = ValueToText(2.5L);
    const Case cases[] = {
        {"TBTStrPlus", {"-", "-"}, {""}},
        {"TBTStrPlus", {"t:ab", "n:2.5"}, {"ab" + dotted}},  // a number gives its text
        {"TBTStrLength", {"-"}, {"0"}},
        {"TBTStrLength", {"t:Signal"}, {"6"}},
        {"TBT_Str_Value", {"t:12"}, {"12"}},
        {"TBTStrASCII", {"-"}, {"0"}},
        {"TBTStrASCII", {"t:Ab"}, {"65"}},
        {"TBTStrCopy", {"t:Signal", "n:3", "n:2"}, {"gn"}},
        {"TBTStrCopy", {"t:Signal", "n:0", "n:2"}, {"Si"}},
        {"TBTStrCopy", {"t:Signal", "n:7", "n:2"}, {""}},
        {"TBTStrCopy", {"t:Signal", "n:6", "n:5"}, {"l"}},
        {"TBTStrCopy", {"t:Signal", "n:1", "n:0"}, {""}},
        {"TBTStrReplace", {"t:aAaA", "t:a", "t:x", "-", "-"}, {"xAxA"}},  // all, exact case
        {"TBTStrReplace", {"t:aAaA", "t:A", "t:x", "n:0", "n:0"}, {"xAaA"}},
        {"TBTStrReplace", {"t:aAaA", "t:A", "t:x", "n:5", "n:0"}, {"xxxx"}},
        {"TBTStrReplace", {"t:aAaA", "t:", "t:x", "-", "-"}, {"aAaA"}},
        {"TBTStrCompare", {"t:a", "t:B"}, {"0", "0", "5"}},  // "A<B", "A=B", "A>B"
        {"TBTStrCompare", {"t:B", "t:a"}, {"5", "0", "0"}},
        {"TBTStrCompare", {"-", "t:"}, {"0", "5", "0"}},
        {"TBTStrChr", {"n:321"}, {"A"}},
        {"TBTStrChr", {"n:-5"}, {QString(QChar(0))}},
        {"TBTStrChr", {"n:70000"}, {QString(QChar(0xFF))}},
        {"TBTStrInsert", {"t:abc", "t:XY", "n:2"}, {"aXYbc"}},
        {"TBTStrInsert", {"t:abc", "t:XY", "n:10"}, {"abcXY"}},
        {"TBTStrInsert", {"t:abc", "t:XY", "n:0"}, {"XYabc"}},
        {"TBTStrPos", {"t:banana", "t:"}, {"0"}},
        {"TBTStrPos", {"t:banana", "t:a"}, {"2"}},
        {"TBTStrPos", {"t:banana", "t:x"}, {"0"}},
        {"TBTStrTrim", {"t: \tab \n", "n:5", "n:0"}, {"ab \n"}},
        {"TBTStrTrim", {"t: \tab \n", "-", "-"}, {"ab"}},
        {"TBTStrUpper", {"t:äbZ", "-"}, {"äBZ"}},
        {"TBTStrUpper", {"t:ÄbZ", "n:0"}, {"Äbz"}},
        {"TBTStrIndex", {"t:abc", "n:2"}, {"b"}},
        {"TBTStrIndex", {"t:abc", "n:3"}, {"c"}},
        {"TBTStrIndex", {"t:abc", "n:1"}, {"a"}},
        {"TBTStrIndex", {"t:abc", "n:0"}, {""}},
        {"TBTStrIndex", {"t:abc", "n:4"}, {""}},
        {"TBTStrDelete", {"t:Signal", "n:2", "n:10"}, {"S"}},
        {"TBTStrDelete", {"t:Signal", "n:0", "n:3"}, {"Signal"}},
        {"TBTStrDelete", {"t:Signal", "n:7", "n:3"}, {"Signal"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cls << " case " << (&c - cases));
        auto comp = Create(c.cls);
        ASSERT_TRUE(comp);
        TTextInputs in(*comp);
        in.SetAll(c.in);
        comp->Calculate();
        EXPECT_EQ(OutputsFromTop(*comp), c.out);
    }
}

TEST_F(TextComponentsTest, ConstantAndConcatenationKeepTheirSettings)
{
    auto constant = Create<TBT_Str_Fest>();
    constant->Text = QStringLiteral("Grüße; \"x\"");
    auto copy = Create<TBT_Str_Fest>();
    ASSERT_TRUE(Read(*copy, Write(*constant)));
    EXPECT_EQ(copy->Text, constant->Text);
    copy->SimReset();
    EXPECT_EQ(OutFromTop(*copy, 0), constant->Text);
    EXPECT_TRUE(copy->GetHint().endsWith(QStringLiteral("\r= \"Grüße; \"x\"\"")));

    auto plus = Create<TBTStrPlus>();
    plus->SetInputCount(5);
    EXPECT_EQ(PinNames(plus->Inputs), Numbered("$", 1, 5));
    TTextInputs in(*plus);
    in.SetAll({"t:a", "-", "t:c", "t:d", "t:e"});
    plus->Calculate();
    EXPECT_EQ(OutFromTop(*plus, 0), QStringLiteral("acde"));
    auto plusCopy = Create<TBTStrPlus>();
    ASSERT_TRUE(Read(*plusCopy, Write(*plus)));
    EXPECT_EQ(plusCopy->InputCount, 5);
}

TEST_F(TextComponentsTest, BufferTakesCharactersOnFallingClocks)
{
    auto b = Create<TBTStrBuffer>();
    TTextInputs in(*b);
    b->SimReset();
    // "$", "|W", "|R", "/CLR", "N"
    auto step = [&](const char* text, int w, int r, const char* clear, int n) {
        in.SetAll({QString::fromUtf8(text), QStringLiteral("n:%1").arg(w * 5),
                   QStringLiteral("n:%1").arg(r * 5), QString::fromLatin1(clear),
                   QStringLiteral("n:%1").arg(n)});
        b->Calculate();
        return OutputsFromTop(*b);  // "$Data", "$Buf"
    };
    const QStringList none{"", ""};
    EXPECT_EQ(step("t:AB", 1, 0, "-", 3), none);         // rising "|W" does nothing
    EXPECT_EQ(step("t:AB", 0, 0, "-", 3), QStringList({"", "AB"}));
    EXPECT_EQ(step("t:CD", 1, 0, "-", 3), QStringList({"", "AB"}));
    EXPECT_EQ(step("t:CD", 0, 1, "-", 3), QStringList({"", "ABCD"}));
    EXPECT_EQ(step("t:", 0, 0, "-", 3), QStringList({"ABC", "D"}));
    EXPECT_EQ(step("t:", 0, 1, "-", 3), QStringList({"ABC", "D"}));
    EXPECT_EQ(step("t:", 0, 0, "-", 3), QStringList({"D", ""}));
    EXPECT_EQ(step("t:", 0, 1, "-", 3), QStringList({"D", ""}));
    EXPECT_EQ(step("t:", 0, 0, "-", 3), none);
    // N 0 takes nothing; a low "/CLR" empties both and ignores the clocks.
    step("t:XY", 1, 1, "-", 0);
    EXPECT_EQ(step("t:XY", 0, 0, "-", 0), QStringList({"", "XY"}));
    EXPECT_EQ(step("t:XY", 1, 1, "n:0", 0), none);
    EXPECT_EQ(step("t:XY", 0, 0, "n:0", 0), none);

    // Both texts survive a run in the state file.
    step("t:QR", 1, 0, "-", 0);
    step("t:QR", 0, 0, "-", 0);
    step("t:", 0, 1, "-", 1);
    ASSERT_EQ(step("t:", 0, 0, "-", 1), QStringList({"Q", "R"}));
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.ini")));
    b->SaveSettings(ini, QStringLiteral("MAIN"));
    auto again = Create<TBTStrBuffer>();
    again->LoadSettings(ini, QStringLiteral("MAIN"), false);
    EXPECT_EQ(OutputsFromTop(*again), QStringList({"Q", "R"}));
}

TEST_F(TextComponentsTest, MultiplexerSelectsAndHoldFreezes)
{
    auto mux = Create<TBTStrMux>();
    mux->SetSize(1);
    EXPECT_EQ(PinNames(mux->Inputs),
              QStringList({"EN", "S0", "S1", "$0", "$1", "$2", "$3"}));
    TTextInputs in(*mux);
    in.SetAll({"-", "-", "-", "t:zero", "t:one", "t:two", "t:three"});
    mux->Calculate();
    EXPECT_EQ(OutFromTop(*mux, 0), QStringLiteral("three"));  // open selects read high
    in.SetAll({"n:5", "n:0", "n:5"});
    mux->Calculate();
    EXPECT_EQ(OutFromTop(*mux, 0), QStringLiteral("two"));
    in.Set(0, QStringLiteral("n:0"));
    mux->Calculate();
    EXPECT_EQ(OutFromTop(*mux, 0), QString());
    // The size comes back from the stored input count; other counts are refused.
    auto copy = Create<TBTStrMux>();
    ASSERT_TRUE(Read(*copy, Write(*mux)));
    EXPECT_EQ(copy->Size(), 1);
    EXPECT_THROW(copy->CheckStoredPins(5, 1), EFilerError);

    auto hold = Create<TBTStrHold>();
    TTextInputs h(*hold);
    h.SetAll({"t:live", "-"});
    hold->Calculate();
    EXPECT_EQ(OutFromTop(*hold, 0), QStringLiteral("live"));
    h.SetAll({"t:later", "n:0"});
    hold->Calculate();
    EXPECT_EQ(OutFromTop(*hold, 0), QStringLiteral("live"));
}

TEST_F(TextComponentsTest, SplitGivesTheRestToTheLastOutput)
{
    struct Case {
        const char* text;
        int outputs;
        int separator;
        QStringList out;
    };
    const Case cases[] = {
        {"a;b;c", 4, ';', {"a", "b", "c", ""}},
        {"a;b;c;d;e", 2, ';', {"a", "b;c;d;e"}},
        {";x", 2, ';', {"", "x"}},
        {"", 3, ';', {"", "", ""}},
        {"a;b\x01" "c", 2, 1, {"a;b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto parts = Create<TBTStrParts>();
        parts->SetOutputCount(c.outputs);
        parts->Separator = c.separator;
        TTextInputs in(*parts);
        in.Set(0, QStringLiteral("t:") + QString::fromLatin1(c.text));
        parts->Calculate();
        EXPECT_EQ(OutputsFromTop(*parts), c.out);
        EXPECT_EQ(parts->Outputs.back()->Name(), QStringLiteral("$1"));  // drawn at the top
    }
    auto parts = Create<TBTStrParts>();
    parts->Separator = 0;
    auto copy = Create<TBTStrParts>();
    ASSERT_TRUE(Read(*copy, Write(*parts)));
    EXPECT_EQ(copy->Separator, 0);
}

// /proc/stat texts one after the other: two processors and the summary line.
class TScriptedProbe : public TCpuLoadProbe {
public:
    explicit TScriptedProbe(std::vector<QByteArray> texts)
        : TCpuLoadProbe([this] { return m_texts.at(std::min(m_next++, m_texts.size() - 1)); }),
          m_texts(std::move(texts))
    {
        SetCpuLoadProbe(this);
    }
    ~TScriptedProbe() { SetCpuLoadProbe(nullptr); }

private:
    std::vector<QByteArray> m_texts;
    size_t m_next = 0;
};

TEST_F(TextComponentsTest, ProcessorItemsSampleOncePerSecond)
{
    TScopedFakeClock clock;
    // Busy share of the second sample: cpu0 3.456 %, cpu1 50 %, total 20 %.
    TScriptedProbe probe({"cpu 0 0 0 0\ncpu0 0 0 0 0\ncpu1 0 0 0 0\n",
                          "cpu 200 0 0 800\ncpu0 3456 0 0 96544\ncpu1 1 0 0 1\n"});
    auto info = Create<TBTStrInfo>();
    info->Item = 73;  // "CPU - CPU0_Usage"
    info->Calculate();
    EXPECT_EQ(OutputsFromTop(*info), QStringList({" 0.00%", "CPU - CPU0_Usage"}));
    clock.clock.AdvanceMs(500);
    info->Calculate();
    EXPECT_EQ(OutFromTop(*info, 0), QStringLiteral(" 0.00%"));  // the same second
    clock.clock.AdvanceMs(500);
    info->Calculate();
    EXPECT_EQ(OutFromTop(*info, 0), QStringLiteral(" 3.46%"));

    info->Item = 79;  // "CPU - Count": processors and the total
    info->Calculate();
    EXPECT_EQ(OutFromTop(*info, 0), QStringLiteral("3"));
    info->Item = 76;  // "CPU - CPU3_Usage" with 3 instances
    clock.clock.AdvanceMs(1000);
    info->Calculate();
    EXPECT_EQ(OutFromTop(*info, 0), QStringLiteral("-1"));
    EXPECT_EQ(OutFromTop(*info, 1), QStringLiteral("CPU - CPU3_Usage"));
}

TEST_F(TextComponentsTest, UnreadableCountersGiveMinusOneNotAFault)
{
    TScopedFakeClock clock;
    TScriptedProbe probe({QByteArray()});
    auto info = Create<TBTStrInfo>();
    for (int item : {72, 73, 79}) {
        info->Item = item;
        clock.clock.AdvanceMs(1000);
        info->Calculate();
        EXPECT_EQ(OutFromTop(*info, 0), item == 79 ? QStringLiteral("0") : QStringLiteral("-1"));
    }
    auto copy = Create<TBTStrInfo>();
    ASSERT_TRUE(Read(*copy, Write(*info)));
    EXPECT_EQ(copy->Item, 79);
}

TEST(CpuLoadProbe, TotalUsageAveragesEveryInstance)
{
    TCpuLoadProbe probe([n = 0]() mutable -> QByteArray {
        return n++ == 0 ? QByteArray("cpu 0 0 0 0 0\ncpu0 0 0 0 0 0\n")
                        : QByteArray("cpu 100 0 0 50 50\ncpu0 100 0 0 50 50\n");
    });
    EXPECT_EQ(probe.ProcessorCount(), 2);
    EXPECT_EQ(probe.ProcessorLoad(0), 0.0);  // the first sample has nothing before it
    probe.Sample();
    EXPECT_DOUBLE_EQ(probe.ProcessorLoad(0), 0.5);  // idle and iowait are not busy
    EXPECT_DOUBLE_EQ(probe.ProcessorLoad(1), 0.5);
    EXPECT_EQ(probe.ProcessorLoad(2), -1.0);
}

} // namespace
