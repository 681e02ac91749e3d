// Frame decoders of the serial and USB multimeters: display text, channel values, and the
// frames that must change nothing.
#include "hardware/meters/frames/AnnunciatorFrames.h"
#include "hardware/meters/frames/NibbleFrames.h"
#include "hardware/meters/frames/RangeFunctionFrames.h"
#include "hardware/meters/MeterTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* name;
    std::string frame;
    std::string display;
    std::vector<double> values;
};

void ExpectReading(const std::optional<TMeterReading>& reading, const TCase& c)
{
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(reading.has_value());
    EXPECT_EQ(reading->Display, c.display);
    ASSERT_EQ(reading->Values.size(), c.values.size());
    for (size_t i = 0; i < c.values.size(); ++i)
        EXPECT_NEAR(reading->Values[i], c.values[i], std::abs(c.values[i]) * 1e-12) << i;
}

// VC 9x0: digits 1-5, range, function, unused, status (bit 2 negative), CR LF.
std::string VC9x0(std::string_view digits, int range, int function, int status = 0x30)
{
    return std::string(digits) + Bytes({0x30 | range, 0x30 | function, 0x30, status, 0x30, 0x30,
                                   0x30, 0x0D, 0x0A});
}

} // namespace

TEST(MeterFramesTest, PrefixFactorAndNumberTexts)
{
    const std::pair<const char*, long double> prefixes[] = {
        {"psi", 1.0L}, {"", 1.0L}, {"Ohm", 1.0L}, {"kOhm", 1e3L}, {"KOhm", 1e3L},
        {"MOhm", 1e6L}, {"GOhm", 1e9L}, {"mV", 1e-3L}, {"uA", 1e-6L}, {"\xC2\xB5" "A", 1e-6L},
        {"\xB5" "A", 1e-6L}, {"nF", 1e-9L}, {"pF", 1e-12L}, {"\xC2\xB0" "C", 1.0L}};
    for (const auto& [unit, factor] : prefixes)
        EXPECT_EQ(PrefixFactor(unit), factor) << unit;

    const std::pair<const char*, std::optional<long double>> numbers[] = {
        {" 12.345", 12.345L}, {"-1.5E3 ", -1500.0L}, {" .12345", 0.12345L}, {"+7", 7.0L},
        {" O.L", std::nullopt}, {"1,5", std::nullopt}, {"   ", std::nullopt},
        {".", std::nullopt}, {"1E", std::nullopt}, {"12.3.4", std::nullopt},
        {"12:4", std::nullopt}};
    for (const auto& [text, value] : numbers) {
        const auto got = MeterNumber(text);
        ASSERT_EQ(got.has_value(), value.has_value()) << text;
        if (value) {
            EXPECT_NEAR(static_cast<double>(*got), static_cast<double>(*value), 1e-12) << text;
        }
    }

    EXPECT_EQ(TrimText("  a b  "), "a b");
    EXPECT_EQ(TrimText("   "), "");
    EXPECT_EQ(ExtractNumber("DC +12.5E-3V 7"), "+12.5E-3");
    EXPECT_EQ(ExtractNumber("OL"), "");
}

TEST(MeterFramesTest, VC9x0Frames)
{
    const TCase cases[] = {
        {"volts", VC9x0("12345", 2, 1), " 12.345 V", {12.345}},
        {"four-digit resistance", VC9x0("1234", 2, 4).insert(4, "0"), " 1.234 kOhm", {1234.0}},
        {"milliamps", VC9x0("01234", 0, 8), " 01.234 mA", {1.234e-3}},
        {"negative", VC9x0("12345", 2, 1, 0x34), "-12.345 V", {-12.345}},
        {"celsius", VC9x0("02315", 0, 6), " 0231.5 \xC2\xB0" "C", {231.5}},
        {"megahertz", VC9x0("01000", 5, 12), " 0.1000 MHz", {100000.0}},
        {"overload", VC9x0("0:000", 0, 1), " O.L V", {0.0}},
    };
    for (const TCase& c : cases)
        ExpectReading(DecodeVC9x0(c.frame), c);

    const std::string good = VC9x0("12345", 2, 1);
    const std::string rejected[] = {
        good.substr(0, 8),                           // short
        "\x0A" + good.substr(0, 12),                 // begins one byte late
        VC9x0("12<45", 2, 1),                        // impossible digit
        Bytes({0x81, 0x82, 0x83, 0x84, 0x85, 0x32, 0x31, 0x30, 0x30}), // not digit bytes
        "",
    };
    for (const std::string& frame : rejected)
        EXPECT_FALSE(DecodeVC9x0(frame).has_value());
}

