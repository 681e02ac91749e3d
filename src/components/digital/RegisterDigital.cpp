#include "components/digital/RegisterDigital.h"

#include "components/digital/Adders.h"
#include "components/digital/BusDriver.h"
#include "components/digital/Counters.h"
#include "components/digital/Decoders.h"
#include "components/digital/FlipFlops.h"
#include "components/digital/Gates.h"
#include "components/digital/GroundDelay.h"
#include "components/digital/Multiplexers.h"
#include "components/digital/Registers.h"
#include "components/digital/ShiftRegisters.h"
#include "core/model/ClassRegistry.h"

void RegisterGateComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTInverter>();
    registry.RegisterComponent<TBTAnd>();
    registry.RegisterComponent<TBTNand>();
    registry.RegisterComponent<TBTOr>();
    registry.RegisterComponent<TBTNor>();
    registry.RegisterComponent<TBTExor>();
}

void RegisterSequentialComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTRSFF>();
    registry.RegisterComponent<TBTRSFFZ>();
    registry.RegisterComponent<TBTRSFFF>();
    registry.RegisterComponent<TBTJKFF>();
    registry.RegisterComponent<TBTDFFZ>();
    registry.RegisterComponent<TBTDFFF>();
    registry.RegisterComponent<TBTCNT4>();
    registry.RegisterComponent<TBTCNT8>();
    registry.RegisterComponent<TBTCNT16>();
    registry.RegisterComponent<TBTCNT4D>();
    registry.RegisterComponent<TBTCNTL>();
    registry.RegisterComponent<TBTCNTL8>();
    registry.RegisterComponent<TBTCNTL16>();
    registry.RegisterComponent<TBTCNTLD>();
    registry.RegisterComponent<TBTSREG>();
    registry.RegisterComponent<TBTSREG8>();
    registry.RegisterComponent<TBTSREG16>();
    registry.RegisterComponent<TBTSREGL>();
    registry.RegisterComponent<TBTSREGL8>();
    registry.RegisterComponent<TBTSREGL16>();
    registry.RegisterComponent<TBTREG2>();
    registry.RegisterComponent<TBTREG4>();
    registry.RegisterComponent<TBTREG8>();
    registry.RegisterComponent<TBTREG16>();
    registry.RegisterComponent<TBTREG2_T>();
    registry.RegisterComponent<TBTREG4_T>();
    registry.RegisterComponent<TBTREG8_T>();
    registry.RegisterComponent<TBTREG16_T>();
}

void RegisterCombinationalComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTVerzoegerung>();
    registry.RegisterComponent<TBTMasse>();
    registry.RegisterComponent<TBTPowerOnReset>();
    registry.RegisterComponent<TBTMUX2>();
    registry.RegisterComponent<TBTMUX4>();
    registry.RegisterComponent<TBTMUX8>();
    registry.RegisterComponent<TBTMUX16>();
    registry.RegisterComponent<TBTDMUX2>();
    registry.RegisterComponent<TBTDMUX4>();
    registry.RegisterComponent<TBTDMUX8>();
    registry.RegisterComponent<TBTDMUX16>();
    registry.RegisterComponent<TBTBustreiber>();
    registry.RegisterComponent<TBTAdressdekoder>();
    registry.RegisterComponent<TBTADD2>();
    registry.RegisterComponent<TBTADD4>();
    registry.RegisterComponent<TBTADD8>();
    registry.RegisterComponent<TBTVGL4>();
    registry.RegisterComponent<TBTVGL8>();
    registry.RegisterComponent<TBTBCDDekoder>();
    registry.RegisterComponent<TBTSeg7Decoder>();
}

void RegisterDigitalComponents(TClassRegistry& registry)
{
    RegisterGateComponents(registry);
    RegisterSequentialComponents(registry);
    RegisterCombinationalComponents(registry);
}
