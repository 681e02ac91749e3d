#include "hardware/meters/frames/RangeFunctionFrames.h"

namespace {

constexpr std::string_view Degree = "\xC2\xB0";

// Unit of the UT803 and UT70B function characters; "5" is a resistance range on the UT803 only.
std::string UnitUT(char f, bool celsius, bool ut803)
{
    switch (f) {
    case '1':
    case ';': return "V";
    case '2': return "Hz";
    case '3': return "Ohm";
    case '5': return ut803 ? "Ohm" : "";
    case '4': return std::string(Degree) + (celsius ? "C" : "F");
    case '6': return "F";
    case '9':
    case '=':
    case '?': return "A";
    default: return "";
    }
}

int PointUT803(char f, int r)
{
    switch (f) {
    case '1': return 1;
    case '2':
        if (r == 1 || r == 4) return 2;
        if (r == 2 || r == 5) return 3;
        if (r == 3) return 1;
        if (r == 0 || r == 6 || r == 7) return 4;
        return r + 1;
    case '3':
        if (r == 0 || r == 3) return 3;
        if (r == 1 || r == 4) return 1;
        if (r == 2 || r == 5) return 2;
        return r + 1;
    case '4':
    case '5':
    case '>': return 4;
    case '6':
        if (r == 0 || r == 3 || r == 6) return 1;
        if (r == 1 || r == 4) return 2;
        if (r == 2 || r == 5) return 3;
        return r + 1;
    case ';': return r == 4 ? 3 : r + 1;
    case '=': return r == 0 ? 3 : r == 1 ? 4 : r + 1;
    case '?': return r == 0 ? 2 : r == 1 ? 3 : r + 1;
    default: return r + 1;
    }
}

std::string PrefixUT803(char f, int r)
{
    switch (f) {
    case '2': return r == 1 || r == 2 ? "k" : r == 3 || r == 4 ? "M" : "";
    case '3': return r >= 1 && r <= 3 ? "k" : r == 4 || r == 5 ? "M" : "";
    case '6': return r <= 2 ? "n" : r <= 5 ? "u" : r == 6 ? "m" : "";
    case '=': return "u";
    case ';': return r == 4 ? "m" : "";
    case '?': return "m";
    default: return "";
    }
}

int PointUT70B(char f, char r)
{
    switch (f) {
    case '1': return 1;
    case '2':
        if (r == '0' || r == '3') return 1;
        if (r == '1' || r == '4') return 2;
        if (r == '2' || r == '5') return 3;
        return 2;
    case '3':
        if (r == '0' || r == '3') return 3;
        if (r == '1' || r == '4') return 1;
        if (r == '2' || r == '5') return 2;
        return 2;
    case '4': return 4;
    case '6':
        if (r == '0' || r == '3' || r == '6') return 1;
        if (r == '1' || r == '4' || r == '7') return 2;
        if (r == '2' || r == '5') return 3;
        return 2;
    case '9': return r == '0' ? 2 : r == '1' ? 3 : 2;
    case ';':
        if (r == '0' || r == '3') return 3;
        if (r == '1') return 1;
        if (r == '2') return 2;
        if (r == '4') return 4;
        return 2;
    case '=': return r == '0' ? 3 : r == '1' ? 4 : 2;
    default: return 2;
    }
}

std::string PrefixUT70B(char f, char r)
{
    switch (f) {
    case '2': return r >= '0' && r <= '2' ? "k" : "M";
    case '3': return r == '0' ? "" : r >= '1' && r <= '3' ? "k" : "M";
    case '6': return r >= '0' && r <= '2' ? "n" : r >= '3' && r <= '5' ? "u" : "m";
    case '=': return "u";
    case ';': return r == '0' ? "m" : "";
    case '9': return "m";
    default: return "";
    }
}

// The common end of every decoder here: overload mark or number, unit, value and flag.
TMeterReading Finish(std::string number, bool overloadMark, bool overloadBit,
                     const std::string& unit)
{
    if (overloadMark)
        number = std::string(OverloadText);
    TMeterReading reading{number + " " + unit, {ScaledValue(number, unit), 0.0}};
    if (overloadBit) {
        reading.Display = std::string(OverloadText) + " " + unit;
        reading.Values[0] = 0.0; // the digits of an overloaded display mean nothing
        reading.Values[1] = 5.0;
    }
    return reading;
}

// The UT803 and UT70B share the frame; only range coding and tables differ.
std::optional<TMeterReading> DecodeUTFrame(std::string_view frame, bool ut803)
{
    if (frame.size() < (ut803 ? 9u : 12u))
        return std::nullopt;
    for (size_t i = 1; i <= 4; ++i)
        if (!InStep(static_cast<unsigned char>(frame[i])))
            return std::nullopt;
    const char f = frame[5];
    const auto status = static_cast<unsigned char>(frame[6]);
    const bool overloadBit = (status & 0x01) != 0;
    const bool overloadMark = NibbleChar(frame[2]) == ':';
    if (!overloadBit && !overloadMark && !PlainDigits(frame, 1, 4))
        return std::nullopt;

    std::string digits;
    for (size_t i = 1; i <= 4; ++i)
        digits += NibbleChar(frame[i]);
    const int r = frame[0] & 0x0F;
    const int point = ut803 ? PointUT803(f, r) : PointUT70B(f, frame[0]);
    const std::string prefix = ut803 ? PrefixUT803(f, r) : PrefixUT70B(f, frame[0]);
    const std::string unit = prefix + UnitUT(f, (status & 0x08) != 0, ut803);
    return Finish(Signed(WithPointOrBlank(digits, point), (status & 0x04) != 0), overloadMark,
                  overloadBit, unit);
}

int PointUT70D(unsigned f, unsigned r)
{
    switch (f) {
    case 0xA8:
    case 0xA9: return r == 0x82 ? 1 : 2;
    case 0xB0:
    case 0xB1: return r == 0x8A ? 3 : 2;
    case 0xD8: return 1;
    case 0xE0:
        if (r == 0x82 || r == 0x9A) return 3;
        if (r == 0x8A || r == 0xA2) return 1;
        return 2;
    case 0xE1:
        if (r == 0x80 || r == 0x98) return 1;
        if (r == 0x90 || r == 0xA8) return 3;
        return 2;
    case 0xE8: return r == 0x8A ? 3 : 2;
    case 0xF0: return r == 0x82 ? 1 : r == 0x92 ? 3 : r == 0x9A ? 4 : 2;
    case 0xF8:
        if (r == 0x82 || r == 0x9A) return 3;
        if (r == 0x8A) return 1;
        if (r == 0xA2) return 4;
        return 2;
    default: return 2;
    }
}

std::string UnitUT70D(unsigned f, unsigned r)
{
    switch (f) {
    case 0xA8:
    case 0xA9:
    case 0xB0:
    case 0xB1: return "A";
    case 0xD8:
    case 0xE8:
    case 0xF0:
    case 0xF8: return "V";
    case 0xE0: return r == 0xB2 ? "S" : "Ohm";
    case 0xE1: return "F";
    default: return "";
    }
}

std::string PrefixUT70D(unsigned f, unsigned r)
{
    switch (f) {
    case 0xB0:
    case 0xB1: return "m";
    case 0xE0:
        if (r == 0xA2 || r == 0xAA) return "M";
        if (r == 0x8A || r == 0x92 || r == 0x9A) return "k";
        if (r == 0xB2) return "n";
        return "";
    case 0xE1:
        if (r == 0x80 || r == 0x88 || r == 0x90) return "n";
        if (r == 0x98 || r == 0xA0 || r == 0xA8) return "u";
        return "";
    case 0xE8: return "m";
    case 0xF8: return r == 0x82 ? "m" : "";
    default: return "";
    }
}

} // namespace

