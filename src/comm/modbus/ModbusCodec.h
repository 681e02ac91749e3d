#pragma once
// Modbus requests and answers: the protocol data unit shared by Modbus/TCP and Modbus RTU, the
// TCP header and the RTU frame with its CRC. Answers are checked byte by byte before anything
// of them is used.

#include "platform/Types.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace modbus {

// Status codes of the "ERR" pin.
constexpr int32_t kOk = 0;
constexpr int32_t kTimeout = 5;        // no answer in time, or the connection broke
constexpr int32_t kException = 256;    // plus the exception code of the answer
constexpr int32_t kNoAnswer = 512;     // nothing received, or an answer that is not usable
constexpr int32_t kNotConnected = 768;

// The functions the devices perform.
bool IsSupportedFunction(uint8_t function);
bool IsReadFunction(uint8_t function); // 1 to 4
bool IsBitFunction(uint8_t function);  // coils and discrete inputs
// "01 Read Coils" .. "16 Write Multiple Registers"; "Unsupported function n" otherwise.
QString FunctionText(uint8_t function);

// The register value a pin value sends: rounded to the nearest (halves to even), within 0..65535.
uint16_t RegisterValue(Extended value);

// The request PDU (function code first). startAddress counts from 1 (1..65536, sent as
// startAddress - 1); values are the data pins of a write function.
std::vector<uint8_t> RequestPdu(uint8_t function, int32_t startAddress, int32_t count,
                                const std::vector<Extended>& values);

// What an answer PDU said.
struct TAnswer {
    int32_t Status = kNoAnswer; // kOk, kException + code or kNoAnswer
    std::vector<Extended> Values; // read functions: one value per channel
    QString Message;            // why the answer was refused, in the current language
};

// Checks an answer PDU against the request it answers (function, start address and count) and
// decodes it.
TAnswer DecodeAnswerPdu(uint8_t function, int32_t startAddress, int32_t count,
                        const uint8_t* pdu, size_t size);

// --- Modbus/TCP ----------------------------------------------------------------------------------

constexpr size_t kTcpHeaderSize = 7; // transaction, protocol, length, unit
constexpr size_t kTcpMaxAdu = 260;

std::vector<uint8_t> TcpRequest(uint16_t transaction, uint8_t unit,
                                const std::vector<uint8_t>& pdu);

// How far the bytes received for a TCP request make an answer: std::nullopt while more bytes
// are needed, otherwise the size of the complete answer (0 when the header is impossible:
// the answer can then never be read).
std::optional<size_t> TcpAnswerSize(const uint8_t* data, size_t size);

// What the bytes received for a request hold at their front.
enum class TTcpTake { Incomplete, Answer, Unreadable };
// Drops from the front of received every whole answer to another transaction (a late answer to
// an earlier request) and tells whether the answer to this one is there (*size: its size), is
// still incomplete, or whether the bytes are no answer at all (a header no answer has).
TTcpTake TakeTcpAnswer(std::vector<uint8_t>& received, uint16_t transaction, size_t* size);

// Checks the header of a complete answer (transaction, protocol, unit) and decodes its PDU.
TAnswer DecodeTcpAnswer(uint16_t transaction, uint8_t unit, uint8_t function,
                        int32_t startAddress, int32_t count, const uint8_t* data, size_t size);

// --- Modbus RTU ----------------------------------------------------------------------------------

constexpr size_t kRtuMaxFrame = 256;

uint16_t Crc16(const uint8_t* data, size_t size);
// Unit, PDU, CRC low byte, CRC high byte.
std::vector<uint8_t> RtuRequest(uint8_t unit, const std::vector<uint8_t>& pdu);
// The size a frame that starts with these bytes has, std::nullopt while unknown (the first
// three bytes decide it).
std::optional<size_t> RtuAnswerSize(const uint8_t* data, size_t size);
// Checks CRC, unit and size of a received frame and decodes its PDU.
TAnswer DecodeRtuAnswer(uint8_t unit, uint8_t function, int32_t startAddress, int32_t count,
                        const uint8_t* data, size_t size);

} // namespace modbus
