#pragma once
// The program-wide registry of the MIDI devices a run uses: each MIDI device of the system is
// opened once and shared by every device of the circuit on it, closed with its last user, and
// every received message is offered to the ports of the devices registered on that input only.
// The lists are shared with the MIDI system's thread and guarded.

#include "platform/MidiSystem.h"

#include <QStringList>
#include <mutex>
#include <vector>

class TMIDIInterface;

class TMidiAdministrator {
public:
    // Registers the interface on input device; returns the shared handle (0: not opened).
    TMidiHandle OpenIn(TMIDIInterface* interface, int32_t device);
    void CloseIn(TMIDIInterface* interface);
    // A device below 0 opens and registers nothing.
    TMidiHandle OpenOut(TMIDIInterface* interface, int32_t device);
    void CloseOut(TMIDIInterface* interface);
    // Offers a received short message to the ports of the devices on input device.
    void DispatchIn(int32_t device, uint32_t message);

private:
    struct TClient {
        TMIDIInterface* Interface = nullptr;
        int32_t Device = 0;
        TMidiHandle Handle = 0;
    };
    TMidiHandle Open(std::vector<TClient>& users, TMIDIInterface* interface, int32_t device,
                     bool input);
    void Close(std::vector<TClient>& users, TMIDIInterface* interface, bool input);

    std::mutex m_lock;
    std::vector<TClient> m_inputs;
    std::vector<TClient> m_outputs;
};

TMidiAdministrator& MidiAdministrator();

// Refreshes the device-name lists: entry 0 "Kein" (translated), then the system's devices.
void ListMidiDevices();
const QStringList& MidiOutDeviceNames();
const QStringList& MidiInDeviceNames();
