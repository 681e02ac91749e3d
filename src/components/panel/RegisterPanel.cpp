#include "components/panel/RegisterPanel.h"

#include "components/panel/Lamp.h"
#include "components/panel/Switches.h"
#include "core/model/ClassRegistry.h"

void RegisterPanelComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTTaster>();
    registry.RegisterComponent<TBTSchalter>();
    registry.RegisterComponent<TBTAnalogTaster>();
    registry.RegisterComponent<TBTAnalogSchalter>();
    registry.RegisterComponent<TBTAnalogTaster2>();
    registry.RegisterComponent<TBTAnalogSchalter2>();
    registry.RegisterComponent<TBTLampe>();
}
