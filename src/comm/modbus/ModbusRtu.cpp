#include "comm/modbus/ModbusRtu.h"

#include "core/model/Translator.h"
#include "hardware/transport/ComPort.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <cmath>

namespace {

enum { kPortControl = 0, kPortStatus = 1, kPortData = 2 };

QStringList ComList()
{
    QStringList list{Lang3Q("Kein", "None", "Aucun")};
    for (int i = 1; i <= 99; ++i)
        list << QStringLiteral("COM ") + QString::number(i);
    return list;
}

} // namespace

// --- Line settings -------------------------------------------------------------------------------

const QStringList& SerialBaudList()
{
    return BaudList();
}

QStringList SerialParityList()
{
    return {Lang3Q("Keine", "None", "Aucune"), Lang3Q("Ungerade", "Odd", "Impaire"),
            Lang3Q("Gerade", "Even", "Paire"), Lang3Q("Markierung", "Mark", "Marque"),
            Lang3Q("Leer", "Space", "Espace")};
}

const QStringList& SerialDataBitsList()
{
    return DatabitsList();
}

const QStringList& SerialStopBitsList()
{
    return StopbitsList();
}

int32_t SerialBaudValue(int32_t index)
{
    const QStringList& list = SerialBaudList();
    return list.value(std::clamp(index, 0, int32_t(list.size()) - 1)).toInt();
}

TSerialTransportOpener& SerialTransportOpener()
{
    static TSerialTransportOpener opener;
    return opener;
}

// --- Ports ---------------------------------------------------------------------------------------

TRTUOutPort::TRTUOutPort()
{
    Name = QStringLiteral("Control");
    AddPin(QStringLiteral("Unit-ID"), QStringLiteral("UID"), 0.0L, 255.0L, false);
    AddPin(QStringLiteral("Send Clock"), QStringLiteral("|CLK"), 0.0L, 5.0L, false);
    SetInput(false);
}

TRTUInPort::TRTUInPort()
{
    Name = QStringLiteral("Status");
    AddPin(QStringLiteral("Error"), QStringLiteral("ERR"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Connected"), QStringLiteral("CN"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Busy"), QStringLiteral("BSY"), 0.0L, 5.0L, false);
    SetInput(true);
}

// --- Device --------------------------------------------------------------------------------------

TModbusRTU*& ModbusRtuInFlight()
{
    static TModbusRTU* device = nullptr;
    return device;
}

TModbusRTU::TModbusRTU()
{
    Describe(Description);
    Name = QStringLiteral("Modbus/RTU");
    Ports.push_back(std::make_unique<TRTUOutPort>());
    Ports.push_back(std::make_unique<TRTUInPort>());
    Ports.push_back(std::make_unique<TModbusRTUDataPort>());
    BuildPinList();
    PropagateAddress();
}

TModbusRTU::~TModbusRTU()
{
    if (ModbusRtuInFlight() == this)
        ModbusRtuInFlight() = nullptr;
}

void TModbusRTU::SetFunction(uint8_t code)
{
    FunctionCode = code;
    DataPort().Configure(code, 1);
    BuildPinList();
    Name = QStringLiteral("Modbus/RTU-") + modbus::FunctionCaption(code);
}

TModbusRTUDataPort& TModbusRTU::DataPort() const
{
    return static_cast<TModbusRTUDataPort&>(*Ports[kPortData]);
}

modbus::TStatusPins TModbusRTU::Status() const
{
    const auto& pins = Ports[kPortStatus]->Pins;
    return {pins[0].get(), pins[1].get(), pins[2].get()};
}

void TModbusRTU::getKonfigData()
{
    TIOInterface::getKonfigData();
    m_dlgChannels = ChannelCount();
    m_dlgCom = ComNumber;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    rows->AddComboProp(QStringLiteral("COM"), m_dlgCom, ComList(), 90);
    rows->AddCaptionProp(Translate(QStringLiteral("Parameter")));
    rows->AddComboProp(QStringLiteral("Baud"), Line.Baud, SerialBaudList(), 90);
    rows->AddComboProp(QStringLiteral("Data"), Line.DataBits, SerialDataBitsList(), 90);
    rows->AddComboProp(QStringLiteral("Parity"), Line.Parity, SerialParityList(), 90);
    rows->AddComboProp(QStringLiteral("Stop"), Line.StopBits, SerialStopBitsList(), 90);
    rows->AddCaptionProp(Translate(QStringLiteral("Funktion")) + QLatin1Char(' ') + FunctionText());
    rows->AddSpinProp(QStringLiteral("Start address"), StartAddress, 1, 65536, 60);
    if (FunctionCode != 5 && FunctionCode != 6)
        rows->AddSpinProp(Translate(QStringLiteral("Kanäle")), m_dlgChannels, 1, 64, 60);
    rows->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    rows->AddSpinProp(QStringLiteral("Response timeout [ms]"), ResponseTimeout, 0, 20000, 60);
}

