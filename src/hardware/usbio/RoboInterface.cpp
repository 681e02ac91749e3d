#include "hardware/usbio/RoboInterface.h"

#include "core/model/Translator.h"
#include "hardware/usbio/DeviceSettings.h"
#include "hardware/usbio/FtLibLibrary.h"
#include "hardware/usbio/UsbIoProtocol.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

namespace {

// Transfer-area offsets.
constexpr uint32_t kInputs = 0x00;
constexpr uint32_t kInfrared = 0x0E;
constexpr uint32_t kAnalog = 0x10;
constexpr uint32_t kTimers = 0x30;
constexpr uint32_t kOutputs = 0x40;
constexpr uint32_t kPwm = 0x50;

QString ExtensionPrefix(int32_t index)
{
    return index == 0 ? QString() : QStringLiteral("ROBO Ext.%1: ").arg(index);
}

} // namespace

// --- Ports ---------------------------------------------------------------------------------------

void TRoboInterfaceDINPort::Build(int32_t index)
{
    ClearPins();
    const int32_t first = index * 8 + 1;
    Name = ExtensionPrefix(index) + QStringLiteral("E%1..E%2").arg(first).arg(first + 7);
    for (int32_t n = first; n < first + 8; ++n)
        AddPin(QStringLiteral("E%1").arg(n), QStringLiteral("E%1").arg(n), 0.0L, 5.0L, false);
    m_offset = kInputs + uint32_t(index);
    SetInput(true);
}

void TRoboInterfaceDINPort::MachEsJetzt()
{
    SetPinsFromWord(GetByte(m_offset));
}

void TRoboInterfaceDOUTPort::Build(int32_t index)
{
    ClearPins();
    const int32_t first = index * 8 + 1;
    const int32_t motor = index * 4 + 1;
    Name = ExtensionPrefix(index)
           + QStringLiteral("O%1..O%2 (M%3-M%4)").arg(first).arg(first + 7).arg(motor).arg(motor + 3);
    for (int32_t n = first; n < first + 8; ++n)
        AddPin(QStringLiteral("O%1").arg(n), QStringLiteral("O%1").arg(n), 0.0L, 5.0L, false);
    m_offset = kOutputs + uint32_t(index);
    SetInput(false);
}

void TRoboInterfaceDOUTPort::MachEsJetzt()
{
    PutByte(m_offset, uint8_t(GetPinsAsWord() & 0xFFu));
}

TRoboInterfacePWMPort1::TRoboInterfacePWMPort1()
{
    ClearPins();
    Name = QStringLiteral("PWM");
    for (int32_t n = 1; n <= 32; ++n)
        AddPin(QStringLiteral("PW%1").arg(n), QStringLiteral("PW%1").arg(n), 0.0L, 100.0L, false);
    m_offset = kPwm;
    SetInput(false);
}

void TRoboInterfacePWMPort::MachEsJetzt()
{
    for (size_t k = 0; k < Pins.size() && k < 32; ++k)
        PutByte(m_offset + uint32_t(k), usbio::RoboPwmLevel(GetPinValue(*Pins[k])));
}

TRoboInterfaceAINPort::TRoboInterfaceAINPort()
{
    ClearPins();
    Name = QStringLiteral("A1,A2, AY, AY, ...");
    struct TAnalogPin {
        const char* name;
        const char* description;
        Extended max;
    };
    static const TAnalogPin pins[] = {
        {"AX", "AX", 1023}, {"AY", "AY", 1023}, {"A1", "A1", 10}, {"A2", "A2", 10},
        {"AZ", "AZ", 10}, {"AV", "AV", 10}, {"D1", "D1", 10}, {"D2", "D2", 10},
        {"AXE1", "AX (Ext1)", 1023}, {"AXE2", "AX (Ext2)", 1023}, {"AXE3", "AX (Ext3)", 1023},
        {"DS1", "DS1", 1023}, {"DS2", "DS2", 1023}, {"Res1", "Res1", 1023},
        {"Res2", "Res2", 1023}, {"Res3", "Res3", 1023}};
    for (size_t k = 0; k < std::size(pins); ++k) {
        const QString offset = QStringLiteral("%1").arg(kAnalog + 2 * k, 2, 16, QLatin1Char('0'));
        TPin& pin = AddPin(QLatin1String(pins[k].description) + QStringLiteral(" (0x")
                               + offset.toUpper() + QLatin1Char(')'),
                           QLatin1String(pins[k].name), 0.0L, pins[k].max, true);
        pin.RawMin = 0;
        pin.RawMax = 1023;
    }
    m_offset = kAnalog;
    SetInput(true);
}

