#include "components/analog/RegisterSignal.h"

#include "components/analog/Averaging.h"
#include "components/analog/CorrectionTable.h"
#include "components/analog/Generators.h"
#include "core/model/ClassRegistry.h"

void RegisterSignalComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTMittelwert>();
    registry.RegisterClass<TBTKorrekturtabelle>();
    registry.RegisterClass<TBTLimiter>();
    registry.RegisterClass<TBTFktGenerator>();
    registry.RegisterClass<TBTPulse>();
    registry.RegisterClass<TBTRampenGenerator>();
}
