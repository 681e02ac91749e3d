#include "shell/mainwindow/RegisterClasses.h"

#include "components/analog/RegisterAnalog.h"
#include "components/analog/RegisterControl.h"
#include "components/analog/RegisterFormula.h"
#include "components/analog/RegisterSignal.h"
#include "components/digital/RegisterCombinational.h"
#include "components/digital/RegisterDigital.h"
#include "components/digital/RegisterSequential.h"
#include "core/board/BoardClasses.h"
#include "components/core/RegisterCore.h"
#include "core/model/ClassRegistry.h"

void RegisterComponentClasses(TClassRegistry& registry)
{
    RegisterCoreBaseClasses(registry);
    RegisterBoardClasses(registry);
    RegisterDigitalComponents(registry);
    RegisterSequentialComponents(registry);
    RegisterCombinationalComponents(registry);
    RegisterAnalogComponents(registry);
    RegisterFormulaComponents(registry);
    RegisterControlComponents(registry);
    RegisterSignalComponents(registry);
    RegisterCoreComponents(registry);
}
