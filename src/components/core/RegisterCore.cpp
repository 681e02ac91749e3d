#include "components/core/RegisterCore.h"

#include "components/analog/SimulationStop.h"
#include "components/core/CoreComponents.h"
#include "core/model/ClassRegistry.h"

void RegisterCoreComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTLed>();
    registry.RegisterClass<TBTTaktgeber>();
    registry.RegisterClass<TBTFPActivate>();
    registry.RegisterClass<TBTHotkey_Empfangen>();
    registry.RegisterClass<TBTJump>();
    registry.RegisterClass<TBTStop>();
    registry.RegisterClass<TBTTestpunkt>();
    registry.RegisterClass<TBTRangeCheck>();
    registry.RegisterClass<TBTJumpTarget>();
}
