#include "components/text/RegisterText.h"

#include "components/text/StrEdit.h"
#include "components/text/SystemInfo.h"
#include "components/text/TextBuffers.h"
#include "components/text/TextDisplay.h"
#include "components/text/TextFormat.h"
#include "components/text/TextOperations.h"
#include "core/model/ClassRegistry.h"

void RegisterTextComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBT_Str_Fest>();
    registry.RegisterComponent<TBT_Str_Value>();
    registry.RegisterComponent<TBTStrPlus>();
    registry.RegisterComponent<TBTStrCopy>();
    registry.RegisterComponent<TBTStrReplace>();
    registry.RegisterComponent<TBTStrCompare>();
    registry.RegisterComponent<TBTStrChr>();
    registry.RegisterComponent<TBTStrASCII>();
    registry.RegisterComponent<TBTStrInsert>();
    registry.RegisterComponent<TBTStrLength>();
    registry.RegisterComponent<TBTStrPos>();
    registry.RegisterComponent<TBTStrTrim>();
    registry.RegisterComponent<TBTStrUpper>();
    registry.RegisterComponent<TBTStrIndex>();
    registry.RegisterComponent<TBTStrDelete>();
    registry.RegisterComponent<TBTStrBuffer>();
    registry.RegisterComponent<TBTStrMux>();
    registry.RegisterComponent<TBTStrHold>();
    registry.RegisterComponent<TBTStrFormat>();
    registry.RegisterComponent<TBTStrParts>();
    registry.RegisterComponent<TBTStrInfo>();
    registry.RegisterComponent<TBTStrDisplay>();
    registry.RegisterComponent<TBTStrEdit>();
}
