#include "hardware/elv/Io88.h"

#include "hardware/elv/ElvProtocol.h"
#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"

#include <algorithm>

namespace {

// Longer than any answer: what piles up without an ETX is line noise.
constexpr size_t kMaxAnswerLength = 16;

void AddBitPins(TIOPort& port, const QString& description, const char* prefix)
{
    port.ClearPins();
    for (int n = 0; n < 8; ++n)
        port.AddPin(description + QLatin1Char(' ') + QString::number(n),
                    QLatin1String(prefix) + QString::number(n), 0.0L, 5.0L, false);
}

QString OutputsName()
{
    return Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
}

QString InputsName()
{
    return Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
}

QString OutputText()
{
    return Lang3Q("Ausgang", "Output", "Sortie");
}

QString InputText()
{
    return Lang3Q("Eingang", "Input", "Entrée");
}

void FtWrite(FT_HANDLE handle, std::vector<uint8_t> bytes)
{
    uint32_t written = 0;
    Uio88().FT_Write.Call(handle, bytes.data(), uint32_t(bytes.size()), &written);
}

// One step serves the output port (the first) or the input port, in turn.
void ServeInTurn(TIOInterface& device, bool& nextIsOutput)
{
    device.Ports[nextIsOutput ? 0 : 1]->MachEsJetzt();
    nextIsOutput = !nextIsOutput;
}

} // namespace

bool Io88TakeAnswerByte(TIOPort& port, std::string& rxText, uint8_t byte)
{
    rxText.push_back(char(byte));
    if (byte != kEtx) {
        if (rxText.size() > kMaxAnswerLength)
            rxText.clear();
        return false;
    }
    const auto data = Io88ParseAnswer(rxText);
    rxText.clear();
    if (data)
        port.SetPinsFromWord(*data);
    return data.has_value();
}

// --- TIO88 -------------------------------------------------------------------------------------

TIO88DOutPort::TIO88DOutPort()
{
    AddBitPins(*this, OutputText(), "DO");
    SetInput(false);
}

void TIO88DOutPort::SimStart()
{
    LastSent = 0xFFFF;
    TSerialDOutPort::SimStart();
}

void TIO88DOutPort::MachEsJetzt()
{
    if (!Comm || Comm->Port() == 0)
        return;
    const uint16_t w = GetPinsAsWord();
    if (w != LastSent) {
        const std::vector<uint8_t> frame = Io88OutputFrame(uint8_t(w));
        Comm->Write(frame.data(), int32_t(frame.size()));
        LastSent = w;
    }
    NoMessages = true;
    Wait(10);
    NoMessages = false;
}

TIO88DInPort::TIO88DInPort()
{
    AddBitPins(*this, InputText(), "DI");
    SetInput(true);
}

void TIO88DInPort::MachEsJetzt()
{
    if (!Comm || Comm->Port() == 0)
        return;
    const std::vector<uint8_t> request = Io88InputRequest();
    Comm->Write(request.data(), int32_t(request.size()));
    NoMessages = true;
    Wait(10);
    NoMessages = false;
    for (int32_t n = Comm->InQueCount(); n > 0; --n) {
        uint8_t byte = 0;
        if (Comm->Read(&byte, 1) != 1)
            break;
        Io88TakeAnswerByte(*this, RxText, byte);
    }
}

const TDeviceDescription TIO88::Description{
    .Name = "TIO88",
    .Ports = {ClassEntry<TIO88DOutPort>(), ClassEntry<TIO88DInPort>()},
    .Prefix = {"IO88-"},
    .PaletteName = {"ELV - IO88"},
    .Caption = {"ELV - IO88"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::ELV};

TIO88::TIO88()
{
    Describe(Description);
    Name = QStringLiteral("ELV-IO88");
    auto out = std::make_unique<TIO88DOutPort>();
    auto in = std::make_unique<TIO88DInPort>();
    out->Name = OutputsName();
    in->Name = InputsName();
    Ports.push_back(std::move(out));
    Ports.push_back(std::move(in));
    BuildPinList();
    OutputCount = 8;
    PropagateAddress();
}

void TIO88::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    try {
        cate.Multimeter = true; // DTR on, RTS off
        cate.SetBaudRate(TBaudRate::Baud9600);
        cate.SetDatabits(TDataBits::_8);
        cate.SetParity(TParity::Even);
        cate.SetStopbits(TStopBits::_1);
    } catch (const ECommError& e) {
        ReportPortFailure(SerialErrorText(e.ErrorCode));
    }
}

