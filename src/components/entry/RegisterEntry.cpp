#include "components/entry/RegisterEntry.h"

#include "components/entry/EntryComponents.h"
#include "core/model/ClassRegistry.h"

void RegisterEntryComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTNumEingabe>();
    registry.RegisterComponent<TBTASCII_Display>();
    registry.RegisterComponent<TBTAuswahlliste>();
    registry.RegisterComponent<TBTTastatur>();
    registry.RegisterComponent<TBTSetliste>();
}