void TModbusRTU::ApplySettings()
{
    TIOInterface::ApplySettings();
    ComNumber = std::clamp(m_dlgCom, 0, 99);
    DataPort().Configure(FunctionCode, m_dlgChannels);
    BuildPinList();
}

void TModbusRTU::SimStart()
{
    Transport.reset();
    if (ComNumber > 0 && SerialTransportOpener())
        Transport = SerialTransportOpener()(ComNumber, Line);
    if (ComNumber > 0 && !Transport)
        MessageBoxText(Lang3Q("Die Schnittstelle COM %1 lässt sich nicht öffnen.",
                                "The port COM %1 cannot be opened.",
                                "Le port COM %1 ne peut pas être ouvert.")
                           .arg(ComNumber),
                       QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                       mtWarning);
    TIOInterface::SimStart();
    ModbusRtuInFlight() = nullptr;
    Waiting = false;
    Pending = false;
    m_lastClock = false;
    m_answer.clear();
    m_statusMessage.clear();
}

void TModbusRTU::SimStop()
{
    if (ModbusRtuInFlight() == this)
        ModbusRtuInFlight() = nullptr;
    TIOInterface::SimStop();
    Transport.reset();
}

void TModbusRTU::Finish(int32_t code, const QString& message)
{
    const modbus::TStatusPins status = Status();
    status.SetErr(code);
    status.SetBsy(false);
    m_statusMessage = message;
    if (ModbusRtuInFlight() == this)
        ModbusRtuInFlight() = nullptr;
    m_answer.clear();
    m_overflow = false;
}

void TModbusRTU::SendRequest()
{
    if (!Transport || !Transport->Connected()) {
        Finish(modbus::kNotConnected, Lang3Q("Keine serielle Schnittstelle",
                                               "No serial port", "Pas de port série"));
        return;
    }
    m_sentTick = Clock().TickCount();
    m_sentUnit = m_unit;
    // Bytes of an earlier, late answer must not become part of this one.
    Transport->PurgeIn();
    m_answer.clear();
    m_overflow = false;
    const std::vector<uint8_t> frame = modbus::RtuRequest(
        m_sentUnit,
        modbus::RequestPdu(FunctionCode, StartAddress, ChannelCount(), DataPort().Values()));
    if (Transport->Write(frame.data(), int32_t(frame.size())) != int32_t(frame.size())) {
        Finish(modbus::kTimeout, Lang3Q("Senden auf der seriellen Schnittstelle misslungen",
                                          "Sending on the serial port failed",
                                          "Échec de l'envoi sur le port série"));
        return;
    }
    if (m_sentUnit == 0) {
        Finish(modbus::kOk, QString()); // a broadcast is not answered
        return;
    }
    Status().SetBsy(true);
    Waiting = true;
    ModbusRtuInFlight() = this;
}

void TModbusRTU::ReadResponse()
{
    if (Transport) {
        // At most a frame and the bytes that show an answer too long, per step: a peer that
        // keeps sending never holds the step.
        for (size_t taken = 0; taken <= modbus::kRtuMaxFrame;) {
            const int32_t waiting = Transport->InQueCount();
            if (waiting <= 0)
                break;
            uint8_t buffer[modbus::kRtuMaxFrame];
            const int32_t got = Transport->Read(buffer, int32_t(sizeof buffer));
            if (got <= 0)
                break;
            taken += size_t(got);
            const size_t room = modbus::kRtuMaxFrame - m_answer.size();
            if (size_t(got) > room)
                m_overflow = true;
            m_answer.insert(m_answer.end(), buffer, buffer + std::min(size_t(got), room));
            m_lastByteTick = Clock().TickCount();
        }
    }
    const std::optional<size_t> size = modbus::RtuAnswerSize(m_answer.data(), m_answer.size());
    const bool complete = size && *size != 0 && m_answer.size() >= *size;
    // The rest of an answer follows within about 200 bit times of its last byte.
    const int32_t baud = Transport ? std::max(Transport->BaudValue(), 1) : 9600;
    const double gapMs = 200000.0 / baud;
    const bool silent = double(uint32_t(Clock().TickCount() - m_lastByteTick)) >= gapMs;
    if (!complete && !silent && !m_answer.empty() && !m_overflow && !(size && *size == 0))
        return; // more of the answer is on its way
    Status().SetCn(!m_answer.empty());
    // Bytes beyond the frame, or a frame cut short, make the answer's size wrong.
    const modbus::TAnswer answer = modbus::DecodeRtuAnswer(
        m_sentUnit, FunctionCode, StartAddress, ChannelCount(), m_answer.data(), m_answer.size());
    if (answer.Status == modbus::kOk)
        DataPort().Apply(answer.Values);
    Finish(answer.Status, answer.Message);
}

