#include "hardware/instruments/InstrumentProtocol.h"

#include "hardware/meters/frames/MeterText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

void TLineSplitter::Append(const char* data, size_t count)
{
    m_pending.append(data, count);
    if (m_pending.size() > m_maxPending && m_pending.find(m_terminator) == std::string::npos)
        m_pending.clear();
}

std::optional<std::string> TLineSplitter::TakeLine()
{
    const size_t end = m_pending.find(m_terminator);
    if (end == std::string::npos)
        return std::nullopt;
    std::string line;
    for (size_t i = 0; i < end; ++i)
        if (m_pending[i] != '\r' && m_pending[i] != '\n')
            line.push_back(m_pending[i]);
    m_pending.erase(0, end + 1);
    if (line.size() > m_maxLine)
        line.resize(m_maxLine);
    return line;
}

std::optional<double> InstrumentNumber(std::string_view text)
{
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    const std::optional<Extended> value = MeterNumber(number);
    if (!value)
        return std::nullopt;
    return double(*value);
}

std::optional<int64_t> InstrumentInteger(std::string_view text)
{
    const std::string trimmed = TrimText(text);
    int64_t value = 0;
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::string LpsNumberText(double value)
{
    // Integer arithmetic: the C library's conversion would follow the locale's decimal point.
    if (!std::isfinite(value) || std::fabs(value) >= 1e12)
        return {};
    const long long thousandths = std::llround(value * 1000.0);
    const long long magnitude = thousandths < 0 ? -thousandths : thousandths;
    std::string text = (thousandths < 0 ? "-" : "") + std::to_string(magnitude / 1000);
    std::string fraction = std::to_string(1000 + magnitude % 1000).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += '.' + fraction;
    return text;
}

std::string LpsTrackCommand(int32_t code)
{
    return code == 1 ? "TRACK1" : code == 2 ? "TRACK2" : "TRACK0";
}

std::string LpsDigitalCommand(int32_t code)
{
    return code == 1 ? "VDD3" : code == 2 ? "VDD5" : "VDD0";
}

TLpsStatus DecodeLpsStatus(int64_t word)
{
    const auto bit = [word](int n) { return (word >> n & 1) != 0; };
    const int64_t tracking = word >> 2 & 3;
    return TLpsStatus{bit(0), bit(1), tracking == 2, tracking == 3, bit(4), bit(5),
                      bit(6), bit(7), bit(8),        bit(9),        bit(10)};
}

std::optional<TMxgReading> DecodeMxgLine(std::string_view line)
{
    if (line.size() != kMxgLineLength || line.substr(17, 3) != "FRQ")
        return std::nullopt;
    const std::optional<double> number = InstrumentNumber(line.substr(0, 10));
    const std::optional<double> gate = InstrumentNumber(line.substr(15, 2));
    if (!number || !gate)
        return std::nullopt;
    double factor = 1;
    switch (line[10]) {
    case 'G': factor = 1e9; break;
    case 'M': factor = 1e6; break;
    case 'K': factor = 1e3; break;
    default: break;
    }
    TMxgReading reading;
    reading.Frequency = *number * factor;
    reading.GateTime = *gate;
    reading.ChannelA = line[13] == 'A';
    reading.Hold = line[20] == 'H';
    reading.Attenuator = line[21] == 'A' || line[22] == 'B';
    return reading;
}

std::string Digi35Command(char letter, double value, double max, double scale)
{
    if (!std::isfinite(value))
        return {};
    const double limited = std::clamp(value, 0.0, max);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%03lld\r\n", letter,
                  static_cast<long long>(std::nearbyint(limited * scale)));
    return buffer;
}
