#include "comm/tcp/ValueLink.h"

#include "comm/tcp/PureTcp.h"
#include "core/model/Translator.h"
#include "hardware/framework/PinEdit.h"
#include "platform/Clock.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <QComboBox>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kConnectTimeoutMs = 20000;
constexpr int kReadPollMs = 100;
enum { kPortTransmit = 0, kPortReceive = 1 };

// Takes every whole frame out of pending.
template <class TApply>
void TakeFrames(std::vector<uint8_t>& pending, TApply apply)
{
    size_t used = 0;
    while (pending.size() - used >= valuelink::kFrameSize) {
        if (std::optional<valuelink::TFrame> frame = valuelink::Decode(pending.data() + used))
            apply(*frame);
        used += valuelink::kFrameSize;
    }
    pending.erase(pending.begin(), pending.begin() + ptrdiff_t(used));
}

// Reads what the peer sent within a short time; false when the connection is gone.
bool ReadSome(TTcpSocket& connection, std::vector<uint8_t>& pending)
{
    uint8_t buffer[64 * valuelink::kFrameSize];
    const int got = connection.Receive(buffer, sizeof buffer, kReadPollMs);
    if (got < 0)
        return false;
    pending.insert(pending.end(), buffer, buffer + got);
    return true;
}

} // namespace

namespace valuelink {

std::array<uint8_t, kFrameSize> Encode(const TFrame& frame)
{
    std::array<uint8_t, kFrameSize> bytes{};
    if (frame.Kind == kValue)
        EncodeExtended80(Extended(frame.Value), bytes.data());
    bytes[10] = frame.Kind;
    bytes[11] = frame.Channel;
    return bytes;
}

std::optional<TFrame> Decode(const uint8_t* bytes)
{
    TFrame frame;
    frame.Kind = bytes[10];
    frame.Channel = bytes[11];
    if (frame.Kind == kValue) {
        const Extended value = DecodeExtended80(bytes);
        if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<double>::max())
            return std::nullopt;
        frame.Value = double(value);
    } else if (frame.Kind != kRequest) {
        return std::nullopt;
    }
    return frame;
}

double TSlots::Get(uint8_t channel) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_values[channel];
}

void TSlots::Set(uint8_t channel, double value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_values[channel] = value;
}

} // namespace valuelink

// --- Server --------------------------------------------------------------------------------------

TTvServer::TTvServer(uint16_t port)
    : Port(port),
      Listener([this](TTcpSocket& connection, std::vector<uint8_t>& pending) {
          return Serve(connection, pending);
      })
{
}

TTvServer::~TTvServer()
{
    Listener.Stop();
}

bool TTvServer::Serve(TTcpSocket&, std::vector<uint8_t>& pending)
{
    TakeFrames(pending, [this](const valuelink::TFrame& frame) {
        if (frame.Kind == valuelink::kValue)
            Slots.Set(frame.Channel, frame.Value);
        else
            RequestedChannel = frame.Channel;
    });
    return true;
}

std::shared_ptr<TTvServer> TServers::GetServer(uint16_t port, const QString& address)
{
    return m_pool.Get([port](const TTvServer& e) { return e.Port == port; },
                      [port, &address] {
                          auto entry = std::make_shared<TTvServer>(port);
                          TTcpListener::TFailure why{};
                          if (!entry->Listener.Listen(port, address, &why))
                              ReportPortNotBound(port, address, why,
                                                 QStringLiteral("Tavrinol TCP"));
                          return entry;
                      });
}

TServers& Servers()
{
    static TServers pool;
    return pool;
}

// --- Client --------------------------------------------------------------------------------------

TTvClient::~TTvClient()
{
    StopReader();
}

bool TTvClient::Connect(int timeoutMs)
{
    StopReader();
    if (!Socket.Connect(Host, Port, timeoutMs))
        return false;
    m_stop = false;
    m_reader = std::thread([this] { Read(); });
    return true;
}

void TTvClient::Read()
{
    std::vector<uint8_t> pending;
    while (!m_stop && Socket.Connected()) {
        if (!ReadSome(Socket, pending))
            break;
        // A client never answers requests.
        TakeFrames(pending, [this](const valuelink::TFrame& frame) {
            if (frame.Kind == valuelink::kValue)
                Slots.Set(frame.Channel, frame.Value);
        });
    }
}

void TTvClient::StopReader()
{
    if (!m_reader.joinable())
        return;
    m_stop = true;
    Socket.Shutdown();
    m_reader.join();
    Socket.Close();
}

std::shared_ptr<TTvClient> TClients::GetClient(uint16_t port, const QString& host)
{
    return m_pool.Get(
        [&](const TTvClient& e) { return e.Port == port && e.Host == host; },
        [&] { return std::make_shared<TTvClient>(port, host); });
}

TClients& Clients()
{
    static TClients pool;
    return pool;
}

// --- Ports ---------------------------------------------------------------------------------------

TTCPOutPort::TTCPOutPort()
{
    Name = QStringLiteral("Tranmit");
}

