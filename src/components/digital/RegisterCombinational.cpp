#include "components/digital/RegisterCombinational.h"

#include "components/analog/Decoders.h"
#include "components/digital/Adders.h"
#include "components/digital/BusDriver.h"
#include "components/digital/GroundDelay.h"
#include "components/digital/Multiplexers.h"
#include "core/model/ClassRegistry.h"

void RegisterCombinationalComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTVerzoegerung>();
    registry.RegisterClass<TBTMasse>();
    registry.RegisterClass<TBTPowerOnReset>();
    registry.RegisterClass<TBTMUX2>();
    registry.RegisterClass<TBTMUX4>();
    registry.RegisterClass<TBTMUX8>();
    registry.RegisterClass<TBTMUX16>();
    registry.RegisterClass<TBTDMUX2>();
    registry.RegisterClass<TBTDMUX4>();
    registry.RegisterClass<TBTDMUX8>();
    registry.RegisterClass<TBTDMUX16>();
    registry.RegisterClass<TBTBustreiber>();
    registry.RegisterClass<TBTAdressdekoder>();
    registry.RegisterClass<TBTADD2>();
    registry.RegisterClass<TBTADD4>();
    registry.RegisterClass<TBTADD8>();
    registry.RegisterClass<TBTVGL4>();
    registry.RegisterClass<TBTVGL8>();
    registry.RegisterClass<TBTBCDDekoder>();
    registry.RegisterClass<TBTSeg7Decoder>();
}
