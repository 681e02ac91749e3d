#include "hardware/midi/MidiSendPorts.h"

namespace {

void AddClock(TMidiPort& port, Extended max)
{
    port.AddPin(QStringLiteral("Clock"), QStringLiteral("|CLK"), 0.0L, max, false);
}

int32_t Channel(const TMidiPort& port)
{
    return MidiNumber(GetPinValue(*port.Pins[0]), 15);
}

int32_t DataByte(const TMidiPort& port, int32_t pin)
{
    return MidiNumber(GetPinValue(*port.Pins[size_t(pin)]), 127);
}

} // namespace

void TMidiSendBytePort::Build(const QString& name, int32_t status, int32_t keyPin,
                              int32_t valuePin)
{
    Name = name;
    m_status = status;
    m_keyPin = keyPin;
    m_valuePin = valuePin;
    AddClock(*this, 0.0L);
    SetInput(false);
}

void TMidiSendBytePort::MachEsJetzt()
{
    TMidiPort::MachEsJetzt();
    if (Pins.size() < size_t(m_valuePin) + 2)
        return;
    const int32_t value = DataByte(*this, m_valuePin);
    if (value == LastSent && !ClockEdge)
        return;
    const int32_t status = m_status + Channel(*this);
    Send(m_keyPin >= 0 ? PackMidi(status, DataByte(*this, m_keyPin), value)
                       : PackMidi(status, value, 0));
    LastSent = uint8_t(value);
}

TMidiSendNotePort::TMidiSendNotePort()
{
    Name = QStringLiteral("Send Note ON/OFF");
    AddPin(QStringLiteral("ON/OFF"), QStringLiteral("ON"), 0.0L, 5.0L, false);
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Note"), QStringLiteral("NOTE"), 0.0L, 127.0L, false);
    AddPin(QStringLiteral("Velocity"), QStringLiteral("VEL"), 0.0L, 127.0L, false);
    AddClock(*this, 5.0L);
    SetInput(false);
}

void TMidiSendNotePort::MachEsJetzt()
{
    TMidiPort::MachEsJetzt();
    if (Pins.size() < 5)
        return;
    const bool on = GetPinValue(*Pins[0]) > 2.5L;
    if (on == (LastSent != 0) && !ClockEdge)
        return;
    LastSent = on ? 1 : 0;
    const int32_t channel = MidiNumber(GetPinValue(*Pins[1]), 15);
    Send(PackMidi((on ? 0x90 : 0x80) + channel, DataByte(*this, 2), DataByte(*this, 3)));
}

TMidiSendPolyAftertouchPort::TMidiSendPolyAftertouchPort()
{
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Note"), QStringLiteral("NOTE"), 0.0L, 127.0L, false);
    AddPin(QStringLiteral("Polyphonic Aftertouch"), QStringLiteral("PAT"), 0.0L, 127.0L, false);
    Build(QStringLiteral("Send Poly Aftertouch"), 0xA0, 1, 2);
}

TMidiSendControlChangePort::TMidiSendControlChangePort()
{
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Control"), QStringLiteral("CTL"), 0.0L, 127.0L, false);
    AddPin(QStringLiteral("Value"), QStringLiteral("VAL"), 0.0L, 127.0L, false);
    Build(QStringLiteral("Send Control Change"), 0xB0, 1, 2);
}

TMidiSendPrgChangePort::TMidiSendPrgChangePort()
{
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Program"), QStringLiteral("PRG"), 0.0L, 127.0L, false);
    Build(QStringLiteral("Send Program Change"), 0xC0, -1, 1);
}

TMidiSendChannelAftertouchPort::TMidiSendChannelAftertouchPort()
{
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Channel Aftertouch"), QStringLiteral("CAT"), 0.0L, 127.0L, false);
    Build(QStringLiteral("Send Channel Aftertouch"), 0xD0, -1, 1);
}

TMidiSendPitchwheelPort::TMidiSendPitchwheelPort()
{
    Name = QStringLiteral("Send Pitchwheel");
    AddMidiChannelPin(*this);
    AddPin(QStringLiteral("Pitchwheel"), QStringLiteral("PTCH"), 0.0L, 16383.0L, false);
    AddClock(*this, 0.0L);
    SetInput(false);
}

void TMidiSendPitchwheelPort::MachEsJetzt()
{
    TMidiPort::MachEsJetzt();
    if (Pins.size() < 3)
        return;
    const int32_t value = MidiNumber(GetPinValue(*Pins[1]), 16383);
    if (value == LastSent && !ClockEdge)
        return;
    Send(PackMidi(0xE0 + Channel(*this), value & 0x7F, value >> 7));
    LastSent = uint16_t(value);
}

TMidiSendOthersPort::TMidiSendOthersPort()
{
    SetKind(10);
}

void TMidiSendOthersPort::SetKind(uint8_t k)
{
    SystemMessage = k;
    BuildSystemMessagePort(*this, k, true);
}

void TMidiSendOthersPort::MachEsJetzt()
{
    TMidiPort::MachEsJetzt();
    if (!ClockEdge || Pins.empty())
        return;
    const int32_t status = 0xF0 + SystemMessage;
    if (SystemMessage == 2 && Pins.size() >= 2) {
        const int32_t position = MidiNumber(GetPinValue(*Pins[0]), 16383);
        Send(PackMidi(status, position & 0x7F, position >> 7));
    } else if (SystemMessage == 3 && Pins.size() >= 2) {
        Send(PackMidi(status, DataByte(*this, 0), 0));
    } else {
        Send(PackMidi(status, 0, 0));
    }
}
