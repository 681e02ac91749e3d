#include "components/digital/RegisterSequential.h"

#include "components/digital/Counters.h"
#include "components/digital/FlipFlops.h"
#include "components/digital/Registers.h"
#include "components/digital/ShiftRegisters.h"
#include "core/model/ClassRegistry.h"

void RegisterSequentialComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTRSFF>();
    registry.RegisterClass<TBTRSFFZ>();
    registry.RegisterClass<TBTRSFFF>();
    registry.RegisterClass<TBTJKFF>();
    registry.RegisterClass<TBTDFFZ>();
    registry.RegisterClass<TBTDFFF>();

    registry.RegisterClass<TBTCNT4>();
    registry.RegisterClass<TBTCNT8>();
    registry.RegisterClass<TBTCNT16>();
    registry.RegisterClass<TBTCNT4D>();
    registry.RegisterClass<TBTCNTL>();
    registry.RegisterClass<TBTCNTL8>();
    registry.RegisterClass<TBTCNTL16>();
    registry.RegisterClass<TBTCNTLD>();

    registry.RegisterClass<TBTSREG>();
    registry.RegisterClass<TBTSREG8>();
    registry.RegisterClass<TBTSREG16>();
    registry.RegisterClass<TBTSREGL>();
    registry.RegisterClass<TBTSREGL8>();
    registry.RegisterClass<TBTSREGL16>();

    registry.RegisterClass<TBTREG2>();
    registry.RegisterClass<TBTREG4>();
    registry.RegisterClass<TBTREG8>();
    registry.RegisterClass<TBTREG16>();
    registry.RegisterClass<TBTREG2_T>();
    registry.RegisterClass<TBTREG4_T>();
    registry.RegisterClass<TBTREG8_T>();
    registry.RegisterClass<TBTREG16_T>();
}
