#include "hardware/RegisterHardware.h"

#include "core/model/ClassRegistry.h"
#include "hardware/framework/IoInterface.h"
#include "hardware/ports/IoLpt.h"
#include "hardware/ports/PortRegister.h"
#include "hardware/serial/HidInterface.h"
#include "hardware/serial/IoCom.h"
#include "hardware/serial/IoComD.h"
#include "hardware/serial/IoJoystick.h"

#include <algorithm>
#include <cstring>

void RegisterHardwareClasses(TClassRegistry& registry)
{
    registry.RegisterClass<TIOPort>();
    registry.RegisterClass<TIOInterface>();
    registry.RegisterClass<TDOutPort>();
    registry.RegisterClass<TDInPort>();
    registry.RegisterClass<TAOutPort>();
    registry.RegisterClass<TAInPort>();
    registry.RegisterClass<TLPTInterfaceDOutPort>();
    registry.RegisterClass<TLPTInterfaceDInPort>();
    registry.RegisterClass<TLPTInterface>();
    registry.RegisterClass<TwPortDOutPort>();
    registry.RegisterClass<TrPortDInPort>();
    registry.RegisterClass<TwPort16DOutPort>();
    registry.RegisterClass<TrPort16DInPort>();
    registry.RegisterClass<TwPort>();
    registry.RegisterClass<TrPort>();
    registry.RegisterClass<TwPort16>();
    registry.RegisterClass<TrPort16>();
    registry.RegisterClass<TSerialPort>();
    registry.RegisterClass<TSerialDOutPort>();
    registry.RegisterClass<TSerialDInPort>();
    registry.RegisterClass<TSerialInterface>();
    registry.RegisterClass<THIDPort>();
    registry.RegisterClass<THIDInterface>();
    registry.RegisterClass<TComByteOutPort>();
    registry.RegisterClass<TComBytefolgeOutPort>();
    registry.RegisterClass<TComZahlOutPort>();
    registry.RegisterClass<TComStringOutPort>();
    registry.RegisterClass<TComControlPort>();
    registry.RegisterClass<TComByteInPort>();
    registry.RegisterClass<TComZahlInPort>();
    registry.RegisterClass<TComStringInPort>();
    registry.RegisterClass<TComInterface>();
    registry.RegisterClass<TComByteSenden>();
    registry.RegisterClass<TComBytefolgeSenden>();
    registry.RegisterClass<TComZahlSenden>();
    registry.RegisterClass<TComByteEmpfangen>();
    registry.RegisterClass<TComZahlEmpfangen>();
    registry.RegisterClass<TComControl>();
    registry.RegisterClass<TComStringSenden>();
    registry.RegisterClass<TComStringEmpfangen>();
    registry.RegisterClass<TCOM_DOutPort>();
    registry.RegisterClass<TCOM_DInPort>();
    registry.RegisterClass<TCOM_D>();
    registry.RegisterClass<TJoystickAInPort>();
    registry.RegisterClass<TJoystickDInPort>();
    registry.RegisterClass<TJoystick>();
}

namespace {

std::vector<THardwarePaletteEntry>& PaletteEntries()
{
    static std::vector<THardwarePaletteEntry> entries = {
        {"TLPTInterface", TPaletteCategory::Portzugriffe},
        {"TwPort", TPaletteCategory::Portzugriffe},
        {"TrPort", TPaletteCategory::Portzugriffe},
        {"TwPort16", TPaletteCategory::Portzugriffe},
        {"TrPort16", TPaletteCategory::Portzugriffe},
        {"TComByteSenden", TPaletteCategory::RS232},
        {"TComBytefolgeSenden", TPaletteCategory::RS232},
        {"TComZahlSenden", TPaletteCategory::RS232},
        {"TComStringSenden", TPaletteCategory::RS232},
        {"TComByteEmpfangen", TPaletteCategory::RS232},
        {"TComZahlEmpfangen", TPaletteCategory::RS232},
        {"TComStringEmpfangen", TPaletteCategory::RS232},
        {"TComControl", TPaletteCategory::RS232},
        {"TCOM_D", TPaletteCategory::RS232},
        {"TJoystick", TPaletteCategory::AllgemeinPC},
    };
    return entries;
}

} // namespace

const std::vector<THardwarePaletteEntry>& HardwarePaletteEntries()
{
    return PaletteEntries();
}

void AddHardwarePaletteEntries(const std::vector<THardwarePaletteEntry>& entries)
{
    std::vector<THardwarePaletteEntry>& list = PaletteEntries();
    for (const THardwarePaletteEntry& entry : entries) {
        const bool known = std::any_of(list.begin(), list.end(), [&entry](const auto& e) {
            return std::strcmp(e.DeviceClass, entry.DeviceClass) == 0;
        });
        if (!known)
            list.push_back(entry);
    }
}
