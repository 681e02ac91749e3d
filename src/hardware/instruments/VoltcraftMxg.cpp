#include "hardware/instruments/VoltcraftMxg.h"

#include "platform/Clock.h"
#include "platform/Context.h"

TVoltcraft_MXG9810AStatusPort::TVoltcraft_MXG9810AStatusPort()
{
    Name = QStringLiteral("Status");
    AddPin(Lang3Q("Frequenz", "Frequency", "Fréquence"), QStringLiteral("FRQ"), 0.0L, 0.0L, false);
    AddPin(Lang3Q("Torzeit", "Gate time", "Gate time"), QStringLiteral("GT"), 0.0L, 10.0L, false);
    AddPin(Lang3Q("Kanal A/B", "Channel A/B", "Canal A/B"), QStringLiteral("A/B"), 0.0L, 5.0L,
           false);
    AddPin(Lang3Q("Halten", "Hold", "Hold"), QStringLiteral("HLD"), 0.0L, 5.0L, false);
    AddPin(Lang3Q("Abschwächer", "Attenuator", "Atténuateur"), QStringLiteral("ATT"), 0.0L, 5.0L,
           false);
    SetInput(true);
}

void TVoltcraft_MXG9810AStatusPort::SimStart()
{
    TSerialPort::SimStart();
    m_lastRead = 0;
    m_awaiting = false;
    m_lines.Clear();
}

void TVoltcraft_MXG9810AStatusPort::MachEsJetzt()
{
    if (!PortOpen(*this))
        return;
    const uint32_t now = Clock().TickCount();
    // A counter that stays silent is asked again; what came of the lost answer is dropped.
    if (m_awaiting && now - m_requested >= kMxgSilenceMs) {
        Comm->PurgeIn();
        m_lines.Clear();
        m_awaiting = false;
    }
    if (!m_awaiting) {
        WriteText(*this, "D");
        m_awaiting = true;
        m_requested = now;
    }
    if (now - m_lastRead < kMxgReadMs)
        return;
    m_lastRead = now;
    ReadInto(*this, m_lines);
    while (const std::optional<std::string> line = m_lines.TakeLine())
        Handle(*line);
}

void TVoltcraft_MXG9810AStatusPort::Handle(const std::string& line)
{
    if (!m_awaiting || line.size() != kMxgLineLength)
        return;
    m_awaiting = false;
    const std::optional<TMxgReading> reading = DecodeMxgLine(line);
    if (!reading)
        return;
    SetPinValue(*Pins[0], reading->Frequency);
    SetPinValue(*Pins[1], reading->GateTime);
    SetPinValue(*Pins[2], reading->ChannelA ? 5.0L : 0.0L);
    SetPinValue(*Pins[3], reading->Hold ? 5.0L : 0.0L);
    SetPinValue(*Pins[4], reading->Attenuator ? 5.0L : 0.0L);
}

const TDeviceDescription TVoltcraft_MXG9810A::Description{
    .Name = "TVoltcraft_MXG9810A",
    .Ports = {ClassEntry<TVoltcraft_MXG9810AStatusPort>()},
    .Prefix = {"MXG"},
    .PaletteName = {"Voltcraft\rMXG-9810A"},
    .Caption = {"MXG-9810A"},
    .Category = TPaletteCategory::AndereHersteller,
    .LegacyNames = {"TBTVoltcraft_MXG9810A"}};

TVoltcraft_MXG9810A::TVoltcraft_MXG9810A()
{
    Describe(Description);
    SetLine({TBaudRate::Baud9600, TStopBits::_1, true, std::nullopt});
    Name = QStringLiteral("Voltcraft MXG-9810A");
    BaseAddress = 0;
    Ports.push_back(std::make_unique<TVoltcraft_MXG9810AStatusPort>());
    OutputCount = 0;
    BuildPinList();
    PropagateAddress();
}
