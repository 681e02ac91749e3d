#pragma once
// Pin helpers of the communication devices.

#include "hardware/framework/IoPort.h"

// A falling edge of a clock pin (stored level high, now low); the stored level follows the pin.
inline bool FallingEdge(const TPin* pin, bool& lastHigh)
{
    if (!pin)
        return false;
    const bool high = GetPinDigital(*pin);
    const bool edge = lastHigh && !high;
    lastHigh = high;
    return edge;
}
