#include "hardware/kolter/VModulAd.h"

#include "core/model/Translator.h"
#include "hardware/kolter/KolterRanges.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

namespace {

constexpr TShiftOutTiming kComRequest{2, 1, {false, 1}, 0};
constexpr TShiftOutTiming kUsbRequest{1, 1, {true, 2}, 0};
// The USB module's data line is inverted against the COM version.
constexpr TShiftInTiming kComResult{false, 1, {false, 1}, 0, false};
constexpr TShiftInTiming kUsbResult{false, 1, {true, 2}, 0, true};
constexpr uint32_t kPollMs = 9;

} // namespace

TVModulADAInPort::TVModulADAInPort()
{
    ClearPins();
    const QString analog = Lang3Q("Analog ", "Analogue ", "Analogique ");
    for (int n = 0; n < 16; ++n)
        AddPin(analog + QString::number(n), QStringLiteral("A%1").arg(n), -10.0L, 10.0L, false);
    SetRange(0);
    SetInput(true);
}

void TVModulADAInPort::SimStart()
{
    RequestPending = false;
    Channel = 0;
    LastPoll = Clock().TickCount() - 1000; // the first step requests
    TAInPort::SimStart();
}

void TVModulADAInPort::SetRange(int r)
{
    SetKolterRange(*this, r);
}

void TVModulADAInPort::MachEsJetzt()
{
    if (BaseAddress == 0 || !Line)
        return;
    if (Clock().TickCount() - LastPoll < kPollMs)
        return;
    if (RequestPending)
        Receive();
    else
        KanalAnfordern();
    LastPoll = Clock().TickCount();
}

void TVModulADAInPort::KanalAnfordern()
{
    THandshakeLines lines = Lines();
    ShiftOut(lines, *this, uint32_t(Channel + 1), 8, kComRequest);
    RequestPending = true;
}

void TVModulADAInPort::Store(uint16_t raw)
{
    if (size_t(Channel) < Pins.size())
        PinRawToValue(*Pins[size_t(Channel)], raw);
    Channel = Channel + 1 >= int(Pins.size()) ? 0 : Channel + 1;
    RequestPending = false;
}

void TVModulADAInPort::Receive()
{
    THandshakeLines lines = Lines();
    Store(uint16_t(ShiftIn(lines, *this, 16, kComResult)));
}

void TVModulADUSBAInPort::KanalAnfordern()
{
    RequestPending = true;
    THandshakeLines lines = Lines();
    ShiftOut(lines, *this, uint32_t(Channel + 1), 8, kUsbRequest);
}

void TVModulADUSBAInPort::Receive()
{
    THandshakeLines lines = Lines();
    Store(uint16_t(ShiftIn(lines, *this, 16, kUsbResult)));
}

TMini_ADAInPort::TMini_ADAInPort()
{
    ClearPins();
    AddPin(Lang3Q("Analogeingang", "Analogue input", "Entrée analogique"), QStringLiteral("A"),
           -10.0L, 10.0L, false);
    SetRange(0);
}

const TDeviceDescription TVModulAD::Description{
    .Name = "TVModulAD",
    .Ports = {ClassEntry<TVModulADAInPort>()},
    .Prefix = {"VM-AD"},
    .PaletteName = {"Kolter\rVModul-A/D"},
    .Caption = {"Kolter VModul A/D (RS232)"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TVModulAD::TVModulAD()
{
    Describe(Description);
    Name = QStringLiteral("Kolter VModul A/D");
    Build(std::make_unique<TVModulADAInPort>(),
          Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques"));
}

void TVModulAD::Build(std::unique_ptr<TVModulADAInPort> port, const QString& name)
{
    ClearPorts();
    port->Name = name;
    Ports.push_back(std::move(port));
    BuildPinList();
    OutputCount = 0;
    BaseAddress = 0;
    PropagateAddress();
}

void TVModulAD::getKonfigData()
{
    TVModulBase::getKonfigData();
    if (RangeList.isEmpty())
        RangeList = KolterRangeList();
    RangeChoice = Range;
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(Translate(QStringLiteral("Bereich")) + QStringLiteral(" [Jumper]"),
                           RangeChoice, RangeList, 130);
}

void TVModulAD::ApplySettings()
{
    Range = std::clamp(RangeChoice, 0, 5);
    AdPort().SetRange(Range);
    TVModulBase::ApplySettings();
}

void TVModulAD::writeToStream(TWriter& writer)
{
    writer.WriteInteger(Range);
    TVModulBase::writeToStream(writer);
}

void TVModulAD::readFromStream(TReader& reader)
{
    Range = reader.ReadInteger();
    TVModulBase::readFromStream(reader);
    AdPort().SetRange(Range);
}

const TDeviceDescription TVModulADUSB::Description{
    .Name = "TVModulADUSB",
    .Ports = {ClassEntry<TVModulADUSBAInPort>()},
    .Prefix = {"VM-AD"},
    .PaletteName = {"Kolter\rVModul-A/D-USB"},
    .Caption = {"Kolter VModul A/D-USB"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TVModulADUSB::TVModulADUSB()
{
    Describe(Description);
    Name = QStringLiteral("VModul A/D-USB");
    Build(std::make_unique<TVModulADUSBAInPort>(),
          Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques"));
}

const TDeviceDescription TMini_AD::Description{
    .Name = "TMini_AD",
    .Ports = {ClassEntry<TMini_ADAInPort>()},
    .Prefix = {"VAD"},
    .PaletteName = {"Kolter mini\rVModul-A/D-USB"},
    .Caption = {"A/D"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TMini_AD::TMini_AD()
{
    Describe(Description);
    Name = QStringLiteral("VModul A/D-USB -mini-");
    Build(std::make_unique<TMini_ADAInPort>(),
          Lang3Q("Analogeingang", "Analogue input", "Entrée analogique"));
}
