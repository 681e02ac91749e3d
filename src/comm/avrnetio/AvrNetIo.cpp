#include "comm/avrnetio/AvrNetIo.h"

#include "comm/avrnetio/AvrNetIoProtocol.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kConnectTimeoutMs = 20000; // at run start
constexpr int kRetryTimeoutMs = 3000;    // reconnects at seconds 0 and 30
constexpr size_t kMaxAnswer = 256;       // no answer of the board is longer

enum { kPhaseAnalog = 0, kPhaseOutputs = 1, kPhaseInputs = 2 };

QString PortName(const char* german)
{
    return Translate(QString::fromUtf8(german));
}

} // namespace

// --- Ports ---------------------------------------------------------------------------------------

TNetAVRAINPort::TNetAVRAINPort()
{
    Name = PortName("Analog") + QStringLiteral(" IN");
    for (int n = 0; n < 4; ++n)
        AddPin(PortName("Analog") + QStringLiteral(" In %1").arg(n), QStringLiteral("AI%1").arg(n),
               0.0L, 5.0L, false);
    SetInput(true);
}

void TNetAVRAINPort::writeToStream(TWriter& writer)
{
    TIOPort::writeToStream(writer);
    writer.WriteInteger(Vref);
}

void TNetAVRAINPort::readFromStream(TReader& reader)
{
    TIOPort::readFromStream(reader);
    Vref = std::clamp(reader.ReadInteger(), 0, 6000);
}

TNetAVRDOUTPort::TNetAVRDOUTPort()
{
    Name = QStringLiteral("Digital OUT");
    for (int n = 0; n < 8; ++n)
        AddPin(QStringLiteral("Digital Out %1").arg(n), QStringLiteral("DO%1").arg(n), 0.0L, 5.0L,
               false);
    SetInput(false);
}

