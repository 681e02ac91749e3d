#pragma once
// Frames of the VC 920, VC 940 and VC 960: five nibble-coded display digits, then range,
// function and status bytes. The same frame comes over the serial cable and, without the
// cable's leading byte, over the USB cable.

#include "hardware/meters/frames/MeterText.h"

// Channel 1 is the reading. Frames shorter than 9 bytes, with a byte out of step or a digit
// above 9 (other than the overload mark) give no reading.
std::optional<TMeterReading> DecodeVC9x0(std::string_view frame);
