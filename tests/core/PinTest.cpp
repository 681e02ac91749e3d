// Signal rules of the pin operations: how inputs read the output that drives their net, and
// how outputs write alone or merged with the other drivers of the net.
#include "core/TestGate.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {


enum class Op { None, Digital, Value, Analog, Text };

struct Write {
    Op op = Op::None;
    Extended x = 0;
    const char* text = nullptr; // Text: the text; Digital: non-null means true
};

constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();
const char* const T = "1"; // a true level for Op::Digital

struct Row {
    const char* what;
    int drivers;            // outputs on the input's net: 0, 1 or 2
    const char* driverName; // name of the first driver
    bool driverInverted;
    Write first;            // applied to the first driver
    Write second;           // applied to the second driver
    bool inputInverted;
    // Expected: values of the two drivers after the writes, then the five input reads.
    Extended value1, value2;
    bool digital;
    Extended value;
    int32_t word;
    Extended level;
    const char* text; // nullptr: not checked
};

// Equal as the same number: NaN matches NaN, and -0.0 differs from 0.0.
::testing::AssertionResult Same(Extended expected, Extended actual)
{
    const bool same = (std::isnan(expected) && std::isnan(actual)) ||
                      (expected == actual && std::signbit(expected) == std::signbit(actual));
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected " << double(expected) << ", got " << double(actual);
}

void Apply(TIOBauteil& c, const Write& w)
{
    switch (w.op) {
    case Op::None:
        break;
    case Op::Digital:
        c.SetOutputDigital(0, w.text != nullptr);
        break;
    case Op::Value:
        c.SetOutputValue(0, w.x);
        break;
    case Op::Analog:
        c.SetOutputAnalog(0, w.x);
        break;
    case Op::Text:
        c.SetOutputText(0, QString::fromUtf8(w.text));
        break;
    }
}

class PinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        SetDecimalSeparatorForTesting(QLatin1Char('.'));
    }
    void TearDown() override { SetDecimalSeparatorForTesting(QChar()); }
};

