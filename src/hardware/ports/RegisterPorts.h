#pragma once
// Registration of the port devices: LPT port, port register read and write.

class TClassRegistry;

void RegisterPortDevices(TClassRegistry& registry);
