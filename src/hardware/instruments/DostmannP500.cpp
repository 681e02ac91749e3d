#include "hardware/instruments/DostmannP500.h"

#include "platform/Clock.h"
#include "platform/Context.h"

TP500InPort::TP500InPort()
{
    Name = Lang3Q("Temperaturfühler", "Temperature sensors", "Capteurs de température");
    AddPin(Lang3Q("Temperatur 1", "Temperature 1", "Température 1"), QStringLiteral("T1"), 0.0L,
           5.0L, false);
    SetInput(true);
}

void TP500InPort::SimStart()
{
    TSerialPort::SimStart();
    m_lines.Clear();
    m_requested = false;
}

void TP500InPort::MachEsJetzt()
{
    if (!PortOpen(*this))
        return;
    const uint32_t now = Clock().TickCount();
    if (!m_requested || now - m_lastRequest >= kP500RequestMs) {
        WriteText(*this, "A");
        m_lastRequest = now;
        m_requested = true;
    }
    ReadInto(*this, m_lines, 64);
    while (const std::optional<std::string> line = m_lines.TakeLine())
        if (const std::optional<Extended> value = TextValue(QString::fromLatin1(*line)))
            SetPinValue(*Pins[0], *value);
}

const TDeviceDescription TP500::Description{
    .Name = "TP500",
    .Ports = {ClassEntry<TP500InPort>()},
    .Prefix = {"TMP-"},
    .PaletteName = {"Dostmann\rThermometer", "Dostmann\rthermometer", "Thermomètre\rDostmann"},
    .Caption = {"TMP"},
    .Category = TPaletteCategory::AndereHersteller,
    .LegacyNames = {"TBTP500"}};

TP500::TP500()
{
    Describe(Description);
    SetLine({TBaudRate::Baud2400, TStopBits::_2, false, true});
    Name = Lang3Q("Dostmann Thermometer", "Dostmann thermometer", "Thermomètre Dostmann");
    Ports.push_back(std::make_unique<TP500InPort>());
    OutputCount = 0;
    BuildPinList();
    PropagateAddress();
}
