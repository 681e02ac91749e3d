#include "comm/dde/RegisterDde.h"

#include "comm/dde/DdeClient.h"
#include "comm/dde/DdeServer.h"
#include "core/model/ClassRegistry.h"

void RegisterDdeComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBT_DDE_Server>();
    registry.RegisterComponent<TBT_DDE_Client>();
    registry.RegisterComponent<TBT_DDE_Client_Poke>();
}
