#include "hardware/meters/SerialMeter.h"

#include "hardware/meters/frames/AnnunciatorFrames.h"
#include "hardware/meters/frames/NibbleFrames.h"
#include "hardware/meters/frames/RangeFunctionFrames.h"

namespace {

// A meter with a reading and an overrange channel.
TSerialMeterKind WithOverrange(TBaudRate baud, TDataBits databits, TParity parity,
                               decltype(TSerialMeterKind::Decode) decode)
{
    TSerialMeterKind kind{baud, databits, parity, {}, 2, 2, std::move(decode)};
    return kind;
}

} // namespace

TSerialMeterKind SerialMeterKind(int type)
{
    using B = TBaudRate;
    switch (type) {
    case 21: // VC 920, VC 940, VC 960
        return {B::Baud2400, TDataBits::_8, TParity::None, {}, 1, 0, DecodeVC9x0};
    case 27: return WithOverrange(B::Baud19200, TDataBits::_7, TParity::Odd, DecodeUT803);
    case 28: { // UT70D, asked for each frame
        TSerialMeterKind kind = WithOverrange(B::Baud9600, TDataBits::_8, TParity::None,
                                              DecodeUT70D);
        kind.Request = QByteArray(1, UT70DRequest);
        return kind;
    }
    case 29: return WithOverrange(B::Baud2400, TDataBits::_7, TParity::Odd, DecodeUT70B);
    case 30: { // VC 870: the decoder keeps the last function, range and display flag
        auto frames = std::make_shared<TVC870Frames>();
        return {B::Baud9600, TDataBits::_8, TParity::None, {}, 3, 3,
                [frames](std::string_view frame) { return frames->Decode(frame); }};
    }
    case 31: // VC 830, VC 850
        return WithOverrange(B::Baud2400, TDataBits::_8, TParity::Odd, DecodeVC850);
    default: {
        TSerialMeterKind kind;
        kind.Request = QByteArrayLiteral("D");
        return kind;
    }
    }
}

TSerialMeter::TSerialMeter(TSerialMeterKind kind)
    : m_kind(std::move(kind)), m_port(std::make_unique<TCate>())
{
    m_port->SetReadBufferSize(256);
    m_port->SetWriteBufferSize(256);
    m_port->Multimeter = true; // DTR powers the cable
    m_port->SetBaudRate(m_kind.Baud);
    m_port->SetDatabits(m_kind.Databits);
    m_port->SetParity(m_kind.Parity);
    m_port->SetStopbits(TStopBits::_1);

    m_channels.SetCount(m_kind.Channels);
    if (m_kind.OverrangeChannel > 0)
        m_channels.Rename(m_kind.OverrangeChannel, QStringLiteral("Overrange"),
                          QStringLiteral("OL"));

    m_timing.OnFrame = [this](const std::string& frame) {
        const auto reading = m_kind.Decode ? m_kind.Decode(frame) : std::nullopt;
        if (reading)
            m_channels.Apply(*reading);
        return reading.has_value();
    };
    m_timing.OnRequest = [this] { SendRequest(); };
    m_timing.OnSilence = [this] { m_channels.Zero(); };

    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, [this] { Poll(); });
}

TSerialMeter::~TSerialMeter()
{
    m_poll.stop();
    m_port->SetPort(0);
}

void TSerialMeter::SetComPort(int32_t number)
{
    m_port->SetPort(number);
    m_comPort = number;
    SendRequest();
}

void TSerialMeter::Start()
{
    m_channels.Zero();
    m_channels.ClearDisplay();
    m_timing.Start();
    m_poll.start();
}

void TSerialMeter::Stop()
{
    m_poll.stop();
    m_timing.Stop();
}

void TSerialMeter::Poll()
{
    char buffer[256];
    for (int guard = 0; guard < 16 && m_port->InQueCount() > 0; ++guard) {
        const int32_t n = m_port->Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_timing.Received(std::string_view(buffer, static_cast<size_t>(n)));
    }
    m_timing.Poll();
}

void TSerialMeter::SendRequest()
{
    if (!m_kind.Request.isEmpty())
        m_port->Write(m_kind.Request.constData(), static_cast<int32_t>(m_kind.Request.size()));
}
