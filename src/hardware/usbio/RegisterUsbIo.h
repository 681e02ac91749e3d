#pragma once
// Registration of the hobbyist and school I/O devices: fischertechnik interfaces, USB I/O 24,
// Velleman boards, Quancom modules, IO-Warrior and Phidgets.

class TClassRegistry;

void RegisterUsbIoDevices(TClassRegistry& registry);
