#pragma once
// Registration of the COM port devices: send and receive components, RTS/DTR, the handshake lines.

class TClassRegistry;

void RegisterComDevices(TClassRegistry& registry);
