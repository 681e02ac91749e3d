#pragma once
// The ports of a MIDI IN device: each takes the received messages of its kind, queues them and
// puts one at a time onto its pins with a clock pulse. With a filter on, the channel pin (and
// the note, control or program pin) becomes an input of the device that a message must match.

#include "hardware/midi/MidiPort.h"

// Channel messages: CHN, an optional value-filter pin taking data byte 1, an optional value pin.
class TMidiReceiveChannelPort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiReceiveChannelPort)
    enum class TValue { None, Data1, Data2, Wide };

    void OfferMessage(uint32_t message) override;
    void ApplyMessage(uint32_t message) override;
    void SetChannelFilter(bool on) override;
    void SetValueFilter(bool on) override;
    void MachEsJetzt() override;
    void SimStart() override;

protected:
    // Adds the clock and sets the pins' drive; call after adding the other pins.
    void Build(const QString& name, int32_t statusNibble, int32_t channelPin, int32_t keyPin,
               int32_t valuePin, TValue value);
    // Whether the status's high nibble is this port's.
    virtual bool TakesStatus(int32_t statusNibble) const { return statusNibble == m_status; }

private:
    // The filter pins' values as the system's thread compares them (-1: filter off).
    void CaptureFilters();

    int32_t m_status = 0;
    int32_t m_channelPin = 0;
    int32_t m_keyPin = -1;
    int32_t m_valuePin = -1;
    TValue m_value = TValue::None;
    std::atomic<int32_t> m_wantedChannel{-1};
    std::atomic<int32_t> m_wantedKey{-1};
};

class TMidiReceiveNotePort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceiveNotePort)
    TMidiReceiveNotePort();
    void ApplyMessage(uint32_t message) override;

protected:
    bool TakesStatus(int32_t nibble) const override { return nibble == 0x8 || nibble == 0x9; }
};

class TMidiReceivePolyAftertouchPort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceivePolyAftertouchPort)
    TMidiReceivePolyAftertouchPort();
};

class TMidiReceiveControlChangePort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceiveControlChangePort)
    TMidiReceiveControlChangePort();
};

class TMidiReceivePrgChangePort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceivePrgChangePort)
    TMidiReceivePrgChangePort();
};

class TMidiReceiveChannelAftertouchPort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceiveChannelAftertouchPort)
    TMidiReceiveChannelAftertouchPort();
};

class TMidiReceivePitchwheelPort : public TMidiReceiveChannelPort {
public:
    TV_CLASS_NAME(TMidiReceivePitchwheelPort)
    TMidiReceivePitchwheelPort();
};

// Exactly the system message 0xF0 + k; a clock pulse per message.
class TMidiReceiveOthersPort : public TMidiPort {
public:
    TV_CLASS_NAME(TMidiReceiveOthersPort)
    TMidiReceiveOthersPort();
    std::atomic<uint8_t> SystemMessage{10};
    void SetKind(uint8_t k);
    void OfferMessage(uint32_t message) override;
    void ApplyMessage(uint32_t message) override;
};
