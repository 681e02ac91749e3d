#pragma once

class TClassRegistry;

// The Pollin AVR-NET-IO board.
void RegisterAvrNetIoDevices(TClassRegistry& registry);
