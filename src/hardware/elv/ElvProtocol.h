#pragma once
// The wire formats of the ELV boards: the IO88 frames (STX, command, data, ETX, with 02, 03 and
// 05 escaped as 05 and the value plus 0x10), the UAD 8 channel request and its answer in
// millivolts, and the result word of the LTC2400 converter on the 24-bit A/D module.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;

// STX "o" byte ETX, the byte escaped when it is 02, 03 or 05.
std::vector<uint8_t> Io88OutputFrame(uint8_t outputs);
// STX "I" ETX.
std::vector<uint8_t> Io88InputRequest();
// The input byte of a complete answer (STX "I" byte ETX, the byte escaped as above); nothing
// for a frame of the wrong shape or length. An escape followed by an unknown value gives 0.
std::optional<uint8_t> Io88ParseAnswer(const std::string& frame);

// STX "k" "/" ETX: switches the UAD 8 to request mode at run start.
std::vector<uint8_t> Uad8StartCommand();
// STX, the digit of channel 1..8, ETX.
std::vector<uint8_t> Uad8Request(int channel);
// The volts of a complete answer (STX, four decimal digits in millivolts, ETX); nothing for
// any other six characters.
std::optional<double> Uad8ParseAnswer(const std::string& answer);

// The signed code of an LTC2400 result, from its 32 bits as shifted out (first bit in bit 31):
// the sign bit (third bit) clear gives a negative code, the extended-range bit (fourth bit)
// with the sign set an overrange code from 2^28 - 1 upwards; the last 28 bits are the
// magnitude. Full scale is 2^28 - 1.
int32_t Ltc2400Code(uint32_t bits);
inline constexpr double kLtc2400FullScale = 268435455.0;
