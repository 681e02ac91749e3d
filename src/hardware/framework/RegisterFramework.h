#pragma once
// Registration of the device base and its standard ports.

class TClassRegistry;

void RegisterFrameworkDevices(TClassRegistry& registry);
