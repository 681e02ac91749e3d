#pragma once
// The wire rules of the laboratory instruments on a COM port: answer lines cut from a byte
// stream, numbers in their texts, the command texts of the power supplies and the fixed-width
// display line of the frequency readout. Pure functions, bytes and texts in, values out.

#include "platform/Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Collects received bytes and hands out the lines ended by a terminator byte. CR and LF are
// taken out of every line, so a CR LF pair ends one line whichever of the two terminates it.
// A line is cut to maxLine characters; when more than maxPending bytes wait without a
// terminator, they are garbage and are dropped.
class TLineSplitter {
public:
    explicit TLineSplitter(char terminator, size_t maxLine = 50, size_t maxPending = 1000)
        : m_terminator(terminator), m_maxLine(maxLine), m_maxPending(maxPending)
    {
    }
    void Append(const char* data, size_t count);
    std::optional<std::string> TakeLine();
    void Clear() { m_pending.clear(); }
    size_t Pending() const { return m_pending.size(); }

private:
    char m_terminator;
    size_t m_maxLine;
    size_t m_maxPending;
    std::string m_pending;
};

// A decimal number with "." or "," as the decimal point and blanks around it; nothing for any
// other text.
std::optional<double> InstrumentNumber(std::string_view text);
// A whole decimal number with blanks around it; nothing for any other text.
std::optional<int64_t> InstrumentInteger(std::string_view text);

// --- MOTECH LPS-300 ------------------------------------------------------------------------------

// A set value as the supply reads it: fixed point, at most three decimals, "." as the point,
// trailing zeros dropped ("12.5", "3", "0.125"); empty for a value that is not finite or
// far beyond any supply (1e12 and more).
std::string LpsNumberText(double value);
// "TRACK1", "TRACK2", or "TRACK0" for 0 and 3 (the tracking code TR1 + 2 x TR2).
std::string LpsTrackCommand(int32_t code);
// "VDD3", "VDD5", or "VDD0" for 0 and 3 (the digital code VD3 + 2 x VD5).
std::string LpsDigitalCommand(int32_t code);

// The status word of the supply, bit by bit.
struct TLpsStatus {
    bool CC1, CC2, TR1, TR2, VDE, VD3, OE, DOL, FAN, BPE, CCC;
};
TLpsStatus DecodeLpsStatus(int64_t word);

// --- Voltcraft MXG-9810A -------------------------------------------------------------------------

inline constexpr size_t kMxgLineLength = 23;

struct TMxgReading {
    double Frequency = 0; // in Hz
    double GateTime = 0;
    bool ChannelA = false;
    bool Hold = false;
    bool Attenuator = false;
};
// A display line of exactly 23 characters in frequency mode; nothing for another mode or a
// line whose frequency or gate time is no number.
std::optional<TMxgReading> DecodeMxgLine(std::string_view line);

// --- Voltcraft DIGI 35 CPU -----------------------------------------------------------------------

// letter + the value limited to 0..max, times scale rounded half to even, at least three digits,
// then CR LF ("V050\r\n"); empty for a value that is not finite.
std::string Digi35Command(char letter, double value, double max, double scale);
