#include "hardware/instruments/MotechLps.h"

#include "platform/Context.h"

namespace {

// Control pins in port order.
enum { kV1, kV2, kOE, kI1, kI2, kTR1, kTR2, kVD3, kVD5, kBPE, kLOW };
// A state that no pin level gives, so that the first pass of a run sends.
constexpr int32_t kUnsent = -1;
constexpr Extended kUnsentValue = 2147483647.0L;

struct TPinText {
    const char* German;
    const char* English;
    const char* French;
    const char* Name;
    double Max; // 0: a voltage, whose range depends on the language
};

// The control pins, in port order: the circuit's settings for the supply.
const TPinText ControlPins[] = {
    {"Spannung V1(+)", "Voltage V1(+)", "Tension V1(+)", "V1+", 0},
    {"Spannung V2(-)", "Voltage V2(-)", "Tension V2(-)", "V2-", 0},
    {"Ausgänge ein/aus", "Output Enable", "Sortie activée", "OE", 5},
    {"Strom I1", "Current I1", "Courant I1", "I1+", 2.5},
    {"Strom I2", "Current I2", "Courant I2", "I2-", 2.5},
    {"Tracking K1", "Tracking CH1", "Tracking CH1", "TR1", 5},
    {"Tracking K2", "Tracking CH2", "Tracking CH2", "TR2", 5},
    {"Digitalausgang 3.3 V", "Digital voltage 3.3 V", "Tension digitale 3.3 V", "VD3", 5},
    {"Digitalausgang 5 V", "Digital voltage 5 V", "Tension digitale 5 V", "VD5", 5},
    {"Signalton ein/aus", "Beeper enable", "Bip activé", "BPE", 5},
    {"CC Kompens. ein/aus", "CC output compensation", "Compensation sortie CC", "LOW", 5},
};

// The status pins, in port order: the supply's readings and status bits.
const TPinText StatusPins[] = {
    {"Spannung V1(+)", "Voltage V1(+)", "Tension V1(+)", "V1+", 0},
    {"Spannung V2(-)", "Voltage V2(-)", "Tension V2(-)", "V2-", 0},
    {"CC/CV Modus K1", "CC/CV Mode CH1", "CC/CV Mode CH1", "CC1", 5},
    {"CC/CV Modus K2", "CC/CV Mode CH2", "CC/CV Mode CH2", "CC2", 5},
    {"Tracking K1", "Tracking CH1", "Tracking CH1", "TR1", 5},
    {"Tracking K2", "Tracking CH2", "Tracking CH2", "TR2", 5},
    {"Digitalausgang ein/aus", "Digital output enabled", "Sortie digital activée", "VDE", 5},
    {"Digitalausgang 3.3 V/5 V", "Digital voltage 3.3 V/5 V", "Tension digitale 3.3 V/5 V", "VD3", 5},
    {"Ausgang ein/aus", "Output enabled", "Sortie activée", "OE", 5},
    {"Digital Überlast", "Digital overload", "Surcharge digitale", "DOL", 5},
    {"Lüfter ein/aus", "Fan on/off", "Ventilateur on/off", "FAN", 5},
    {"Signalton ein/aus", "Beeper enabled", "Bip activé", "BPE", 5},
    {"CC Kompens. ein/aus", "CC output compensation", "Compensation sortie CC", "CCC", 5},
};

template <size_t N>
void AddPins(TIOPort& port, const TPinText (&pins)[N])
{
    // The German texts give the supply's 30 V, the others its 32 V.
    const Extended voltageMax = Ctx().CurrentLanguage == 0 ? 30.0L : 32.0L;
    for (const TPinText& pin : pins)
        port.AddPin(Lang3Q(pin.German, pin.English, pin.French), QString::fromUtf8(pin.Name), 0.0L,
                    pin.Max == 0 ? voltageMax : Extended(pin.Max), false);
}

} // namespace

// --- Control port --------------------------------------------------------------------------------

TMotech_LPS305ControlPort::TMotech_LPS305ControlPort()
{
    Name = Lang3Q("Steuerregister", "Control register", "Registre contôle");
    AddPins(*this, ControlPins);
    SetInput(false);
}

void TMotech_LPS305ControlPort::Command(const std::string& text, double waitMs)
{
    WriteText(*this, text + '\r');
    Wait(waitMs);
}

void TMotech_LPS305ControlPort::SetValueCommand(int32_t pin, Extended& last, const char* prefix)
{
    const Extended value = GetPinValue(*Pins[size_t(pin)]);
    if (value == last)
        return;
    last = value;
    const std::string number = LpsNumberText(double(value));
    if (!number.empty())
        Command(prefix + number, 100);
}

void TMotech_LPS305ControlPort::SwitchCommand(int32_t pin, int32_t& last, const char* on,
                                              const char* off)
{
    const int32_t level = GetPinValue(*Pins[size_t(pin)]) > 2.5L ? 1 : 0;
    if (level == last)
        return;
    last = level;
    Command(level ? on : off, 80);
}

