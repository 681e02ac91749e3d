// The instruments' wire rules as tables: answer lines, numbers, command texts and the
// frequency readout's display line.
#include "hardware/instruments/InstrumentProtocol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(InstrumentProtocol, LinesAreJoinedAcrossReadsAndBounded)
{
    TLineSplitter lines('\r', 10, 30);
    lines.Append("12.", 3);
    EXPECT_FALSE(lines.TakeLine());
    lines.Append("5\r\nOK\r", 6);
    EXPECT_EQ(lines.TakeLine(), "12.5");
    EXPECT_EQ(lines.TakeLine(), "OK"); // the LF after the CR is not part of the next line
    EXPECT_FALSE(lines.TakeLine());

    lines.Append("0123456789ABCDEF\r", 17);
    EXPECT_EQ(lines.TakeLine(), "0123456789"); // cut to the longest line
    const std::string garbage(40, 'x');
    lines.Append(garbage.data(), garbage.size());
    EXPECT_EQ(lines.Pending(), 0u); // no terminator in sight: dropped, never grown
    lines.Append("7\r", 2);
    EXPECT_EQ(lines.TakeLine(), "7");

    TLineSplitter lf('\n');
    lf.Append("23.4\r\n", 6);
    EXPECT_EQ(lf.TakeLine(), "23.4");
}

TEST(InstrumentProtocol, Numbers)
{
    struct TCase {
        const char* text;
        std::optional<double> value;
    };
    const TCase cases[] = {{"23.4", 23.4},    {"23,4", 23.4},  {" -1.5 ", -1.5}, {"12.500", 12.5},
                           {"", std::nullopt}, {"ERR", std::nullopt}, {"1.2V", std::nullopt}};
    for (const TCase& c : cases)
        EXPECT_EQ(InstrumentNumber(c.text), c.value) << c.text;
    EXPECT_EQ(InstrumentInteger(" 76"), 76);
    EXPECT_EQ(InstrumentInteger("+3"), 3);
    EXPECT_FALSE(InstrumentInteger("7.5"));
    EXPECT_FALSE(InstrumentInteger(""));
}

TEST(InstrumentProtocol, LpsCommands)
{
    struct TCase {
        double value;
        const char* text;
    };
    const TCase cases[] = {{12.5, "12.5"}, {3, "3"},     {0.125, "0.125"}, {0.0001, "0"},
                           {-0.0001, "0"}, {1e-20, "0"}, {32, "32"},       {2.5004, "2.5"}};
    for (const TCase& c : cases)
        EXPECT_EQ(LpsNumberText(c.value), c.text) << c.value;
    EXPECT_EQ(LpsNumberText(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(LpsNumberText(INFINITY), "");
    EXPECT_EQ(LpsNumberText(1e20), ""); // would need an exponent

    const char* tracks[] = {"TRACK0", "TRACK1", "TRACK2", "TRACK0"};
    const char* digitals[] = {"VDD0", "VDD3", "VDD5", "VDD0"};
    for (int code = 0; code < 4; ++code) {
        EXPECT_EQ(LpsTrackCommand(code), tracks[code]);
        EXPECT_EQ(LpsDigitalCommand(code), digitals[code]);
    }
}

TEST(InstrumentProtocol, LpsStatusWord)
{
    const TLpsStatus s = DecodeLpsStatus(76); // bits 2, 3 and 6
    EXPECT_FALSE(s.TR1);
    EXPECT_TRUE(s.TR2);
    EXPECT_TRUE(s.OE);
    EXPECT_FALSE(s.CC1 || s.CC2 || s.VDE || s.VD3 || s.DOL || s.FAN || s.BPE || s.CCC);
    const TLpsStatus t = DecodeLpsStatus(0x7F3 | 0x8); // tracking 2, every other bit set
    EXPECT_TRUE(t.TR1);
    EXPECT_FALSE(t.TR2);
    EXPECT_TRUE(t.CC1 && t.CC2 && t.VDE && t.VD3 && t.OE && t.DOL && t.FAN && t.BPE && t.CCC);
    const TLpsStatus u = DecodeLpsStatus(0x4); // tracking 1: neither
    EXPECT_FALSE(u.TR1 || u.TR2);
}

TEST(InstrumentProtocol, MxgLines)
{
    //                     number    unit ch   gt mode H att
    const std::string khz = "  1.234567" "KHz" "A" " " "10" "FRQ" "H" "A" " ";
    ASSERT_EQ(khz.size(), kMxgLineLength);
    const std::optional<TMxgReading> r = DecodeMxgLine(khz);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->Frequency, 1234.567);
    EXPECT_EQ(r->GateTime, 10);
    EXPECT_TRUE(r->ChannelA && r->Hold && r->Attenuator);

    struct TCase {
        std::string line;
        double frequency;
        bool channelA, hold, attenuator;
    };
    const TCase cases[] = {
        {"   50.0000" "MHz" "B" " " " 1" "FRQ" " " " " "B", 50e6, false, false, true},
        {"    1.0000" "GHz" "B" " " " 1" "FRQ" " " " " " ", 1e9, false, false, false},
        {"   12.3400" " Hz" "A" " " " 1" "FRQ" " " " " " ", 12.34, true, false, false},
    };
    for (const TCase& c : cases) {
        const std::optional<TMxgReading> m = DecodeMxgLine(c.line);
        ASSERT_TRUE(m) << c.line;
        EXPECT_DOUBLE_EQ(m->Frequency, c.frequency) << c.line;
        EXPECT_EQ(m->ChannelA, c.channelA);
        EXPECT_EQ(m->Hold, c.hold);
        EXPECT_EQ(m->Attenuator, c.attenuator);
    }
    EXPECT_FALSE(DecodeMxgLine("   12.3400" " Hz" "A" " " " 1" "PER" " " " " " ")); // other mode
    EXPECT_FALSE(DecodeMxgLine(khz.substr(1)));                                   // too short
    EXPECT_FALSE(DecodeMxgLine("   --.----" "KHz" "A" " " "10" "FRQ" " " " " " "));
}

TEST(InstrumentProtocol, Digi35Commands)
{
    struct TCase {
        char letter;
        double value, max, scale;
        const char* command;
    };
    const TCase cases[] = {
        {'V', 5, 35, 10, "V050\r\n"},    {'V', 12.34, 35, 10, "V123\r\n"},
        {'V', 40, 35, 10, "V350\r\n"},   {'V', -3, 35, 10, "V000\r\n"},
        {'V', 12.25, 35, 10, "V122\r\n"}, // half to even
        {'C', 0.5, 2.5, 100, "C050\r\n"}, {'C', 0.05, 2.5, 100, "C005\r\n"},
        {'C', 2.5, 2.5, 100, "C250\r\n"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Digi35Command(c.letter, c.value, c.max, c.scale), c.command) << c.value;
    EXPECT_EQ(Digi35Command('V', std::numeric_limits<double>::quiet_NaN(), 35, 10), "");
}
