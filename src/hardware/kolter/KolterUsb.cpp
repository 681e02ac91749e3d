#include "hardware/kolter/KolterUsb.h"

#include "hardware/kolter/HandshakeShift.h"
#include "platform/Context.h"
#include "platform/Filer.h"

namespace {

constexpr TShiftOutTiming kOut{1, 0, {false, 6}, 1};
constexpr TShiftInTiming kIn{false, 0, {false, 6}, 0, false};

// A pin per entry (name, description), range 0 .. 5.
void AddPins(TIOPort& port, std::initializer_list<std::pair<QString, QString>> pins)
{
    port.ClearPins();
    for (const auto& [name, description] : pins)
        port.AddPin(description, name, 0.0L, 5.0L, false);
}

// Pins prefix + n (n = 0 .. count-1) with description + n.
void AddNumberedPins(TIOPort& port, const char* prefix, const QString& description, int from,
                     int count)
{
    port.ClearPins();
    for (int n = from; n < from + count; ++n)
        port.AddPin(description + QString::number(n), QLatin1String(prefix) + QString::number(n),
                    0.0L, 5.0L, false);
}

// Bit i of the word from pin i above 2.5 V, for the first count pins.
uint16_t PinBits(const TIOPort& port, size_t count)
{
    uint16_t bits = 0;
    for (size_t i = 0; i < count && i < port.Pins.size(); ++i)
        if (GetPinValue(*port.Pins[i]) > 2.5L)
            bits |= uint16_t(1u << i);
    return bits;
}

} // namespace

TKolterUSBPort::TKolterUSBPort()
{
    SetInput(true);
}

void TKolterUSBPort::ShiftOut(uint16_t w, int lastBit)
{
    THandshakeLines lines(Comm.get());
    ::ShiftOut(lines, *this, w, lastBit + 1, kOut);
}

uint16_t TKolterUSBPort::ShiftIn(int lastBit)
{
    THandshakeLines lines(Comm.get());
    return uint16_t(::ShiftIn(lines, *this, lastBit + 1, kIn));
}

void TKolterUSBOutPort::SimStart()
{
    TKolterUSBPort::SimStart();
    LastSent = -1;
}

void TKolterUSBOutPort::SendOnChange(uint16_t w, int lastBit)
{
    if (w == LastSent)
        return;
    LastSent = w;
    ShiftOut(w, lastBit);
}

const TDeviceDescription TKolterUSBInterface::Description{
    .Name = "TKolterUSBInterface",
    .Ports = {ClassEntry<TKolterUSBPort>()},
    .Prefix = {"KUSB"},
    .PaletteName = {"Kolter USB Interface"},
    .Caption = {"Kolter USB"},
    .HelpContext = 38000};

TKolterUSBInterface::TKolterUSBInterface()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB Interface");
}

void TKolterUSBInterface::AddPorts(std::vector<std::unique_ptr<TIOPort>> ports)
{
    int outputs = 0;
    for (auto& port : ports) {
        if (!port->IsInput)
            outputs += int(port->Pins.size());
        Ports.push_back(std::move(port));
    }
    BuildPinList();
    OutputCount = outputs;
    PropagateAddress();
}

void TKolterUSBInterface::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    try {
        if (cate.Port() != 0)
            cate.SetPort(0);
        cate.SetBaudRate(TBaudRate::Baud256000);
        cate.SetDatabits(TDataBits::_7);
        cate.SetParity(TParity::None);
        cate.SetStopbits(TStopBits::_1);
    } catch (const ECommError& e) {
        ReportPortFailure(SerialErrorText(e.ErrorCode));
    }
}

void TKolterUSBInterface::InitLines()
{
    TCate& cate = GetCate();
    if (!cate.Connected())
        return;
    THandshakeLines lines(&cate);
    InitUsbLines(lines);
}

void TKolterUSBInterface::SimStart()
{
    ServedPortIndex = 0;
    TSerialInterface::SimStart();
    InitLines();
}

void TKolterUSBInterface::MachEsJetzt()
{
    if (AnyPortBusy() || Ports.empty())
        return;
    ServedPortIndex = ServedPortIndex + 1 >= int32_t(Ports.size()) ? 0 : ServedPortIndex + 1;
    Ports[size_t(ServedPortIndex)]->MachEsJetzt();
}

void TKolterUSBInterface::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
}

