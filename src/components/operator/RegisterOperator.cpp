#include "components/operator/RegisterOperator.h"

#include "components/operator/Operators.h"
#include "core/model/ClassRegistry.h"

void RegisterOperatorComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTPoti>();
    registry.RegisterComponent<TBTSlider>();
    registry.RegisterComponent<TBTDPoti>();
    registry.RegisterComponent<TBTDSlider>();
    registry.RegisterComponent<TBTHexInput>();
    registry.RegisterComponent<TBTJoyst>();
    registry.RegisterComponent<TBTRaendel>();
}