TEST_F(PinTest, InputsReadTheirNetAndOutputsDriveIt)
{
    const Write none{};
    const Row rows[] = {
        // what                          drv name  dInv first                   second                  iInv  v1     v2     dig    value    word   level   text
        {"unconnected plain",              0, "A0", false, none,                  none,                  false, 0,     0,     true,  0.0L,    0,     5.0L,   ""},
        {"unconnected inverted",           0, "A0", false, none,                  none,                  true,  0,     0,     false, -0.0L,   0,     0.0L,   ""},
        {"2.5 is high",                    1, "A0", false, {Op::Value, 2.5L},     none,                  false, 2.5L,  0,     true,  2.5L,    2,     2.5L,   "2.5"},
        {"2.5 inverted: level strict",     1, "A0", false, {Op::Value, 2.5L},     none,                  true,  2.5L,  0,     false, -2.5L,   0,     5.0L,   "2.5"},
        {"3.0 inverted",                   1, "A0", false, {Op::Value, 3.0L},     none,                  true,  3.0L,  0,     false, -3.0L,   0,     0.0L,   "3"},
        {"just below 2.5",                 1, "A0", false, {Op::Value, 2.4999L},  none,                  false, 2.4999L, 0,   false, 2.4999L, 2,     2.4999L, "2.4999"},
        {"65535.7 saturates the word",     1, "A0", false, {Op::Value, 65535.7L}, none,                  false, 65535.7L, 0,  true,  65535.7L, 65535, 65535.7L, "65535.7"},
        {"3.5 rounds to 4",                1, "A0", false, {Op::Value, 3.5L},     none,                  false, 3.5L,  0,     true,  3.5L,    4,     3.5L,   "3.5"},
        {"negative word is 0",             1, "A0", false, {Op::Value, -7.0L},    none,                  false, -7.0L, 0,     false, -7.0L,   0,     -7.0L,  "-7"},
        {"NaN word is 0",                  1, "A0", false, {Op::Value, NaN},      none,                  false, NaN,   0,     false, NaN,     0,     NaN,    nullptr},
        {"string source reads its text",   1, "$S", false, {Op::Text, 0, "U = -12,5 V"}, none,           false, -12.5L, 0,    false, -12.5L,  0,     -12.5L, "U = -12,5 V"},
        {"string source in hex",           1, "$S", false, {Op::Text, 0, "$FF"},  none,                  false, 255.0L, 0,    true,  255.0L,  255,   255.0L, "$FF"},
        {"True on a string pin",           1, "$S", false, {Op::Text, 0, "True"}, none,                  false, 5.0L,  0,     true,  5.0L,    5,     5.0L,   "True"},
        {"True on a numeric pin",          1, "A0", false, {Op::Text, 0, "True"}, none,                  false, 5.0L,  0,     true,  5.0L,    5,     5.0L,   "5"},
        {"inverted output, digital",       1, "A0", true,  {Op::Digital, 0, T},   none,                  false, 0.0L,  0,     false, 0.0L,    0,     0.0L,   "0"},
        {"inverted output, value",         1, "A0", true,  {Op::Value, 2.0L},     none,                  false, -2.0L, 0,     false, -2.0L,   0,     -2.0L,  "-2"},
        {"inverted analog 5 -> 0",         1, "A0", true,  {Op::Analog, 5.0L},    none,                  false, 0.0L,  0,     false, 0.0L,    0,     0.0L,   "0"},
        {"inverted analog 0 -> 5",         1, "A0", true,  {Op::Analog, 0.0L},    none,                  false, 5.0L,  0,     true,  5.0L,    5,     5.0L,   "5"},
        {"inverted analog 2 -> -2",        1, "A0", true,  {Op::Analog, 2.0L},    none,                  false, -2.0L, 0,     false, -2.0L,   0,     -2.0L,  "-2"},
        {"plain analog keeps 5",           1, "A0", false, {Op::Analog, 5.0L},    none,                  false, 5.0L,  0,     true,  5.0L,    5,     5.0L,   "5"},
        {"inverted text: no inversion",    1, "A0", true,  {Op::Text, 0, "1.5"},  none,                  false, 1.5L,  0,     false, 1.5L,    2,     1.5L,   "1.5"},
        {"wired OR: true then false",      2, "A0", false, {Op::Digital, 0, T},   {Op::Digital},         false, 5.0L,  5.0L,  true,  5.0L,    5,     5.0L,   "5"},
        {"wired OR: false then true",      2, "A0", false, {Op::Digital},         {Op::Digital, 0, T},   false, 5.0L,  5.0L,  true,  5.0L,    5,     5.0L,   "5"},
        {"wired OR: both false",           2, "A0", false, {Op::Digital},         {Op::Digital},         false, 0.0L,  0.0L,  false, 0.0L,    0,     0.0L,   "0"},
        {"wired OR of an inverted false",  2, "A0", true,  {Op::Digital},         {Op::Digital},         false, 5.0L,  5.0L,  true,  5.0L,    5,     5.0L,   "5"},
        {"shared values add up",           2, "A0", false, {Op::Value, 2.0L},     {Op::Value, 3.0L},     false, 5.0L,  5.0L,  true,  5.0L,    5,     5.0L,   "5"},
        {"shared inverted value",          2, "A0", true,  {Op::Value, 2.0L},     {Op::Value, 3.0L},     false, 1.0L,  1.0L,  false, 1.0L,    1,     1.0L,   "1"},
        {"shared analog, inverted 5",      2, "A0", true,  {Op::Analog, 5.0L},    {Op::Value, 1.5L},     false, 1.5L,  1.5L,  false, 1.5L,    2,     1.5L,   "1.5"},
        {"text changes only its pin",      2, "A0", false, {Op::Value, 1.0L},     {Op::Text, 0, "3"},    false, 1.0L,  3.0L,  false, 1.0L,    1,     1.0L,   "1"},
        {"a string pin ignores values",    1, "$S", false, {Op::Value, 7.0L},     none,                  false, 0.0L,  0,     false, 0.0L,    0,     0.0L,   ""},
        {"a string pin ignores levels",    1, "$S", false, {Op::Digital, 0, T},   none,                  false, 0.0L,  0,     false, 0.0L,    0,     0.0L,   ""},
        {"shared string pin keeps text",   2, "$S", false, {Op::Text, 0, "3"},    {Op::Value, 2.0L},     false, 3.0L,  2.0L,  true,  3.0L,    3,     3.0L,   "3"},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TTestGate d1, d2, reader;
        TBauteilPin& out1 = *d1.Outputs[0];
        TBauteilPin& out2 = *d2.Outputs[0];
        out1.SetName(QString::fromUtf8(row.driverName));
        out1.SetInverted(row.driverInverted);
        TBauteilPin& in = *reader.Inputs[0];
        in.SetInverted(row.inputInverted);
        if (row.drivers >= 1)
            in.SetSource(&out1);
        if (row.drivers == 2) {
            out1.SetSameNet({&out1, &out2});
            out2.SetSameNet({&out1, &out2});
        }

        Apply(d1, row.first);
        if (row.drivers == 2)
            Apply(d2, row.second);

        EXPECT_TRUE(Same(row.value1, out1.Value));
        if (row.drivers == 2) {
            EXPECT_TRUE(Same(row.value2, out2.Value));
        }
        EXPECT_EQ(row.digital, reader.GetInputDigital(0));
        EXPECT_TRUE(Same(row.value, reader.GetInputValue(0)));
        EXPECT_EQ(row.word, reader.GetInputWord(0));
        EXPECT_TRUE(Same(row.level, reader.GetInputLevel(0)));
        if (row.text) {
            EXPECT_EQ(QString::fromUtf8(row.text), reader.GetInputText(0));
        }
    }
}

// A component reads its first inputs through pointers of its own; reconnecting, inverting and
// rebuilding the pins must reach those reads at once, for the first inputs as for later ones.
TEST_F(PinTest, ReadsFollowReconnectionInversionAndRebuild)
{
    TTestGate reader;
    reader.SetInputCount(6);
    TTestGate d1, d2;
    d1.SetOutputValue(0, 7.0L);
    d2.SetOutputDigital(0, false);
    for (int i : {0, 3, 5}) {
        SCOPED_TRACE(i);
        TBauteilPin& in = *reader.Inputs[size_t(i)];
        EXPECT_TRUE(reader.GetInputDigital(i));  // open
        EXPECT_TRUE(Same(0.0L, reader.GetInputValue(i)));
        in.SetSource(d1.Outputs[0].get());
        EXPECT_TRUE(Same(7.0L, reader.GetInputValue(i)));
        in.SetSource(d2.Outputs[0].get());
        EXPECT_FALSE(reader.GetInputDigital(i));
        in.SetInverted(true);
        EXPECT_TRUE(reader.GetInputDigital(i));
        EXPECT_TRUE(Same(-0.0L, reader.GetInputValue(i)));
        in.SetSource(nullptr);
        EXPECT_FALSE(reader.GetInputDigital(i));  // open and inverted
        EXPECT_TRUE(Same(-0.0L, reader.GetInputValue(i)));
        in.SetInverted(false);
        in.SetSource(d1.Outputs[0].get());
    }
    reader.SetInputCount(7);  // new pins: open, not inverted
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(reader.GetInputDigital(i));
        EXPECT_TRUE(Same(0.0L, reader.GetInputValue(i)));
    }
}

} // namespace