TNetAVRDINPort::TNetAVRDINPort()
{
    Name = QStringLiteral("Digital IN");
    for (int n = 0; n < 4; ++n)
        AddPin(QStringLiteral("Digital In %1").arg(n), QStringLiteral("DI%1").arg(n), 0.0L, 5.0L,
               false);
    SetInput(true);
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TNetAVRTCP::Description{
    .Name = "TNetAVRTCP",
    .Ports = {ClassEntry<TNetAVRAINPort>(), ClassEntry<TNetAVRDOUTPort>(),
              ClassEntry<TNetAVRDINPort>()},
    .Prefix = {"AVRNETIO-"},
    .PaletteName = {"Pollin\rAVR-NET-IO"},
    .Caption = {"AVR-NET-IO"},
    .HelpContext = 35500,
    .Category = TPaletteCategory::AndereHersteller};

TNetAVRTCP::TNetAVRTCP()
{
    Describe(Description);
    Name = QStringLiteral("AVR-NET-IO");
    Host = QString::fromLatin1(kFactoryHost);
    Port = kFactoryPort;
    ClearPorts();
    Ports.push_back(std::make_unique<TNetAVRAINPort>());
    Ports.push_back(std::make_unique<TNetAVRDOUTPort>());
    Ports.push_back(std::make_unique<TNetAVRDINPort>());
    PropagateAddress();
    BuildPinList();
}

TNetAVRAINPort& TNetAVRTCP::AnalogPort() const
{
    return static_cast<TNetAVRAINPort&>(*Ports[kPhaseAnalog]);
}

TNetAVRDOUTPort& TNetAVRTCP::OutputPort() const
{
    return static_cast<TNetAVRDOUTPort&>(*Ports[kPhaseOutputs]);
}

TNetAVRDINPort& TNetAVRTCP::InputPort() const
{
    return static_cast<TNetAVRDINPort&>(*Ports[kPhaseInputs]);
}

void TNetAVRTCP::getKonfigData()
{
    TIOInterface::getKonfigData();
    m_portText = QString::number(Port);
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    rows->AddCaptionProp(QStringLiteral("TCP"));
    rows->AddEditProp(QStringLiteral("Host [IP]"), Host, 0, 120);
    rows->AddEditProp(QStringLiteral("Port [TCP]"), m_portText, 6, 60);
    rows->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    rows->AddSpinProp(Lang3Q("Abfragezyklus [ms]", "Request Delay [ms]", "Cycle de requêtes [ms]"),
                      RequestDelay, 0, 1000, 60);
    rows->AddSpinProp(QStringLiteral("Vref [mV]"), AnalogPort().Vref, 0, 6000, 60);
}

void TNetAVRTCP::ApplySettings()
{
    TPureTCP::ApplySettings();
    Mode = 0;
    FramingMode = 0;
    RequestDelay = std::clamp(RequestDelay, 0, 1000);
    BuildPinList();
}

void TNetAVRTCP::SimStart()
{
    Mode = 0;
    FramingMode = 0;
    m_phase = kPhaseAnalog;
    m_told = false;
    m_status.clear();
    // The first exchange of the outputs sends every level.
    for (const auto& pin : OutputPort().Pins)
        pin->SentState = 2;
    TPureTCP::SimStart();
    m_lastExchange = Clock().TickCount();
    if (!m_client || !m_client->Socket.Connected())
        Fail(Lang3Q("Die Platine %1:%2 ist nicht erreichbar.", "The board %1:%2 cannot be reached.",
                    "La carte %1:%2 est injoignable.")
                 .arg(Host)
                 .arg(Port));
}

void TNetAVRTCP::SimStop()
{
    TPureTCP::SimStop();
}

void TNetAVRTCP::MachEsJetzt()
{
    if (!Running || !m_client)
        return;
    if (!m_client->Socket.Connected()) {
        RetryAtHalfMinute(kRetryTimeoutMs);
        if (m_client && m_client->Socket.Connected())
            m_status.clear();
        return;
    }
    const uint32_t now = Clock().TickCount();
    if (now < m_lastExchange)
        m_lastExchange = now;
    if (uint32_t(RequestDelay / 3) > now - m_lastExchange)
        return;
    m_lastExchange = now;
    if (Exchange())
        m_phase = (m_phase + 1) % 3;
}

bool TNetAVRTCP::Exchange()
{
    switch (m_phase) {
    case kPhaseAnalog: return ExchangeAnalog();
    case kPhaseOutputs: return ExchangeOutputs();
    default: return ExchangeInputs();
    }
}

std::optional<std::string> TNetAVRTCP::Ask(const std::string& command)
{
    TPureClient& client = *m_client;
    // An answer that came too late for the last command must not answer this one.
    client.Socket.Purge();
    client.Pending.clear();
    if (!client.Socket.Send(reinterpret_cast<const uint8_t*>(command.data()), command.size())) {
        Fail(Lang3Q("Die Verbindung zur Platine %1:%2 ist abgebrochen.",
                    "The connection to the board %1:%2 broke.",
                    "La connexion avec la carte %1:%2 est rompue.")
                 .arg(Host)
                 .arg(Port));
        return std::nullopt;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ReadTimeout, 1));
    while (true) {
        const auto lf = std::find(client.Pending.begin(), client.Pending.end(), uint8_t('\n'));
        if (lf != client.Pending.end()) {
            std::string line(client.Pending.begin(), lf);
            client.Pending.erase(client.Pending.begin(), lf + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || client.Pending.size() > kMaxAnswer) {
            Fail(Lang3Q("Die Platine %1:%2 antwortet nicht auf \"%3\".",
                        "The board %1:%2 does not answer \"%3\".",
                        "La carte %1:%2 ne répond pas à \"%3\".")
                     .arg(Host)
                     .arg(Port)
                     .arg(QString::fromStdString(command)));
            return std::nullopt;
        }
        uint8_t buffer[128];
        const int got = client.Socket.Receive(buffer, sizeof buffer, int(left.count()));
        if (got < 0) {
            Fail(Lang3Q("Die Platine %1:%2 hat die Verbindung beendet.",
                        "The board %1:%2 closed the connection.",
                        "La carte %1:%2 a fermé la connexion.")
                     .arg(Host)
                     .arg(Port));
            return std::nullopt;
        }
        client.Pending.insert(client.Pending.end(), buffer, buffer + got);
    }
}

void TNetAVRTCP::Nonsense(const std::string& command, const std::string& answer)
{
    Tell(Lang3Q("Unverständliche Antwort \"%1\" auf \"%2\".",
                "Unreadable answer \"%1\" to \"%2\".", "Réponse illisible \"%1\" à \"%2\".")
             .arg(QString::fromLatin1(answer.substr(0, 40)).trimmed(),
                  QString::fromStdString(command)));
}

void TNetAVRTCP::Fail(const QString& why)
{
    if (m_client)
        m_client->Socket.Close();
    Tell(why);
}

void TNetAVRTCP::Tell(const QString& why)
{
    m_status = why;
    if (m_told)
        return;
    m_told = true;
    MessageBoxAfterStep(why, QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mtWarning);
}

bool TNetAVRTCP::ExchangeAnalog()
{
    TNetAVRAINPort& port = AnalogPort();
    // The first answer of a cycle is dropped: input 1 is asked once more.
    if (!Ask(avrnetio::GetAdcCommand(1)))
        return false;
    for (int k = 1; k <= 4 && size_t(k) <= port.Pins.size(); ++k) {
        const std::string command = avrnetio::GetAdcCommand(k);
        const std::optional<std::string> answer = Ask(command);
        if (!answer)
            return false;
        if (const std::optional<int> count = avrnetio::AdcAnswer(*answer))
            SetPinValue(*port.Pins[size_t(k - 1)], avrnetio::AdcVolts(*count, port.Vref));
        else
            Nonsense(command, *answer);
    }
    return true;
}

bool TNetAVRTCP::ExchangeOutputs()
{
    TNetAVRDOUTPort& port = OutputPort();
    for (int k = 1; k <= 8 && size_t(k) <= port.Pins.size(); ++k) {
        TPin& pin = *port.Pins[size_t(k - 1)];
        const bool high = GetPinDigital(pin);
        if (pin.SentState == uint8_t(high))
            continue;
        if (!Ask(avrnetio::SetPortCommand(k, high)))
            return false;
        pin.SentState = uint8_t(high);
    }
    return true;
}

bool TNetAVRTCP::ExchangeInputs()
{
    TNetAVRDINPort& port = InputPort();
    for (int k = 1; k <= 4 && size_t(k) <= port.Pins.size(); ++k) {
        const std::string command = avrnetio::GetPortCommand(k);
        const std::optional<std::string> answer = Ask(command);
        if (!answer)
            return false;
        if (const std::optional<bool> level = avrnetio::DigitalAnswer(*answer))
            SetPinDigital(*port.Pins[size_t(k - 1)], *level);
        else
            Nonsense(command, *answer);
    }
    return true;
}

void TNetAVRTCP::writeToStream(TWriter& writer)
{
    TPureTCP::writeToStream(writer);
    writer.WriteInteger(RequestDelay);
}

void TNetAVRTCP::readFromStream(TReader& reader)
{
    TPureTCP::readFromStream(reader);
    RequestDelay = std::clamp(reader.ReadInteger(), 0, 1000);
}
