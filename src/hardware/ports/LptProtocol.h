#pragma once
// The PC parallel port's three registers as bits: the data register at the base address, the
// status register at base + 1 and the control register at base + 2. Levels are those at the
// connector: the hardware inverts AUTOFEED and SELECT IN (control) and BUSY (status), and these
// functions undo it.

#include <cstdint>

namespace lpt {

constexpr uint16_t kDataOffset = 0;
constexpr uint16_t kStatusOffset = 1;
constexpr uint16_t kControlOffset = 2;
// The registers a device on the port uses: base .. base + kRegisterSpan - 1.
constexpr uint16_t kRegisterSpan = 4;

// The control lines a circuit drives, at the connector.
struct TControlLines {
    bool AutoFeed = false; // pin 14
    bool Init = false;     // pin 16
    bool SelectIn = false; // pin 17
};

// The control register to write: the upper four bits of the register as read are kept (the
// interrupt and direction bits), the strobe bit is left low.
uint8_t ControlRegister(uint8_t current, const TControlLines& lines);

// The status lines at the connector.
struct TStatusLines {
    bool Error = false;    // pin 15
    bool Select = false;   // pin 13
    bool PaperEnd = false; // pin 12
    bool Ack = false;      // pin 10
    bool Busy = false;     // pin 11
};

TStatusLines StatusLines(uint8_t status);

} // namespace lpt