void TMotech_LPS305ControlPort::SimStart()
{
    TSerialPort::SimStart();
    if (!PortOpen(*this))
        return;
    m_v1 = m_v2 = m_i1 = m_i2 = kUnsentValue;
    m_outputs = m_tracking = m_digital = m_beeper = m_compensation = kUnsent;
    MachEsJetzt();
}

void TMotech_LPS305ControlPort::MachEsJetzt()
{
    if (!PortOpen(*this))
        return;
    const auto high = [this](int32_t pin) { return GetPinValue(*Pins[size_t(pin)]) > 2.5L ? 1 : 0; };
    SetValueCommand(kV1, m_v1, "VSET1 ");
    SetValueCommand(kV2, m_v2, "VSET2 ");
    // The supply switches its digital output off with the outputs: switching them on sends
    // the digital setting again.
    const int32_t outputsBefore = m_outputs;
    SwitchCommand(kOE, m_outputs, "OUT1", "OUT0");
    const bool forceDigital = m_outputs == 1 && outputsBefore != 1;
    SetValueCommand(kI1, m_i1, "ISET1 ");
    SetValueCommand(kI2, m_i2, "ISET2 ");
    const int32_t tracking = high(kTR1) + 2 * high(kTR2);
    if (tracking != m_tracking) {
        m_tracking = tracking;
        Command(LpsTrackCommand(tracking), 80);
    }
    const int32_t digital = high(kVD3) + 2 * high(kVD5);
    if (digital != m_digital || forceDigital) {
        m_digital = digital;
        Command(LpsDigitalCommand(digital), 80);
    }
    SwitchCommand(kBPE, m_beeper, "BEEP1", "BEEP0");
    SwitchCommand(kLOW, m_compensation, "LOWA1", "LOWA0");
}

// --- Status port ---------------------------------------------------------------------------------

TMotech_LPS305StatusPort::TMotech_LPS305StatusPort()
{
    Name = Lang3Q("Statusregister", "Status register", "Registre état");
    AddPins(*this, StatusPins);
    SetInput(true);
}

void TMotech_LPS305StatusPort::SimStart()
{
    TSerialPort::SimStart();
    m_awaiting = false;
    m_lines.Clear();
}

void TMotech_LPS305StatusPort::MachEsJetzt()
{
    // Not before its own run start: the control port's first pass steps the circuit while this
    // port does not wait yet, and every such step would send a query.
    if (!Running || !PortOpen(*this))
        return;
    static const char* const queries[] = {"VOUT1\r", "VOUT2\r", "STATUS\r"};
    WriteText(*this, queries[m_state]);
    Wait(150);
    m_awaiting = true;
    ReadInto(*this, m_lines);
    while (const std::optional<std::string> line = m_lines.TakeLine())
        Handle(*line);
}

void TMotech_LPS305StatusPort::Handle(const std::string& line)
{
    if (!m_awaiting || line.empty() || line.find("ERROR") != std::string::npos
        || line.find("OK") != std::string::npos)
        return;
    if (m_state < 2) {
        const std::optional<double> volts = InstrumentNumber(line);
        if (!volts)
            return;
        SetPinValue(*Pins[size_t(m_state)], *volts);
        m_state += 1;
    } else {
        const std::optional<int64_t> word = InstrumentInteger(line);
        if (!word)
            return;
        const TLpsStatus s = DecodeLpsStatus(*word);
        const bool bits[] = {s.CC1, s.CC2, s.TR1, s.TR2, s.VDE, s.VD3, s.OE,
                             s.DOL, s.FAN, s.BPE, s.CCC};
        for (size_t i = 0; i < std::size(bits); ++i)
            SetPinValue(*Pins[2 + i], bits[i] ? 5.0L : 0.0L);
        m_state = 0;
    }
    m_awaiting = false;
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TMotech_LPS305::Description{
    .Name = "TMotech_LPS305",
    .Ports = {ClassEntry<TMotech_LPS305ControlPort>(), ClassEntry<TMotech_LPS305StatusPort>()},
    .Prefix = {"LPS"},
    .PaletteName = {"MOTECH LPS\r300 Serie", "MOTECH LPS\r300 Series", "Série 300\rMOTECH LPS"},
    .Caption = {"MOTECH LPS-300 Serie", "MOTECH LPS-300 Series", "Série MOTECH LPS-300"},
    .Category = TPaletteCategory::AndereHersteller,
    .LegacyNames = {"TBTMotech300"}};

TMotech_LPS305::TMotech_LPS305()
{
    Describe(Description);
    SetLine({TBaudRate::Baud2400, TStopBits::_1, false, std::nullopt});
    Name = Lang3Q("MOTECH LPS-300 Serie", "MOTECH LPS-300 Series", "Série MOTECH LPS-300");
    BaseAddress = 0;
    Ports.push_back(std::make_unique<TMotech_LPS305ControlPort>());
    Ports.push_back(std::make_unique<TMotech_LPS305StatusPort>());
    OutputCount = 11;
    BuildPinList();
    PropagateAddress();
}

void TMotech_LPS305::MachEsJetzt()
{
    TIOPort& port = *Ports[m_next];
    if (!port.Busy)
        port.MachEsJetzt();
    m_next = 1 - m_next;
}
