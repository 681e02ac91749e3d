#include "hardware/joystick/Joystick.h"

#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Joystick.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

namespace {

constexpr uint32_t kPollIntervalMs = 25;

// Whether a port may poll now (at most once per interval); remembers the poll.
bool PollDue(uint32_t& lastPoll)
{
    const uint32_t now = Clock().TickCount();
    if (now - lastPoll < kPollIntervalMs)
        return false;
    lastPoll = now;
    return true;
}

void StartPort(TIOPort& port, bool& disabled, uint32_t& lastPoll)
{
    disabled = !JoystickAnswers(port.BaseAddress);
    lastPoll = Clock().TickCount();
}

} // namespace

bool JoystickAnswers(int32_t number)
{
    IJoystickSystem& system = JoystickSystem();
    TJoystickState state;
    return number > 0 && number <= system.SlotCount() && system.Read(number - 1, state);
}

TJoystickAInPort::TJoystickAInPort()
{
    Name = Lang3Q("Joystick-Achsen", "Joystick axes", "Axes joystick");
    ClearPins();
    const char* names[] = {"X", "Y", "Z"};
    const QString descriptions[] = {Lang3Q("X-Achse", "x-axis", "Axe-x"),
                                    Lang3Q("Y-Achse", "y-axis", "Axe-y"),
                                    Lang3Q("Z-Achse", "z-axis", "Axe-Z")};
    for (int i = 0; i < 3; ++i) {
        TPin& pin = AddPin(descriptions[i], QString::fromLatin1(names[i]), -100.0L, 100.0L, true);
        pin.RawMin = 0;
        pin.RawMax = 65535;
    }
    SetInput(true);
}

void TJoystickAInPort::SimStart()
{
    TAInPort::SimStart();
    StartPort(*this, Disabled, LastPoll);
}

void TJoystickAInPort::MachEsJetzt()
{
    if (Disabled || Pins.size() < 3 || !PollDue(LastPoll))
        return;
    TJoystickState state;
    JoystickSystem().Read(BaseAddress - 1, state);
    PinRawToValue(*Pins[0], state.X);
    PinRawToValue(*Pins[1], state.Y);
    SetPinValue(*Pins[1], -Pins[1]->Value);
    PinRawToValue(*Pins[2], state.Z);
}

TJoystickDInPort::TJoystickDInPort()
{
    Name = Lang3Q("Joystick-Buttons", "Joystick buttons", "Boutons joystick");
    ClearPins();
    for (int i = 0; i < 4; ++i)
        AddPin(QStringLiteral("Button ") + QString::number(i + 1),
               QStringLiteral("B") + QString::number(i), 0.0L, 5.0L, false);
    SetInput(true);
}

void TJoystickDInPort::SimStart()
{
    TDInPort::SimStart();
    StartPort(*this, Disabled, LastPoll);
}

void TJoystickDInPort::MachEsJetzt()
{
    if (Disabled || Pins.size() < 4 || !PollDue(LastPoll))
        return;
    TJoystickState state;
    JoystickSystem().Read(BaseAddress - 1, state);
    for (size_t k = 0; k < 4; ++k)
        SetPinValue(*Pins[k], (state.Buttons >> k & 1u) ? 5.0L : 0.0L);
}

const TDeviceDescription TJoystick::Description{
    .Name = "TJoystick",
    .Ports = {ClassEntry<TJoystickAInPort>(), ClassEntry<TJoystickDInPort>()},
    .Prefix = {"JS"}, .PaletteName = {"Joystick"}, .Caption = {"Joystick"},
    .HelpContext = 18775,
    .Category = TPaletteCategory::AllgemeinPC,
    .LegacyNames = {"TBTJoystick"}};

TJoystick::TJoystick()
{
    Describe(Description);
    Name = Lang3Q("Joystick-Interface", "Joystick interface", "Interface joystick");
    Ports.push_back(std::make_unique<TJoystickAInPort>());
    Ports.push_back(std::make_unique<TJoystickDInPort>());
    BuildPinList();
    OutputCount = 0;
    BaseAddress = 0;
    PropagateAddress();
}

void TJoystick::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (JoystickList.isEmpty()) {
        JoystickList << Translate(QStringLiteral("Kein"));
        JoystickNumbers = {0};
        const int32_t slotCount = JoystickSystem().SlotCount();
        for (int32_t n = 1; n <= slotCount; ++n) {
            if (JoystickAnswers(n)) {
                JoystickList << QStringLiteral("Joystick #") + QString::number(n);
                JoystickNumbers.push_back(n);
            }
        }
    }
    m_choice = 0;
    for (size_t i = 0; i < JoystickNumbers.size(); ++i)
        if (JoystickNumbers[i] == BaseAddress)
            m_choice = int32_t(i);
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(QStringLiteral("Joystick"), m_choice, JoystickList, 130);
}

void TJoystick::ApplySettings()
{
    if (m_choice >= 0 && size_t(m_choice) < JoystickNumbers.size())
        BaseAddress = uint16_t(JoystickNumbers[size_t(m_choice)]);
    PropagateAddress();
    TIOInterface::ApplySettings();
}

void TJoystick::SimStart()
{
    TIOInterface::SimStart();
    if (BaseAddress != 0 && !JoystickAnswers(BaseAddress))
        MessageBoxText(Lang3Q("Joystick #%1 antwortet nicht.\n"
                              "Die Simulation läuft ohne den Joystick weiter.",
                              "Joystick #%1 does not answer.\n"
                              "The simulation goes on without the joystick.",
                              "Le joystick #%1 ne répond pas.\n"
                              "La simulation continue sans le joystick.")
                           .arg(BaseAddress),
                       Name, mbOK, mtWarning);
}

void TJoystick::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteInteger(section, QStringLiteral("Joystick#"), BaseAddress);
}

void TJoystick::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = uint16_t(std::clamp(ini.ReadInteger(section, QStringLiteral("Joystick#"), 0),
                                      0, 0xFFFF));
    PropagateAddress();
}
