#include "hardware/meters/frames/HidCableFrames.h"

#include <algorithm>

namespace {

void PutLittleEndian(std::vector<unsigned char>& report, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        report.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

} // namespace

std::vector<unsigned char> VC9x0CableSetup()
{
    return {0x00, 0x18, 0x09, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00};
}

std::vector<unsigned char> UT803CableSetup()
{
    std::vector<unsigned char> report{0x00};
    PutLittleEndian(report, 19200);
    report.push_back(0x02);
    return report;
}

std::vector<unsigned char> CountCableSetup(unsigned baud, unsigned mode)
{
    std::vector<unsigned char> report{0x00};
    PutLittleEndian(report, baud);
    PutLittleEndian(report, mode);
    return report;
}

void TStatusByteCable::Feed(std::string_view read)
{
    m_pending.append(read);
    size_t at = 0;
    for (; m_pending.size() - at >= 9; at += 9) {
        const auto status = static_cast<unsigned char>(m_pending[at + 1]);
        if (status == 0xF0)
            continue;
        const size_t count = std::min<size_t>(status & 0x0F, 7);
        for (size_t i = 0; i < count; ++i)
            if (Byte)
                Byte(static_cast<unsigned char>(m_pending[at + 2 + i]));
    }
    m_pending.erase(0, at);
}

void TVC9x0CableFrames::Byte(unsigned char byte)
{
    m_frame.push_back(static_cast<char>(byte));
    if (byte != 0x0D)
        return;
    if (m_frame.size() > 10 && static_cast<unsigned char>(m_frame.front()) == 0x8A && Frame)
        Frame(m_frame.substr(1));
    m_frame.clear();
}

void TCountByteCable::Feed(std::string_view read)
{
    for (size_t i = 0; i < read.size();) {
        const auto c = static_cast<unsigned char>(read[i++]);
        if (c == 0)
            continue;
        const size_t n = std::min(m_count(c), read.size() - i);
        m_text.append(read.substr(i, n));
        i += n;
    }
    size_t end;
    while ((end = m_text.find("\r\n")) != std::string::npos) {
        const std::string line = m_text.substr(0, end);
        m_text.erase(0, end + 2);
        if (m_accept(line.size()) && Frame)
            Frame(line);
    }
    if (m_text.size() > MaxPending)
        m_text.erase(0, m_text.size() - MaxPending);
}
