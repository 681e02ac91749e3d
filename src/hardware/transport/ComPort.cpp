#include "hardware/transport/ComPort.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>

ECommError::ECommError(const QString& message, int32_t code)
    : std::runtime_error((message + QStringLiteral(" (Error: %1) ").arg(code)).toStdString()),
      Message(message), ErrorCode(code)
{
}

int32_t BaudValue(TBaudRate rate)
{
    static constexpr int32_t values[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};
    const size_t i = size_t(rate);
    return i < std::size(values) ? values[i] : 9600;
}

QString ComPortName(int32_t n)
{
    if (n == 0)
        return QStringLiteral("NoPort");
    return QStringLiteral("COM") + QString::number(n & 0x7F);
}

void TCommEventChars::Assign(const TCommEventChars& other)
{
    std::copy(std::begin(other.m_chars), std::end(other.m_chars), m_chars);
    if (m_owner)
        m_owner->ApplyDCB();
}

void TCommEventChars::Set(int i, uint8_t c)
{
    m_chars[i] = c;
    if (m_owner)
        m_owner->ApplyDCB();
}

TCate::TCate() = default;

TCate::~TCate()
{
    Close();
}

std::function<void(const QString&)>& TCate::LostReporter()
{
    static std::function<void(const QString&)> reporter = [](const QString& text) {
        MessageBoxAfterStep(text, QStringLiteral("COM"), mtWarning);
    };
    return reporter;
}

void TCate::SetPort(int32_t n)
{
    PurgeIn();
    PurgeOut();
    if (Connected())
        Close();
    m_port = n;
    if (n != 0)
        Open();
}

template <class T>
void TCate::SetLineSetting(T& field, T value)
{
    const T before = field;
    field = value;
    try {
        ApplyDCB();
    } catch (const ECommError&) {
        // A setting the line refuses is not kept: the port stays as it was.
        field = before;
        throw;
    }
}

void TCate::SetBaudRate(TBaudRate v)
{
    SetLineSetting(m_baud, v);
}

void TCate::SetParity(TParity v)
{
    SetLineSetting(m_parity, v);
}

void TCate::SetStopbits(TStopBits v)
{
    SetLineSetting(m_stopbits, v);
}

void TCate::SetDatabits(TDataBits v)
{
    SetLineSetting(m_databits, v);
}

void TCate::CheckClosed() const
{
    if (Connected())
        throw ECommError(QStringLiteral("Port already assigned (open)"), -1);
}

void TCate::SetReadBufferSize(int32_t n)
{
    if (n == m_readBufferSize)
        return;
    CheckClosed();
    m_readBufferSize = n;
}

void TCate::SetWriteBufferSize(int32_t n)
{
    if (n == m_writeBufferSize)
        return;
    CheckClosed();
    m_writeBufferSize = n;
}

void TCate::SetEvents(uint32_t mask)
{
    if (mask == m_events)
        return;
    CheckClosed();
    m_events = mask;
}

void TCate::Open()
{
    if (Connected() || m_port == 0)
        return;
    auto line = MakeSerialLine();
    m_lastError = line->Open(ComDeviceNode(m_port));
    if (m_lastError != 0)
        return;
    m_line = std::move(line);
    if (m_line->Descriptor() >= 0 && (m_events & evRxChar)) {
        // A child, so that one whose deferred deletion never ran still goes with the port.
        m_notifier = std::make_unique<QSocketNotifier>(m_line->Descriptor(),
                                                       QSocketNotifier::Read, this);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &TCate::OnReadable);
        m_waitForRead = false;
        UpdateNotifier();
    }
    ApplyDCB();
}

void TCate::Close()
{
    if (!m_line)
        return;
    // The port may close from inside the notifier's own signal (a device that went away).
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    m_line->Purge(true, true);
    m_line->Close();
    m_line.reset();
}

bool TCate::Connected() const
{
    return m_line && m_line->IsOpen();
}

TSerialFrame TCate::Frame() const
{
    TSerialFrame frame;
    frame.Baud = BaudValue(m_baud);
    frame.DataBits = 4 + int32_t(m_databits);
    frame.Parity = int32_t(m_parity);
    frame.StopBits = int32_t(m_stopbits);
    return frame;
}

void TCate::ApplyDCB()
{
    if (!Connected())
        return;
    const int32_t code = m_line->ApplyFrame(Frame());
    if (code != 0)
        throw ECommError(QStringLiteral("Error updating DataControlBlock"), code);
    // Lines a port does not have (a pseudo terminal) are not an error of the settings.
    if (BisteGDM) {
        m_line->SetModemLine(TModemLine::Rts, true);
        m_line->SetModemLine(TModemLine::Dtr, false);
    } else if (Multimeter) {
        m_line->SetModemLine(TModemLine::Dtr, true);
        m_line->SetModemLine(TModemLine::Rts, false);
    }
}

void TCate::ConnectionLost(int32_t code)
{
    m_lastError = code;
    Close();
    if (LostReporter())
        LostReporter()(ComPortName(m_port) + QStringLiteral(": ") + SerialErrorText(code));
}

