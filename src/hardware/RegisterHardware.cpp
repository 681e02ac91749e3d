#include "hardware/RegisterHardware.h"

#include "core/model/ClassRegistry.h"
#include "hardware/framework/IoInterface.h"
#include "hardware/ports/IoLpt.h"
#include "hardware/ports/PortRegister.h"

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
