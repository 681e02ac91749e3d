#pragma once
// Registration of the serial and HID device bases and their ports.

class TClassRegistry;

void RegisterTransportDevices(TClassRegistry& registry);