int32_t TCate::Write(const void* data, int32_t count)
{
    if (!Connected() || count <= 0)
        return 0;
    const int64_t n = m_line->Write(static_cast<const uint8_t*>(data), count, WriteTimeout);
    if (n < 0) {
        ConnectionLost(int32_t(-n));
        return 0;
    }
    return int32_t(n);
}

int32_t TCate::Read(void* data, int32_t count)
{
    if (!Connected() || count <= 0)
        return 0;
    const int64_t n = m_line->Read(static_cast<uint8_t*>(data), count);
    if (n < 0) {
        ConnectionLost(int32_t(-n));
        return 0;
    }
    if (m_waitForRead) {
        m_waitForRead = false;
        UpdateNotifier();
    }
    return int32_t(n);
}

int32_t TCate::InQueCount()
{
    if (!Connected())
        return -1;
    const int32_t n = m_line->InQueue();
    if (n < -1) {
        ConnectionLost(-n);
        return -1;
    }
    return n;
}

int32_t TCate::OutQueCount()
{
    return Connected() ? m_line->OutQueue() : -1;
}

void TCate::PurgeIn()
{
    if (!Connected())
        return;
    m_line->Purge(true, false);
    if (m_waitForRead) {
        m_waitForRead = false;
        UpdateNotifier();
    }
}

void TCate::PurgeOut()
{
    if (Connected())
        m_line->Purge(false, true);
}

bool TCate::GetModemSignal(int32_t which)
{
    uint32_t status = 0;
    if (!Connected() || m_line->GetModemStatus(status) != 0)
        return false;
    switch (which) {
    case msCts: return (status & kModemCts) != 0;
    case msDsr: return (status & kModemDsr) != 0;
    case msRing: return (status & kModemRing) != 0;
    case msRlsd: return (status & kModemRlsd) != 0;
    default: return false;
    }
}

void TCate::EscapeFunction(TModemLine line, bool on)
{
    if (!Connected())
        throw ECommError(QStringLiteral("Port not open, unable to complete operation"), -1);
    if (const int32_t code = m_line->SetModemLine(line, on))
        throw ECommError(QStringLiteral("EscapeCommFunction failure"), code);
}

void TCate::EscapeBreak(bool on)
{
    if (!Connected())
        throw ECommError(QStringLiteral("Port not open, unable to complete operation"), -1);
    if (const int32_t code = m_line->SetBreak(on))
        throw ECommError(QStringLiteral("EscapeCommFunction failure"), code);
}

void TCate::SetDTR(bool on)
{
    if (Connected())
        m_line->SetModemLine(TModemLine::Dtr, on);
}

void TCate::SetRTS(bool on)
{
    if (Connected())
        m_line->SetModemLine(TModemLine::Rts, on);
}

void TCate::SetBreak(bool on)
{
    if (!Connected())
        return;
    m_line->SetBreak(on);
    m_line->Purge(true, true);
}

void TCate::UpdateNotifier()
{
    if (!m_notifier)
        return;
    m_notifier->setEnabled(!m_waitForRead);
}

void TCate::OnReadable()
{
    const int32_t before = InQueCount();
    HandleEvents(evRxChar);
    // A level-triggered notifier would fire again at once when no handler took the bytes;
    // it waits for the next read instead.
    if (Connected() && InQueCount() == before && before > 0) {
        m_waitForRead = true;
        UpdateNotifier();
    }
}

void TCate::HandleEvents(uint32_t mask)
{
    const int32_t waiting = InQueCount();
    if ((mask & evBreak) && OnBreak)
        OnBreak();
    if ((mask & evCts) && OnCts)
        OnCts();
    if ((mask & evDsr) && OnDsr)
        OnDsr();
    if ((mask & evError) && OnErr)
        OnErr(0);
    if ((mask & evRing) && OnRing)
        OnRing();
    if ((mask & evRlsd) && OnRlsd)
        OnRlsd();
    if ((mask & evRxChar) && OnRxChar && waiting > 0)
        OnRxChar(waiting);
    if (mask & evRxFlag) {
        if (OnReceive)
            OnReceive();
        if (OnRxFlag)
            OnRxFlag();
    }
    if ((mask & evTxEmpty) && OnTxEmpty)
        OnTxEmpty();
}

const QStringList& BaudList()
{
    static const QStringList list = {
        u"110"_qs,   u"300"_qs,   u"600"_qs,   u"1200"_qs,  u"2400"_qs,
        u"4800"_qs,  u"9600"_qs,  u"14400"_qs, u"19200"_qs, u"38400"_qs,
        u"56000"_qs, u"57600"_qs, u"115200"_qs, u"128000"_qs, u"256000"_qs};
    return list;
}

const QStringList& ParityList()
{
    static const QStringList list = {u"None"_qs, u"Odd"_qs, u"Even"_qs, u"Mark"_qs, u"Space"_qs};
    return list;
}

const QStringList& DatabitsList()
{
    static const QStringList list = {u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs};
    return list;
}

const QStringList& StopbitsList()
{
    static const QStringList list = {u"1"_qs, u"1,5"_qs, u"2"_qs};
    return list;
}
