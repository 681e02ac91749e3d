#include "comm/tcp/PureTcp.h"

#include "comm/CommPins.h"
#include "core/model/Translator.h"
#include "hardware/framework/PinEdit.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/ByteSequence.h"
#include "ui/PropertySheet.h"

#include <QComboBox>
#include <algorithm>

namespace {

constexpr int kClientConnectTimeoutMs = 20000; // at run start
constexpr int kClientRetryTimeoutMs = 10000;   // reconnects at seconds 0 and 30
// Bytes a connection keeps before it stops reading from its peer.
constexpr size_t kMaxPending = 2 * kMaxDelimitedMessage;

enum { kPortTransmit = 0, kPortReceive = 1 };
enum { kPinTx = 0, kPinSnd = 1, kPinRec = 2 };
enum { kPinRx = 0, kPinCn = 1, kPinBsy = 2 };

void SetRowEnabled(TPropScrollbox* rows, int index, bool enabled)
{
    if (!rows || index < 0 || size_t(index) >= rows->Rows().size())
        return;
    TPropEditor* row = rows->Rows()[size_t(index)]->Editor;
    row->setEnabled(enabled);
    QPalette palette = row->NameLabel->palette();
    palette.setColor(QPalette::WindowText, enabled ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    row->NameLabel->setPalette(palette);
}

int LastRow(TPropScrollbox* rows)
{
    return int(rows->Rows().size()) - 1;
}

QString FixedCaption()
{
    return Translate(QStringLiteral("Fest")) + QStringLiteral(" (n Bytes)");
}

} // namespace

std::optional<QByteArray> TakeMessage(std::vector<uint8_t>& pending, const TFraming& framing)
{
    size_t take = 0;
    size_t drop = 0;
    if (framing.Mode == 0 && framing.Delimiter.empty()) {
        take = pending.empty() ? 0 : 1;
    } else if (framing.Mode == 0) {
        const auto found = std::search(pending.begin(), pending.end(), framing.Delimiter.begin(),
                                       framing.Delimiter.end());
        if (found != pending.end()) {
            take = size_t(found - pending.begin());
            drop = framing.Delimiter.size();
        } else if (pending.size() >= kMaxDelimitedMessage) {
            take = kMaxDelimitedMessage;
        } else {
            return std::nullopt;
        }
        if (take == 0 && drop == 0)
            return std::nullopt;
    } else if (framing.Mode == 1) {
        const size_t length = size_t(std::clamp(framing.FixedLength, 1, 1000));
        if (pending.size() < length)
            return std::nullopt;
        take = length;
    } else {
        return std::nullopt;
    }
    if (take == 0 && drop == 0)
        return std::nullopt;
    QByteArray message(reinterpret_cast<const char*>(pending.data()), qsizetype(take));
    pending.erase(pending.begin(), pending.begin() + ptrdiff_t(take + drop));
    return message;
}

// --- Pools ---------------------------------------------------------------------------------------

bool TPureClient::EnsureConnected(int timeoutMs)
{
    if (Socket.Connected())
        return true;
    Pending.clear();
    return Socket.Connect(Host, Port, timeoutMs);
}

std::shared_ptr<TPureClient> TPureClients::GetClient(uint16_t port, const QString& host)
{
    return m_pool.Get(
        [&](const TPureClient& e) { return e.Port == port && e.Host == host; },
        [&] { return std::make_shared<TPureClient>(port, host); });
}

TPureClients& PureClients()
{
    static TPureClients pool;
    return pool;
}

TPureServer::TPureServer(uint16_t port)
    : Port(port),
      Listener([this](TTcpSocket& connection, std::vector<uint8_t>& pending) {
          return Serve(connection, pending);
      })
{
}

TPureServer::~TPureServer()
{
    Listener.Stop();
}

void TPureServer::SetFraming(const TFraming& framing)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_framing = framing;
}

QByteArray TPureServer::ReceivedText() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

