#include "hardware/meters/frames/MeterText.h"

#include <cmath>

Extended PrefixFactor(std::string_view unit)
{
    if (unit.empty() || unit == "psi")
        return 1.0L;
    if (unit.substr(0, 2) == "\xC2\xB5") // the micro sign in UTF-8
        return 1e-6L;
    switch (static_cast<unsigned char>(unit.front())) {
    case 'p': return 1e-12L;
    case 'n': return 1e-9L;
    case 'u':
    case 0xB5: return 1e-6L;
    case 'm': return 1e-3L;
    case 'k':
    case 'K': return 1e3L;
    case 'M': return 1e6L;
    case 'G': return 1e9L;
    default: return 1.0L;
    }
}

std::string TrimText(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string ExtractNumber(std::string_view text)
{
    constexpr std::string_view set = "+-.0123456789E";
    const size_t first = text.find_first_of(set);
    if (first == std::string_view::npos)
        return {};
    size_t end = text.find_first_not_of(set, first);
    if (end == std::string_view::npos)
        end = text.size();
    return std::string(text.substr(first, end - first));
}

std::optional<Extended> MeterNumber(std::string_view text)
{
    // Read by hand: the C library's conversion follows the process locale's decimal point.
    const std::string t = TrimText(text);
    size_t i = 0;
    Extended mantissa = 0.0L;
    int scale = 0; // power of ten of the mantissa's last digit
    size_t count = 0;
    auto digits = [&](bool fraction) {
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            mantissa = mantissa * 10.0L + (t[i] - '0');
            if (fraction)
                --scale;
            ++count;
            ++i;
        }
    };
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    digits(false);
    if (i < t.size() && t[i] == '.') {
        ++i;
        digits(true);
    }
    if (count == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            negativeExponent = t[i++] == '-';
        int exponent = 0;
        const size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9' && exponent < 10000)
            exponent = exponent * 10 + (t[i++] - '0');
        if (i == start)
            return std::nullopt;
        scale += negativeExponent ? -exponent : exponent;
    }
    if (i != t.size())
        return std::nullopt;
    const Extended value = scale < 0 ? mantissa / std::pow(10.0L, -scale)
                                     : mantissa * std::pow(10.0L, scale);
    return negative ? -value : value;
}

Extended MeterNumberOrZero(std::string_view text)
{
    return MeterNumber(text).value_or(0.0L);
}

bool PlainDigits(std::string_view frame, size_t first, size_t count)
{
    for (size_t i = first; i < first + count; ++i) {
        const auto byte = static_cast<unsigned char>(frame[i]);
        if (!InStep(byte) || (byte & 0x0F) > 9)
            return false;
    }
    return true;
}

std::string WithPoint(std::string digits, int point)
{
    if (point >= 0 && point < static_cast<int>(digits.size()))
        digits.insert(static_cast<size_t>(point), 1, '.');
    return digits;
}

std::string WithPointOrBlank(std::string digits, int point)
{
    if (point < 4)
        return WithPoint(std::move(digits), point);
    return digits + ' ';
}

std::string Signed(const std::string& number, bool negative)
{
    return ((negative ? "-" : " ") + number).substr(0, 8);
}

double ScaledValue(std::string_view number, std::string_view unit)
{
    return static_cast<double>(MeterNumberOrZero(number) * PrefixFactor(unit));
}
