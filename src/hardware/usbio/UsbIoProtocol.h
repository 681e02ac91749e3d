#pragma once
// The byte-level rules of the hobbyist and school I/O devices, as pure functions: the command
// bytes and frames of the fischertechnik Intelligent Interface, the USB I/O 24 module and the
// Velleman K8056 relay card, and the level conversions of the ROBO Interface's PWM outputs.

#include "platform/Types.h"

#include <array>
#include <cstdint>

namespace usbio {

// --- fischertechnik Intelligent Interface --------------------------------------------------------

// The command byte of the interface alone alternates 0xC9, 0xC5, ... (starting from 0xC5); with
// the extension 0xCA, 0xC6, ... (starting from 0xC6). The box measures EY for 0xC5/0xCA, EX for
// the other byte.
constexpr uint8_t kFtCommandAlone = 0xC5;
constexpr uint8_t kFtCommandExtension = 0xC6;
uint8_t FtNextCommand(uint8_t current);
bool FtCommandMeasuresEY(uint8_t command);
// The analog word of an answer: high byte, low byte.
constexpr uint16_t FtAnalogWord(uint8_t high, uint8_t low) { return uint16_t(high << 8 | low); }

// --- USB I/O 24 ----------------------------------------------------------------------------------

// "!", the port letter, 0xFF for an input port or 0x00 for an output port.
std::array<uint8_t, 3> Io24DirectionFrame(char letter, bool input);
// The port letter and the value.
std::array<uint8_t, 2> Io24WriteFrame(char letter, uint8_t value);
// The lower-case port letter; the module answers with one byte.
uint8_t Io24ReadRequest(char letter);

// --- Velleman K8056 ------------------------------------------------------------------------------

// Card numbers 0 and below become 1, 256 and above 255.
int32_t K8056CardNumber(int32_t requested);
// Relay 1 is bit 7 of the status byte ... relay 8 bit 0: the pin bits reversed.
uint8_t K8056Status(uint16_t pinWord);
// 0x0D, card, "B" (set all relays), status, two's complement of the sum of the first four.
std::array<uint8_t, 5> K8056Frame(uint8_t card, uint8_t status);

// --- ROBO Interface ------------------------------------------------------------------------------

// A PWM pin value (0..100 %, clamped) as the output level 0..7, halves to even.
uint8_t RoboPwmLevel(Extended percent);

} // namespace usbio
