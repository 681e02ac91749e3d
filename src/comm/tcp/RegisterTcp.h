#pragma once
// Registration of the TCP devices: value link between program instances and raw TCP.

class TClassRegistry;

void RegisterTcpDevices(TClassRegistry& registry);
