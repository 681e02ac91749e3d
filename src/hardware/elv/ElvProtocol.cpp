#include "hardware/elv/ElvProtocol.h"

namespace {

constexpr uint8_t kEscape = 0x05;

void AppendEscaped(std::vector<uint8_t>& frame, uint8_t b)
{
    if (b == kStx || b == kEtx || b == kEscape) {
        frame.push_back(kEscape);
        frame.push_back(uint8_t(b + 0x10));
    } else {
        frame.push_back(b);
    }
}

} // namespace

std::vector<uint8_t> Io88OutputFrame(uint8_t outputs)
{
    std::vector<uint8_t> frame{kStx, 'o'};
    AppendEscaped(frame, outputs);
    frame.push_back(kEtx);
    return frame;
}

std::vector<uint8_t> Io88InputRequest()
{
    return {kStx, 'I', kEtx};
}

std::optional<uint8_t> Io88ParseAnswer(const std::string& frame)
{
    const auto at = [&](size_t i) { return uint8_t(frame[i]); };
    if (frame.size() < 4 || at(0) != kStx || at(1) != 'I' || at(frame.size() - 1) != kEtx)
        return std::nullopt;
    if (at(2) != kEscape)
        return frame.size() == 4 ? std::optional<uint8_t>(at(2)) : std::nullopt;
    if (frame.size() != 5)
        return std::nullopt;
    switch (at(3)) {
    case 0x12: return uint8_t(0x02);
    case 0x13: return uint8_t(0x03);
    case 0x15: return uint8_t(0x05);
    default: return uint8_t(0);
    }
}

std::vector<uint8_t> Uad8StartCommand()
{
    return {kStx, 'k', '/', kEtx};
}

std::vector<uint8_t> Uad8Request(int channel)
{
    return {kStx, uint8_t('0' + channel), kEtx};
}

std::optional<double> Uad8ParseAnswer(const std::string& answer)
{
    if (answer.size() != 6 || uint8_t(answer[0]) != kStx || uint8_t(answer[5]) != kEtx)
        return std::nullopt;
    int millivolts = 0;
    for (size_t i = 1; i < 5; ++i) {
        if (answer[i] < '0' || answer[i] > '9')
            return std::nullopt;
        millivolts = millivolts * 10 + (answer[i] - '0');
    }
    return millivolts / 1000.0;
}

int32_t Ltc2400Code(uint32_t bits)
{
    const int64_t magnitude = bits & 0x0FFFFFFFu;
    const bool sign = bits & (1u << 29);
    const bool extended = bits & (1u << 28);
    if (!sign)
        return int32_t(magnitude - 268435456);
    return extended ? int32_t(magnitude + 268435455) : int32_t(magnitude);
}
