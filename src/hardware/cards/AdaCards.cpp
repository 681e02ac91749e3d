#include "hardware/cards/AdaCards.h"

#include "core/model/Translator.h"
#include "hardware/cards/PortCard.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

namespace {

// The registers a card uses: base .. base + kSpan.
constexpr uint16_t kSpan = 6;
constexpr uint16_t kDefaultBase = 0x0300;

void AddChannelPins(TIOPort& port, const char* prefix, Extended min, Extended max,
                    bool configurable, uint16_t rawMax)
{
    for (int i = 0; i < 8; ++i) {
        TPin& pin = port.AddPin(Lang3Q("Kanal ", "Channel ", "Canal ") + QString::number(i),
                                QString::fromLatin1(prefix) + QString::number(i), min, max,
                                configurable);
        pin.RawMax = rawMax;
    }
}

} // namespace

// --- ADA8 ----------------------------------------------------------------------------------------

TADA8AOutPort::TADA8AOutPort()
{
    AddChannelPins(*this, "DA", 0.0L, 2.55L, true, 255);
    SetInput(false);
}

void TADA8AOutPort::SimStart()
{
    TAOutPort::SimStart();
    Channel = 0;
    LatchPhase = false;
}

void TADA8AOutPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress || Pins.size() < 8)
        return;
    uint8_t& control = *Control;
    const uint16_t controlRegister = uint16_t(BaseAddress + ada8::kControl);
    if (LatchPhase) {
        control = uint8_t(control & ~ada8::kLatch);
        PortWriteByte(controlRegister, control);
        LatchPhase = false;
        return;
    }
    const int32_t raw = PinValueToRaw(*Pins[Channel]);
    control = uint8_t(control | ada8::kLatch);
    PortWriteByte(controlRegister, control);
    control = ada8::WithDaChannel(control, Channel);
    PortWriteByte(controlRegister, control);
    PortWriteByte(uint16_t(BaseAddress + ada8::kDaData), uint8_t(raw));
    Channel = uint8_t((Channel + 1) % 8);
    LatchPhase = true;
}

TADA8AInPort::TADA8AInPort()
{
    AddChannelPins(*this, "AD", 0.0L, 2.55L, true, 255);
    SetInput(true);
}

void TADA8AInPort::SimStart()
{
    TAInPort::SimStart();
    Channel = 0;
    m_phase = TPhase::Select;
}

void TADA8AInPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress || Pins.size() < 8)
        return;
    uint8_t& control = *Control;
    // A result that is due is read, and the next channel selected, in the same step.
    if (m_phase == TPhase::Read && m_due.Due()) {
        PinRawToValue(*Pins[Channel], PortReadByte(uint16_t(BaseAddress + ada8::kResult)));
        Channel = uint8_t((Channel + 1) % 8);
        m_phase = TPhase::Select;
    }
    if (m_phase == TPhase::Select) {
        control = ada8::WithAdChannel(control, Channel);
        PortWriteByte(uint16_t(BaseAddress + ada8::kControl), control);
        m_due.Start(kSettleMs);
        m_phase = TPhase::Start;
    } else if (m_phase == TPhase::Start && m_due.Due()) {
        PortWriteByte(uint16_t(BaseAddress + ada8::kResult), 0);
        m_due.Start(kConversionMs);
        m_phase = TPhase::Read;
    }
}

const TDeviceDescription TADA8::Description{
    .Name = "TADA8",
    .Ports = {ClassEntry<TADA8AOutPort>(), ClassEntry<TADA8AInPort>()},
    .Prefix = {"ADA8-"},
    .PaletteName = {"ELV - ADA 8"},
    .Caption = {"ELV - ADA 8"},
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTADA8"}};

TADA8::TADA8()
{
    Describe(Description);
    Name = Lang3Q("ELV ADA8 Wandlerkarte", "ELV ADA8 extension card",
                  "Carte d´exetension ELV ADA8");
    auto out = std::make_unique<TADA8AOutPort>();
    auto in = std::make_unique<TADA8AInPort>();
    in->Control = out->Control;
    Ports.push_back(std::move(out));
    Ports.push_back(std::move(in));
    BuildPinList();
    BaseAddress = kDefaultBase;
    PropagateAddress();
}

int32_t TADA8::GrantPortAccess()
{
    return portcard::GrantRange(BaseAddress, kSpan);
}

void TADA8::SimStart()
{
    TIOInterface::SimStart();
    PropagateAddress();
}

void TADA8::getKonfigData()
{
    TIOInterface::getKonfigData();
    portcard::AddBaseAddressRow(*this);
}

void TADA8::ApplySettings()
{
    TIOInterface::ApplySettings();
    BaseAddress = HexToWord(AddressText);
    PropagateAddress();
}

// --- ADA16-2 -------------------------------------------------------------------------------------

TADA162AOutPort::TADA162AOutPort()
{
    AddChannelPins(*this, "DA", -2.0L, 2.0L, false, 4095);
    SetInput(false);
}

void TADA162AOutPort::SimStart()
{
    TAOutPort::SimStart();
    Channel = 0;
}

void TADA162AOutPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress || Pins.size() < 8)
        return;
    const int32_t raw = PinValueToRaw(*Pins[Channel]);
    PortWriteByte(uint16_t(BaseAddress + ada16::kStatusDaHigh),
                  uint8_t(Channel * 16 + ((raw >> 8) & 0x0F)));
    PortWriteByte(uint16_t(BaseAddress + ada16::kHighDaLow), uint8_t(raw & 0xFF));
    Channel = uint8_t((Channel + 1) % 8);
}