bool TPureServer::Serve(TTcpSocket&, std::vector<uint8_t>& pending)
{
    if (!Armed)
        return true;
    std::lock_guard<std::mutex> guard(m_lock);
    if (!Armed)
        return true; // another connection delivered first
    if (std::optional<QByteArray> message = TakeMessage(pending, m_framing)) {
        m_received = *message;
        Armed = false;
    }
    return true;
}

std::shared_ptr<TPureServer> TPureServers::GetServer(uint16_t port, const QString& address)
{
    return m_pool.Get([port](const TPureServer& e) { return e.Port == port; },
                      [port, &address] {
                          auto entry = std::make_shared<TPureServer>(port);
                          TTcpListener::TFailure why{};
                          if (!entry->Listener.Listen(port, address, &why))
                              ReportPortNotBound(port, address, why, QStringLiteral("TCP"));
                          return entry;
                      });
}

void TPureServer::Arm()
{
    Armed = true;
    // A message that came while nobody waited for one is taken now.
    Listener.Wake();
}

TPureServers& PureServers()
{
    static TPureServers pool;
    return pool;
}

bool PureServerSendCheckDue()
{
    static int64_t last = 0;
    IClock& clock = Clock();
    const int64_t now = clock.PerformanceCounter();
    if (now - last < clock.PerformanceFrequency() / 1000 && now >= last)
        return false;
    last = now;
    return true;
}

std::optional<uint16_t> ParsePortText(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < 1 || value > 65535)
        return std::nullopt;
    return uint16_t(value);
}

void ReportPortNotBound(uint16_t port, const QString& address, TTcpListener::TFailure why,
                        const QString& caption)
{
    QString text;
    switch (why) {
    case TTcpListener::TFailure::InUse:
        text = Lang3Q("Der TCP-Port %1 ist schon belegt.", "TCP port %1 is already in use.",
                      "Le port TCP %1 est déjà occupé.")
                   .arg(port);
        break;
    case TTcpListener::TFailure::NotPermitted:
        text = Lang3Q("Der TCP-Port %1 ist gesperrt; Ports unter 1024 verlangen besondere Rechte.",
                      "TCP port %1 is not permitted; ports below 1024 need special rights.",
                      "Le port TCP %1 est interdit ; les ports inférieurs à 1024 exigent des "
                      "droits particuliers.")
                   .arg(port);
        break;
    case TTcpListener::TFailure::NotThisMachine:
        text = Lang3Q("Der Server kann an der Adresse \"%2\" keine Verbindungen annehmen "
                      "(Port %1): sie gehört nicht zu diesem Rechner. Mit \"*\" nimmt er sie an "
                      "allen Adressen an.",
                      "The server cannot accept connections at the address \"%2\" (port %1): "
                      "it is not an address of this computer. With \"*\" it accepts them at "
                      "every address.",
                      "Le serveur ne peut pas accepter de connexions à l'adresse \"%2\" (port "
                      "%1) : elle n'appartient pas à cet ordinateur. Avec \"*\" il les accepte "
                      "à toutes les adresses.")
                   .arg(port)
                   .arg(address);
        break;
    default:
        text = Lang3Q("Der TCP-Port %1 ist belegt oder gesperrt.",
                      "TCP port %1 is in use or not permitted.",
                      "Le port TCP %1 est occupé ou interdit.")
                   .arg(port);
        break;
    }
    MessageBoxText(text, caption, mbOK, mtWarning);
}

void ReportRefusedPeers(const TTcpListener& listener, uint16_t port, int& seen,
                        const QString& caption)
{
    if (seen < 0 || listener.RefusedCount() == seen)
        return;
    seen = -1; // told once per run
    MessageBoxAfterStep(Lang3Q("Am TCP-Port %1 sind schon %2 Gegenstellen verbunden; weitere "
                               "werden abgewiesen.",
                               "TCP port %1 already has %2 peers connected; further ones are "
                               "refused.",
                               "Le port TCP %1 a déjà %2 correspondants connectés ; les "
                               "suivants sont refusés.")
                            .arg(port)
                            .arg(TTcpListener::TLimits().MostConnections),
                        caption, mtWarning);
}

