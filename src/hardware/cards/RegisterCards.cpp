#include "hardware/cards/RegisterCards.h"

#include "hardware/cards/AdaCards.h"
#include "hardware/cards/Chip8255.h"
#include "hardware/cards/FramedModules.h"
#include "hardware/cards/LptAdapters.h"
#include "hardware/cards/Pio32.h"
#include "hardware/cards/RelayCards.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterCardDevices(TClassRegistry& registry)
{
    RegisterDevice<T8255Interface>(registry);
    RegisterDevice<TADA8>(registry);
    RegisterDevice<TADA162>(registry);
    RegisterDevice<TPIO32>(registry);
    RegisterDevice<TSerRelais>(registry);
    RegisterDevice<TRelaiskarte>(registry);
    RegisterDevice<TELVAnalyser>(registry);
    RegisterDevice<TCSI7001>(registry);
    RegisterDevice<TCSI7002>(registry);
    RegisterDevice<TELVInterface>(registry);
}