void TIO88::SimStart()
{
    TSerialInterface::SimStart();
    PreparePort();
}

void TIO88::MachEsJetzt()
{
    if (AnyPortBusy())
        return;
    ServeInTurn(*this, NextIsOutput);
}

void TIO88::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
}

void TIO88::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
    PropagateAddress();
}

// --- TUIO88 ------------------------------------------------------------------------------------

TUIO88DOutPort::TUIO88DOutPort()
{
    AddBitPins(*this, OutputText(), "DO");
    SetInput(false);
}

void TUIO88DOutPort::SimStart()
{
    LastSent = 0xFFFF;
    TDOutPort::SimStart();
}

void TUIO88DOutPort::MachEsJetzt()
{
    if (!Running)
        return;
    const uint8_t b = uint8_t(GetPinsAsWord());
    if (b != LastSent) {
        FtWrite(Handle, Io88OutputFrame(b));
        LastSent = b;
    }
    Wait(10);
}

TUIO88DInPort::TUIO88DInPort()
{
    AddBitPins(*this, InputText(), "DI");
    SetInput(true);
}

void TUIO88DInPort::SimStart()
{
    RequestPending = false;
    RxText.clear();
    TDInPort::SimStart();
}

void TUIO88DInPort::MachEsJetzt()
{
    if (!Running)
        return;
    if (RequestPending && Clock().TickCount() - m_requestTick > AnswerTimeoutMs) {
        RequestPending = false; // the answer is lost: ask again
        RxText.clear();
    }
    if (!RequestPending) {
        Uio88().FT_Purge.Call(Handle, kFtPurgeRx);
        FtWrite(Handle, Io88InputRequest());
        RequestPending = true;
        m_requestTick = Clock().TickCount();
        Wait(10);
        return;
    }
    uint8_t byte = 0;
    uint32_t read = 0;
    Uio88().FT_Read.Call(Handle, &byte, 1, &read);
    if (read > 0 && Io88TakeAnswerByte(*this, RxText, byte))
        RequestPending = false;
}

const char* const TUIO88::BoardDescription = "ELV USB-I/O-Interface";

