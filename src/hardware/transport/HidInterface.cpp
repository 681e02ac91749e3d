#include "hardware/transport/HidInterface.h"

#include "hardware/framework/HardwareHelpers.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"

namespace {

constexpr uint16_t kM3890Vendor = 0x0925;
constexpr uint16_t kM3890Product = 0x1234;

} // namespace

void TDeviceInfo::CopyFrom(const TDeviceInfo& other)
{
    DisplayName = other.DisplayName;
    DevicePath = other.DevicePath;
    VendorID = other.VendorID;
    ProductID = other.ProductID;
}

int32_t THIDPort::WriteReport(const uint8_t* data, int32_t size)
{
    return DeviceHandle ? DeviceHandle->Write(data, size) : -1;
}

int32_t THIDPort::ReadReport(uint8_t* data, int32_t size, int32_t timeoutMs)
{
    return DeviceHandle ? DeviceHandle->Read(data, size, timeoutMs) : -1;
}

const TDeviceDescription THIDInterface::Description{
    .Name = "THIDInterface",
    .Ports = {ClassEntry<THIDPort>()},
    .Prefix = {"HW"}, .PaletteName = {"Hardware"}, .Caption = {"Interface"}};

THIDInterface::THIDInterface()
{
    Describe(Description);
    SetHandle(nullptr);
    ListDevices(Devices, 0, 0);
    OutputCount = 0;
    Name = Lang3Q("HID-Schnittstelle", "HID Interface", "Interface HID");
}

THIDInterface::~THIDInterface()
{
    CloseDevice();
}

void THIDInterface::ListDevices(std::vector<TDeviceInfo>& list, uint16_t vendorId,
                                uint16_t productId)
{
    list.clear();
    TDeviceInfo none;
    none.DisplayName = Lang3Q("Kein", "None", "Aucun");
    list.push_back(none);
    IHidSystem& system = HidSystem();
    if (!system.Available())
        return;
    const std::vector<THidDeviceEntry> present = system.Enumerate(0, 0);
    for (size_t i = 0; i < present.size(); ++i) {
        const THidDeviceEntry& e = present[i];
        TDeviceInfo info;
        info.VendorID = e.VendorId;
        info.ProductID = e.ProductId;
        info.DevicePath = e.Path;
        info.DisplayName = e.Manufacturer + QStringLiteral(": ") + e.Product;
        if (info.VendorID == kM3890Vendor && info.ProductID == kM3890Product)
            info.DisplayName += QStringLiteral("[") + QString::number(i + 1)
                                + QStringLiteral("] = M-3890D USB");
        const bool passes = (vendorId == 0 || vendorId == info.VendorID)
                            && (productId == 0 || productId == info.ProductID);
        // One cable family answers under a second product number.
        const bool alias = vendorId == 0x1B67 && productId == 10 && info.ProductID == 4;
        if (passes || alias)
            list.push_back(info);
    }
}

int32_t THIDInterface::FindDevice(const TDeviceInfo& info) const
{
    int32_t seen = 0;
    for (size_t i = 1; i < Devices.size(); ++i) {
        if (Devices[i].VendorID == info.VendorID && Devices[i].ProductID == info.ProductID
            && ++seen == info.Occurrence)
            return int32_t(i);
    }
    return 0;
}

void THIDInterface::ChooseDevice(int32_t index)
{
    if (index < 0 || size_t(index) >= Devices.size())
        index = 0;
    Wanted.CopyFrom(Devices[size_t(index)]);
    uint16_t occurrence = 0;
    for (int32_t i = 1; i <= index; ++i)
        if (Devices[size_t(i)].VendorID == Wanted.VendorID
            && Devices[size_t(i)].ProductID == Wanted.ProductID)
            ++occurrence;
    Wanted.Occurrence = occurrence;
}

void THIDInterface::OpenDevice(const QString& path)
{
    if (DeviceHandle)
        return;
    std::shared_ptr<IHidDevice> device = HidSystem().Open(path);
    SetHandle(device);
}

void THIDInterface::CloseDevice()
{
    if (DeviceHandle)
        SetHandle(nullptr);
}

void THIDInterface::SetHandle(std::shared_ptr<IHidDevice> handle)
{
    DeviceHandle = handle;
    for (auto& port : Ports)
        if (auto* hid = dynamic_cast<THIDPort*>(port.get()))
            hid->SetHandle(handle);
}

void THIDInterface::SimPrepare()
{
    ListDevices(Devices, 0, 0);
    TIOInterface::SimPrepare();
}

void THIDInterface::SimStart()
{
    const TDeviceInfo& entry = Devices[size_t(FindDevice(Wanted))];
    if (!entry.DevicePath.isEmpty())
        OpenDevice(entry.DevicePath);
    if (!DeviceHandle && Wanted.VendorID != 0) {
        const QString device = Wanted.DisplayName.isEmpty()
                                   ? QStringLiteral("%1:%2")
                                         .arg(Wanted.VendorID, 4, 16, QLatin1Char('0'))
                                         .arg(Wanted.ProductID, 4, 16, QLatin1Char('0'))
                                   : Wanted.DisplayName;
        MessageBoxText(Lang3Q("Das USB-Gerät \"%1\" ist nicht angeschlossen oder lässt sich nicht "
                              "öffnen.\nDie Simulation läuft ohne das Gerät weiter.",
                              "The USB device \"%1\" is not connected or cannot be opened.\n"
                              "The simulation goes on without the device.",
                              "L'appareil USB \"%1\" n'est pas connecté ou ne peut pas être "
                              "ouvert.\nLa simulation continue sans l'appareil.")
                           .arg(device),
                       QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                       mtWarning);
    }
    TIOInterface::SimStart();
}

void THIDInterface::SimStop()
{
    TIOInterface::SimStop();
    CloseDevice();
}

void THIDInterface::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteString(section, QStringLiteral("DeviceIndex"), WordToHex(BaseAddress));
}

void THIDInterface::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = HexToWord(ini.ReadString(section, QStringLiteral("DeviceIndex"),
                                           QStringLiteral("0001")));
    Wanted.Occurrence = BaseAddress;
}
