#include "hardware/instruments/VoltcraftDigi35.h"

#include "platform/Context.h"

namespace {

constexpr double kMaxVoltage = 35.0;
constexpr double kMaxCurrent = 2.5;
constexpr double kCommandWaitMs = 75;

} // namespace

TVoltcraft_Digi35CPUStatusPort::TVoltcraft_Digi35CPUStatusPort()
{
    Name = Lang3Q("Steuerport", "Control port", "Contrôle port");
    AddPin(Lang3Q("Ausgangsspannung", "Output voltage", "Tension sortie"), QStringLiteral("U"),
           0.0L, 35.0L, false);
    AddPin(Lang3Q("Strombegrenzung", "Current control", "Contrôle ampérage"), QStringLiteral("I"),
           0.0L, 2.5L, false);
    AddPin(Lang3Q("Tastaturentriegelung", "Keyboard enable", "Clavier actif"),
           QStringLiteral("EN"), 0.0L, 5.0L, false);
    SetInput(false);
}

void TVoltcraft_Digi35CPUStatusPort::Command(const std::string& text)
{
    WriteText(*this, text);
    Wait(kCommandWaitMs);
}

void TVoltcraft_Digi35CPUStatusPort::SimStart()
{
    TSerialPort::SimStart();
    if (!PortOpen(*this))
        return;
    m_voltage = m_current = 2147483647.0L;
    m_keyboard = -1;
    MachEsJetzt();
}

void TVoltcraft_Digi35CPUStatusPort::SimStop()
{
    WriteText(*this, "E\r");
    TSerialPort::SimStop();
}

void TVoltcraft_Digi35CPUStatusPort::MachEsJetzt()
{
    if (!PortOpen(*this))
        return;
    // The unlimited value is kept, so a pin that stays out of range is sent once.
    const Extended voltage = GetPinValue(*Pins[0]);
    if (voltage != m_voltage) {
        m_voltage = voltage;
        Command(Digi35Command('V', double(voltage), kMaxVoltage, 10));
    }
    const Extended current = GetPinValue(*Pins[1]);
    if (current != m_current) {
        m_current = current;
        Command(Digi35Command('C', double(current), kMaxCurrent, 100));
    }
    const int32_t keyboard = GetPinValue(*Pins[2]) > 2.5L ? 1 : 0;
    if (keyboard != m_keyboard) {
        m_keyboard = keyboard;
        Command(keyboard ? "E\r" : "L\r");
    }
}

const TDeviceDescription TVoltcraft_Digi35CPU::Description{
    .Name = "TVoltcraft_Digi35CPU",
    .Ports = {ClassEntry<TVoltcraft_Digi35CPUStatusPort>()},
    .Prefix = {"PS"},
    .PaletteName = {"Voltcraft\rDIGI 35 CPU"},
    .Caption = {"DIGI 35"},
    .Category = TPaletteCategory::AndereHersteller,
    .LegacyNames = {"TBTVoltcraft_DIGI_35_CPU"}};

TVoltcraft_Digi35CPU::TVoltcraft_Digi35CPU()
{
    Describe(Description);
    SetLine({TBaudRate::Baud9600, TStopBits::_1, false, false});
    Name = QStringLiteral("Voltcraft DIGI 35 CPU");
    BaseAddress = 0;
    Ports.push_back(std::make_unique<TVoltcraft_Digi35CPUStatusPort>());
    BuildPinList();
    PropagateAddress();
}
