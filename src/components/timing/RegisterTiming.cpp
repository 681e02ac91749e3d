#include "components/timing/RegisterTiming.h"

#include "components/timing/Clocks.h"
#include "components/timing/Memory.h"
#include "components/timing/Monoflops.h"
#include "components/timing/SystemTime.h"
#include "components/timing/Watches.h"
#include "core/model/ClassRegistry.h"

void RegisterTimingComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTSysTime>();
    registry.RegisterComponent<TBTSysDate>();
    registry.RegisterComponent<TBTHiTakt>();
    registry.RegisterComponent<TBTTaktgeber_ES>();
    registry.RegisterComponent<TBTVCO>();
    registry.RegisterComponent<TBTMonoFlop>();
    registry.RegisterComponent<TBTMonoFlopDyn>();
    registry.RegisterComponent<TBTOnOffDelay>();
    registry.RegisterComponent<TBTRAM>();
    registry.RegisterComponent<TBTROM>();
    registry.RegisterComponent<TBTFreqCount>();
    registry.RegisterComponent<TBTStopUhr>();
    registry.RegisterComponent<TBTSchaltUhr>();
    registry.RegisterComponent<TBTWochenSchaltuhr>();
    registry.RegisterComponent<TBTTagesSchaltuhr>();
}
