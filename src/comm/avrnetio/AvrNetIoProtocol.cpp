#include "comm/avrnetio/AvrNetIoProtocol.h"

#include <cctype>

namespace avrnetio {

std::string SetPortCommand(int k, bool high)
{
    return "SETPORT " + std::to_string(k) + (high ? ".1" : ".0");
}

std::string GetPortCommand(int k)
{
    return "GETPORT " + std::to_string(k);
}

std::string GetAdcCommand(int k)
{
    return "GETADC " + std::to_string(k);
}

std::optional<bool> DigitalAnswer(const std::string& line)
{
    if (line.empty())
        return std::nullopt;
    if (line[0] == '1')
        return true;
    if (line[0] == '0')
        return false;
    return std::nullopt;
}

std::optional<int> AdcAnswer(const std::string& line)
{
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(line[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1])))
        --end;
    if (begin == end || end - begin > 4)
        return std::nullopt;
    int count = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i])))
            return std::nullopt;
        count = count * 10 + (line[i] - '0');
    }
    if (count > 1023)
        return std::nullopt;
    return count;
}

Extended AdcVolts(int count, int vrefMv)
{
    return Extended(count) * (Extended(vrefMv) / 1000.0L) / 1023.0L;
}

} // namespace avrnetio
