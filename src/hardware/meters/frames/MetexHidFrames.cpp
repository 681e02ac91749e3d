#include "hardware/meters/frames/MetexHidFrames.h"

namespace {

// Bit n counted from 1 at the most significant bit of byte 0.
bool Bit(std::string_view frame, int n)
{
    const auto byte = static_cast<unsigned char>(frame[static_cast<size_t>((n - 1) / 8)]);
    return (byte >> (7 - (n - 1) % 8)) & 1;
}

char Digit(int nibble) { return static_cast<char>(nibble + '0'); }

struct TDisplay {
    size_t DigitByte; // the first of its two digit bytes
    int SignBit;
    int PointBitA;    // B follows A
};

constexpr TDisplay Displays[3] = {{3, 16, 14}, {7, 48, 46}, {12, 88, 86}};

std::string DisplayNumber(std::string_view frame, const TDisplay& d)
{
    const auto hi = static_cast<unsigned char>(frame[d.DigitByte]);
    const auto lo = static_cast<unsigned char>(frame[d.DigitByte + 1]);
    const bool a = Bit(frame, d.PointBitA);
    const bool b = Bit(frame, d.PointBitA + 1);
    std::string text;
    if (Bit(frame, d.SignBit))
        text += '-';
    text += Digit(hi >> 4);
    if (a && b)
        text += '.';
    text += Digit(hi & 0x0F);
    if (a && !b)
        text += '.';
    text += Digit(lo >> 4);
    if (!a && b)
        text += '.';
    text += Digit(lo & 0x0F);
    return text;
}

struct TUnits {
    unsigned char Code;
    const char* Unit[3];
};

constexpr TUnits UnitTable[] = {
    {0x00, {"mV", " ", "mV"}},   {0x01, {"V", " ", "V"}},        {0x20, {"Ohm", " ", "Ohm"}},
    {0x21, {"kOhm", " ", "kOhm"}}, {0x22, {"MOhm", " ", "MOhm"}}, {0x30, {"uA", " ", "uA"}},
    {0x31, {"mA", " ", "mA"}},   {0x40, {"mA", " ", "mA"}},      {0x50, {"A", " ", "A"}},
    {0x60, {"uA", "uA", "kHz"}}, {0x61, {"mA", "mA", "kHz"}},    {0x70, {"mA", "mA", "kHz"}},
    {0x80, {"A", "A", "kHz"}},   {0x90, {"kHz", "kHz", "V"}},    {0x91, {"MHz", "MHz", "V"}},
    {0xA0, {"nF", " ", "nF"}},   {0xA1, {"uF", " ", "uF"}},      {0xB0, {"Hz", " ", "V"}},
    {0xE1, {"mV", "mV", " "}},   {0xE2, {"hFE", " ", "hFE"}},
    {0xE3, {"\xC2\xB0" "C", "\xC2\xB0" "C", "\xC2\xB0" "F"}},
    {0xE4, {" ", " ", "V"}},     {0xF6, {"V", "db", "kHz"}},
};

const char* UnitOf(unsigned char code, int display)
{
    for (const TUnits& u : UnitTable)
        if (u.Code == code)
            return u.Unit[display];
    return "";
}

} // namespace

std::optional<TMeterReading> DecodeMetexHid(std::string_view frame)
{
    if (frame.size() < 18)
        return std::nullopt;
    for (size_t i : {size_t(3), size_t(4)})
        for (int nibble : {static_cast<unsigned char>(frame[i]) >> 4, frame[i] & 0x0F})
            if (nibble >= 10 && nibble <= 14)
                return std::nullopt;

    const auto unitCode = static_cast<unsigned char>(frame[6]);
    TMeterReading reading;
    std::string first;
    for (int d = 0; d < 3; ++d) {
        const std::string number = DisplayNumber(frame, Displays[d]);
        reading.Values.push_back(ScaledValue(number, UnitOf(unitCode, d)));
        if (d == 0)
            first = number;
    }
    const bool overload = first.find('?') != std::string::npos;
    reading.Values.push_back(overload ? 5.0 : 0.0);
    reading.Display = (first + " " + UnitOf(unitCode, 0)).substr(0, 14);
    return reading;
}