const TDeviceDescription TUIO88::Description{
    .Name = "TUIO88",
    .Ports = {ClassEntry<TUIO88DOutPort>(), ClassEntry<TUIO88DInPort>()},
    .Prefix = {"UIO88-"},
    .PaletteName = {"ELV-UIO88"},
    .Caption = {"ELV-UIO88"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::ELV,
    .MakerFiles = {"UIO88.DLL"}};

TUIO88::TUIO88() : TVendorLibraryDevice(Uio88())
{
    Describe(Description);
    Name = QStringLiteral("ELV-UIO88");
    auto out = std::make_unique<TUIO88DOutPort>();
    auto in = std::make_unique<TUIO88DInPort>();
    out->Name = OutputsName();
    in->Name = InputsName();
    Ports.push_back(std::move(out));
    Ports.push_back(std::move(in));
    BuildPinList();
    OutputCount = 8;
    BaseAddress = 0;
    PropagateAddress();
}

void TUIO88::ListDevices()
{
    SerialList.clear();
    if (!LibraryReady())
        return;
    TFtd2xxLibrary& library = Uio88();
    if (Handle) {
        library.FT_Purge.Call(Handle, kFtPurgeRx);
        library.FT_Purge.Call(Handle, kFtPurgeTx);
    }
    const int32_t count = library.DeviceCount();
    for (int32_t i = 0; i < count; ++i)
        if (library.Description(i) == QLatin1String(BoardDescription))
            SerialList << library.SerialNumber(i);
}

bool TUIO88::OpenBySerial(const QString& serial)
{
    if (serial.isEmpty())
        return false;
    QByteArray text = serial.toLatin1();
    const auto status = Uio88().FT_OpenEx.Call(text.data(), kFtOpenBySerialNumber, &Handle);
    if (!status || *status != 0)
        Handle = nullptr;
    return Handle != nullptr;
}

void TUIO88::HandToPorts()
{
    static_cast<TUIO88DOutPort&>(*Ports[0]).Handle = Handle;
    static_cast<TUIO88DInPort&>(*Ports[1]).Handle = Handle;
}

void TUIO88::SimStart()
{
    Handle = nullptr;
    HandToPorts();
    if (BaseAddress == 0 || !CheckLibrary())
        return; // no board chosen, or no library: the device stays idle
    ListDevices();
    if (!OpenBySerial(PreferredSerial) && BaseAddress <= SerialList.size()) {
        PreferredSerial = SerialList[BaseAddress - 1];
        OpenBySerial(PreferredSerial);
    }
    if (!CheckService(Handle != nullptr,
                      Lang3Q("Das ELV-UIO88 #%1 ist nicht angeschlossen.\n"
                             "Die Simulation läuft ohne dieses Gerät weiter.",
                             "The ELV-UIO88 #%1 is not connected.\n"
                             "The simulation goes on without this device.",
                             "L'ELV-UIO88 #%1 n'est pas connecté.\n"
                             "La simulation continue sans cet appareil.")
                          .arg(BaseAddress)))
        return;
    TFtd2xxLibrary& library = Uio88();
    library.FT_SetBaudRate.Call(Handle, 9600);
    library.FT_SetDataCharacteristics.Call(Handle, 8, 0, 2);
    library.FT_SetFlowControl.Call(Handle, 0, 17, 19);
    library.FT_SetChars.Call(Handle, 0, 0, 0, 0);
    library.FT_SetTimeouts.Call(Handle, 1, 0);
    HandToPorts();
    TVendorLibraryDevice::SimStart();
}

void TUIO88::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (Handle)
        Uio88().FT_Close.Call(Handle);
    Handle = nullptr;
    HandToPorts();
}

void TUIO88::MachEsJetzt()
{
    if (BaseAddress == 0 || !Handle || AnyPortBusy() || !Running)
        return;
    ServeInTurn(*this, NextIsOutput);
}

void TUIO88::ApplySettings()
{
    TVendorLibraryDevice::ApplySettings();
    ListDevices();
    BaseAddress = uint16_t(std::max(DlgAddress, 0));
    PropagateAddress();
    if (BaseAddress != 0 && BaseAddress <= SerialList.size())
        PreferredSerial = SerialList[BaseAddress - 1];
}

void TUIO88::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    if (DeviceList.isEmpty()) {
        DeviceList << Translate(QStringLiteral("Kein"));
        ListDevices();
        for (int k = 1; k <= SerialList.size(); ++k)
            DeviceList << QStringLiteral("ELV - UIO88 #%1").arg(k);
    }
    if (DeviceList.size() < DlgAddress)
        DlgAddress = 0;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Gerät")), DlgAddress, DeviceList, 130);
}

void TUIO88::writeToStream(TWriter& writer)
{
    TVendorLibraryDevice::writeToStream(writer);
    writer.WriteString(PreferredSerial);
}

void TUIO88::readFromStream(TReader& reader)
{
    TVendorLibraryDevice::readFromStream(reader);
    PreferredSerial = reader.ReadString();
    PropagateAddress();
}

void TUIO88::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteString(section, QStringLiteral("Device"), WordToHex(BaseAddress));
    ini.WriteString(section, QStringLiteral("Prefered_SerialNo"), PreferredSerial);
}

void TUIO88::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = HexToWord(ini.ReadString(section, QStringLiteral("Device"), QStringLiteral("0000")));
    PreferredSerial = ini.ReadString(section, QStringLiteral("Prefered_SerialNo"), QString());
    PropagateAddress();
}