TTCPInPort::TTCPInPort()
{
    Name = QStringLiteral("Receive");
    IsInput = true;
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TTCP::Description{
    .Name = "TTCP",
    .Ports = {ClassEntry<TTCPOutPort>(), ClassEntry<TTCPInPort>()},
    .Prefix = {"TCP"}, .PaletteName = {"Tavrinol TCP"}, .Caption = {"TCP"},
    .HelpContext = 35990,
    .Category = TPaletteCategory::AllgemeinPC};

TTCP::TTCP()
{
    Describe(Description);
    Name = QStringLiteral("Tavrinol TCP");
    BaseAddress = 3389;
    Ports.push_back(std::make_unique<TTCPOutPort>());
    Ports.push_back(std::make_unique<TTCPInPort>());
    SignalKind = -1;
    SetSignalKind(0);
    PropagateAddress();
}

TTCP::~TTCP() = default;

TTCPOutPort& TTCP::Transmit() const
{
    return static_cast<TTCPOutPort&>(*Ports[kPortTransmit]);
}

TTCPInPort& TTCP::Receive() const
{
    return static_cast<TTCPInPort&>(*Ports[kPortReceive]);
}

void TTCP::SetSignalKind(int32_t kind)
{
    kind = std::clamp(kind, 0, 1);
    if (kind == SignalKind)
        return;
    SignalKind = kind;
    TIOPort& tx = Transmit();
    TIOPort& rx = Receive();
    tx.ClearPins();
    rx.ClearPins();
    if (kind == 0) {
        tx.AddPin(QStringLiteral("Transmit"), QStringLiteral("TX"), 0.0L, 5.0L, false);
        rx.AddPin(QStringLiteral("Receive"), QStringLiteral("RX"), 0.0L, 5.0L, false);
    } else {
        for (int i = 0; i < 16; ++i) {
            tx.AddPin(QStringLiteral("Transmit ") + QString::number(i),
                      QStringLiteral("TX") + QString::number(i), 0.0L, 5.0L, false);
            rx.AddPin(QStringLiteral("Receive ") + QString::number(i),
                      QStringLiteral("RX") + QString::number(i), 0.0L, 5.0L, false);
        }
    }
    tx.AddPin(QStringLiteral("Transmit Enable"), QStringLiteral("EN"), 0.0L, 5.0L, false);
    rx.AddPin(QStringLiteral("Connected"), QStringLiteral("CN"), 0.0L, 5.0L, false);
    tx.SetInput(false);
    rx.SetInput(true);
    BuildPinList();
}

void TTCP::getKonfigData()
{
    TIOInterface::getKonfigData();
    m_portText = QString::number(Port);
    m_dlgMode = Mode;
    m_dlgSignal = SignalKind;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    m_typRow = m_signalRow = -1;
    const bool modeEditable = !DlgRuntimeMode && !DlgSimRunning;
    if (modeEditable) {
        rows->AddComboProp(Translate(QStringLiteral("Typ")), m_dlgMode,
                           {QStringLiteral("Client"), QStringLiteral("Server")}, 120);
        m_typRow = int(rows->Rows().size()) - 1;
    }
    rows->AddEditProp(QStringLiteral("Port [TCP]"), m_portText, 6, 60);
    rows->AddEditProp(QStringLiteral("Host"), Host, 0, 120);
    rows->AddCaptionProp(Translate(QStringLiteral("Übertragung")));
    rows->AddSpinProp(Translate(QStringLiteral("Kanal")), Channel, 0, 255, 60);
    if (modeEditable) {
        rows->AddComboProp(QStringLiteral("Signal"), m_dlgSignal,
                           {Translate(QStringLiteral("Analog")),
                            Translate(QStringLiteral("Digital"))},
                           120);
        m_signalRow = int(rows->Rows().size()) - 1;
    }
    for (int index : {m_typRow, m_signalRow}) {
        if (index < 0)
            continue;
        auto* combo = static_cast<TComboPropEditor*>(rows->Rows()[size_t(index)]->Editor);
        QObject::connect(combo->Combo, &QComboBox::currentIndexChanged, combo,
                         [this](int) { DialogChanged(); });
    }
    DialogChanged();
}

void TTCP::DialogChanged()
{
    TPropScrollbox* rows = DialogRows();
    if (!rows || m_typRow < 0 || m_signalRow < 0)
        return;
    const auto combo = [rows](int index) {
        return static_cast<TComboPropEditor*>(rows->Rows()[size_t(index)]->Editor)->Combo;
    };
    // The host row stays enabled: a server listens on that address.
    SetSignalKind(combo(m_signalRow)->currentIndex());
    PinPortDlg().PinEdit->SetPortliste(&Ports);
}

void TTCP::ApplySettings()
{
    TIOInterface::ApplySettings();
    if (!DlgRuntimeMode && !DlgSimRunning && m_typRow >= 0)
        Mode = std::clamp(m_dlgMode, 0, 1);
    Channel = std::clamp(Channel, 0, 255);
    if (const std::optional<uint16_t> port = ParsePortText(m_portText))
        Port = *port;
    else
        ReportBadPort(m_portText);
    if (!DlgRuntimeMode && !DlgSimRunning && m_signalRow >= 0)
        SetSignalKind(m_dlgSignal);
    PropagateAddress();
}

void TTCP::MoveLastValue()
{
    Extended& last = Transmit().LastValue;
    last = last >= 2.5L ? last - 5.0L : last + 5.0L;
}

void TTCP::TryConnect(int timeoutMs)
{
    if (m_client && !m_client->Connected())
        m_client->Connect(timeoutMs);
}

void TTCP::SimStart()
{
    if (Mode == 0) {
        MoveLastValue();
        m_resend = true;
        m_client = Clients().GetClient(Port, Host);
        TryConnect(kConnectTimeoutMs);
    } else {
        m_server = Servers().GetServer(Port, Host);
        m_refusedSeen = m_server->Listener.RefusedCount();
    }
    TIOInterface::SimStart();
}

void TTCP::SimStop()
{
    TIOInterface::SimStop();
    if (m_client)
        m_client->StopReader();
    m_client.reset();
    m_server.reset();
}

void TTCP::MachEsJetzt()
{
    if (!Running || AnyPortBusy())
        return;
    if (Mode == 0)
        ClientStep();
    else
        ServerStep();
}

std::optional<Extended> TTCP::ValueToSend() const
{
    const TIOPort& tx = Transmit();
    if (tx.Pins.empty() || !GetPinDigital(*tx.Pins.back()))
        return std::nullopt;
    if (SignalKind == 0)
        return GetPinValue(*tx.Pins.front());
    return Extended(tx.GetPinsAsWord() & 0xFFFF) + 0.1L;
}

void TTCP::ShowReceived(double value)
{
    TIOPort& rx = Receive();
    if (rx.Pins.size() < 2)
        return;
    if (SignalKind == 0)
        SetPinValue(*rx.Pins.front(), Extended(value));
    else
        rx.SetPinsFromWord(uint16_t(std::clamp(std::nearbyint(value), 0.0, 65535.0)));
}

void TTCP::SetConnected(bool on)
{
    TIOPort& rx = Receive();
    if (!rx.Pins.empty())
        SetPinValue(*rx.Pins.back(), on ? 5.0L : 0.0L);
}

void TTCP::ServerStep()
{
    if (!m_server)
        return;
    const uint8_t channel = uint8_t(std::clamp(Channel, 0, 255));
    ShowReceived(m_server->Slots.Get(channel));
    SetConnected(m_server->Listener.ConnectionCount() > 0);
    ReportRefusedPeers(m_server->Listener, Port, m_refusedSeen, QStringLiteral("Tavrinol TCP"));
    const std::optional<Extended> value = ValueToSend();
    if (!value)
        return;
    Extended& last = Transmit().LastValue;
    const bool requested = m_server->RequestedChannel == channel;
    // Changes go out whatever other channels were asked for; a request is answered even
    // without a change.
    if (*value == last && !requested)
        return;
    if (requested)
        m_server->RequestedChannel = -1;
    const auto frame = valuelink::Encode({valuelink::kValue, channel, double(*value)});
    m_server->Listener.ForEachConnection(
        [&frame](TTcpSocket& peer) { peer.Send(frame.data(), frame.size()); });
    last = *value;
}

void TTCP::ClientStep()
{
    if (!m_client)
        return;
    const uint8_t channel = uint8_t(std::clamp(Channel, 0, 255));
    if (m_client->Connected()) {
        if (!m_client->HasReader())
            return;
        if (const std::optional<Extended> value = ValueToSend()) {
            Extended& last = Transmit().LastValue;
            if (*value != last || m_resend) {
                const auto frame = valuelink::Encode({valuelink::kValue, channel, double(*value)});
                m_client->Socket.Send(frame.data(), frame.size());
            }
            if (m_resend) {
                const auto request = valuelink::Encode({valuelink::kRequest, channel, 0.0});
                m_client->Socket.Send(request.data(), request.size());
                m_resend = false;
            }
            last = *value;
        }
        ShowReceived(m_client->Slots.Get(channel));
    } else {
        const int minute = Clock().LocalTime().time().minute();
        if (minute != m_lastMinute) {
            m_lastMinute = minute;
            MoveLastValue();
            m_resend = true;
            m_client = Clients().GetClient(Port, Host);
            TryConnect(kConnectTimeoutMs);
        }
    }
    SetConnected(m_client->Connected());
}

void TTCP::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(Mode);
    writer.WriteString(Host);
    writer.WriteInteger(Port);
    writer.WriteInteger(Channel);
    writer.WriteInteger(SignalKind);
}

void TTCP::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    Mode = std::clamp(reader.ReadInteger(), 0, 1);
    Host = reader.ReadString();
    Port = uint16_t(reader.ReadInteger());
    Channel = std::clamp(reader.ReadInteger(), 0, 255);
    const int32_t kind = std::clamp(reader.ReadInteger(), 0, 1);
    // The stored ports carry the pins of the stored kind.
    SignalKind = kind;
    BuildPinList();
}
