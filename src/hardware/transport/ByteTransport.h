#pragma once
// A byte stream to a serial line as the Modbus RTU devices use it. The serial-port driver hands
// out one per COM number (shared by every device on that port); tests feed their own.

#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class IByteTransport {
public:
    virtual ~IByteTransport() = default;
    virtual bool Connected() = 0;
    // Bytes written, -1 on a time-out or a closed port.
    virtual int32_t Write(const uint8_t* data, int32_t count) = 0;
    // Bytes waiting to be read, -1 when closed.
    virtual int32_t InQueCount() = 0;
    // Bytes read (at most count), 0 when closed or nothing waits.
    virtual int32_t Read(uint8_t* data, int32_t count) = 0;
    virtual void PurgeIn() = 0;
    // The line speed in bits per second.
    virtual int32_t BaudValue() = 0;
};

// Line settings as indexes into the lists below.
struct TSerialLineSettings {
    int32_t Baud = 6;     // 9600
    int32_t Parity = 0;   // none
    int32_t DataBits = 4; // 8
    int32_t StopBits = 0; // 1
};

const QStringList& SerialBaudList();   // "110" .. "256000"
QStringList SerialParityList();        // in the current language
const QStringList& SerialDataBitsList(); // "4" .. "8"
const QStringList& SerialStopBitsList(); // "1", "1,5", "2"
int32_t SerialBaudValue(int32_t index);

// Opens (or shares) the port of a COM number (1..99) with the line settings; nullptr when that
// fails. Installed by the serial-port driver; empty until then.
using TSerialTransportOpener =
    std::function<std::shared_ptr<IByteTransport>(int32_t com, const TSerialLineSettings& line)>;
TSerialTransportOpener& SerialTransportOpener();
