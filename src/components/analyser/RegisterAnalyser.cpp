#include "components/analyser/RegisterAnalyser.h"

#include "components/analyser/Analyser.h"
#include "core/model/ClassRegistry.h"

void RegisterAnalyserComponents(TClassRegistry& registry)
{
    registry.RegisterComponent<TBT_Analyser>();
    registry.RegisterComponent<TBTStiftplotter>();
}
