#include "ui/ByteSequence.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct ParseCase {
    const char* text;   // UTF-8
    Bytes bytes;
};

TEST(ByteSequenceTest, TextsGiveTheirBytes)
{
    const ParseCase cases[] = {
        // the three kinds of token and their separators
        {"", {}},
        {"    ", {}},
        {"\"HALLO\"", {'H', 'A', 'L', 'L', 'O'}},
        {"127", {127}},
        {"$0D $10", {0x0D, 0x10}},
        {"$0d $ff", {0x0D, 0xFF}},
        {"  1   2  ", {1, 2}},
        {"\"A B\" 13", {'A', ' ', 'B', 13}},
        {"\"\"", {}},
        {"\"\" 7", {7}},
        {"\"x\"5", {'x', 5}},                 // a token may follow a closing quote directly
        {"\"open end", {'o', 'p', 'e', 'n', ' ', 'e', 'n', 'd'}},
        {"\"", {}},
        {"\"Ä€\"", {0xC4, 0x80}},            // quoted characters as Windows-1252 bytes
        // decimal tokens: only the digits count
        {"12abc", {12}},
        {"-5", {5}},
        {"3.7", {37}},
        {"255", {255}},
        {"256", {0}},
        {"300", {0}},
        {"0000000000000000000000042", {42}},
        {"abc", {0}},
        {"0x1F", {1}},
        {"1\t2", {12}},                       // only character 32 separates
        {"1\"2", {12}},                       // a quote inside a token is an ordinary character
        // hexadecimal tokens: the first two hex digits count
        {"$1G2", {0x12}},
        {"$", {0}},
        {"$ 5", {0, 5}},
        {"$FFF", {0xFF}},
        {"$F", {0x0F}},
        {"$A\"B", {0xAB}},
        {"$zz", {0}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseByteSequence(QString::fromUtf8(c.text)), c.bytes) << "text: " << c.text;
}

TEST(ByteSequenceTest, ATokenCountsOnlyItsFirst255Characters)
{
    // Digits beyond the 255th character of a token are dropped.
    EXPECT_EQ(ParseByteSequence(QString(254, u'x') + u'7'), Bytes{7});
    EXPECT_EQ(ParseByteSequence(QString(255, u'x') + u'7'), Bytes{0});
    EXPECT_EQ(ParseByteSequence(u'$' + QString(255, u'x') + u"AB"_qs), Bytes{0});
    EXPECT_EQ(ParseByteSequence(u'$' + QString(253, u'x') + u"AB"_qs), Bytes{0xAB});
}

TEST(ByteSequenceTest, LongTextsGiveAllTheirBytes)
{
    // Texts read from projects are not bounded by the dialogs' 200 characters.
    QString tokens;
    for (int i = 0; i < 600; ++i)
        tokens += QString::number(i % 256) + u' ';
    const Bytes parsed = ParseByteSequence(tokens);
    ASSERT_EQ(parsed.size(), 600u);
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(parsed[size_t(i)], uint8_t(i % 256)) << "byte " << i;

    const QString quoted = u'"' + QString(1000, u'Z') + u'"';
    EXPECT_EQ(ParseByteSequence(quoted), Bytes(1000, 'Z'));
}

TEST(ByteSequenceTest, SingleTokenConversions)
{
    EXPECT_EQ(HexToByte(QString()), 0);
    EXPECT_EQ(HexToByte(u"7"_qs), 7);
    EXPECT_EQ(HexToByte(u"-a-b-c"_qs), 0xAB);
    EXPECT_EQ(DecToByte(QString()), 0);
    EXPECT_EQ(DecToByte(u"2x5y5"_qs), 255);
    EXPECT_EQ(DecToByte(u"99999999999999999999"_qs), 0);   // no overflow into a small value
    EXPECT_EQ(HighNibble(0xA7), 0x0A);
    EXPECT_EQ(LowNibble(0xA7), 0x07);
}

TEST(ByteSequenceTest, HexTextShowsABlankAndTwoUpperCaseDigitsPerByte)
{
    EXPECT_EQ(BytesToHexText({}), QString());
    EXPECT_EQ(BytesToHexText({0x02, 0xab, 0x00}), u" 02 AB 00"_qs);
}

} // namespace