TEST(MeterFramesTest, UT803AndUT70BFrames)
{
    // range, four digits, function, status, two option bytes
    auto ut = [](int range, std::string_view digits, char function, int status = 0x30) {
        return Bytes({range}) + std::string(digits) + function + Bytes({status, 0x30, 0x30});
    };
    const TCase ut803[] = {
        {"kilohm", ut(0x32, "1234", '3'), " 12.34 kOhm", {12340.0, 0.0}},
        {"no point", ut(0x30, "1234", '4', 0x38), " 1234  \xC2\xB0" "C", {1234.0, 0.0}},
        {"fahrenheit", ut(0x30, "0725", '4'), " 0725  \xC2\xB0" "F", {725.0, 0.0}},
        {"negative millivolts", ut(0x34, "1234", ';', 0x34), "-123.4 mV", {-0.1234, 0.0}},
        {"overload bit", ut(0x30, "0000", '1', 0x31), " O.L V", {0.0, 5.0}},
        {"overload digit", ut(0x30, "0:00", '1'), " O.L V", {0.0, 0.0}},
    };
    for (const TCase& c : ut803)
        ExpectReading(DecodeUT803(c.frame), c);

    const std::string ut70b = ut(0x30, "1234", '2') + "\r\n\x30";
    ExpectReading(DecodeUT70B(ut70b), {"UT70B frequency", "", " 1.234 kHz", {1234.0, 0.0}});
    EXPECT_FALSE(DecodeUT70B(ut70b.substr(0, 11)).has_value());

    EXPECT_FALSE(DecodeUT803(ut(0x32, "1234", '3').substr(0, 8)).has_value());
    EXPECT_FALSE(DecodeUT803(ut(0x32, "12=4", '3')).has_value());
    EXPECT_FALSE(DecodeUT803(Bytes({0x32, 0x0D, 0x0A}) + ut(0x32, "1234", '3')).has_value());
}

TEST(MeterFramesTest, UT70DFrames)
{
    // 0, function, range (bit 6 is ignored), 3, status, extra digit, digits 1-4, 10, 11
    auto ut70d = [](int function, int range, int status, int extra, std::string_view digits) {
        return Bytes({0x00, function, range, 0x00, status, extra}) + std::string(digits) +
               Bytes({0x00, 0x00});
    };
    const TCase cases[] = {
        {"volts", ut70d(0xF8, 0x8A, 0x00, 0x30, "1234"), " 1.234 V", {1.234, 0.0}},
        {"millivolts", ut70d(0xF8, 0xC2, 0x10, 0x30, "1234"), "-123.4 mV", {-0.1234, 0.0}},
        {"frequency", ut70d(0xD8, 0x94, 0x04, 0x31, "2345"), " 1.2345 kHz", {1234.5, 0.0}},
        {"siemens", ut70d(0xE0, 0xB2, 0x00, 0x30, "0123"), " 01.23 nS", {1.23e-9, 0.0}},
        {"duty", ut70d(0xD8, 0x9D, 0x00, 0x30, "0500"), " 0.500 %", {0.5, 0.0}},
        {"overload", ut70d(0xF8, 0x8A, 0x08, 0x30, "0:00"), " O.L V", {0.0, 5.0}},
    };
    for (const TCase& c : cases)
        ExpectReading(DecodeUT70D(c.frame), c);
    EXPECT_FALSE(DecodeUT70D(ut70d(0xF8, 0x8A, 0, 0x30, "1234").substr(0, 11)).has_value());
    EXPECT_FALSE(DecodeUT70D(ut70d(0xF8, 0x8A, 0, 0x30, "12;4")).has_value());
}

