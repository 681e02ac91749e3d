#include "components/scope/RegisterScope.h"

#include "components/scope/Scope.h"
#include "core/model/ClassRegistry.h"

void RegisterScopeComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBT_Scope>();
}