void TKolterUSBInterface::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
    PropagateAddress();
}

// --- Counter -----------------------------------------------------------------------------------

TMini_CounterInPort::TMini_CounterInPort()
{
    Name = Lang3Q("Zähler", "Counter", "Compteur");
    AddPins(*this, {{QStringLiteral("Z"), Lang3Q("Zählerstand", "Count", "Compteur")}});
    SetInput(true);
}

void TMini_CounterInPort::MachEsJetzt()
{
    if (!LineOpen() || Pins.empty())
        return;
    ShiftOut(0x0000, 15);
    const uint32_t low = ShiftIn(15);
    ShiftOut(0x8000, 15);
    const uint32_t high = ShiftIn(15);
    SetPinValue(*Pins[0], Extended(high * 65536u + low));
}

TMini_CounterOutPort::TMini_CounterOutPort()
{
    Name = QStringLiteral("Reset");
    AddPins(*this, {{QStringLiteral("RST"), QStringLiteral("Reset")}});
    SetInput(false);
}

void TMini_CounterOutPort::SimStart()
{
    LastState = false;
    TKolterUSBPort::SimStart();
}

void TMini_CounterOutPort::MachEsJetzt()
{
    if (!LineOpen() || Pins.empty())
        return;
    const bool s = GetPinValue(*Pins[0]) > 2.5L;
    if (s == LastState)
        return;
    LastState = s;
    if (!s) { // a falling edge resets the counter
        ShiftOut(0x6000, 15);
        ShiftOut(0x0000, 15);
    }
}

