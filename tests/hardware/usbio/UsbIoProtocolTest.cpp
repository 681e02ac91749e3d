// The byte rules of the small serial devices and the ROBO Interface's PWM levels, as tables.
#include "hardware/usbio/UsbIoProtocol.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace usbio;

TEST(UsbIoProtocolTest, IntelligentInterfaceCommandsAlternateAndNameTheAxisMeasured)
{
    struct TCase {
        uint8_t current, next;
        bool measuresEY;
    };
    const TCase cases[] = {{0xC5, 0xC9, true}, {0xC9, 0xC5, false},
                           {0xC6, 0xCA, false}, {0xCA, 0xC6, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.current);
        EXPECT_EQ(FtNextCommand(c.current), c.next);
        EXPECT_EQ(FtCommandMeasuresEY(c.current), c.measuresEY);
    }
    EXPECT_EQ(FtAnalogWord(0x02, 0x00), 512);
    EXPECT_EQ(FtAnalogWord(0x03, 0xFF), 1023);
}

TEST(UsbIoProtocolTest, K8056FramesCarryReversedRelayBitsAndAChecksum)
{
    EXPECT_EQ(K8056Status(0x0001), 0x80); // relay 1
    EXPECT_EQ(K8056Status(0x0080), 0x01); // relay 8
    EXPECT_EQ(K8056Status(0x0081), 0x81);
    EXPECT_EQ(K8056Status(0x0006), 0x60);
    EXPECT_EQ(K8056Frame(1, 0x81), (std::array<uint8_t, 5>{0x0D, 0x01, 0x42, 0x81, 0x2F}));
    EXPECT_EQ(K8056Frame(255, 0xFF), (std::array<uint8_t, 5>{0x0D, 0xFF, 0x42, 0xFF, 0xB3}));
    const std::pair<int32_t, int32_t> cards[] = {{0, 1}, {-5, 1}, {1, 1}, {255, 255}, {256, 255}, {300, 255}};
    for (const auto& [typed, card] : cards)
        EXPECT_EQ(K8056CardNumber(typed), card) << typed;
}

TEST(UsbIoProtocolTest, UsbIo24Frames)
{
    EXPECT_EQ(Io24DirectionFrame('A', true), (std::array<uint8_t, 3>{'!', 'A', 0xFF}));
    EXPECT_EQ(Io24DirectionFrame('C', false), (std::array<uint8_t, 3>{'!', 'C', 0x00}));
    EXPECT_EQ(Io24WriteFrame('B', 0x5A), (std::array<uint8_t, 2>{'B', 0x5A}));
    EXPECT_EQ(Io24ReadRequest('B'), 'b');
}

TEST(UsbIoProtocolTest, RoboPwmLevelsRoundHalvesToEvenAndClamp)
{
    const std::pair<Extended, int> cases[] = {{0, 0},   {50, 4},   {100, 7}, {-3, 0},
                                              {120, 7}, {10, 1},   {21.4L, 1}, {NAN, 0}};
    for (const auto& [percent, level] : cases)
        EXPECT_EQ(RoboPwmLevel(percent), level) << double(percent);
}
