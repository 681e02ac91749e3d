// Serial bytes taken out of the USB cables' reports and cut into frames.
#include "hardware/meters/frames/HidCableFrames.h"
#include "hardware/meters/MeterTestSupport.h"

#include <gtest/gtest.h>

namespace {

// One 9-byte report of a status-byte cable carrying up to seven serial bytes.
std::string StatusReport(std::string_view serial)
{
    std::string report = Bytes({0x00, static_cast<int>(serial.size())});
    report += serial;
    report.resize(9, '\0');
    return report;
}

} // namespace

TEST(HidCableFramesTest, StatusByteCableCutsVC9x0Frames)
{
    TStatusByteCable cable;
    TVC9x0CableFrames cut;
    std::vector<std::string> frames;
    cable.Byte = [&](unsigned char b) { cut.Byte(b); };
    cut.Frame = [&](const std::string& f) { frames.push_back(f); };

    const std::string line = "\x8A" "1234521000000\r";
    std::string read = StatusReport(line.substr(0, 7)) + Bytes({0, 0xF0, 'x', 'x', 'x', 'x',
                                                               'x', 'x', 'x'});
    read += StatusReport(line.substr(7, 7));
    cable.Feed(read.substr(0, 20)); // the last report arrives in two reads
    cable.Feed(read.substr(20));
    cable.Feed(StatusReport(line.substr(14)));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "1234521000000\r");

    // Without the cable's start byte, or too short: dropped at the CR.
    cable.Feed(StatusReport("1234567") + StatusReport("890123\r"));
    cable.Feed(StatusReport("\x8A" "123\r"));
    EXPECT_EQ(frames.size(), 1u);
}

TEST(HidCableFramesTest, CountByteCableJoinsReadsAndChecksLineLength)
{
    TCountByteCable cable([](unsigned char c) { return size_t(c); },
                          [](size_t n) { return n == 9; });
    std::vector<std::string> frames;
    cable.Frame = [&](const std::string& f) { frames.push_back(f); };

    cable.Feed(Bytes({0x00, 0x04}) + "0123" + Bytes({0x00, 0x00}));
    cable.Feed(Bytes({0x07}) + "45678\r\n" + Bytes({0x03}) + "ABC");
    ASSERT_EQ(frames.size(), 1u); // a line spanning two reads is kept
    EXPECT_EQ(frames[0], "012345678");

    cable.Feed(Bytes({0x09}) + "DEFGHIJ\r\n"); // ten bytes before CR LF
    cable.Feed(Bytes({0x0A}) + "12345678\r\n" + Bytes({0x0B}) + "123456789\r\n");
    ASSERT_EQ(frames.size(), 2u); // eight bytes: dropped; nine: taken
    EXPECT_EQ(frames[1], "123456789");

    cable.Feed(Bytes({0x40}) + "xy"); // a count beyond the read takes what is there
    cable.Feed(Bytes({0x02}) + "\r\n");
    EXPECT_EQ(frames.size(), 2u);
}

TEST(HidCableFramesTest, LowNibbleCountsAndSetupReports)
{
    TCountByteCable cable([](unsigned char c) { return size_t(c & 0x0F); },
                          [](size_t n) { return n > 10; });
    std::vector<std::string> frames;
    cable.Frame = [&](const std::string& f) { frames.push_back(f); };
    cable.Feed(Bytes({0xF7}) + "+1234 2" + Bytes({0xF6}) + "abcd\r\n" + Bytes({0xF1}) + "z");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "+1234 2abcd");

    using R = std::vector<unsigned char>;
    EXPECT_EQ(VC9x0CableSetup(), (R{0x00, 0x18, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00}));
    EXPECT_EQ(UT803CableSetup(), (R{0x00, 0x00, 0x4B, 0x00, 0x00, 0x02}));
    EXPECT_EQ(CountCableSetup(2400, 5), (R{0x00, 0x60, 0x09, 0, 0, 0x05, 0, 0, 0}));
    EXPECT_EQ(CountCableSetup(9600, 8), (R{0x00, 0x80, 0x25, 0, 0, 0x08, 0, 0, 0}));
}
