#include "components/recorder/RegisterRecorders.h"

#include "components/recorder/Recorders.h"
#include "core/model/ClassRegistry.h"

void RegisterRecorderComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTGraf>();
    registry.RegisterComponent<TBTXY>();
    registry.RegisterComponent<TBTTabelle>();
}
