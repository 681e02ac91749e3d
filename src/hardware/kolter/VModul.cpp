#include "hardware/kolter/VModul.h"

#include "platform/Clock.h"
#include "platform/Context.h"

namespace {

constexpr TShiftOutTiming kComOut{5, 1, {false, 3}, 1};
constexpr TShiftOutTiming kUsbOut{1, 1, {true, 0}, 1};
constexpr TShiftInTiming kComIn{true, 1, {false, 3}, 0, false};
constexpr TShiftInTiming kUsbIn{true, 1, {true, 0}, 7, false};

void AddPins(TIOPort& port, const char* prefix, const QString& description)
{
    port.ClearPins();
    for (int n = 1; n <= 16; ++n)
        port.AddPin(description + QString::number(n), QLatin1String(prefix) + QString::number(n),
                    0.0L, 5.0L, false);
}

// One pass over the inputs when the poll interval has passed; nothing without a line.
void ReadInputs(TVModulInPort& port, uint32_t intervalMs, const TShiftInTiming& timing)
{
    if (port.BaseAddress == 0 || !port.Line)
        return;
    if (Clock().TickCount() - port.LastPoll < intervalMs)
        return;
    THandshakeLines lines = port.Lines();
    port.SetPinsFromWord(uint16_t(ShiftIn(lines, port, 16, timing)));
    port.LastPoll = Clock().TickCount();
}

} // namespace

TVModulOutPort::TVModulOutPort()
{
    AddPins(*this, "R", Lang3Q("Relais ", "Relay ", "Relais "));
    SetInput(false);
}

void TVModulOutPort::SimStart()
{
    LastSent = -1;
    TDOutPort::SimStart();
}

void TVModulOutPort::MachEsJetzt()
{
    if (BaseAddress == 0 || !Line)
        return;
    const uint16_t w = GetPinsAsWord();
    if (w != LastSent) {
        set_relais(w);
        LastSent = w;
    }
}

void TVModulOutPort::set_relais(uint16_t w)
{
    THandshakeLines lines = Lines();
    ShiftOut(lines, *this, w, 16, kComOut);
}

void TVModulUSBOutPort::set_relais(uint16_t w)
{
    THandshakeLines lines = Lines();
    ShiftOut(lines, *this, w, 16, kUsbOut);
}

TxcomUSBOutPort::TxcomUSBOutPort()
{
    AddPins(*this, "O", Lang3Q("Ausgang ", "Output ", "Sortie "));
    SetInput(false);
}

TVModulInPort::TVModulInPort()
{
    AddPins(*this, "I", Lang3Q("Eingang ", "Input ", "Entrée "));
    SetInput(true);
}

void TVModulInPort::SimStart()
{
    LastPoll = Clock().TickCount() - 1000; // the first step reads
    TDInPort::SimStart();
}

void TVModulInPort::MachEsJetzt()
{
    ReadInputs(*this, 11, kComIn);
}

void TVModulUSBInPort::MachEsJetzt()
{
    ReadInputs(*this, 16, kUsbIn);
}

const TDeviceDescription TVModul::Description{
    .Name = "TVModul",
    .Ports = {ClassEntry<TVModulOutPort>(), ClassEntry<TVModulInPort>()},
    .Prefix = {"VModul"},
    .PaletteName = {"Kolter\rVModul-I/O"},
    .Caption = {"Kolter VModul-I/O (RS232)"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TVModul::TVModul()
{
    Describe(Description);
    Name = QStringLiteral("VModul-I/O");
    Build(std::make_unique<TVModulOutPort>(), Lang3Q("Relais", "Relays", "Relais"),
          std::make_unique<TVModulInPort>(), Lang3Q("Optoeingänge", "Opto inputs", "Entrées Opto"));
}

void TVModul::Build(std::unique_ptr<TIOPort> out, const QString& outName,
                    std::unique_ptr<TIOPort> in, const QString& inName)
{
    ClearPorts();
    out->Name = outName;
    in->Name = inName;
    Ports.push_back(std::move(out));
    Ports.push_back(std::move(in));
    BuildPinList();
    OutputCount = 16;
    BaseAddress = 0;
    PropagateAddress();
}

void TVModul::ResetPins()
{
    const bool running = Running;
    if (running)
        SimStop();
    SimStart();
    TVModulBase::ResetPins();
    if (!running)
        SimStop();
}

void TVModul::ApplySettings()
{
    TVModulBase::ApplySettings();
    ResetPins();
}

const TDeviceDescription TVModulUSB::Description{
    .Name = "TVModulUSB",
    .Ports = {ClassEntry<TVModulUSBOutPort>(), ClassEntry<TVModulUSBInPort>()},
    .Prefix = {"VM"},
    .PaletteName = {"Kolter\rVModul-I/O-USB"},
    .Caption = {"Kolter VModul-I/O-USB"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TVModulUSB::TVModulUSB()
{
    Describe(Description);
    Name = QStringLiteral("VModul-I/O-USB");
    Build(std::make_unique<TVModulUSBOutPort>(),
          Lang3Q("Relais des VModul-I/O", "VModul relays", "Relais VModul"),
          std::make_unique<TVModulUSBInPort>(),
          Lang3Q("Opto-Eingänge des VModul-I/O", "VModul inputs", "Entrées VModul"));
}

const TDeviceDescription TxcomUSB::Description{
    .Name = "TxcomUSB",
    .Ports = {ClassEntry<TxcomUSBOutPort>(), ClassEntry<TVModulUSBInPort>()},
    .Prefix = {"Proto"},
    .PaletteName = {"Kolter\rUSB-PROTO"},
    .Caption = {"Kolter USB-Proto"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TxcomUSB::TxcomUSB()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB-PROTO");
    Build(std::make_unique<TxcomUSBOutPort>(), Lang3Q("TTL-Ausgänge", "TTL outputs", "Sorties TTL"),
          std::make_unique<TVModulUSBInPort>(), Lang3Q("TTL-Eingänge", "TTL inputs", "Entrées TTL"));
}
