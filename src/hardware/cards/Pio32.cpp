#include "hardware/cards/Pio32.h"

#include "hardware/cards/PortCard.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"

namespace {

// Pins named after the connector: "2A5", described "Bu 2 - Pin 5".
void AddConnectorPins(TIOPort& port, int connector, char kind, int firstPin, int count)
{
    for (int pin = firstPin; pin < firstPin + count; ++pin)
        port.AddPin(QStringLiteral("Bu %1 - Pin %2").arg(connector).arg(pin),
                    QString::number(connector) + QLatin1Char(kind) + QString::number(pin), 0.0L,
                    5.0L, false);
}

} // namespace

TPIO32DOutPort::TPIO32DOutPort()
{
    ClearPins();
    AddConnectorPins(*this, 1, 'A', 1, 16);
    AddConnectorPins(*this, 2, 'A', 2, 8);
    AddConnectorPins(*this, 3, 'A', 2, 8);
    SetInput(false);
}

void TPIO32DOutPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress)
        return;
    const uint32_t bits = GetPinsAsLong();
    PortWriteWord(BaseAddress, uint16_t(bits & 0xFFFF));
    PortWriteWord(uint16_t(BaseAddress + 2), uint16_t(bits >> 16));
}

TPIO32DInPort::TPIO32DInPort()
{
    ClearPins();
    AddConnectorPins(*this, 1, 'E', 20, 16);
    AddConnectorPins(*this, 2, 'E', 15, 8);
    AddConnectorPins(*this, 3, 'E', 15, 8);
    SetInput(true);
}

void TPIO32DInPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress)
        return;
    uint32_t bits = 0;
    for (uint16_t k = 0; k < 4; ++k)
        bits |= uint32_t(PortReadByte(uint16_t(BaseAddress + k))) << (8 * k);
    SetPinsFromLong(bits);
}

const TDeviceDescription TPIO32::Description{
    .Name = "TPIO32",
    .Ports = {ClassEntry<TPIO32DOutPort>(), ClassEntry<TPIO32DInPort>()},
    .Prefix = {"PIO-"},
    .PaletteName = {"ELV-PIO-32"},
    .Caption = {"ELV-PIO-32"},
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTPIO32"}};

TPIO32::TPIO32()
{
    Describe(Description);
    Name = Lang3Q("ELV-PIO32-Karte", "ELV-PIO32 extension card", "Carte d´extension ELV-PIO32");
    Ports.push_back(std::make_unique<TPIO32DOutPort>());
    Ports.push_back(std::make_unique<TPIO32DInPort>());
    BuildPinList();
    BaseAddress = 0;
    PropagateAddress();
}

int32_t TPIO32::GrantPortAccess()
{
    return portcard::GrantRange(BaseAddress, 4);
}

void TPIO32::getKonfigData()
{
    TIOInterface::getKonfigData();
    portcard::AddBaseAddressRow(*this);
}

void TPIO32::ApplySettings()
{
    BaseAddress = HexToWord(AddressText);
    PropagateAddress();
    TIOInterface::ApplySettings();
}

void TPIO32::MakeInfoLines()
{
    InfoLines.clear();
    if (BaseAddress < portcard::kFirstAddress) {
        InfoLines << Name + QStringLiteral(": keine");
        return;
    }
    for (uint16_t k = 0; k < 4; ++k)
        InfoLines << Name + QStringLiteral(": $") + WordToHex(uint16_t(BaseAddress + k));
}
