#pragma once
// The framed protocol of the ELV serial I/O modules PC-IO 16 and CSI 7002: a frame is SOH
// (0x01), a command letter, data bytes and a check byte, then EOT (0x04). In data and check
// bytes the three control values 0x01, 0x04 and 0x10 are sent as 0x10 and a code of the module;
// the check byte is the exclusive or of SOH, the letter and the data before escaping. Every
// command is acknowledged by the module with an EOT.

#include <cstdint>
#include <optional>
#include <vector>

namespace modframe {

constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kEot = 0x04;
constexpr uint8_t kEscape = 0x10;
// The longest answer kept: SOH, two escaped data bytes, an escaped check byte, EOT.
constexpr size_t kMaxAnswer = 10;

enum class TModule : uint8_t { PcIo16, Csi7002 };

// How many data bytes a set frame carries and an answer returns: 2 (PC-IO 16) or 1.
int DataBytes(TModule module);
// The frame that sets the outputs to word (the low byte first).
std::vector<uint8_t> SetFrame(TModule module, uint16_t word);
// The frame that asks for the inputs.
std::vector<uint8_t> RequestFrame(TModule module);
// The frame that starts a PC-IO 16 after the port opened.
std::vector<uint8_t> StartFrame();
// The input word of a complete answer (SOH .. EOT as received); nothing for an answer that is
// not a frame of the module: no SOH, no EOT, an unknown escape code, or the wrong number of
// bytes. The check byte is not examined.
std::optional<uint16_t> DecodeAnswer(TModule module, const std::vector<uint8_t>& answer);

} // namespace modframe
