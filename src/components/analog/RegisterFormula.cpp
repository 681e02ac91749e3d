#include "components/analog/RegisterFormula.h"

#include "components/analog/Converters.h"
#include "components/analog/Formula.h"
#include "core/model/ClassRegistry.h"

void RegisterFormulaComponents(TClassRegistry& registry)
{
    registry.RegisterClass<TBTFormel>();
    registry.RegisterClass<TBTADC>();
    registry.RegisterClass<TBTDAC>();
}
