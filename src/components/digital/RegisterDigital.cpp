#include "components/digital/RegisterDigital.h"

#include "components/digital/Gates.h"
#include "core/model/ClassRegistry.h"

void RegisterDigitalComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTInverter>();
    registry.RegisterClass<TBTAnd>();
    registry.RegisterClass<TBTNand>();
    registry.RegisterClass<TBTOr>();
    registry.RegisterClass<TBTNor>();
    registry.RegisterClass<TBTExor>();
}
