#pragma once
// The M-3890D USB meter: three displays in two 9-byte HID reports (report ID first), digits as
// nibbles, sign and decimal-point bits per display, one unit byte for all three.

#include "hardware/meters/frames/MeterText.h"

// Channels 1 to 3 the displays, channel 4 overrange (5.0 when display 1 shows the overflow
// nibble 15). Fewer than 18 bytes, or a digit 10 to 14 in display 1, give no reading.
std::optional<TMeterReading> DecodeMetexHid(std::string_view frame);

// The last byte of the report that ends a frame.
inline constexpr unsigned char MetexHidFrameEnd = 0xFA;