void TRoboInterfaceAINPort::MachEsJetzt()
{
    for (size_t k = 0; k < Pins.size() && k < 16; ++k)
        PinRawToValue(*Pins[k], GetWord(m_offset + 2 * uint32_t(k)));
}

TRoboInterfaceRFPort::TRoboInterfaceRFPort()
{
    ClearPins();
    Name = QStringLiteral("IR Control");
    for (int32_t n = 0; n <= 3; ++n)
        AddPin(QStringLiteral("T%1").arg(n), QStringLiteral("T%1").arg(n), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("C"), QStringLiteral("C"), 0.0L, 5.0L, false);
    m_offset = kInfrared;
    SetInput(true);
}

void TRoboInterfaceRFPort::MachEsJetzt()
{
    SetPinsFromWord(GetByte(m_offset) & 0x1Fu);
}

TRoboInterfaceTimerPort::TRoboInterfaceTimerPort()
{
    ClearPins();
    Name = QStringLiteral("Timer");
    const char* steps[][2] = {{"1ms", "1ms"}, {"10ms", "10ms"}, {"100ms", "100ms"},
                              {"1s", "1s"},   {"10s", "10s"},   {"1m", "1min"}};
    for (const auto& step : steps)
        AddPin(QStringLiteral("Timer %1 inc.").arg(QLatin1String(step[1])),
               QLatin1String(step[0]), 0.0L, 5.0L, false);
    m_offset = kTimers;
    SetInput(true);
}

void TRoboInterfaceTimerPort::MachEsJetzt()
{
    for (size_t k = 0; k < Pins.size() && k < 6; ++k)
        SetPinValue(*Pins[k], GetWord(m_offset + 2 * uint32_t(k)));
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TRoboInterface::Description{
    .Name = "TRoboInterface",
    .Ports = {ClassEntry<TRoboInterfaceDINPort1>(), ClassEntry<TRoboInterfaceDINPort2>(),
              ClassEntry<TRoboInterfaceDINPort3>(), ClassEntry<TRoboInterfaceDINPort4>(),
              ClassEntry<TRoboInterfaceDOUTPort1>(), ClassEntry<TRoboInterfaceDOUTPort2>(),
              ClassEntry<TRoboInterfaceDOUTPort3>(), ClassEntry<TRoboInterfaceDOUTPort4>(),
              ClassEntry<TRoboInterfaceAINPort>(), ClassEntry<TRoboInterfaceRFPort>(),
              ClassEntry<TRoboInterfacePWMPort1>(), ClassEntry<TRoboInterfaceTimerPort>()},
    .Prefix = {"ROBO Interface-"},
    .PaletteName = {"fischertechnik\rROBO Interface"},
    .Caption = {"ROBO Interface (93293)"},
    .Category = TPaletteCategory::Fischertechnik,
    .MakerFiles = {"FTLIB.DLL"}};

TRoboInterface::TRoboInterface() : TVendorLibraryDevice(FtLib())
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("ROBO Interface");
    Ports.push_back(std::make_unique<TRoboInterfaceDINPort1>());
    Ports.push_back(std::make_unique<TRoboInterfaceDINPort2>());
    Ports.push_back(std::make_unique<TRoboInterfaceDINPort3>());
    Ports.push_back(std::make_unique<TRoboInterfaceDINPort4>());
    Ports.push_back(std::make_unique<TRoboInterfaceDOUTPort1>());
    Ports.push_back(std::make_unique<TRoboInterfaceDOUTPort2>());
    Ports.push_back(std::make_unique<TRoboInterfaceDOUTPort3>());
    Ports.push_back(std::make_unique<TRoboInterfaceDOUTPort4>());
    Ports.push_back(std::make_unique<TRoboInterfaceAINPort>());
    Ports.push_back(std::make_unique<TRoboInterfaceRFPort>());
    Ports.push_back(std::make_unique<TRoboInterfacePWMPort1>());
    Ports.push_back(std::make_unique<TRoboInterfaceTimerPort>());
    BaseAddress = 0;
    BuildPinList();
    PropagateAddress();
}

