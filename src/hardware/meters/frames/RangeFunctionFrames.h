#pragma once
// Frames with a range byte, four nibble-coded digits, a function byte and a status byte with
// sign and overload bits: UNI-T UT803 (serial and USB), UT70B and UT70D.
// Channel 1 is the reading, channel 2 the overrange flag (5.0 on overload). A frame that is
// short, out of step or has a digit above 9 (other than the overload mark) gives no reading.

#include "hardware/meters/frames/MeterText.h"

std::optional<TMeterReading> DecodeUT803(std::string_view frame); // at least 9 bytes
std::optional<TMeterReading> DecodeUT70B(std::string_view frame); // at least 12 bytes
std::optional<TMeterReading> DecodeUT70D(std::string_view frame); // at least 12 bytes

// The UT70D answers this request with one frame.
inline constexpr char UT70DRequest = static_cast<char>(0x89);
