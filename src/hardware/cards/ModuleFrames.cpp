#include "hardware/cards/ModuleFrames.h"

namespace modframe {

namespace {

constexpr uint8_t kControlValues[3] = {kSoh, kEot, kEscape};

// The module's code for control value i (0x01, 0x04, 0x10 in that order).
uint8_t EscapeCode(TModule module, int i)
{
    return module == TModule::PcIo16 ? uint8_t(kControlValues[i] | 0x80)
                                     : uint8_t(kControlValues[i] + 0x10);
}

void PutEscaped(TModule module, std::vector<uint8_t>& frame, uint8_t value)
{
    for (int i = 0; i < 3; ++i) {
        if (value == kControlValues[i]) {
            frame.push_back(kEscape);
            frame.push_back(EscapeCode(module, i));
            return;
        }
    }
    frame.push_back(value);
}

} // namespace

int DataBytes(TModule module)
{
    return module == TModule::PcIo16 ? 2 : 1;
}

std::vector<uint8_t> SetFrame(TModule module, uint16_t word)
{
    const uint8_t letter = module == TModule::PcIo16 ? 'C' : 'A';
    std::vector<uint8_t> frame{kSoh, letter};
    uint8_t check = kSoh ^ letter;
    for (int i = 0; i < DataBytes(module); ++i) {
        const auto b = uint8_t(word >> (8 * i));
        check ^= b;
        PutEscaped(module, frame, b);
    }
    PutEscaped(module, frame, check);
    frame.push_back(kEot);
    return frame;
}

std::vector<uint8_t> RequestFrame(TModule module)
{
    if (module == TModule::PcIo16)
        return {kSoh, 'F', 'G', kEot};
    return {kSoh, 'D', 'E', kEot};
}

std::vector<uint8_t> StartFrame()
{
    return {kSoh, 'S', 'R', kEot};
}

std::optional<uint16_t> DecodeAnswer(TModule module, const std::vector<uint8_t>& answer)
{
    if (answer.size() < 3 || answer.front() != kSoh || answer.back() != kEot)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 1; i + 1 < answer.size(); ++i) {
        if (answer[i] != kEscape) {
            bytes.push_back(answer[i]);
            continue;
        }
        if (i + 2 >= answer.size())
            return std::nullopt; // an escape without its code
        const uint8_t code = answer[++i];
        int value = -1;
        for (int k = 0; k < 3; ++k)
            if (code == EscapeCode(module, k))
                value = kControlValues[k];
        if (value < 0)
            return std::nullopt;
        bytes.push_back(uint8_t(value));
    }
    // The data bytes and the check byte.
    if (int(bytes.size()) != DataBytes(module) + 1)
        return std::nullopt;
    return module == TModule::PcIo16 ? uint16_t(bytes[0] | (bytes[1] << 8)) : uint16_t(bytes[0]);
}

} // namespace modframe
