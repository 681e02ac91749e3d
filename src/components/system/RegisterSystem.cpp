#include "components/system/RegisterSystem.h"

#include "components/system/EmailSender.h"
#include "components/system/HotkeySender.h"
#include "components/system/ProgramStart.h"
#include "components/system/WindowMessage.h"
#include "core/model/ClassRegistry.h"

void RegisterSystemComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTEXE>();
    registry.RegisterComponent<TBTEXEPARAM>();
    registry.RegisterComponent<TBTEmailSenden>();
    registry.RegisterComponent<TBtSendMessage>();
    registry.RegisterComponent<TBTHotkey_Senden>();
}
