#include "components/signal/RegisterSignalBlocks.h"

#include "components/signal/Amplifiers.h"
#include "components/signal/AnalogMux.h"
#include "components/signal/AudioInput.h"
#include "components/signal/MathFunctions.h"
#include "components/signal/Sound.h"
#include "components/signal/ValueBlocks.h"
#include "core/model/ClassRegistry.h"

void RegisterSignalBlocks(TClassRegistry& registry)
{
    registry.RegisterComponent<TBTMath>();
    registry.RegisterComponent<TBTPolynom>();
    registry.RegisterComponent<TBTFest>();
    registry.RegisterComponent<TBTSound>();
    registry.RegisterComponent<TBTAnalogVgl>();
    registry.RegisterComponent<TBTSample>();
    registry.RegisterComponent<TBTRelais>();
    registry.RegisterComponent<TBTRelais_2>();
    registry.RegisterComponent<TBTTrigger>();
    registry.RegisterComponent<TBTAnalogMux>();
    registry.RegisterComponent<TBTAnalogDemux>();
    registry.RegisterComponent<TBTAudioTrigger>();
    registry.RegisterComponent<TBTVerstaerker>();
    registry.RegisterComponent<TBTGain>();
    registry.RegisterComponent<TBTOffset>();
    registry.RegisterComponent<TBTRandom>();
    registry.RegisterComponent<TBTVcc>();
}
