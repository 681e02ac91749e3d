#include "hardware/midi/RegisterMidi.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/midi/MidiInterface.h"

void RegisterMidiDevices(TClassRegistry& registry)
{
    RegisterDevice<TMIDIInterface>(registry);
    RegisterDevice<TMIDIReceiveInterface>(registry);
    RegisterDevice<TMIDIThruInterface>(registry);
}
