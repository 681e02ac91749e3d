#include "components/analog/RegisterAnalog.h"

#include "components/analog/Arithmetic.h"
#include "components/analog/Averaging.h"
#include "components/analog/Controllers.h"
#include "components/analog/Converters.h"
#include "components/analog/CorrectionTable.h"
#include "components/analog/Formula.h"
#include "components/analog/Generators.h"
#include "components/analog/Integrators.h"
#include "components/analog/TransferElements.h"
#include "core/model/ClassRegistry.h"

void RegisterArithmeticComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTAdd>();
    registry.RegisterComponent<TBTSub>();
    registry.RegisterComponent<TBTMul>();
    registry.RegisterComponent<TBTDiv>();
}

void RegisterFormulaComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTFormel>();
    registry.RegisterComponent<TBTADC>();
    registry.RegisterComponent<TBTDAC>();
}

void RegisterControlComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTIntegrierer>();
    registry.RegisterComponent<TBTDifferenzierer>();
    registry.RegisterComponent<TBT_Inkretment>();
    registry.RegisterComponent<TBT_AnalogDelay>();
    registry.RegisterComponent<TBTPT1>();
    registry.RegisterComponent<TBTPT2>();
    registry.RegisterComponent<TBTDT1>();
    registry.RegisterComponent<TBT_P_Regler>();
    registry.RegisterComponent<TBT_PI_Regler>();
    registry.RegisterComponent<TBT_PD_Regler>();
    registry.RegisterComponent<TBT_PID_Regler>();
    registry.RegisterComponent<TBT_2_Punkt_Regler>();
    registry.RegisterComponent<TBT_Spiel>();
    registry.RegisterComponent<TBT_Totzone>();
}

void RegisterSignalComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTMittelwert>();
    registry.RegisterComponent<TBTKorrekturtabelle>();
    registry.RegisterComponent<TBTLimiter>();
    registry.RegisterComponent<TBTFktGenerator>();
    registry.RegisterComponent<TBTPulse>();
    registry.RegisterComponent<TBTRampenGenerator>();
}

void RegisterAnalogComponents(TClassRegistry& registry)
{
    RegisterArithmeticComponents(registry);
    RegisterFormulaComponents(registry);
    RegisterControlComponents(registry);
    RegisterSignalComponents(registry);
}