const TDeviceDescription TMini_Counter::Description{
    .Name = "TMini_Counter",
    .Ports = {ClassEntry<TMini_CounterInPort>(), ClassEntry<TMini_CounterOutPort>()},
    .Prefix = {"CNT"},
    .PaletteName = {"Kolter mini\rUSB-Counter "},
    .Caption = {"CNT"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TMini_Counter::TMini_Counter()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB-Counter");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TMini_CounterInPort>());
    ports.push_back(std::make_unique<TMini_CounterOutPort>());
    AddPorts(std::move(ports));
}

// --- D/A converter -----------------------------------------------------------------------------

TMini_DACOutPort::TMini_DACOutPort()
{
    Name = Lang3Q("DAC-Ausgang", "DAC output", "Sortie DAC");
    ClearPins();
    TPin& pin = AddPin(QStringLiteral("DAC"), QStringLiteral("DAC"), -10.0L, 10.0L, false);
    pin.RawMin = 0;
    pin.RawMax = 65535;
    SetInput(false);
}

void TMini_DACOutPort::MachEsJetzt()
{
    if (!LineOpen() || Pins.empty())
        return;
    TPin& pin = *Pins[0];
    // The module's range, whatever the pin editor made of it.
    pin.Min = -10.0L;
    pin.Max = 10.0L;
    pin.RawMin = 0;
    pin.RawMax = 65535;
    SendOnChange(uint16_t(65535 - PinValueToRaw(pin)), 15);
}

const TDeviceDescription TMini_DAC::Description{
    .Name = "TMini_DAC",
    .Ports = {ClassEntry<TMini_DACOutPort>()},
    .Prefix = {"DAC"},
    .PaletteName = {"Kolter mini\rVModul-D/A-USB"},
    .Caption = {"DAC"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TMini_DAC::TMini_DAC()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB-DAC1");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TMini_DACOutPort>());
    AddPorts(std::move(ports));
}

// --- Relay/opto I/O ----------------------------------------------------------------------------

TMini_IOOutPort::TMini_IOOutPort()
{
    Name = Lang3Q("Relaisausgänge", "Relay outputs", "Sorties relais");
    AddPins(*this, {{QStringLiteral("R1"), QStringLiteral("Relais 1")},
                    {QStringLiteral("R2"), QStringLiteral("Relais 2")}});
    SetInput(false);
}

void TMini_IOOutPort::MachEsJetzt()
{
    if (LineOpen())
        SendOnChange(PinBits(*this, 2), 1);
}

TMini_IOInPort::TMini_IOInPort()
{
    Name = Lang3Q("Optoeingänge", "Opto inputs", "Entrées Opto");
    AddPins(*this, {{QStringLiteral("O1"), QStringLiteral("Opto 1")},
                    {QStringLiteral("O2"), QStringLiteral("Opto 2")}});
    SetInput(true);
}

void TMini_IOInPort::MachEsJetzt()
{
    if (LineOpen())
        SetPinsFromWord(ShiftIn(1));
}

const TDeviceDescription TMini_IO::Description{
    .Name = "TMini_IO",
    .Ports = {ClassEntry<TMini_IOOutPort>(), ClassEntry<TMini_IOInPort>()},
    .Prefix = {"I/O"},
    .PaletteName = {"Kolter mini\rVModul-I/O-USB"},
    .Caption = {"I/O"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TMini_IO::TMini_IO()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB-IO");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TMini_IOOutPort>());
    ports.push_back(std::make_unique<TMini_IOInPort>());
    AddPorts(std::move(ports));
}

// --- TTL prototype board -----------------------------------------------------------------------

TMini_ProtoOutPort::TMini_ProtoOutPort()
{
    Name = Lang3Q("TTL-Ausgänge", "TTL outputs", "Sorties TTL");
    AddNumberedPins(*this, "O", Lang3Q("TTL-Ausgang ", "TTL output ", "Sortie TTL "), 0, 16);
    SetInput(false);
}

void TMini_ProtoOutPort::MachEsJetzt()
{
    if (LineOpen())
        SendOnChange(GetPinsAsWord(), 15);
}

TMini_ProtoInPort::TMini_ProtoInPort()
{
    Name = Lang3Q("TTL-Eingänge", "TTL inputs", "Entrées TTL");
    AddNumberedPins(*this, "I", Lang3Q("TTL-Eingang ", "TTL input ", "Entrée TTL "), 0, 16);
    SetInput(true);
}

void TMini_ProtoInPort::MachEsJetzt()
{
    if (LineOpen())
        SetPinsFromWord(ShiftIn(15));
}

const TDeviceDescription TMini_Proto::Description{
    .Name = "TMini_Proto",
    .Ports = {ClassEntry<TMini_ProtoOutPort>(), ClassEntry<TMini_ProtoInPort>()},
    .Prefix = {"I/O"},
    .PaletteName = {"Kolter mini\rVModul-Proto-USB"},
    .Caption = {"USB-PROTO"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TMini_Proto::TMini_Proto()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB-Proto");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TMini_ProtoOutPort>());
    ports.push_back(std::make_unique<TMini_ProtoInPort>());
    AddPorts(std::move(ports));
}

// --- Opto-4 output and input -------------------------------------------------------------------

TOpto4OutOutPort::TOpto4OutOutPort()
{
    Name = Lang3Q("Ausgänge", "Outputs", "Sorties");
    AddNumberedPins(*this, "O", QStringLiteral("Opto "), 1, 4);
    SetInput(false);
}

void TOpto4OutOutPort::MachEsJetzt()
{
    if (LineOpen())
        SendOnChange(PinBits(*this, 4), 3);
}

const TDeviceDescription TOpto4Out::Description{
    .Name = "TOpto4Out",
    .Ports = {ClassEntry<TOpto4OutOutPort>()},
    .Prefix = {"OUT"},
    .PaletteName = {"Kolter mini\rUSB OPTO-4 OUT"},
    .Caption = {"OPTO-4"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TOpto4Out::TOpto4Out()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB Opto-4 Out");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TOpto4OutOutPort>());
    AddPorts(std::move(ports));
}

TOpto4InInPort::TOpto4InInPort()
{
    Name = Lang3Q("Eingänge", "Inputs", "Entrées");
    AddNumberedPins(*this, "O", QStringLiteral("Opto "), 1, 4);
    SetInput(true);
}

void TOpto4InInPort::MachEsJetzt()
{
    if (LineOpen())
        SetPinsFromWord(ShiftIn(3));
}

const TDeviceDescription TOpto4In::Description{
    .Name = "TOpto4In",
    .Ports = {ClassEntry<TOpto4InInPort>()},
    .Prefix = {"INP"},
    .PaletteName = {"Kolter mini\rUSB OPTO-4 INP"},
    .Caption = {"OPTO-4"},
    .HelpContext = 38000,
    .Category = TPaletteCategory::Kolter};

TOpto4In::TOpto4In()
{
    Describe(Description);
    Name = QStringLiteral("Kolter USB Opto-4 In");
    std::vector<std::unique_ptr<TIOPort>> ports;
    ports.push_back(std::make_unique<TOpto4InInPort>());
    AddPorts(std::move(ports));
}
