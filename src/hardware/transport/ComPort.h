#pragma once
// The serial-port object through which every device on a COM port (and the serial protocol
// drivers) talk to the port: the line settings, reads and writes, the queues, the modem lines,
// and the events of the port, which arrive in the GUI thread.
//
// A port that cannot be opened stays closed without an exception; Connected() and LastError()
// tell the caller why. Reads and writes on a closed port do nothing. When the other end goes
// away during a run (a USB adapter pulled, the peer of a pseudo terminal closed), the port
// closes itself, tells the user once, and reads and writes become idle.

#include "platform/SerialLine.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

class QSocketNotifier;

// "message (Error: code) ", as the driver's failures read.
class ECommError : public std::runtime_error {
public:
    ECommError(const QString& message, int32_t code);
    QString Message;
    int32_t ErrorCode;
};

// The rates a COM port offers, in the order of the stored enumeration values.
enum class TBaudRate : uint8_t {
    Baud110, Baud300, Baud600, Baud1200, Baud2400, Baud4800, Baud9600, Baud14400, Baud19200,
    Baud38400, Baud56000, Baud57600, Baud115200, Baud128000, Baud256000
};
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };
enum class TDataBits : uint8_t { _4, _5, _6, _7, _8 };
enum class TFlowControl : uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };

// Event bits of the port (the values of the stored event mask).
enum : uint32_t {
    evRxChar = 0x01, evRxFlag = 0x02, evTxEmpty = 0x04, evCts = 0x08, evDsr = 0x10,
    evRlsd = 0x20, evBreak = 0x40, evError = 0x80, evRing = 0x100, evAll = 0x1FF,
};
// Which modem signal GetModemSignal asks for.
enum : int32_t { msCts = 1, msDsr = 2, msRing = 3, msRlsd = 4 };

int32_t BaudValue(TBaudRate rate);
// "NoPort" for 0, else "COM" and the number (n and 0x7F).
QString ComPortName(int32_t n);

class TCate;

// The five special characters of the line; setting one re-applies the line settings.
class TCommEventChars {
public:
    explicit TCommEventChars(TCate* owner) : m_owner(owner) {}
    uint8_t XonChar() const { return m_chars[0]; }
    uint8_t XoffChar() const { return m_chars[1]; }
    uint8_t ErrorChar() const { return m_chars[2]; }
    uint8_t EofChar() const { return m_chars[3]; }
    uint8_t EvtChar() const { return m_chars[4]; }
    void SetXonChar(uint8_t c) { Set(0, c); }
    void SetXoffChar(uint8_t c) { Set(1, c); }
    void SetErrorChar(uint8_t c) { Set(2, c); }
    void SetEofChar(uint8_t c) { Set(3, c); }
    void SetEvtChar(uint8_t c) { Set(4, c); }
    void Assign(const TCommEventChars& other);

private:
    void Set(int i, uint8_t c);
    TCate* m_owner;
    uint8_t m_chars[5] = {17, 19, 0, 0, 0};
};

class TCate : public QObject {
    Q_OBJECT
public:
    TCate();
    ~TCate() override;

    // --- Settings (stored by devices as enumeration values) ---
    int32_t Port() const { return m_port; }
    // Purges, closes, stores, and opens the new number (0 leaves it closed).
    void SetPort(int32_t n);
    TBaudRate BaudRate() const { return m_baud; }
    TParity Parity() const { return m_parity; }
    TStopBits Stopbits() const { return m_stopbits; }
    TDataBits Databits() const { return m_databits; }
    // Each stores, then applies the line settings when open; a setting the open line refuses
    // raises ECommError and is not kept.
    void SetBaudRate(TBaudRate v);
    void SetParity(TParity v);
    void SetStopbits(TStopBits v);
    void SetDatabits(TDataBits v);
    int32_t ReadBufferSize() const { return m_readBufferSize; }
    int32_t WriteBufferSize() const { return m_writeBufferSize; }
    uint32_t Events() const { return m_events; }
    // Changing these while open raises "Port already assigned (open)".
    void SetReadBufferSize(int32_t n);
    void SetWriteBufferSize(int32_t n);
    void SetEvents(uint32_t mask);
    int32_t ReadTimeout = 1000;
    int32_t WriteTimeout = 1000;
    TFlowControl FlowControl = TFlowControl::fcDefault; // kept, not applied
    uint8_t Options = 0;                                // kept, not applied
    TCommEventChars& EventChars() { return m_eventChars; }
    // Line-control bits applied with the line settings: DTR on and RTS off for devices powered
    // from DTR; RTS on and DTR off for devices powered from RTS (wins when both are set).
    bool Multimeter = true;
    bool BisteGDM = false;

    // --- Events, run in the GUI thread ---
    std::function<void()> OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty, OnReceive;
    std::function<void(uint32_t errors)> OnErr;
    std::function<void(int32_t waiting)> OnRxChar;
    // Dispatches an event mask to the handlers.
    void HandleEvents(uint32_t mask);

    // --- I/O ---
    void Open();
    void Close();
    bool Connected() const;
    // Why the last opening failed, or why the port closed itself (0: no failure).
    int32_t LastError() const { return m_lastError; }
    // The bytes written (fewer after a time-out); 0 when closed.
    int32_t Write(const void* data, int32_t count);
    // The bytes that had arrived, up to count; 0 when closed or nothing waits.
    int32_t Read(void* data, int32_t count);
    int32_t InQueCount();
    int32_t OutQueCount();
    void PurgeIn();
    void PurgeOut();
    bool GetModemSignal(int32_t which);
    // Raises ECommError on a closed port and when the line refuses.
    void EscapeFunction(TModemLine line, bool on);
    void EscapeBreak(bool on);
    // Nothing on a closed port; a line the port does not have is left as it is.
    void SetDTR(bool on);
    void SetRTS(bool on);
    void SetBreak(bool on);
    void ApplyDCB();
    TSerialFrame Frame() const;

    // The device that went away is reported to the user by this (installed by the program;
    // the default shows a message box after the current step).
    static std::function<void(const QString& text)>& LostReporter();

private:
    template <class T>
    void SetLineSetting(T& field, T value);
    void CheckClosed() const;
    void ConnectionLost(int32_t code);
    void UpdateNotifier();
    void OnReadable();

    std::unique_ptr<ISerialLine> m_line;
    std::unique_ptr<QSocketNotifier> m_notifier;
    TCommEventChars m_eventChars{this};
    int32_t m_port = 0;
    int32_t m_lastError = 0;
    int32_t m_readBufferSize = 4096;
    int32_t m_writeBufferSize = 2048;
    uint32_t m_events = evAll;
    TBaudRate m_baud = TBaudRate::Baud9600;
    TParity m_parity = TParity::None;
    TStopBits m_stopbits = TStopBits::_1;
    TDataBits m_databits = TDataBits::_8;
    // After an event no handler consumed, the notifier waits for the next read.
    bool m_waitForRead = false;
};

// The line settings of the dialogs: item lists whose index is the enumeration value.
const QStringList& BaudList();
const QStringList& ParityList();
const QStringList& DatabitsList();
const QStringList& StopbitsList();
