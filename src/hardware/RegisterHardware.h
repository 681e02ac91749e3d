#pragma once
// Registration of the hardware classes, and the devices the component palette offers.

#include "core/model/ComponentDescription.h"

#include <vector>

class TClassRegistry;

// Enters every device and port class under its class name.
void RegisterHardwareClasses(TClassRegistry& registry);

struct THardwarePaletteEntry {
    const char* DeviceClass;
    TPaletteCategory Category;
};
// The devices of the palette, in palette order; a palette entry is placed as a hardware
// component made by CreateHardwareComponent.
const std::vector<THardwarePaletteEntry>& HardwarePaletteEntries();
// Appends the devices of another device layer to the palette; a class already there stays once.
void AddHardwarePaletteEntries(const std::vector<THardwarePaletteEntry>& entries);
