#include "components/display/RegisterDisplay.h"

#include "components/display/Displays.h"
#include "core/model/ClassRegistry.h"

void RegisterDisplayComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTDuoLED>();
    registry.RegisterComponent<TBTRGB_LED>();
    registry.RegisterComponent<TBTZeiger>();
    registry.RegisterComponent<TBTLedBar>();
    registry.RegisterComponent<TBTLeuchtbalken>();
    registry.RegisterComponent<TBTNumDisplay>();
    registry.RegisterComponent<TBTLEDDisplay>();
    registry.RegisterComponent<TBTCounter>();
    registry.RegisterComponent<TBTHexDisplay>();
    registry.RegisterComponent<TBTTextDisplay>();
    registry.RegisterComponent<TBT7Segment>();
}
