#include "components/analog/RegisterAnalog.h"

#include "components/analog/Arithmetic.h"
#include "core/model/ClassRegistry.h"

void RegisterAnalogComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTAdd>();
    registry.RegisterClass<TBTSub>();
    registry.RegisterClass<TBTMul>();
    registry.RegisterClass<TBTDiv>();
}
