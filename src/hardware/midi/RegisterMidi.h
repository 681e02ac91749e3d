#pragma once
// Registration of the MIDI devices.

class TClassRegistry;

void RegisterMidiDevices(TClassRegistry& registry);
