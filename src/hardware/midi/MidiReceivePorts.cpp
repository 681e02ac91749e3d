#include "hardware/midi/MidiReceivePorts.h"

namespace {

void AddByte(TMidiPort& port, const char* description, const char* name)
{
    port.AddPin(QLatin1String(description), QLatin1String(name), 0.0L, 127.0L, false);
}

int32_t Data1(uint32_t message) { return int32_t(message >> 8 & 0x7F); }
int32_t Data2(uint32_t message) { return int32_t(message >> 16 & 0x7F); }

} // namespace

void TMidiReceiveChannelPort::Build(const QString& name, int32_t statusNibble,
                                    int32_t channelPin, int32_t keyPin, int32_t valuePin,
                                    TValue value)
{
    Name = name;
    m_status = statusNibble;
    m_channelPin = channelPin;
    m_keyPin = keyPin;
    m_valuePin = valuePin;
    m_value = value;
    AddPin(QStringLiteral("Clock"), QStringLiteral("|CLK"), 0.0L, 5.0L, false);
    SetInput(true);
    SetChannelFilter(false);
    SetValueFilter(false);
}

void TMidiReceiveChannelPort::SetChannelFilter(bool on)
{
    TMidiPort::SetChannelFilter(on);
    if (size_t(m_channelPin) < Pins.size())
        Pins[size_t(m_channelPin)]->IsOutput = on ? 1 : 0;
    CaptureFilters();
}

void TMidiReceiveChannelPort::SetValueFilter(bool on)
{
    TMidiPort::SetValueFilter(on);
    if (m_keyPin >= 0 && size_t(m_keyPin) < Pins.size())
        Pins[size_t(m_keyPin)]->IsOutput = on ? 1 : 0;
    CaptureFilters();
}

void TMidiReceiveChannelPort::CaptureFilters()
{
    const bool channel = ChannelFilter && size_t(m_channelPin) < Pins.size();
    m_wantedChannel = channel ? MidiNumber(GetPinValue(*Pins[size_t(m_channelPin)]), 15) : -1;
    const bool key = ValueFilter && m_keyPin >= 0 && size_t(m_keyPin) < Pins.size();
    m_wantedKey = key ? MidiNumber(GetPinValue(*Pins[size_t(m_keyPin)]), 127) : -1;
}

void TMidiReceiveChannelPort::OfferMessage(uint32_t message)
{
    const int32_t status = int32_t(message & 0xFF);
    if (status < 0x80 || status >= 0xF0 || !TakesStatus(status >> 4))
        return;
    const int32_t channel = m_wantedChannel;
    if (channel >= 0 && (status & 0x0F) != channel)
        return;
    const int32_t key = m_wantedKey;
    if (key >= 0 && Data1(message) != key)
        return;
    Enqueue(message);
}

void TMidiReceiveChannelPort::ApplyMessage(uint32_t message)
{
    if (!ChannelFilter)
        SetPinValue(*Pins[size_t(m_channelPin)], Extended(message & 0x0F));
    if (m_keyPin >= 0 && !ValueFilter)
        SetPinValue(*Pins[size_t(m_keyPin)], Data1(message));
    if (m_valuePin < 0)
        return;
    Extended value = 0.0L;
    switch (m_value) {
    case TValue::Data1: value = Data1(message); break;
    case TValue::Data2: value = Data2(message); break;
    case TValue::Wide: value = Data2(message) << 7 | Data1(message); break;
    case TValue::None: return;
    }
    SetPinValue(*Pins[size_t(m_valuePin)], value);
}

void TMidiReceiveChannelPort::MachEsJetzt()
{
    CaptureFilters();
    TMidiPort::MachEsJetzt();
}

void TMidiReceiveChannelPort::SimStart()
{
    CaptureFilters();
    TMidiPort::SimStart();
}

TMidiReceiveNotePort::TMidiReceiveNotePort()
{
    AddPin(QStringLiteral("ON/OFF"), QStringLiteral("ON"), 0.0L, 5.0L, false);
    AddMidiChannelPin(*this);
    AddByte(*this, "Note", "NOTE");
    AddByte(*this, "Velocity", "VEL");
    Build(QStringLiteral("Receive Note ON/OFF"), 0x9, 1, 2, 3, TValue::Data2);
}

void TMidiReceiveNotePort::ApplyMessage(uint32_t message)
{
    const bool on = (message & 0xF0) == 0x90 && Data2(message) > 0;
    SetPinValue(*Pins[0], on ? 5.0L : 0.0L);
    TMidiReceiveChannelPort::ApplyMessage(message);
}

TMidiReceivePolyAftertouchPort::TMidiReceivePolyAftertouchPort()
{
    AddMidiChannelPin(*this);
    AddByte(*this, "Note", "NOTE");
    AddByte(*this, "PolyAftertouch", "PAT");
    Build(QStringLiteral("Receive Poly Aftertouch"), 0xA, 0, 1, 2, TValue::Data2);
}

TMidiReceiveControlChangePort::TMidiReceiveControlChangePort()
{
    AddMidiChannelPin(*this);
    AddByte(*this, "Control", "CTL");
    AddByte(*this, "Value", "VAL");
    Build(QStringLiteral("Receive Control Change"), 0xB, 0, 1, 2, TValue::Data2);
}

TMidiReceivePrgChangePort::TMidiReceivePrgChangePort()
{
    AddMidiChannelPin(*this);
    AddByte(*this, "Program", "PRG");
    Build(QStringLiteral("Receive Program Change"), 0xC, 0, 1, -1, TValue::None);
}

TMidiReceiveChannelAftertouchPort::TMidiReceiveChannelAftertouchPort()
{
    AddMidiChannelPin(*this);
    AddByte(*this, "Channel Aftertouch", "CAT");
    Build(QStringLiteral("Receive Channel Aftertouch"), 0xD, 0, -1, 1, TValue::Data1);
}

TMidiReceivePitchwheelPort::TMidiReceivePitchwheelPort()
{
    AddMidiChannelPin(*this);
    AddByte(*this, "Pitchwheel", "PTCH");
    Build(QStringLiteral("Receive Pitchwheel"), 0xE, 0, -1, 1, TValue::Wide);
}

TMidiReceiveOthersPort::TMidiReceiveOthersPort()
{
    SetKind(10);
}

void TMidiReceiveOthersPort::SetKind(uint8_t k)
{
    SystemMessage = k;
    BuildSystemMessagePort(*this, k, false);
}

void TMidiReceiveOthersPort::OfferMessage(uint32_t message)
{
    if ((message & 0xFF) == 0xF0u + SystemMessage)
        Enqueue(message);
}

void TMidiReceiveOthersPort::ApplyMessage(uint32_t message)
{
    if (SystemMessage == 2 && Pins.size() >= 2)
        SetPinValue(*Pins[0], Data2(message) << 7 | Data1(message));
    else if (SystemMessage == 3 && Pins.size() >= 2)
        SetPinValue(*Pins[0], Data1(message));
}
