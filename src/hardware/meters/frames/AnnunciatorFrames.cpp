#include "hardware/meters/frames/AnnunciatorFrames.h"

namespace {

constexpr std::string_view Degree = "\xC2\xB0";
constexpr std::string_view Micro = "\xC2\xB5";

bool Bit(std::string_view frame, size_t byte, int bit)
{
    return (static_cast<unsigned char>(frame[byte]) >> bit) & 1;
}

int PointVC870(char f, char r, bool alt)
{
    switch (f) {
    case '0': return r == '0' ? 1 : r == '1' ? 2 : r == '2' ? 3 : r == '3' ? 4 : 2;
    case '1': return alt ? 4 : 3;
    case '2':
        if (alt) return 3;
        if (r == '0' || r == '2' || r == '5') return 3;
        if (r == '1') return 1;
        if (r == '3') return 4;
        if (r == '4') return 2;
        return 2;
    case '3':
        if (r == '0' || r == '3' || r == '6') return 2;
        if (r == '1' || r == '4') return 3;
        if (r == '2') return 1;
        if (r == '5') return 4;
        return 2;
    case '4': return 1;
    case '5':
        if (alt) return 0;
        if (r == '0' || r == '3' || r == '6') return 2;
        if (r == '1' || r == '4' || r == '7') return 3;
        if (r == '2' || r == '5') return 1;
        return 2;
    case '6': return r == '0' ? 3 : r == '1' ? 4 : 2;
    case '7': return r == '1' ? 3 : 2;
    case '9': return alt ? 2 : 4;
    default: return 2;
    }
}

std::string UnitVC870(char f, bool alt)
{
    switch (f) {
    case '0':
    case '4': return "V";
    case '1': return alt ? std::string(Degree) : "V";
    case '2': return alt ? "" : "Ohm";
    case '3': return "F";
    case '5': return alt ? "%" : "Hz";
    case '6':
    case '7':
    case '8': return "A";
    case '9': return alt ? "" : "W";
    default: return "";
    }
}

std::string PrefixVC870(char f, char r, bool alt)
{
    switch (f) {
    case '1': return alt ? "" : "m";
    case '7': return "m";
    case '2': return r == '0' ? "" : r >= '1' && r <= '3' ? "k" : "M";
    case '3': return r >= '0' && r <= '2' ? "n" : r >= '3' && r <= '5' ? "u" : "m";
    case '5': return r == '0' || r == '1' ? "" : r >= '2' && r <= '4' ? "k" : "M";
    case '6': return "u";
    default: return "";
    }
}

} // namespace

std::optional<TMeterReading> DecodeVC850(std::string_view frame)
{
    if (frame.size() < 12)
        return std::nullopt;
    for (size_t i = 1; i <= 4; ++i)
        if (!InStep(static_cast<unsigned char>(frame[i])))
            return std::nullopt;
    const bool overload = NibbleChar(frame[1]) == '?';
    if (!overload && !PlainDigits(frame, 1, 4))
        return std::nullopt;

    std::string digits;
    for (size_t i = 1; i <= 4; ++i)
        digits += NibbleChar(frame[i]);
    const int pointBits = frame[6] & 0x07;
    const int point = pointBits == 1 ? 1 : pointBits == 2 ? 2 : pointBits == 4 ? 3 : 4;
    const std::string number =
        overload ? std::string(OverloadText)
                 : Signed(WithPointOrBlank(digits, point), !Bit(frame, 0, 1));

    std::string unit;
    if (Bit(frame, 8, 1)) unit = "%";
    if (Bit(frame, 7, 0)) unit = "V";
    if (Bit(frame, 10, 6)) unit = "A";
    if (Bit(frame, 10, 5)) unit = "Ohm";
    if (Bit(frame, 10, 3)) unit = "Hz";
    if (Bit(frame, 10, 2)) unit = "F";
    if (Bit(frame, 9, 1)) unit = std::string(Degree) + "C";
    if (Bit(frame, 9, 0)) unit = std::string(Degree) + "F";

    std::string prefix;
    switch (static_cast<unsigned char>(frame[9]) >> 4) {
    case 1: prefix = "M"; break;
    case 2: prefix = "K"; break;
    case 4: prefix = "m"; break;
    case 8: prefix = std::string(Micro); break;
    default: break;
    }
    if (Bit(frame, 10, 2) && Bit(frame, 8, 1))
        prefix = "n";
    unit = prefix + unit;

    TMeterReading reading{number + " " + unit, {ScaledValue(number, unit), 0.0}};
    if (overload) {
        reading.Display = std::string(OverloadText) + " " + unit;
        reading.Values[1] = 5.0;
    }
    return reading;
}

std::optional<TMeterReading> TVC870Frames::Decode(std::string_view frame)
{
    if (frame.size() < 23)
        return std::nullopt;
    const char f = frame[0];
    const char r = frame[2];
    const int second = frame[20] & 0x01;
    if (f != m_function) {
        m_function = f;
        return std::nullopt;
    }
    if (r != m_range) {
        m_range = r;
        return std::nullopt;
    }
    if (second != m_second) {
        m_second = second;
        return std::nullopt;
    }
    const bool alt = Bit(frame, 1, 0);
    const bool overload = Bit(frame, 15, 0);
    if (!overload && !PlainDigits(frame, 3, 5))
        return std::nullopt;
    if (second && !PlainDigits(frame, 8, 5))
        return std::nullopt;

    const int point = PointVC870(f, r, alt);
    std::string digits;
    for (size_t i = 3; i <= 7; ++i)
        digits += NibbleChar(frame[i]);
    std::string number = Signed(WithPoint(digits, point), Bit(frame, 15, 2));
    if (overload)
        number = std::string(OverloadText);
    const std::string unit = PrefixVC870(f, r, alt) + UnitVC870(f, alt);

    TMeterReading reading{number + " " + unit, {ScaledValue(number, unit), 0.0, 0.0}};
    if (overload) {
        reading.Display = std::string(OverloadText) + " " + unit;
        reading.Values[2] = 5.0;
    }
    if (second) {
        std::string secondDigits;
        for (size_t i = 8; i <= 12; ++i)
            secondDigits += NibbleChar(frame[i]);
        const std::string secondNumber = WithPoint(secondDigits, f == '9' ? 4 : point);
        const std::string secondUnit = f == '9' ? (alt ? "VA" : "Hz") : unit;
        reading.Values[1] = ScaledValue(secondNumber, secondUnit);
    }
    return reading;
}