TEST(MeterFramesTest, VC850Frames)
{
    // sign, four digits, blank, point, annunciator bytes 7-10, bar graph, CR LF
    auto vc850 = [](char sign, std::string_view digits, int point, int b7, int b8, int b9,
                    int b10) {
        return std::string(1, sign) + std::string(digits) + ' ' +
               Bytes({point, b7, b8, b9, b10, 0x00, 0x0D, 0x0A});
    };
    const TCase cases[] = {
        {"millivolts", vc850('+', "1234", 0x32, 0x01, 0, 0x40, 0), " 12.34 mV", {0.01234, 0.0}},
        {"nanofarads", vc850('+', "0470", 0x34, 0, 0x02, 0, 0x04), " 047.0 nF", {47e-9, 0.0}},
        {"no point", vc850('+', "1234", 0x30, 0x01, 0, 0, 0), " 1234  V", {1234.0, 0.0}},
        {"negative microamps", vc850('-', "1500", 0x31, 0, 0, 0x80, 0x40),
         "-1.500 \xC2\xB5" "A", {-1.5e-6, 0.0}},
        {"kilohm", vc850('+', "1000", 0x32, 0, 0, 0x20, 0x20), " 10.00 KOhm", {10000.0, 0.0}},
        {"fahrenheit wins", vc850('+', "0072", 0x30, 0x01, 0, 0x01, 0), " 0072  \xC2\xB0" "F",
         {72.0, 0.0}},
        {"overload", vc850('+', "?0:?", 0x30, 0x01, 0, 0, 0), " O.L V", {0.0, 5.0}},
    };
    for (const TCase& c : cases)
        ExpectReading(DecodeVC850(c.frame), c);
    const std::string good = vc850('+', "1234", 0x32, 0x01, 0, 0x40, 0);
    EXPECT_FALSE(DecodeVC850(good.substr(0, 11)).has_value());
    EXPECT_FALSE(DecodeVC850(vc850('+', "1=34", 0x32, 0x01, 0, 0, 0)).has_value());
    EXPECT_FALSE(DecodeVC850("\x0A" + good).has_value());
}

namespace {

// function, alternate flag, range, main digits, second digits, status at 15, second flag at 20
std::string VC870(char function, bool alt, char range, std::string_view main,
                  std::string_view second, int status = 0x30, bool secondShown = false)
{
    std::string frame = std::string(1, function) + char(alt ? 0x31 : 0x30) + range +
                        std::string(main) + std::string(second);
    frame += Bytes({0x30, 0x30, status, 0x30, 0x30, 0x30, 0x30, secondShown ? 0x31 : 0x30,
                    0x0D, 0x0A});
    return frame;
}

} // namespace

TEST(MeterFramesTest, VC870DecodesOnlySteadyFrames)
{
    TVC870Frames decoder;
    const std::string volts = VC870('0', false, '1', "12345", "00000");
    EXPECT_FALSE(decoder.Decode(volts).has_value()); // function settles
    EXPECT_FALSE(decoder.Decode(volts).has_value()); // range settles
    ExpectReading(decoder.Decode(volts), {"volts", "", " 12.345 V", {12.345, 0.0, 0.0}});

    const std::string otherRange = VC870('0', false, '2', "12345", "00000");
    EXPECT_FALSE(decoder.Decode(otherRange).has_value());
    ExpectReading(decoder.Decode(otherRange), {"new range", "", " 123.45 V", {123.45, 0, 0}});

    const std::string withSecond = VC870('0', false, '2', "12345", "00500", 0x30, true);
    EXPECT_FALSE(decoder.Decode(withSecond).has_value());
    ExpectReading(decoder.Decode(withSecond), {"second", "", " 123.45 V", {123.45, 5.0, 0.0}});
}

TEST(MeterFramesTest, VC870Frames)
{
    const TCase cases[] = {
        {"percent", VC870('5', true, '0', "12345", "00000"), " .12345 %", {0.12345, 0, 0}},
        {"negative milliamps", VC870('7', false, '1', "01234", "00000", 0x34),
         "-012.34 mA", {-0.01234, 0, 0}},
        {"power with hertz", VC870('9', false, '0', "00150", "00500", 0x30, true),
         " 0015.0 W", {15.0, 50.0, 0}},
        {"overload", VC870('2', false, '1', "00000", "00000", 0x31), " O.L kOhm", {0, 0, 5.0}},
    };
    for (const TCase& c : cases) {
        TVC870Frames decoder;
        decoder.Decode(c.frame);
        decoder.Decode(c.frame);
        decoder.Decode(c.frame);
        ExpectReading(decoder.Decode(c.frame), c);
    }
    TVC870Frames decoder;
    const std::string bad = VC870('0', false, '1', "12;45", "00000");
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(decoder.Decode(bad).has_value());
    EXPECT_FALSE(decoder.Decode(bad.substr(0, 22)).has_value());
}
