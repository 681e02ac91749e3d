#include "components/analog/RegisterControl.h"

#include "components/analog/Controllers.h"
#include "components/analog/Integrators.h"
#include "components/analog/TransferElements.h"
#include "core/model/ClassRegistry.h"

void RegisterControlComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTIntegrierer>();
    registry.RegisterClass<TBTDifferenzierer>();
    registry.RegisterClass<TBT_Inkretment>();
    registry.RegisterClass<TBT_AnalogDelay>();
    registry.RegisterClass<TBTPT1>();
    registry.RegisterClass<TBTPT2>();
    registry.RegisterClass<TBTDT1>();
    registry.RegisterClass<TBT_P_Regler>();
    registry.RegisterClass<TBT_PI_Regler>();
    registry.RegisterClass<TBT_PD_Regler>();
    registry.RegisterClass<TBT_PID_Regler>();
    registry.RegisterClass<TBT_2_Punkt_Regler>();
    registry.RegisterClass<TBT_Spiel>();
    registry.RegisterClass<TBT_Totzone>();
}
