#include "hardware/RegisterHardware.h"

#include "core/model/ClassRegistry.h"
#include "hardware/framework/IoInterface.h"
#include "hardware/ports/IoLpt.h"
#include "hardware/ports/PortRegister.h"

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

const std::vector<THardwarePaletteEntry>& HardwarePaletteEntries()
{
    static const std::vector<THardwarePaletteEntry> entries = {
        {"TLPTInterface", TPaletteCategory::Portzugriffe},
        {"TwPort", TPaletteCategory::Portzugriffe},
        {"TrPort", TPaletteCategory::Portzugriffe},
        {"TwPort16", TPaletteCategory::Portzugriffe},
        {"TrPort16", TPaletteCategory::Portzugriffe},
    };
    return entries;
}
