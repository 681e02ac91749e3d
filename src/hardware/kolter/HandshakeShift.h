#pragma once
// The Kolter modules' shift registers on the handshake lines of a COM port: a word goes out as
// data bits on DTR, each followed by a clock, framed by RTS; a word comes in on CTS after a
// load pulse on DTR, clocked the same way. The clock is a break pulse on TXD (a real COM port)
// or one 0x00 byte sent (the USB modules, whose virtual COM port has no break timing). The
// waits between the line changes are the port's Wait, so the circuit keeps stepping.

#include "hardware/transport/ComPort.h"

#include <cstdint>
#include <memory>

class TIOPort;

// The lines, on the module's own serial line or on a shared serial-port object. Without a
// line every change is dropped and CTS reads clear.
class THandshakeLines {
public:
    explicit THandshakeLines(std::shared_ptr<ISerialLine> line) : m_line(std::move(line)) {}
    explicit THandshakeLines(TCate* cate) : m_cate(cate) {}

    void SetDtr(bool on);
    void SetRts(bool on);
    void SetBreak(bool on);
    void SendZeroByte();
    bool Cts();

private:
    std::shared_ptr<ISerialLine> m_line;
    TCate* m_cate = nullptr;
};

struct TShiftClock {
    bool ZeroByte = false; // one 0x00 byte instead of a break pulse
    double Ms = 0;         // the break's length, or the wait after the byte
};

struct TShiftOutTiming {
    double LeadMs = 0;  // after RTS on
    double DataMs = 0;  // after each data bit
    TShiftClock Clock;
    double TrailMs = 0; // after RTS off
};

struct TShiftInTiming {
    bool ClearRts = false; // RTS off before the load pulse
    double LoadMs = 0;     // length of the load pulse
    TShiftClock Clock;
    double BitMs = 0;      // after each clock
    bool Inverted = false; // CTS clear is a 1 (the USB A/D module)
};

void ShiftClock(THandshakeLines& lines, TIOPort& waiter, const TShiftClock& clock);
// Bits 0 .. count-1 of word, least significant first.
void ShiftOut(THandshakeLines& lines, TIOPort& waiter, uint32_t word, int count,
              const TShiftOutTiming& timing);
// count bits, the first read into bit 0.
uint32_t ShiftIn(THandshakeLines& lines, TIOPort& waiter, int count, const TShiftInTiming& timing);
// The USB modules' line reset: all low, then eight RTS pulses (real sleeps, at run start).
void InitUsbLines(THandshakeLines& lines);
