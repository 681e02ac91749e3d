// What a Modbus slave answers: the first bytes choose the request (function, start address,
// count, transaction, unit), the rest arrives as the answer, once over TCP (with late answers
// to other transactions in front) and once as an RTU frame.

#include "comm/modbus/ModbusCodec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kHead = 8;
    if (size < kHead)
        return 0;
    static const uint8_t kFunctions[] = {1, 2, 3, 4, 5, 6, 15, 16};
    const uint8_t function = kFunctions[data[0] % sizeof(kFunctions)];
    const int32_t start = 1 + int32_t(uint16_t(data[1] | data[2] << 8));
    const int32_t count = 1 + data[3] % 125;
    const uint16_t transaction = uint16_t(data[4] | data[5] << 8);
    const uint8_t unit = data[6];
    const size_t split = data[7];
    const uint8_t* answer = data + kHead;
    const size_t answerSize = size - kHead;

    // TCP: the bytes arrive in two pieces, as they may from a socket.
    std::vector<uint8_t> received(answer, answer + std::min(split, answerSize));
    for (int piece = 0; piece < 2; ++piece) {
        size_t take = 0;
        const modbus::TTcpTake state = modbus::TakeTcpAnswer(received, transaction, &take);
        if (state == modbus::TTcpTake::Answer && take <= received.size()) {
            (void)modbus::DecodeTcpAnswer(transaction, unit, function, start, count, received.data(), take);
            break;
        }
        if (state == modbus::TTcpTake::Unreadable)
            break;
        received.insert(received.end(), answer + std::min(split, answerSize), answer + answerSize);
    }
    (void)modbus::TcpAnswerSize(answer, answerSize);

    // RTU: the frame is read up to the size its first bytes announce.
    if (const std::optional<size_t> frame = modbus::RtuAnswerSize(answer, answerSize))
        if (*frame <= answerSize)
            (void)modbus::DecodeRtuAnswer(unit, function, start, count, answer, *frame);
    (void)modbus::DecodeAnswerPdu(function, start, count, answer, answerSize);
    return 0;
}