std::optional<TMeterReading> DecodeUT803(std::string_view frame)
{
    return DecodeUTFrame(frame, true);
}

std::optional<TMeterReading> DecodeUT70B(std::string_view frame)
{
    return DecodeUTFrame(frame, false);
}

std::optional<TMeterReading> DecodeUT70D(std::string_view frame)
{
    if (frame.size() < 12)
        return std::nullopt;
    const auto f = static_cast<unsigned char>(frame[1]);
    const unsigned r = static_cast<unsigned char>(frame[2]) & 0xBF;
    const auto status = static_cast<unsigned char>(frame[4]);
    const bool frequency = (status & 0x04) != 0;
    const bool overloadBit = (status & 0x08) != 0;
    const bool overloadMark = NibbleChar(frame[6]) == ':';
    const size_t first = frequency ? 5 : 6;
    if (!overloadBit && !overloadMark) {
        for (size_t i = first; i <= 9; ++i)
            if ((frame[i] & 0x0F) > 9)
                return std::nullopt;
    }

    std::string digits;
    for (size_t i = first; i <= 9; ++i)
        digits += NibbleChar(frame[i]);
    int point = PointUT70D(f, r);
    std::string unit = UnitUT70D(f, r);
    std::string prefix = PrefixUT70D(f, r);
    if (frequency) {
        unit = "Hz";
        if (r == 0x8C || r == 0xA4) point = 3;
        else if (r == 0x94 || r == 0xAC) point = 1;
        else if (r == 0x9C) point = 2;
        if (r == 0x8C) prefix = "";
        else if (r == 0x94 || r == 0x9C || r == 0xA4) prefix = "k";
        else if (r == 0xAC) prefix = "M";
    }
    if (r == 0x9D) {
        unit = "%";
        prefix = "";
    }
    return Finish(Signed(WithPointOrBlank(digits, point), (status & 0x10) != 0), overloadMark,
                  overloadBit, prefix + unit);
}
