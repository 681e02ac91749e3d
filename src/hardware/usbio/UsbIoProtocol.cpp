#include "hardware/usbio/UsbIoProtocol.h"

#include <algorithm>
#include <cmath>

namespace usbio {

uint8_t FtNextCommand(uint8_t current)
{
    switch (current) {
    case 0xC5: return 0xC9;
    case 0xC9: return 0xC5;
    case 0xC6: return 0xCA;
    case 0xCA: return 0xC6;
    default: return current;
    }
}

bool FtCommandMeasuresEY(uint8_t command)
{
    return command == 0xC5 || command == 0xCA;
}

std::array<uint8_t, 3> Io24DirectionFrame(char letter, bool input)
{
    return {uint8_t('!'), uint8_t(letter), uint8_t(input ? 0xFF : 0x00)};
}

std::array<uint8_t, 2> Io24WriteFrame(char letter, uint8_t value)
{
    return {uint8_t(letter), value};
}

uint8_t Io24ReadRequest(char letter)
{
    return uint8_t(letter - 'A' + 'a');
}

int32_t K8056CardNumber(int32_t requested)
{
    return std::clamp(requested, 1, 255);
}

uint8_t K8056Status(uint16_t pinWord)
{
    uint8_t status = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (pinWord >> bit & 1u)
            status = uint8_t(status | 0x80u >> bit);
    return status;
}

std::array<uint8_t, 5> K8056Frame(uint8_t card, uint8_t status)
{
    std::array<uint8_t, 5> frame{0x0D, card, uint8_t('B'), status, 0};
    const unsigned sum = frame[0] + frame[1] + frame[2] + frame[3];
    frame[4] = uint8_t(-sum & 0xFFu);
    return frame;
}

uint8_t RoboPwmLevel(Extended percent)
{
    if (std::isnan(double(percent)))
        return 0;
    const Extended clamped = std::clamp(percent, 0.0L, 100.0L);
    return uint8_t(RoundHalfEven(clamped * 7.0L / 100.0L));
}

} // namespace usbio
