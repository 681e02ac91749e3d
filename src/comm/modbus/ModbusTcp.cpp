#include "comm/modbus/ModbusTcp.h"

#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <algorithm>

namespace {

constexpr int kRetryConnectTimeoutMs = 3000;
enum { kPortControl = 0, kPortStatus = 1, kPortData = 2 };

QString TimeoutText()
{
    return Lang3Q("Keine Modbus-Antwort in der Antwortzeit",
                    "No Modbus answer within the response time-out",
                    "Pas de réponse Modbus dans le délai");
}

QString BrokenText()
{
    return Lang3Q("Modbus-Verbindung unterbrochen", "Modbus connection broken",
                    "Connexion Modbus interrompue");
}

} // namespace

TModbusTCP*& ModbusTcpInFlight()
{
    static TModbusTCP* device = nullptr;
    return device;
}

TModbusTCP::TModbusTCP()
{
    Describe(Description);
    Port = 502;
    ReadTimeout = 1000;
    FramingMode = 2;
    Name = QStringLiteral("Modbus/TCP");
    TIOPort& control = *Ports[kPortControl];
    control.Name = QStringLiteral("Control");
    control.ClearPins();
    control.AddPin(QStringLiteral("Send Clock"), QStringLiteral("|CLK"), 0.0L, 5.0L, false);
    control.SetInput(false);
    TIOPort& status = *Ports[kPortStatus];
    status.Name = QStringLiteral("Status");
    status.Pins[0]->PinName = QStringLiteral("ERR");
    status.Pins[0]->Description = QStringLiteral("Error");
    Ports.push_back(std::make_unique<TModbusTCPDataPort>());
    PropagateAddress();
    BuildPinList();
}

TModbusTCP::~TModbusTCP()
{
    if (ModbusTcpInFlight() == this)
        ModbusTcpInFlight() = nullptr;
}

void TModbusTCP::SetFunction(uint8_t code)
{
    FunctionCode = code;
    DataPort().Configure(code, 1);
    BuildPinList();
    Name = QStringLiteral("Modbus/TCP-") + modbus::FunctionCaption(code);
}

TModbusTCPDataPort& TModbusTCP::DataPort() const
{
    return static_cast<TModbusTCPDataPort&>(*Ports[kPortData]);
}

modbus::TStatusPins TModbusTCP::Status() const
{
    const auto& pins = Ports[kPortStatus]->Pins;
    return {pins[0].get(), pins[1].get(), pins[2].get()};
}

void TModbusTCP::getKonfigData()
{
    TIOInterface::getKonfigData();
    m_portText = QString::number(Port);
    m_dlgChannels = ChannelCount();
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    rows->AddCaptionProp(QStringLiteral("TCP"));
    rows->AddEditProp(QStringLiteral("Host [IP]"), Host, 0, 120);
    rows->AddEditProp(QStringLiteral("Port [TCP]"), m_portText, 6, 60);
    rows->AddCaptionProp(Translate(QStringLiteral("Funktion")) + QLatin1Char(' ') + FunctionText());
    rows->AddSpinProp(QStringLiteral("Start address"), StartAddress, 1, 65536, 60);
    if (FunctionCode != 5 && FunctionCode != 6)
        rows->AddSpinProp(Translate(QStringLiteral("Kanäle")), m_dlgChannels, 1, 64, 60);
    rows->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    rows->AddSpinProp(QStringLiteral("Unit ID"), UnitId, 0, 255, 60);
    rows->AddSpinProp(QStringLiteral("Response timeout [ms]"), ReadTimeout, 0, 20000, 60);
}

void TModbusTCP::ApplySettings()
{
    TPureTCP::ApplySettings();
    DataPort().Configure(FunctionCode, m_dlgChannels);
    BuildPinList();
}

void TModbusTCP::SimStart()
{
    FramingMode = 2;
    Mode = 0;
    Pending = false;
    m_lastClock = false;
    m_answer.clear();
    m_statusMessage.clear();
    TPureTCP::SimStart();
    ModbusTcpInFlight() = nullptr;
}

void TModbusTCP::SimStop()
{
    if (ModbusTcpInFlight() == this)
        ModbusTcpInFlight() = nullptr;
    TPureTCP::SimStop();
}

void TModbusTCP::Fail(int32_t code, const QString& message)
{
    const modbus::TStatusPins status = Status();
    status.SetBsy(false);
    status.SetErr(code);
    m_statusMessage = message;
    if (ModbusTcpInFlight() == this)
        ModbusTcpInFlight() = nullptr;
}

void TModbusTCP::SendRequest()
{
    // An answer that came too late for an earlier request must not answer this one.
    m_client->Socket.Purge();
    m_transaction = ++m_client->Transaction;
    m_sentUnit = uint8_t(std::clamp(UnitId, 0, 255));
    const std::vector<uint8_t> request = modbus::TcpRequest(
        m_transaction, m_sentUnit,
        modbus::RequestPdu(FunctionCode, StartAddress, ChannelCount(), DataPort().Values()));
    m_answer.clear();
    if (!m_client->Socket.Send(request)) {
        Fail(modbus::kTimeout, BrokenText());
        return;
    }
    m_sentTick = Clock().TickCount();
    Status().SetBsy(true);
    ModbusTcpInFlight() = this;
}

