#pragma once
// What a device class declares about itself, once: the name it is registered under, the port
// classes it builds, its designator prefix, palette name and symbol caption in three languages,
// its help topic and palette category, the component class names older projects stored it
// under, and the maker's files it needs. The device's constructor, the hardware component, the
// palette and the compile command read it; the class registry carries it.

#include "core/model/Bauteil.h"
#include "core/model/ComponentDescription.h"

#include <QString>
#include <memory>
#include <typeinfo>
#include <vector>

// A class the registry can enter by name without naming its type (the ports of a device).
struct TClassEntry {
    const char* Name = nullptr;
    std::unique_ptr<TPersistentObject> (*Make)() = nullptr;
    const std::type_info* Type = nullptr;
};

template <class T>
TClassEntry ClassEntry()
{
    return TClassEntry{T::StaticClassName(),
                       []() -> std::unique_ptr<TPersistentObject> { return NewObject<T>(); },
                       &typeid(T)};
}

struct TDeviceDescription {
    const char* Name = nullptr;          // registered class name, as the class declares it
    std::vector<TClassEntry> Ports = {}; // every port class the device builds
    TText3 Prefix = {};                  // designator prefix; at most 10 characters are used
    TText3 PaletteName = {};             // palette entry and type name; "\r" breaks the line
    TText3 Caption = {};                 // inside the symbol, at most 40 characters; may be ""
    int32_t HelpContext = 35500;
    // The palette category that offers the device; None for a base class no palette offers.
    TPaletteCategory Category = TPaletteCategory::None;
    // Component class names under which older projects stored a component with this device
    // (compared without regard to case); such a record carries no device class name.
    std::vector<const char*> LegacyNames = {};
    // The maker's library and driver files the device needs: named when the driver is missing
    // and copied beside a compiled program from the program folder.
    std::vector<const char*> MakerFiles = {};
};

// Empty when the description is complete, else what it lacks (for tests and registration).
QString DeviceDescriptionFault(const TDeviceDescription& description);
