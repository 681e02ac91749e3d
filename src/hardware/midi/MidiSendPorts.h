#pragma once
// The ports of a MIDI OUT device: each turns its pins into one short message and sends it when
// its value changes or its clock input falls.

#include "hardware/midi/MidiPort.h"

// Channel messages with one compared data byte: poly aftertouch, control change, program
// change and channel aftertouch.
class TMidiSendBytePort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiSendBytePort)
    uint8_t LastSent = 0;
    void MachEsJetzt() override;

protected:
    // keyPin: the pin of the first data byte when the value is the second, or -1.
    void Build(const QString& name, int32_t status, int32_t keyPin, int32_t valuePin);

private:
    int32_t m_status = 0;
    int32_t m_keyPin = -1;
    int32_t m_valuePin = 1;
};

class TMidiSendNotePort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiSendNotePort)
    TMidiSendNotePort();
    uint8_t LastSent = 0; // the ON state
    void MachEsJetzt() override;
};

class TMidiSendPolyAftertouchPort : public TMidiSendBytePort {
public:
    TV_CLASS_NAME(TMidiSendPolyAftertouchPort)
    TMidiSendPolyAftertouchPort();
};

class TMidiSendControlChangePort : public TMidiSendBytePort {
public:
    TV_CLASS_NAME(TMidiSendControlChangePort)
    TMidiSendControlChangePort();
};

class TMidiSendPrgChangePort : public TMidiSendBytePort {
public:
    TV_CLASS_NAME(TMidiSendPrgChangePort)
    TMidiSendPrgChangePort();
};

class TMidiSendChannelAftertouchPort : public TMidiSendBytePort {
public:
    TV_CLASS_NAME(TMidiSendChannelAftertouchPort)
    TMidiSendChannelAftertouchPort();
};

class TMidiSendPitchwheelPort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiSendPitchwheelPort)
    TMidiSendPitchwheelPort();
    uint16_t LastSent = 0;
    void MachEsJetzt() override;
};

// A system message 0xF0 + k, sent on each falling clock edge.
class TMidiSendOthersPort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiSendOthersPort)
    TMidiSendOthersPort();
    uint8_t SystemMessage = 10;
    void SetKind(uint8_t k);
    void MachEsJetzt() override;
};
