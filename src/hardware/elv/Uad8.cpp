#include "hardware/elv/Uad8.h"

#include "hardware/elv/ElvProtocol.h"
#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "ui/PropertySheet.h"

#include <algorithm>

namespace {

void Write(FT_HANDLE handle, std::vector<uint8_t> bytes)
{
    uint32_t written = 0;
    Ftd2xx().FT_Write.Call(handle, bytes.data(), uint32_t(bytes.size()), &written);
}

} // namespace

const char* const TUAD8::BoardDescription = "ELV USB-AD-Wandler";

TUAD8AINPort::TUAD8AINPort()
{
    Name = QStringLiteral("ELV-UAD 8");
    ClearPins();
    for (int n = 0; n < 8; ++n)
        AddPin(QStringLiteral("AD %1").arg(n), QStringLiteral("AD%1").arg(n), 0.0L, 2.5L, false);
    SetInput(true);
}

const TDeviceDescription TUAD8::Description{
    .Name = "TUAD8",
    .Ports = {ClassEntry<TUAD8AINPort>()},
    .Prefix = {"UAD8-"},
    .PaletteName = {"ELV-UAD 8"},
    .Caption = {"ELV-UAD 8"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::ELV,
    .MakerFiles = {"FTD2XX.dll"}};

TUAD8::TUAD8() : TVendorLibraryDevice(Ftd2xx())
{
    Describe(Description);
    LibraryReady();
    Name = QStringLiteral("ELV-UAD 8");
    Ports.push_back(std::make_unique<TUAD8AINPort>());
    BuildPinList();
    OutputCount = 0;
    BaseAddress = 0;
    PropagateAddress();
}

void TUAD8::OpenDevice()
{
    Opened = false;
    Handle = nullptr;
    if (BaseAddress == 0)
        return;
    TFtd2xxLibrary& ftdi = Ftd2xx();
    const int32_t count = ftdi.DeviceCount();
    int k = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (ftdi.Description(i) != QLatin1String(BoardDescription))
            continue;
        if (++k == BaseAddress) {
            ftdi.FT_Open.Call(i, &Handle);
            Opened = Handle != nullptr;
            break;
        }
    }
    CheckService(Opened, Lang3Q("Das ELV-UAD 8 #%1 ist nicht angeschlossen.\n"
                                "Die Simulation läuft ohne dieses Gerät weiter.",
                                "The ELV-UAD 8 #%1 is not connected.\n"
                                "The simulation goes on without this device.",
                                "L'ELV-UAD 8 #%1 n'est pas connecté.\n"
                                "La simulation continue sans cet appareil.")
                             .arg(BaseAddress));
}

void TUAD8::SimStart()
{
    if (!CheckLibrary())
        return;
    OpenDevice();
    RequestPending = false;
    RxText.clear();
    Channel = 1;
    TVendorLibraryDevice::SimStart();
    PropagateAddress();
    if (Opened) {
        Ftd2xx().FT_SetBaudRate.Call(Handle, 38400);
        Ftd2xx().FT_SetDataCharacteristics.Call(Handle, 8, 0, 2);
        Write(Handle, Uad8StartCommand());
    }
}

void TUAD8::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (Opened && LibraryReady())
        Ftd2xx().FT_Close.Call(Handle);
    Opened = false;
    Handle = nullptr;
}

void TUAD8::MachEsJetzt()
{
    if (!Opened || !Library().IsLoaded())
        return;
    if (RequestPending)
        ReadAnswer();
    else
        SendRequest();
}

void TUAD8::SendRequest()
{
    Write(Handle, Uad8Request(Channel));
    RequestPending = true;
    m_requestTick = Clock().TickCount();
}

void TUAD8::NextChannel()
{
    RxText.clear();
    RequestPending = false;
    Channel = Channel >= 8 ? 1 : Channel + 1;
}

void TUAD8::ReadAnswer()
{
    uint32_t waiting = 0;
    Ftd2xx().FT_GetQueueStatus.Call(Handle, &waiting);
    waiting = std::min<uint32_t>(waiting, 90);
    uint8_t buffer[90];
    uint32_t read = 0;
    if (waiting > 0)
        Ftd2xx().FT_Read.Call(Handle, buffer, waiting, &read);
    for (uint32_t i = 0; i < std::min<uint32_t>(read, waiting); ++i)
        if (buffer[i] != 0)
            RxText.push_back(char(buffer[i]));
    if (RxText.size() >= 6) {
        // A garbled answer is dropped; its channel keeps its value for one cycle.
        if (const auto volts = Uad8ParseAnswer(RxText.substr(0, 6)))
            SetPinValue(*Ports[0]->Pins[size_t(Channel - 1)], *volts);
        NextChannel();
    } else if (Clock().TickCount() - m_requestTick > AnswerTimeoutMs) {
        NextChannel(); // a silent or half answer gives up the channel for this cycle
    }
}

void TUAD8::ApplySettings()
{
    BaseAddress = uint16_t(std::max(DlgAddress, 0));
    TVendorLibraryDevice::ApplySettings();
    BuildPinList();
    PropagateAddress();
}

void TUAD8::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    CheckLibraryForDialog();
    if (DeviceList.isEmpty()) {
        DeviceList << Translate(QStringLiteral("Kein"));
        if (Library().IsLoaded()) {
            const int32_t count = Ftd2xx().DeviceCount();
            for (int32_t i = 0; i < count; ++i)
                if (Ftd2xx().Description(i) == QLatin1String(BoardDescription))
                    DeviceList << QStringLiteral("ELV-UAD 8 #%1").arg(i + 1);
        }
    }
    if (DeviceList.size() < DlgAddress)
        DlgAddress = 0;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Gerät")), DlgAddress, DeviceList, 130);
}

void TUAD8::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteString(section, QStringLiteral("Device"), WordToHex(BaseAddress));
}

void TUAD8::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = HexToWord(ini.ReadString(section, QStringLiteral("Device"), QStringLiteral("0000")));
    PropagateAddress();
}
