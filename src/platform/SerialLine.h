#pragma once
// One serial line of this machine: a tty device opened for exclusive use, in raw mode, with
// non-blocking reads and time-bounded writes. The serial driver of the hardware layer talks to
// the line only through ISerialLine, so that tests can put a fake behind it (for the modem
// lines, which a pseudo terminal does not have).
//
// Result codes: 0 for success, an errno value of the failing call, or one of the codes below.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

inline constexpr int32_t kSerialNotOpen = 9970;       // the line is closed
inline constexpr int32_t kSerialDataBitsRefused = 9971; // no tty has 4 data bits
inline constexpr int32_t kSerialBaudRefused = 9972;   // the driver set a different rate
inline constexpr int32_t kSerialHungUp = 9973;        // the other end went away

// Line settings: baud rate in bits per second, data bits 4..8, parity 0 none, 1 odd, 2 even,
// 3 mark, 4 space, stop bits 0 one, 1 one and a half, 2 two.
struct TSerialFrame {
    int32_t Baud = 9600;
    int32_t DataBits = 8;
    int32_t Parity = 0;
    int32_t StopBits = 0;
};

// Modem status bits as the serial driver reports them.
enum : uint32_t {
    kModemCts = 0x10,
    kModemDsr = 0x20,
    kModemRing = 0x40,
    kModemRlsd = 0x80,
};

enum class TModemLine { Dtr, Rts };

class ISerialLine {
public:
    virtual ~ISerialLine() = default;

    // Opens the device node for reading and writing; a second open of a node that is open
    // (in this or another program) fails with EWOULDBLOCK.
    virtual int32_t Open(const QString& node) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // The file descriptor for event notifiers; -1 when closed or when the line has none.
    virtual int Descriptor() const = 0;

    virtual int32_t ApplyFrame(const TSerialFrame& frame) = 0;
    // Writes count bytes, waiting at most timeoutMs for the line to take them. Returns the
    // number written; on a time-out the rest is dropped from the output queue. Negative on
    // failure (minus the result code).
    virtual int64_t Write(const uint8_t* data, int64_t count, int32_t timeoutMs) = 0;
    // Takes up to count bytes that have arrived, without waiting. Negative on failure (minus the
    // result code; kSerialHungUp when the other end is gone).
    virtual int64_t Read(uint8_t* data, int64_t count) = 0;
    // Bytes waiting in the receive queue; -1 when unknown, -kSerialHungUp when the other end
    // is gone.
    virtual int32_t InQueue() = 0;
    // Bytes waiting in the transmit queue; -1 when unknown.
    virtual int32_t OutQueue() = 0;
    virtual void Purge(bool input, bool output) = 0;

    virtual int32_t SetModemLine(TModemLine line, bool on) = 0;
    virtual int32_t SetBreak(bool on) = 0;
    // The kModem* bits of the lines that are high.
    virtual int32_t GetModemStatus(uint32_t& status) = 0;
};

// The termios line of this machine.
class TTermiosSerialLine : public ISerialLine {
public:
    ~TTermiosSerialLine() override;
    int32_t Open(const QString& node) override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    int Descriptor() const override { return m_fd; }
    int32_t ApplyFrame(const TSerialFrame& frame) override;
    int64_t Write(const uint8_t* data, int64_t count, int32_t timeoutMs) override;
    int64_t Read(uint8_t* data, int64_t count) override;
    int32_t InQueue() override;
    int32_t OutQueue() override;
    void Purge(bool input, bool output) override;
    int32_t SetModemLine(TModemLine line, bool on) override;
    int32_t SetBreak(bool on) override;
    int32_t GetModemStatus(uint32_t& status) override;

private:
    int m_fd = -1;
};

// The termios control bits of a frame: rate code (BOTHER for a rate without one), size,
// parity (mark and space through CMSPAR) and stop bits (two for one and a half: a UART sends
// 1.5 for 5 data bits when asked for two).
uint32_t FrameControlBits(const TSerialFrame& frame);

// A new line of the kind in use (termios unless a test installed another maker).
std::unique_ptr<ISerialLine> MakeSerialLine();
using TSerialLineMaker = std::function<std::unique_ptr<ISerialLine>()>;
// Installs a maker; an empty one restores the termios line.
void SetSerialLineMaker(TSerialLineMaker maker);

// The device node of COM n: the entry "COMn" of section "Ports" in "Settings\COMPORTS.INI"
// when present (USB adapters by name, e.g. /dev/serial/by-id/...), else /dev/ttyS(n-1).
QString ComDeviceNode(int32_t n);

// The text of a result code in the current language.
QString SerialErrorText(int32_t code);