void TModbusTCP::PollAnswer()
{
    uint8_t buffer[modbus::kTcpMaxAdu];
    const size_t room = modbus::kTcpMaxAdu - m_answer.size();
    const int got = m_client->Socket.Receive(buffer, room, 0);
    if (got < 0) {
        Fail(modbus::kTimeout, BrokenText());
        return;
    }
    m_answer.insert(m_answer.end(), buffer, buffer + got);
    // One read of at most one answer's size per step: a peer that keeps sending never holds
    // the step. Late answers to earlier requests are passed over.
    size_t size = 0;
    const modbus::TTcpTake take = modbus::TakeTcpAnswer(m_answer, m_transaction, &size);
    if (take != modbus::TTcpTake::Incomplete) {
        const size_t length = take == modbus::TTcpTake::Answer ? size : m_answer.size();
        if (take == modbus::TTcpTake::Unreadable)
            m_client->Socket.Purge();  // out of step: what follows cannot be read either
        const modbus::TAnswer answer =
            modbus::DecodeTcpAnswer(m_transaction, m_sentUnit, FunctionCode, StartAddress,
                                    ChannelCount(), m_answer.data(), length);
        ModbusTcpInFlight() = nullptr;
        if (answer.Status == modbus::kOk)
            DataPort().Apply(answer.Values);
        const modbus::TStatusPins status = Status();
        status.SetErr(answer.Status);
        status.SetBsy(false);
        m_statusMessage = answer.Message;
        m_answer.clear();
        return;
    }
    if (uint32_t(Clock().TickCount() - m_sentTick) > uint32_t(std::max(ReadTimeout, 0)))
        Fail(modbus::kTimeout, TimeoutText());
}

void TModbusTCP::MachEsJetzt()
{
    if (!Running || AnyPortBusy() || !m_client)
        return;
    const modbus::TStatusPins status = Status();
    if (m_client->Socket.Connected()) {
        if (Pending && !ModbusTcpInFlight()) {
            SendRequest();
            Pending = false;
            return;
        }
        if (ModbusTcpInFlight() == this) {
            PollAnswer();
            if (ModbusTcpInFlight() == this && !m_client->Socket.Connected())
                return;
        }
        if (FallingEdge(Ports[kPortControl]->Pins.empty() ? nullptr
                                                          : Ports[kPortControl]->Pins[0].get(),
                        m_lastClock))
            Pending = true;
        status.SetCn(m_client->Socket.Connected());
        return;
    }
    if (ModbusTcpInFlight() == this)
        Fail(modbus::kTimeout, BrokenText());
    status.SetErr(modbus::kNotConnected);
    RetryAtHalfMinute(kRetryConnectTimeoutMs);
    status.SetCn(m_client->Socket.Connected());
}

void TModbusTCP::writeToStream(TWriter& writer)
{
    TPureTCP::writeToStream(writer);
    writer.WriteInteger(UnitId);
    writer.WriteInteger(StartAddress);
}

void TModbusTCP::readFromStream(TReader& reader)
{
    TPureTCP::readFromStream(reader);
    UnitId = std::clamp(reader.ReadInteger(), 0, 255);
    StartAddress = std::clamp(reader.ReadInteger(), 1, 65536);
    // The stored data port carries the channel count; its pins follow the function.
    DataPort().Configure(FunctionCode, ChannelCount());
    BuildPinList();
}

// --- Descriptions ------------------------------------------------------------------------------

namespace {

std::vector<TClassEntry> TcpPorts()
{
    return {ClassEntry<TPureTCPOutPort>(), ClassEntry<TPureTCPInPort>(), ClassEntry<TModbusTCPDataPort>()};
}

} // namespace

const TDeviceDescription TModbusTCP::Description{
    .Name = "TModbusTCP", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = {"Modbus/TCP"}, .Caption = {"Modbus/TCP"},
    .HelpContext = kModbusHelpContext};

const TDeviceDescription TModbus_ReadCoils::Description{
    .Name = "TModbus_ReadCoils", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("01", "Read Coils"),
    .Caption = {"Read Coils"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_ReadDiscreteInputs::Description{
    .Name = "TModbus_ReadDiscreteInputs", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("02", "Read Discrete Inputs"),
    .Caption = {"Read Discrete Inputs"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_ReadRegs::Description{
    .Name = "TModbus_ReadRegs", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("03", "Read Holding Registers"),
    .Caption = {"Read Holding Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_ReadInputRegs::Description{
    .Name = "TModbus_ReadInputRegs", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("04", "Read Input Registers"),
    .Caption = {"Read Input Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_WriteSingleCoil::Description{
    .Name = "TModbus_WriteSingleCoil", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("05", "Write Single Coil"),
    .Caption = {"Write Single Coil"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_WriteSingleReg::Description{
    .Name = "TModbus_WriteSingleReg", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("06", "Write Single Register"),
    .Caption = {"Write Single Register"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_WriteCoils::Description{
    .Name = "TModbus_WriteCoils", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("15", "Write Multiple Coils"),
    .Caption = {"Write Multiple Coils"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};

const TDeviceDescription TModbus_WriteRegs::Description{
    .Name = "TModbus_WriteRegs", .Ports = TcpPorts(),
    .Prefix = {"MBTCP-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("16", "Write Multiple Registers"),
    .Caption = {"Write Multiple Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusTCP};
