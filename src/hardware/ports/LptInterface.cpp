#include "hardware/ports/LptInterface.h"

#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PortDriver.h"
#include "hardware/ports/LptProtocol.h"
#include "platform/Context.h"
#include "ui/PropertySheet.h"

namespace {

// Addresses below this switch the port's I/O off.
constexpr uint16_t kFirstPortAddress = 255;

QString LptName()
{
    return Lang3Q("LPT-Port", "LPT port", "Port LPT");
}

} // namespace

TLPTInterfaceDOutPort::TLPTInterfaceDOutPort()
{
    ClearPins();
    for (int i = 0; i < 8; ++i)
        AddPin(QStringLiteral("Pin %1  - DATA %2").arg(i + 2).arg(i),
               QStringLiteral("D") + QString::number(i), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 14 - AUTOFEED"), QStringLiteral("AF"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 16 - INIT"), QStringLiteral("IT"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 17 - SELECT IN"), QStringLiteral("SLI"), 0.0L, 5.0L, false);
    SetInput(false);
}

void TLPTInterfaceDOutPort::MachEsJetzt()
{
    if (BaseAddress < kFirstPortAddress || Pins.size() < 11)
        return;
    uint8_t data = 0;
    for (size_t i = 0; i < 8; ++i)
        if (GetPinValue(*Pins[i]) > 2.5L)
            data = uint8_t(data | (1u << i));
    PortWriteByte(uint16_t(BaseAddress + lpt::kDataOffset), data);
    const uint16_t control = uint16_t(BaseAddress + lpt::kControlOffset);
    const lpt::TControlLines lines{GetPinDigital(*Pins[8]), GetPinDigital(*Pins[9]),
                                   GetPinDigital(*Pins[10])};
    PortWriteByte(control, lpt::ControlRegister(PortReadByte(control), lines));
}

void TLPTInterfaceDOutPort::readFromStream(TReader& reader)
{
    TDOutPort::readFromStream(reader);
    std::erase_if(Pins, [](const std::unique_ptr<TPin>& pin) {
        return pin->PinName == QLatin1String("STR");
    });
}

TLPTInterfaceDInPort::TLPTInterfaceDInPort()
{
    ClearPins();
    AddPin(QStringLiteral("Pin 15 - ERROR"), QStringLiteral("ERR"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 13 - SELECT"), QStringLiteral("SLT"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 12 - PE"), QStringLiteral("PE"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 10 - ACK"), QStringLiteral("ACK"), 0.0L, 5.0L, false);
    AddPin(QStringLiteral("Pin 11 - BUSY"), QStringLiteral("BSY"), 0.0L, 5.0L, false);
    SetInput(true);
}

void TLPTInterfaceDInPort::MachEsJetzt()
{
    if (BaseAddress < kFirstPortAddress || Pins.size() < 5)
        return;
    const lpt::TStatusLines lines =
        lpt::StatusLines(PortReadByte(uint16_t(BaseAddress + lpt::kStatusOffset)));
    SetPinDigital(*Pins[0], lines.Error);
    SetPinDigital(*Pins[1], lines.Select);
    SetPinDigital(*Pins[2], lines.PaperEnd);
    SetPinDigital(*Pins[3], lines.Ack);
    SetPinDigital(*Pins[4], lines.Busy);
}

const TDeviceDescription TLPTInterface::Description{
    .Name = "TLPTInterface",
    .Ports = {ClassEntry<TLPTInterfaceDOutPort>(), ClassEntry<TLPTInterfaceDInPort>()},
    .Prefix = {"LPT"},
    .PaletteName = {"LPT-Port", "LPT port", "Port LPT"},
    .Caption = {"LPT-Port", "LPT port", "Port LPT"},
    .HelpContext = 18750,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTLPT"}};

TLPTInterface::TLPTInterface()
{
    Describe(Description);
    Name = LptName();
    Ports.push_back(std::make_unique<TLPTInterfaceDOutPort>());
    Ports.push_back(std::make_unique<TLPTInterfaceDInPort>());
    BaseAddress = 0;
    PropagateAddress();
    BuildPinList();
    OutputCount = 11;
}

int32_t TLPTInterface::GrantPortAccess()
{
    if (BaseAddress < kFirstPortAddress)
        return 0;
    return PortDriver().SetPortRangeAccess(
        BaseAddress, uint16_t(BaseAddress + lpt::kRegisterSpan - 1), true);
}

void TLPTInterface::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (TPropScrollbox* rows = DialogRows()) {
        rows->AddCaptionProp(QStringLiteral("LPT1=0378 LPT2=0278 LPT3=03BC"));
        rows->AddEditProp(Translate(QStringLiteral("Adresse")) + QStringLiteral(" [LPT]"),
                          AddressText, 4, 50);
    }
}

void TLPTInterface::ApplySettings()
{
    TIOInterface::ApplySettings();
    BaseAddress = HexToWord(AddressText);
    PropagateAddress();
}

void TLPTInterface::MakeInfoLines()
{
    InfoLines.clear();
    if (BaseAddress <= 254)
        InfoLines << Name + QStringLiteral(": keine");
    else if (BaseAddress == 0x0378)
        InfoLines << Name + QStringLiteral(": LPT 1");
    else if (BaseAddress == 0x0278)
        InfoLines << Name + QStringLiteral(": LPT 2");
}
