#pragma once
// The base of the instruments that talk through the shared object of their COM number with
// line settings of their own: the settings are put on the object whenever it is prepared, the
// modem lines are set once the port is open at run start, and the stored record is the
// interface record followed by the COM number as one byte.

#include "hardware/instruments/InstrumentProtocol.h"
#include "hardware/transport/SerialInterface.h"

#include <optional>

struct TInstrumentLine {
    TBaudRate Baud = TBaudRate::Baud9600;
    TStopBits Stopbits = TStopBits::_1;
    bool Dtr = false;
    std::optional<bool> Rts; // left as it is when not given
};

class TSerialInstrument : public TSerialInterface {
public:
    TV_CLASS_NAME(TSerialInstrument)

    void PreparePort() override;
    void SimStart() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

protected:
    // Called by the device constructor before its first PropagateAddress.
    void SetLine(const TInstrumentLine& line) { m_line = line; }

private:
    TInstrumentLine m_line;
};

// Helpers of the instrument ports: whether the shared port is open, writing a text, and taking
// the waiting bytes (at most maxBytes) into a line splitter.
bool PortOpen(const TSerialPort& port);
void WriteText(TSerialPort& port, const std::string& text);
void ReadInto(TSerialPort& port, TLineSplitter& lines, int32_t maxBytes = 1000);
// The value of a text an instrument sent, read the tolerant way of pin texts (blanks and units
// around it, "," as the point, "$" hexadecimal, TRUE and FALSE); nothing for a text that holds
// no value at all, which then changes no pin.
std::optional<Extended> TextValue(const QString& text);
