#include "hardware/ports/PortRegister.h"

#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"
#include "ui/PropertySheet.h"

namespace {

constexpr uint16_t kFirstPortAddress = 255;
constexpr int32_t kRegisterHelpContext = 42000;

} // namespace

TRegisterDataPort::TRegisterDataPort(int width, bool input, const char* frenchBit) : Width(width)
{
    Name = Lang3Q("Daten", "Data", "Données");
    ClearPins();
    const QString bit = Lang3Q("Bit ", "Bit ", frenchBit);
    for (int i = 0; i < width; ++i)
        AddPin(bit + QString::number(i), QStringLiteral("D") + QString::number(i), 0.0L, 5.0L,
               false);
    SetInput(input);
}

void TRegisterDataPort::MachEsJetzt()
{
    if (BaseAddress < kFirstPortAddress)
        return;
    if (!IsInput) {
        if (Width == 16)
            PortWriteWord(BaseAddress, GetPinsAsWord());
        else
            PortWriteByte(BaseAddress, uint8_t(GetPinsAsWord() & 0xFF));
        return;
    }
    const uint16_t value = Width == 16 ? PortReadWord(BaseAddress) : PortReadByte(BaseAddress);
    for (size_t i = 0; i < Pins.size() && i < 16; ++i)
        SetPinDigital(*Pins[i], (value >> i & 1u) != 0);
}

// --- The clocked register devices ------------------------------------------------------------

TRegisterDevice::TRegisterDevice(int width, bool write)
    : m_width(width), m_write(write), m_clockIndex(write ? width : 0)
{
    BaseAddress = 0;
}

void TRegisterDevice::Clock(Extended value)
{
    const bool level = value > 2.5L;
    if (level != ClockLevel) {
        ClockLevel = level;
        if (!level)
            Pending = true;
    }
}

void TRegisterDevice::MachEsJetzt()
{
    if (!Pending)
        return;
    if (!Ports.empty())
        Ports.front()->MachEsJetzt();
    Pending = false;
}

void TRegisterDevice::SimStart()
{
    ClockLevel = false;
    Pending = false;
    TIOInterface::SimStart();
}

int32_t TRegisterDevice::GrantPortAccess()
{
    if (BaseAddress < kFirstPortAddress)
        return 0;
    const uint16_t last = uint16_t(BaseAddress + (m_width == 16 ? 1 : 0));
    return PortDriver().SetPortRangeAccess(BaseAddress, last, true);
}

void TRegisterDevice::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (TPropScrollbox* rows = DialogRows())
        rows->AddEditProp(Translate(QStringLiteral("Adresse")) + QStringLiteral(" [hex]"),
                          AddressText, 4, 50);
}

void TRegisterDevice::ApplySettings()
{
    BaseAddress = HexToWord(AddressText);
    PropagateAddress();
    TIOInterface::ApplySettings();
    BuildPinList();
    OutputCount = m_write ? m_width + 1 : 1;
}

void TRegisterDevice::writeToStream(TWriter& writer)
{
    --OutputCount;
    TIOInterface::writeToStream(writer);
    ++OutputCount;
}

void TRegisterDevice::readFromStream(TReader& reader)
{
    --OutputCount;
    TIOInterface::readFromStream(reader);
    ++OutputCount;
}

QString TRegisterWriteDevice::GetOutputLabel(int32_t index)
{
    if (index == m_clockIndex)
        return QStringLiteral("|CK");
    return TIOInterface::GetOutputLabel(index);
}

void TRegisterWriteDevice::SetValue(int32_t index, Extended value)
{
    if (index == m_clockIndex)
        Clock(value);
    else
        TIOInterface::SetValue(index, value);
}

void TRegisterWriteDevice::SetPinUsed(int32_t index, bool used)
{
    if (index < m_width)
        TIOInterface::SetPinUsed(index, used);
}

QString TRegisterReadDevice::GetOutputLabel(int32_t index)
{
    return index == 0 ? QStringLiteral("|CK") : QString();
}

void TRegisterReadDevice::SetValue(int32_t index, Extended value)
{
    if (index == 0)
        Clock(value);
}

// --- The four devices --------------------------------------------------------------------------

const TDeviceDescription TwPort::Description{
    .Name = "TwPort",
    .Ports = {ClassEntry<TwPortDOutPort>()},
    .Prefix = {"WPort8-"},
    .PaletteName = {"Port-WRITE", "Port-WRITE", "Port-Ecriture"},
    .Caption = {"Port-WRITE", "Port-WRITE", "Port-Ecriture"},
    .HelpContext = kRegisterHelpContext,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTPort_W"}};

TwPort::TwPort() : TRegisterWriteDevice(8, true)
{
    Describe(Description);
    Name = Lang3Q("8-Bit-Register (write)", "Port write (8 bit)", "Ecriture port (8 bits)");
    Ports.push_back(std::make_unique<TwPortDOutPort>());
    BuildPinList();
    OutputCount = 9;
}

const TDeviceDescription TrPort::Description{
    .Name = "TrPort",
    .Ports = {ClassEntry<TrPortDInPort>()},
    .Prefix = {"RPort8-"},
    .PaletteName = {"Port-READ", "Port-READ", "Port-Lecture"},
    .Caption = {"Port-READ", "Port-READ", "Port-Lecture"},
    .HelpContext = kRegisterHelpContext,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTPort_R"}};

TrPort::TrPort() : TRegisterReadDevice(8, false)
{
    Describe(Description);
    Name = Lang3Q("8-Bit-Register (read)", "Port read (8 bit)", "Lecture port (8 bits)");
    Ports.push_back(std::make_unique<TrPortDInPort>());
    BuildPinList();
    OutputCount = 1;
}

const TDeviceDescription TwPort16::Description{
    .Name = "TwPort16",
    .Ports = {ClassEntry<TwPort16DOutPort>()},
    .Prefix = {"WPort16-"},
    .PaletteName = {"Port-WRITE\r(16)", "Port-WRITE\r(16)", "Port-Ecriture\r(16)"},
    .Caption = {"Port-WRITE (16)", "Port-WRITE (16)", "Port-Ecriture (16)"},
    .HelpContext = kRegisterHelpContext,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTPort16_W"}};

TwPort16::TwPort16() : TRegisterWriteDevice(16, true)
{
    Describe(Description);
    Name = Lang3Q("16-Bit-Register (write)", "Port write (16 bit)", "Ecriture port (16 bits)");
    Ports.push_back(std::make_unique<TwPort16DOutPort>());
    BuildPinList();
    OutputCount = 17;
}

const TDeviceDescription TrPort16::Description{
    .Name = "TrPort16",
    .Ports = {ClassEntry<TrPort16DInPort>()},
    .Prefix = {"RPort16-"},
    .PaletteName = {"Port-READ\r(16)", "Port-READ\r(16)", "Port-Lecture\r(16)"},
    .Caption = {"Port-READ (16)", "Port-READ (16)", "Port-Lecture (16)"},
    .HelpContext = kRegisterHelpContext,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTPort16_R"}};

TrPort16::TrPort16() : TRegisterReadDevice(16, false)
{
    Describe(Description);
    Name = Lang3Q("16-Bit-Register (read)", "Port read (16 bit)", "Lecture Port (16 bits)");
    Ports.push_back(std::make_unique<TrPort16DInPort>());
    BuildPinList();
    OutputCount = 1;
}
