#include "hardware/com/ComLines.h"

#include "hardware/transport/SerialInterface.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

namespace {

void AddLinePin(TIOPort& port, const char* description, const char* name)
{
    port.AddPin(QString::fromLatin1(description), QString::fromLatin1(name), 0.0L, 5.0L, false);
}

// COM numbers of records that stored the UART's base address.
uint16_t ComFromOldAddress(uint16_t stored)
{
    switch (stored) {
    case 0x02E8: return 4;
    case 0x02F8: return 2;
    case 0x03E8: return 3;
    case 0x03F8: return 1;
    default: return stored > 19 ? 0 : stored;
    }
}

} // namespace

std::shared_ptr<ISerialLine> OpenOwnLine(int32_t n, const QString& deviceName)
{
    std::shared_ptr<ISerialLine> line = MakeSerialLine();
    const QString node = ComDeviceNode(n);
    if (const int32_t code = line->Open(node)) {
        MessageBoxText(Lang3Q("COM %1 (%2) lässt sich nicht öffnen: %3\n"
                              "Die Simulation läuft ohne diese Schnittstelle weiter.",
                              "COM %1 (%2) cannot be opened: %3\n"
                              "The simulation goes on without this port.",
                              "COM %1 (%2) ne peut pas être ouvert : %3\n"
                              "La simulation continue sans ce port.")
                           .arg(n)
                           .arg(node, SerialErrorText(code)),
                       QString(deviceName).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                       mtWarning);
        return nullptr;
    }
    return line;
}

TCOM_DOutPort::TCOM_DOutPort()
{
    Name = Lang3Q("COM-Ausgänge", "COM outputs", "Sorties COM");
    ClearPins();
    AddLinePin(*this, "Data terminal ready", "DTR");
    AddLinePin(*this, "Ready to send", "RTS");
    AddLinePin(*this, "Transmit data", "TXD");
    SetInput(false);
}

void TCOM_DOutPort::MachEsJetzt()
{
    if (BaseAddress == 0 || !DeviceHandle || Pins.size() < 3)
        return;
    DeviceHandle->SetModemLine(TModemLine::Dtr, GetPinDigital(*Pins[0]));
    DeviceHandle->SetModemLine(TModemLine::Rts, GetPinDigital(*Pins[1]));
    DeviceHandle->SetBreak(GetPinDigital(*Pins[2]));
}

TCOM_DInPort::TCOM_DInPort()
{
    Name = Lang3Q("COM-Eingänge", "COM inputs", "Entrées COM");
    ClearPins();
    AddLinePin(*this, "Clear to send", "CTS");
    AddLinePin(*this, "Data set ready", "DSR");
    AddLinePin(*this, "Ring indicator", "RI");
    AddLinePin(*this, "Data carrier detect", "DCD");
    SetInput(true);
}

void TCOM_DInPort::MachEsJetzt()
{
    if (BaseAddress == 0 || !DeviceHandle || Pins.size() < 4)
        return;
    uint32_t status = 0;
    if (DeviceHandle->GetModemStatus(status) != 0)
        return; // the inputs keep their values
    static constexpr uint32_t bits[] = {kModemCts, kModemDsr, kModemRing, kModemRlsd};
    for (size_t i = 0; i < 4; ++i)
        SetPinValue(*Pins[i], (status & bits[i]) ? 5.0L : 0.0L);
}

const TDeviceDescription TCOM_D::Description{
    .Name = "TCOM_D",
    .Ports = {ClassEntry<TCOM_DOutPort>(), ClassEntry<TCOM_DInPort>()},
    .Prefix = {"COMD"},
    .PaletteName = {"COM-Port\r(direkt)", "COM-Port\r(direct)", "Port COM\r(direct)"},
    .Caption = {"COM"},
    .HelpContext = 18755,
    .Category = TPaletteCategory::RS232,
    .LegacyNames = {"TBTCOMD"}};

TCOM_D::TCOM_D()
{
    Describe(Description);
    Name = QStringLiteral("COM-Port");
    Ports.push_back(std::make_unique<TCOM_DOutPort>());
    Ports.push_back(std::make_unique<TCOM_DInPort>());
    BuildPinList();
    OutputCount = 3;
    BaseAddress = 0;
    PropagateAddress();
}

void TCOM_D::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(QStringLiteral("COM"), DlgAddress, ComList(), 130);
}

void TCOM_D::ApplySettings()
{
    BaseAddress = uint16_t(std::clamp(DlgAddress, 0, 99));
    TIOInterface::ApplySettings();
    PropagateAddress();
    ResetPins();
}

void TCOM_D::ResetPins()
{
    if (Running) {
        SimStop();
        SimStart();
        TIOInterface::ResetPins();
    } else {
        SimStart();
        TIOInterface::ResetPins();
        SimStop();
    }
}

void TCOM_D::HandToPorts()
{
    static_cast<TCOM_DOutPort&>(*Ports[0]).DeviceHandle = DeviceHandle;
    static_cast<TCOM_DInPort&>(*Ports[1]).DeviceHandle = DeviceHandle;
}

void TCOM_D::SimStart()
{
    TIOInterface::SimStart();
    DeviceHandle.reset();
    if (BaseAddress != 0)
        DeviceHandle = OpenOwnLine(BaseAddress, Name);
    HandToPorts();
}

void TCOM_D::SimStop()
{
    TIOInterface::SimStop();
    if (DeviceHandle)
        DeviceHandle->Close();
    DeviceHandle.reset();
    HandToPorts();
}

void TCOM_D::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    BaseAddress = ComFromOldAddress(BaseAddress);
    PropagateAddress();
    TIOPort& out = *Ports[0];
    if (out.Pins.size() < 3) {
        TPin& txd = out.AddPin(QStringLiteral("TXD"), QStringLiteral("TXD"), 0.0L, 5.0L, false);
        txd.PortIndex = 0;
        txd.PinIndex = 2;
        txd.RawMin = 0;
        txd.RawMax = 5;
        txd.IsOutput = 1;
    }
    BuildPinList();
}

void WriteOwnLineKeys(TIniFile& ini, const QString& section, const QString& name, int32_t com)
{
    ini.WriteString(section, QStringLiteral("Name"), name);
    ini.WriteInteger(section, QStringLiteral("COM"), com);
}

uint16_t ReadOwnLineCom(TIniFile& ini, const QString& section)
{
    return uint16_t(std::clamp(ini.ReadInteger(section, QStringLiteral("COM"), 0), 0, 100));
}

void TCOM_D::writeToIni(TIniFile& ini, const QString& section)
{
    WriteOwnLineKeys(ini, section, Name, BaseAddress);
}

void TCOM_D::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadOwnLineCom(ini, section);
    PropagateAddress();
}
