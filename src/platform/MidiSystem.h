#pragma once
// MIDI devices of this machine through the ALSA sequencer. A device is a sequencer port of
// another client, numbered from 0 in the order the sequencer lists them: outputs are the
// ports the program can write to, inputs the ports it can read from. Opening gives a handle
// (0 when the device cannot be opened); received short messages arrive on a thread of the
// system, packed as status | data1 << 8 | data2 << 16.

#include <QStringList>
#include <cstdint>
#include <functional>

using TMidiHandle = int32_t; // 0: nothing opened

class IMidiSystem {
public:
    using TReceive = std::function<void(uint32_t message)>;
    virtual ~IMidiSystem() = default;
    virtual QStringList OutputNames() = 0;
    virtual QStringList InputNames() = 0;
    virtual TMidiHandle OpenOutput(int32_t device) = 0;
    virtual void CloseOutput(TMidiHandle handle) = 0;
    // Fire and forget; a handle of 0 sends nothing.
    virtual void Send(TMidiHandle output, uint32_t message) = 0;
    // receive runs on another thread; a message already taken may still reach it just after
    // CloseInput.
    virtual TMidiHandle OpenInput(int32_t device, TReceive receive) = 0;
    virtual void CloseInput(TMidiHandle handle) = 0;
    // Routes every message of an opened input to an opened output inside the system.
    virtual bool Connect(TMidiHandle input, TMidiHandle output) = 0;
    virtual void Disconnect(TMidiHandle input, TMidiHandle output) = 0;
};

// The system in use (the ALSA sequencer unless a test installed another).
IMidiSystem& MidiSystem();
// Installs a system (not owned); nullptr restores the real one.
void SetMidiSystem(IMidiSystem* system);