TADA162AInPort::TADA162AInPort()
{
    AddChannelPins(*this, "AD", 0.0L, 2.0L, false, ada16::RawMaximum(0));
    SetInput(true);
    SetResolution(0);
}

void TADA162AInPort::SetResolution(int32_t code)
{
    // A code from a damaged record would start conversions the card does not know.
    if (code < 0 || code > 7)
        return;
    Resolution = uint8_t(code);
    for (auto& pin : Pins) {
        pin->RawMin = 0;
        pin->RawMax = ada16::RawMaximum(code);
    }
}

void TADA162AInPort::SimStart()
{
    TAInPort::SimStart();
    Channel = 0;
    Converting = false;
}

void TADA162AInPort::StartConversion(double ms)
{
    PortWriteByte(uint16_t(BaseAddress + ada16::kStartLow),
                  uint8_t(Resolution * 16 + Channel));
    m_due.Start(ms);
    Converting = true;
}

void TADA162AInPort::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress || Pins.size() < 8)
        return;
    if (!Converting) {
        StartConversion(kFirstConversionMs);
        return;
    }
    if (!m_due.Due())
        return;
    Status = PortReadByte(uint16_t(BaseAddress + ada16::kStatusDaHigh));
    if (!(Status & ada16::kFinished))
        return; // still converting
    TPin& pin = *Pins[Channel];
    uint16_t raw = pin.RawMax;
    if (!(Status & ada16::kOverrange)) {
        const uint16_t high = PortReadByte(uint16_t(BaseAddress + ada16::kHighDaLow));
        raw = uint16_t(high * 256 + PortReadByte(uint16_t(BaseAddress + ada16::kStartLow)));
        if (raw == 0xFFFF)
            raw = 0;
    }
    PinRawToValue(pin, raw);
    if (!(Status & ada16::kPositive))
        SetPinValue(pin, -pin.Value);
    Channel = uint8_t((Channel + 1) % 8);
    StartConversion(kConversionMs);
}

void TADA162AInPort::writeToStream(TWriter& writer)
{
    TAInPort::writeToStream(writer);
    writer.WriteInteger(Resolution);
}

void TADA162AInPort::readFromStream(TReader& reader)
{
    TAInPort::readFromStream(reader);
    SetResolution(reader.ReadInteger());
}

const TDeviceDescription TADA162::Description{
    .Name = "TADA162",
    .Ports = {ClassEntry<TADA162AOutPort>(), ClassEntry<TADA162AInPort>()},
    .Prefix = {"ADA16-"},
    .PaletteName = {"ELV ADA 16-2"},
    .Caption = {"ELV ADA 16-2"},
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTADA16_2"}};

TADA162::TADA162()
{
    Describe(Description);
    Name = Lang3Q("ELV ADA16-2 Karte", "ELV ADA16-2 card", "Carte ELV ADA16-2");
    Ports.push_back(std::make_unique<TADA162AOutPort>());
    Ports.push_back(std::make_unique<TADA162AInPort>());
    BuildPinList();
    BaseAddress = kDefaultBase;
    PropagateAddress();
}

TADA162AInPort& TADA162::Input() const
{
    return static_cast<TADA162AInPort&>(*Ports[1]);
}

int32_t TADA162::GrantPortAccess()
{
    return portcard::GrantRange(BaseAddress, kSpan);
}

void TADA162::SimStart()
{
    TIOInterface::SimStart();
    PropagateAddress();
}

void TADA162::getKonfigData()
{
    TIOInterface::getKonfigData();
    portcard::AddBaseAddressRow(*this);
    if (ResolutionList.isEmpty())
        ResolutionList << QStringLiteral("16 Bit") << QStringLiteral("15 Bit")
                       << QStringLiteral("14 Bit") << QStringLiteral("13 Bit")
                       << QStringLiteral("12 Bit") << QStringLiteral("11 Bit")
                       << QStringLiteral("10 Bit") << QStringLiteral("  9 Bit");
    ResolutionChoice = Input().Resolution;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Auflösung")), ResolutionChoice,
                           ResolutionList, 90);
}

void TADA162::ApplySettings()
{
    BaseAddress = HexToWord(AddressText);
    Input().SetResolution(ResolutionChoice);
    BuildPinList();
    PropagateAddress();
    TIOInterface::ApplySettings();
}
