#include "components/core/RegisterCore.h"

#include "components/core/SimulationStop.h"
#include "components/core/CoreComponents.h"
#include "core/model/ClassRegistry.h"

void RegisterCoreComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTLed>();
    registry.RegisterComponent<TBTTaktgeber>();
    registry.RegisterComponent<TBTFPActivate>();
    registry.RegisterComponent<TBTHotkey_Empfangen>();
    registry.RegisterComponent<TBTJump>();
    registry.RegisterComponent<TBTStop>();
    registry.RegisterComponent<TBTTestpunkt>();
    registry.RegisterComponent<TBTRangeCheck>();
    registry.RegisterComponent<TBTJumpTarget>();
}
