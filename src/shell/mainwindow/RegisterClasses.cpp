#include "shell/mainwindow/RegisterClasses.h"

#include "components/analog/RegisterAnalog.h"
#include "components/digital/RegisterDigital.h"
#include "components/panel/RegisterPanel.h"
#include "core/board/BoardClasses.h"
#include "components/core/RegisterCore.h"
#include "core/model/ClassRegistry.h"

void RegisterComponentClasses(TClassRegistry& registry)
{
    RegisterCoreBaseClasses(registry);
    RegisterBoardClasses(registry);
    RegisterDigitalComponents(registry);
    RegisterAnalogComponents(registry);
    RegisterCoreComponents(registry);
    RegisterPanelComponents(registry);
}
