#pragma once
// Registration of the multimeters: on a COM port and on a USB-HID cable.

class TClassRegistry;

void RegisterMeterDevices(TClassRegistry& registry);
