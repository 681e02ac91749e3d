#pragma once

class TClassRegistry;

// The laboratory instruments on a COM port, in palette order.
void RegisterInstrumentDevices(TClassRegistry& registry);
