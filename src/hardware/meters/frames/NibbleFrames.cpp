#include "hardware/meters/frames/NibbleFrames.h"

namespace {

const char* const Units[16] = {"", "V", "V", "V", "Ohm", "F", "\xC2\xB0" "C", "A",
                               "A", "A", "Ohm", "V", "Hz", "\xC2\xB0" "F", "W", "%"};

int Point(int f, int r)
{
    switch (f) {
    case 3: return r + 3;
    case 4:
        if (r == 1 || r == 4) return 3;
        if (r == 2 || r == 5) return 1;
        if (r == 3 || r == 6) return 2;
        return r;
    case 5:
        if (r == 1 || r == 4 || r == 7) return 2;
        if (r == 2 || r == 5) return 3;
        if (r == 3 || r == 6) return 1;
        return r;
    case 6: return 4;
    case 7: return r == 0 ? 3 : r == 1 ? 4 : r;
    case 8: return r == 0 ? 2 : r == 1 ? 3 : r;
    case 9: return 2;
    case 10: return 3;
    case 11: return 1;
    case 12:
        if (r == 0 || r == 3 || r == 6) return 2;
        if (r == 1 || r == 4 || r == 7) return 3;
        if (r == 2 || r == 5) return 1;
        return r;
    case 13:
    case 14: return 4;
    default: return r; // 0, 1, 2, 15
    }
}

const char* Prefix(int f, int r)
{
    switch (f) {
    case 3:
    case 8: return "m";
    case 4: return r >= 2 && r <= 4 ? "k" : r == 5 || r == 6 ? "M" : "";
    case 5: return r == 1 || r == 2 ? "n" : r >= 3 && r <= 5 ? "u" : r == 6 || r == 7 ? "m" : "";
    case 7: return "u";
    case 12: return r >= 2 && r <= 4 ? "k" : r >= 5 && r <= 7 ? "M" : "";
    default: return "";
    }
}

} // namespace

std::optional<TMeterReading> DecodeVC9x0(std::string_view frame)
{
    if (frame.size() < 9)
        return std::nullopt;
    for (size_t i = 0; i < 5; ++i)
        if (!InStep(static_cast<unsigned char>(frame[i])))
            return std::nullopt;
    const int r = frame[5] & 0x0F;
    const int f = frame[6] & 0x0F;
    const bool negative = (frame[8] & 0x04) != 0;
    const size_t count = (f == 4 || f == 10) ? 4 : 5;
    const bool overload = NibbleChar(frame[1]) == ':';
    if (!overload && !PlainDigits(frame, 0, count))
        return std::nullopt;

    std::string digits;
    for (size_t i = 0; i < count; ++i)
        digits += NibbleChar(frame[i]);
    std::string number = overload ? std::string(OverloadText)
                                   : Signed(WithPoint(digits, Point(f, r)), negative);
    const std::string unit = std::string(Prefix(f, r)) + Units[f];
    return TMeterReading{number + " " + unit, {ScaledValue(number, unit)}};
}