void TRoboInterface::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    const bool loaded = CheckLibraryForDialog();
    if (loaded) {
        FtLib().InitFtLib.Call();
        FtLib().InitFtUsbDeviceList.Call();
    }
    if (DeviceList.isEmpty()) {
        DeviceList << Translate(QStringLiteral("Kein"));
        const int32_t count = loaded ? FtLib().DeviceCount() : 0;
        for (int32_t n = 1; n <= count; ++n) {
            void* handle = FtLib().GetFtUsbDeviceHandle.Call(uint32_t(n - 1)).value_or(nullptr);
            const char* name = handle ? FtLib().GetFtLongNameStrg.Call(handle).value_or(nullptr)
                                      : nullptr;
            DeviceList << QStringLiteral("Interface #%1-").arg(n)
                              + (name ? QString::fromLocal8Bit(name) : QString());
        }
    }
    if (DlgAddress >= DeviceList.size())
        DlgAddress = 0;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Gerät")), DlgAddress, DeviceList, 250);
}

int32_t TRoboInterface::ExecuteDialog()
{
    return Library().IsLoaded() ? TVendorLibraryDevice::ExecuteDialog() : mrCancel;
}

void TRoboInterface::ApplySettings()
{
    BaseAddress = uint16_t(DlgAddress);
    TVendorLibraryDevice::ApplySettings();
    BuildPinList();
    PropagateAddress();
}

void TRoboInterface::PropagateAddress()
{
    TVendorLibraryDevice::PropagateAddress();
    for (auto& port : Ports)
        if (auto* robo = dynamic_cast<TRoboInterfacePort*>(port.get()))
            robo->Area = m_area;
}

void TRoboInterface::SimStart()
{
    if (!CheckLibrary())
        return;
    TFtLibLibrary& lib = FtLib();
    lib.InitFtLib.Call();
    lib.InitFtUsbDeviceList.Call();
    // Device 0 is "none": nothing is opened, and nobody is told.
    if (BaseAddress == 0)
        return;
    m_handle = lib.GetFtUsbDeviceHandle.Call(uint32_t(BaseAddress - 1)).value_or(nullptr);
    m_opened = m_handle && lib.OpenFtUsbDevice.Call(m_handle) == 0u;
    if (!m_opened)
        return;
    lib.SetDistanceMode(m_handle);
    lib.StartFtTransferArea.Call(m_handle, nullptr);
    m_area = lib.GetFtTransferAreaAddress.Call(m_handle).value_or(nullptr);
    TVendorLibraryDevice::SimStart();
    PropagateAddress();
}

void TRoboInterface::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (m_opened && Library().IsLoaded()) {
        FtLib().StopFtTransferArea.Call(m_handle);
        FtLib().CloseFtDevice.Call(m_handle);
    }
    m_opened = false;
    m_handle = nullptr;
    m_area = nullptr;
    PropagateAddress();
}

void TRoboInterface::MachEsJetzt()
{
    // Without a transfer area the ports have nothing to read or write.
    if (m_opened && m_area)
        TVendorLibraryDevice::MachEsJetzt();
}

void TRoboInterface::writeToIni(TIniFile& ini, const QString& section)
{
    WriteDeviceKey(ini, section, Name, BaseAddress);
}

void TRoboInterface::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadDeviceKey(ini, section);
}
