#pragma once
// Frames whose digits are nibble-coded but whose unit comes from annunciator bits (VC 830 and
// VC 850) or from a function character with an alternate-function bit and a second display
// (VC 870). The USB cables deliver the same frames.

#include "hardware/meters/frames/MeterText.h"

// VC 830 / VC 850, at least 12 bytes. Channel 1 the reading, channel 2 overrange (5.0).
std::optional<TMeterReading> DecodeVC850(std::string_view frame);

// VC 870, at least 23 bytes. Channel 1 the main display, channel 2 the second display (0 when
// it is off), channel 3 overrange (5.0). A frame is read only when its function, range and
// second-display flag equal those of the frame before, so that a switch of the meter's dial
// shows no half-changed frame.
class TVC870Frames {
public:
    std::optional<TMeterReading> Decode(std::string_view frame);

private:
    int m_function = 0;
    int m_range = 0;
    int m_second = 0;
};