void TModbusRTU::MachEsJetzt()
{
    if (!Running || AnyPortBusy() || Ports[kPortControl]->Pins.size() < 2)
        return;
    const TPin& uid = *Ports[kPortControl]->Pins[0];
    const Extended u = GetPinValue(uid);
    m_unit = std::isnan(double(u)) ? 0 : uint8_t(std::nearbyint(double(std::clamp(u, 0.0L, 255.0L))));
    const modbus::TStatusPins status = Status();
    if (Waiting) {
        if (Transport && Transport->InQueCount() > 0) {
            Waiting = false;
            m_lastByteTick = Clock().TickCount();
        } else if (uint32_t(Clock().TickCount() - m_sentTick)
                   > uint32_t(std::max(ResponseTimeout, 0))) {
            Waiting = false;
            status.SetCn(false);
            m_lastByteTick = Clock().TickCount() - 1000000;
        }
    } else {
        if (Pending && !ModbusRtuInFlight()) {
            SendRequest();
            Pending = false;
            return;
        }
        if (ModbusRtuInFlight() == this)
            ReadResponse();
        else
            status.SetBsy(false);
    }
    if (FallingEdge(Ports[kPortControl]->Pins[1].get(), m_lastClock))
        Pending = true;
}

void TModbusRTU::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(UnitId);
    writer.WriteInteger(StartAddress);
    writer.WriteInteger(ResponseTimeout);
    writer.WriteInteger(ComNumber);
    writer.WriteInteger(Line.Baud);
    writer.WriteInteger(Line.Parity);
    writer.WriteInteger(Line.DataBits);
    writer.WriteInteger(Line.StopBits);
}

void TModbusRTU::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    UnitId = std::clamp(reader.ReadInteger(), 0, 255);
    StartAddress = std::clamp(reader.ReadInteger(), 1, 65536);
    ResponseTimeout = std::clamp(reader.ReadInteger(), 0, 20000);
    ComNumber = std::clamp(reader.ReadInteger(), 0, 99);
    Line.Baud = std::clamp(reader.ReadInteger(), 0, int32_t(SerialBaudList().size()) - 1);
    Line.Parity = std::clamp(reader.ReadInteger(), 0, 4);
    Line.DataBits = std::clamp(reader.ReadInteger(), 0, 4);
    Line.StopBits = std::clamp(reader.ReadInteger(), 0, 2);
    DataPort().Configure(FunctionCode, ChannelCount());
    BuildPinList();
}

void TModbusRTU::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteInteger(section, QStringLiteral("COM"), ComNumber);
}

void TModbusRTU::readFromIni(TIniFile& ini, const QString& section)
{
    ComNumber = std::clamp(ini.ReadInteger(section, QStringLiteral("COM"), ComNumber), 0, 99);
}

// --- Descriptions ------------------------------------------------------------------------------

namespace {

std::vector<TClassEntry> RtuPorts()
{
    return {ClassEntry<TRTUOutPort>(), ClassEntry<TRTUInPort>(), ClassEntry<TModbusRTUDataPort>()};
}

} // namespace

const TDeviceDescription TModbusRTU::Description{
    .Name = "TModbusRTU", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = {"Modbus/RTU"}, .Caption = {"Modbus/RTU"},
    .HelpContext = kModbusHelpContext};

const TDeviceDescription TModbusRTU_ReadCoils::Description{
    .Name = "TModbusRTU_ReadCoils", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("01", "Read Coils"),
    .Caption = {"Read Coils"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_ReadDiscreteInputs::Description{
    .Name = "TModbusRTU_ReadDiscreteInputs", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("02", "Read Discrete Inputs"),
    .Caption = {"Read Discrete Inputs"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_ReadRegs::Description{
    .Name = "TModbusRTU_ReadRegs", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("03", "Read Holding Registers"),
    .Caption = {"Read Holding Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_ReadInputRegs::Description{
    .Name = "TModbusRTU_ReadInputRegs", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("04", "Read Input Registers"),
    .Caption = {"Read Input Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_WriteSingleCoil::Description{
    .Name = "TModbusRTU_WriteSingleCoil", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("05", "Write Single Coil"),
    .Caption = {"Write Single Coil"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_WriteSingleReg::Description{
    .Name = "TModbusRTU_WriteSingleReg", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("06", "Write Single Register"),
    .Caption = {"Write Single Register"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_WriteCoils::Description{
    .Name = "TModbusRTU_WriteCoils", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("15", "Write Multiple Coils"),
    .Caption = {"Write Multiple Coils"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};

const TDeviceDescription TModbusRTU_WriteRegs::Description{
    .Name = "TModbusRTU_WriteRegs", .Ports = RtuPorts(),
    .Prefix = {"MBRTU-"}, .PaletteName = TAVRINOL_MODBUS_PALETTE_NAME("16", "Write Multiple Registers"),
    .Caption = {"Write Multiple Registers"}, .HelpContext = kModbusHelpContext,
    .Category = TPaletteCategory::ModbusRTU};
