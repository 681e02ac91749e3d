// The ELV wire formats as tables: IO88 frames with their escapes, the UAD 8 answer, and the
// LTC2400 result word with its sign and overrange bits.
#include "hardware/elv/ElvProtocol.h"

#include <gtest/gtest.h>

namespace {

std::string Frame(std::initializer_list<int> bytes)
{
    std::string text;
    for (int b : bytes)
        text.push_back(char(b));
    return text;
}

} // namespace

TEST(ElvProtocolTest, Io88OutputFramesEscapeTheControlBytes)
{
    const struct {
        uint8_t outputs;
        std::vector<uint8_t> frame;
    } cases[] = {
        {0x05, {0x02, 0x6F, 0x05, 0x15, 0x03}},
        {0x10, {0x02, 0x6F, 0x10, 0x03}},
        {0x02, {0x02, 0x6F, 0x05, 0x12, 0x03}},
        {0x03, {0x02, 0x6F, 0x05, 0x13, 0x03}},
        {0xFF, {0x02, 0x6F, 0xFF, 0x03}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Io88OutputFrame(c.outputs), c.frame) << int(c.outputs);
    EXPECT_EQ(Io88InputRequest(), (std::vector<uint8_t>{0x02, 0x49, 0x03}));
}

TEST(ElvProtocolTest, Io88AnswersOfTheRightShapeGiveTheInputByte)
{
    const struct {
        std::string frame;
        std::optional<uint8_t> data;
    } cases[] = {
        {Frame({0x02, 0x49, 0x05, 0x13, 0x03}), 0x03},
        {Frame({0x02, 0x49, 0x05, 0x41, 0x03}), 0x00}, // unknown escape: all low
        {Frame({0x02, 0x49, 0xA5, 0x03}), 0xA5},
        {Frame({0x02, 0x49, 0x03}), std::nullopt},             // no data byte
        {Frame({0x02, 0x6F, 0x11, 0x03}), std::nullopt},       // not an input answer
        {Frame({0x49, 0x11, 0x03}), std::nullopt},             // no STX
        {Frame({0x02, 0x49, 0x11, 0x12, 0x03}), std::nullopt}, // too long
        {Frame({0x02, 0x49, 0x05, 0x03}), std::nullopt},       // escape without its value
    };
    for (const auto& c : cases)
        EXPECT_EQ(Io88ParseAnswer(c.frame), c.data) << c.frame.size();
}

TEST(ElvProtocolTest, Uad8RequestsAndAnswers)
{
    EXPECT_EQ(Uad8StartCommand(), (std::vector<uint8_t>{0x02, 0x6B, 0x2F, 0x03}));
    EXPECT_EQ(Uad8Request(3), (std::vector<uint8_t>{0x02, 0x33, 0x03}));
    const struct {
        std::string answer;
        std::optional<double> volts;
    } cases[] = {
        {"\x02" "1234\x03", 1.234},
        {"\x02" "0000\x03", 0.0},
        {"\x02" "2500\x03", 2.5},
        {"\x02" "12a4\x03", std::nullopt},
        {"\x02" "-123\x03", std::nullopt},
        {"\x02" "12345", std::nullopt},
        {"1234\x03\x03", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Uad8ParseAnswer(c.answer), c.volts) << c.answer;
}

TEST(ElvProtocolTest, Ltc2400CodesFromTheSignAndExtendedRangeBits)
{
    constexpr uint32_t sign = 1u << 29, extended = 1u << 28;
    const struct {
        uint32_t bits;
        int32_t code;
    } cases[] = {
        {sign | 0x8000000u, 134217728},            // half scale
        {sign | extended, 268435455},              // just at full scale
        {sign | extended | 0x10u, 268435471},      // overrange
        {0x0FFFFFFFu, -1},                          // just below zero
        {0u, -268435456},                           // nothing on the line
        {0xC0000000u | sign | 0x123u, 0x123},       // the first two bits are not used
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ltc2400Code(c.bits), c.code) << std::hex << c.bits;
    EXPECT_NEAR(Ltc2400Code(sign | 0x8000000u) / kLtc2400FullScale, 0.5, 1e-8);
}
