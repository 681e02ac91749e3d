#include "shell/mainwindow/RegisterClasses.h"

#include "comm/RegisterComm.h"
#include "components/analog/RegisterAnalog.h"
#include "components/analyser/RegisterAnalyser.h"
#include "components/digital/RegisterDigital.h"
#include "components/display/RegisterDisplay.h"
#include "components/entry/RegisterEntry.h"
#include "components/file/RegisterFile.h"
#include "components/operator/RegisterOperator.h"
#include "components/panel/RegisterPanel.h"
#include "components/recorder/RegisterRecorders.h"
#include "components/scope/RegisterScope.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "components/system/RegisterSystem.h"
#include "components/text/RegisterText.h"
#include "components/timing/RegisterTiming.h"
#include "core/board/BoardClasses.h"
#include "components/core/RegisterCore.h"
#include "core/model/ClassRegistry.h"
#include "hardware/RegisterHardware.h"

void RegisterComponentClasses(TClassRegistry& registry)
{
    RegisterCoreBaseClasses(registry);
    RegisterBoardClasses(registry);
    RegisterDigitalComponents(registry);
    RegisterTimingComponents(registry);
    RegisterAnalogComponents(registry);
    RegisterSignalBlocks(registry);
    RegisterCoreComponents(registry);
    RegisterPanelComponents(registry);
    RegisterOperatorComponents(registry);
    RegisterRecorderComponents(registry);
    RegisterAnalyserComponents(registry);
    RegisterDisplayComponents(registry);
    RegisterEntryComponents(registry);
    RegisterTextComponents(registry);
    RegisterFileComponents(registry);
    RegisterSystemComponents(registry);
    RegisterScopeComponents(registry);
    RegisterHardwareClasses(registry);
    RegisterCommClasses(registry);
}