void ReportBadPort(const QString& text)
{
    MessageBoxText(Lang3Q("\"%1\" ist kein TCP-Port (1 bis 65535); der Port bleibt.",
                            "\"%1\" is no TCP port (1 to 65535); the port stays.",
                            "\"%1\" n'est pas un port TCP (1 à 65535) ; le port reste.")
                       .arg(text),
                   QStringLiteral("TCP"), mbOK, mtWarning);
}

// --- Ports ---------------------------------------------------------------------------------------

TPureTCPOutPort::TPureTCPOutPort()
{
    Name = QStringLiteral("Transmit");
    AddPin(QStringLiteral("Transmit Data"), QStringLiteral("$TX"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Send clock"), QStringLiteral("|SND"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Receive clock"), QStringLiteral("|REC"), 0.0L, 5.0L, false);
    SetInput(false);
}

TPureTCPInPort::TPureTCPInPort()
{
    Name = QStringLiteral("Receive");
    AddPin(QStringLiteral("Receive Data"), QStringLiteral("$RX"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Connected"), QStringLiteral("CN"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Busy"), QStringLiteral("BSY"), 0.0L, 5.0L, false);
    SetInput(true);
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TPureTCP::Description{
    .Name = "TPureTCP",
    .Ports = {ClassEntry<TPureTCPOutPort>(), ClassEntry<TPureTCPInPort>()},
    .Prefix = {"$TCP"}, .PaletteName = {"$TCP"}, .Caption = {"$TCP"},
    .HelpContext = 35990,
    .Category = TPaletteCategory::AllgemeinPC};

TPureTCP::TPureTCP()
{
    Describe(Description);
    Name = QStringLiteral("$TCP");
    BaseAddress = 3389;
    Ports.push_back(std::make_unique<TPureTCPOutPort>());
    Ports.push_back(std::make_unique<TPureTCPInPort>());
    PropagateAddress();
    BuildPinList();
}

TPureTCP::~TPureTCP() = default;

TPin* TPureTCP::PinOf(size_t port, size_t pin) const
{
    if (port >= Ports.size() || pin >= Ports[port]->Pins.size())
        return nullptr;
    return Ports[port]->Pins[pin].get();
}

void TPureTCP::getKonfigData()
{
    TIOInterface::getKonfigData();
    m_portText = QString::number(Port);
    m_dlgMode = Mode;
    m_dlgFramingMode = FramingMode;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    m_typRow = m_framingRow = m_delimiterRow = m_fixedRow = -1;
    rows->AddCaptionProp(QStringLiteral("TCP"));
    if (!DlgRuntimeMode && !DlgSimRunning) {
        rows->AddComboProp(Translate(QStringLiteral("Typ")), m_dlgMode,
                           {QStringLiteral("Client"), QStringLiteral("Server")}, 120);
        m_typRow = LastRow(rows);
    }
    rows->AddEditProp(QStringLiteral("Host"), Host, 0, 120);
    rows->AddEditProp(QStringLiteral("Port [TCP]"), m_portText, 6, 60);
    rows->AddCaptionProp(QStringLiteral("RX"));
    rows->AddComboProp(QStringLiteral("Synchronisation"), m_dlgFramingMode,
                       {Translate(QStringLiteral("Trennzeichen")), FixedCaption()}, 120);
    m_framingRow = LastRow(rows);
    rows->AddSyncProp(Translate(QStringLiteral("Trennzeichen")), DelimiterText);
    m_delimiterRow = LastRow(rows);
    rows->AddSpinProp(FixedCaption(), FixedLength, 1, 1000, 60);
    m_fixedRow = LastRow(rows);
    rows->AddCaptionProp(QStringLiteral("TX"));
    rows->AddFrameProp(Translate(QStringLiteral("Rahmen")), PrefixText, SuffixText);
    rows->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    for (int index : {m_typRow, m_framingRow}) {
        if (index < 0)
            continue;
        auto* combo = static_cast<TComboPropEditor*>(rows->Rows()[size_t(index)]->Editor);
        QObject::connect(combo->Combo, &QComboBox::currentIndexChanged, combo,
                         [this](int) { DialogChanged(); });
    }
    DialogChanged();
}

void TPureTCP::DialogChanged()
{
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    const auto comboIndex = [rows](int index, int fallback) {
        if (index < 0 || size_t(index) >= rows->Rows().size())
            return fallback;
        return static_cast<TComboPropEditor*>(rows->Rows()[size_t(index)]->Editor)
            ->Combo->currentIndex();
    };
    // The host row stays: a server listens on that address.
    const int framing = comboIndex(m_framingRow, FramingMode);
    SetRowEnabled(rows, m_delimiterRow, framing == 0);
    SetRowEnabled(rows, m_fixedRow, framing == 1);
    PinPortDlg().PinEdit->SetPortliste(&Ports);
}

void TPureTCP::ApplySettings()
{
    TIOInterface::ApplySettings();
    if (!DlgRuntimeMode && !DlgSimRunning && m_typRow >= 0)
        Mode = std::clamp(m_dlgMode, 0, 1);
    if (const std::optional<uint16_t> port = ParsePortText(m_portText))
        Port = *port;
    else
        ReportBadPort(m_portText);
    if (m_framingRow >= 0)
        FramingMode = m_dlgFramingMode;
    FixedLength = std::clamp(FixedLength, 1, 1000);
    PropagateAddress();
}

TFraming TPureTCP::CurrentFraming() const
{
    TFraming framing;
    framing.Mode = uint8_t(FramingMode);
    framing.FixedLength = FixedLength;
    // The delimiter ends at its first zero byte, as a text would.
    for (uint8_t b : ParseByteSequence(DelimiterText)) {
        if (b == 0)
            break;
        framing.Delimiter.push_back(b);
    }
    return framing;
}

void TPureTCP::ConnectClient(int timeoutMs)
{
    if (!m_client || m_client->Socket.Connected())
        return;
    if (m_client->EnsureConnected(timeoutMs))
        m_client->Framing = CurrentFraming();
}

void TPureTCP::RetryAtHalfMinute(int timeoutMs)
{
    const QTime now = Clock().LocalTime().time();
    const int secondOfDay = now.msecsSinceStartOfDay() / 1000;
    if (now.second() % 30 != 0 || secondOfDay == m_lastAttemptSecond)
        return;
    m_lastAttemptSecond = secondOfDay;
    m_client = PureClients().GetClient(Port, Host);
    ConnectClient(timeoutMs);
}

void TPureTCP::SimStart()
{
    m_prefix = ParseByteSequence(PrefixText);
    m_suffix = ParseByteSequence(SuffixText);
    m_clientArmed = false;
    m_lastAttemptSecond = -1;
    if (Mode == 0) {
        m_client = PureClients().GetClient(Port, Host);
        ConnectClient(kClientConnectTimeoutMs);
    } else {
        m_server = PureServers().GetServer(Port, Host);
        m_refusedSeen = m_server->Listener.RefusedCount();
        m_server->SetFraming(CurrentFraming());
        m_server->Armed = false;
    }
    TIOInterface::SimStart();
}

void TPureTCP::ReleaseEntries()
{
    m_client.reset();
    m_server.reset();
}

void TPureTCP::SimStop()
{
    TIOInterface::SimStop();
    ReleaseEntries();
}

std::vector<uint8_t> TPureTCP::Message() const
{
    std::vector<uint8_t> bytes = m_prefix;
    if (const TPin* tx = PinOf(kPortTransmit, kPinTx)) {
        const QByteArray text = ToCp1252(tx->Text);
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    bytes.insert(bytes.end(), m_suffix.begin(), m_suffix.end());
    return bytes;
}

bool TPureTCP::SendEdge(TPureTCPOutPort& port)
{
    return FallingEdge(PinOf(kPortTransmit, kPinSnd), port.LastSend);
}

bool TPureTCP::ReceiveEdge(TPureTCPOutPort& port)
{
    return FallingEdge(PinOf(kPortTransmit, kPinRec), port.LastReceive);
}

void TPureTCP::MachEsJetzt()
{
    if (!Running || AnyPortBusy())
        return;
    if (Mode == 0)
        ClientStep();
    else
        ServerStep();
}

void TPureTCP::ServerStep()
{
    if (!m_server || Ports.size() < 2)
        return;
    auto& out = static_cast<TPureTCPOutPort&>(*Ports[kPortTransmit]);
    TPin* rx = PinOf(kPortReceive, kPinRx);
    TPin* bsy = PinOf(kPortReceive, kPinBsy);
    if (!m_server->Armed) {
        if (rx)
            rx->Text = FromCp1252(m_server->ReceivedText());
        if (bsy)
            SetPinValue(*bsy, 0.0L);
    }
    if (TPin* cn = PinOf(kPortReceive, kPinCn))
        SetPinValue(*cn, m_server->Listener.ConnectionCount() > 0 ? 5.0L : 0.0L);
    ReportRefusedPeers(m_server->Listener, Port, m_refusedSeen, QStringLiteral("TCP"));
    if (ReceiveEdge(out)) {
        if (bsy)
            SetPinValue(*bsy, 5.0L);
        m_server->Arm();
    }
    if (PureServerSendCheckDue() && SendEdge(out)) {
        const std::vector<uint8_t> message = Message();
        m_server->Listener.ForEachConnection(
            [&message](TTcpSocket& peer) { peer.Send(message); });
    }
}

void TPureTCP::ClientStep()
{
    if (!m_client || Ports.size() < 2)
        return;
    auto& out = static_cast<TPureTCPOutPort&>(*Ports[kPortTransmit]);
    TPin* rx = PinOf(kPortReceive, kPinRx);
    TPin* bsy = PinOf(kPortReceive, kPinBsy);
    if (m_client->Socket.Connected()) {
        if (SendEdge(out))
            m_client->Socket.Send(Message());
        // The client receives as the server does: a REC edge arms, the next message is shown.
        if (ReceiveEdge(out)) {
            m_clientArmed = true;
            if (bsy)
                SetPinValue(*bsy, 5.0L);
        }
        if (m_clientArmed) {
            uint8_t buffer[4096];
            while (m_client->Pending.size() < kMaxPending) {
                const int got = m_client->Socket.Receive(buffer, sizeof buffer, 0);
                if (got <= 0)
                    break;
                m_client->Pending.insert(m_client->Pending.end(), buffer, buffer + got);
            }
            if (std::optional<QByteArray> message = TakeMessage(m_client->Pending,
                                                                m_client->Framing)) {
                m_clientArmed = false;
                if (rx)
                    rx->Text = FromCp1252(*message);
                if (bsy)
                    SetPinValue(*bsy, 0.0L);
            }
        }
    } else {
        RetryAtHalfMinute(kClientRetryTimeoutMs);
    }
    if (TPin* cn = PinOf(kPortReceive, kPinCn))
        SetPinValue(*cn, m_client->Socket.Connected() ? 5.0L : 0.0L);
}

void TPureTCP::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(Mode);
    writer.WriteString(Host);
    writer.WriteInteger(Port);
    writer.WriteInteger(FramingMode);
    writer.WriteInteger(FixedLength);
    writer.WriteString(DelimiterText);
    writer.WriteString(PrefixText);
    writer.WriteString(SuffixText);
    writer.WriteInteger(ReadTimeout);
}

void TPureTCP::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    Mode = std::clamp(reader.ReadInteger(), 0, 1);
    Host = reader.ReadString();
    Port = uint16_t(reader.ReadInteger());
    FramingMode = reader.ReadInteger();
    FixedLength = std::clamp(reader.ReadInteger(), 1, 1000);
    DelimiterText = reader.ReadString();
    PrefixText = reader.ReadString();
    SuffixText = reader.ReadString();
    ReadTimeout = std::clamp(reader.ReadInteger(), 0, 20000);
}

void TPureTCP::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteString(section, QStringLiteral("ADDRESS"), Host);
}

void TPureTCP::readFromIni(TIniFile& ini, const QString& section)
{
    Host = ini.ReadString(section, QStringLiteral("ADDRESS"), QStringLiteral("0"));
}
