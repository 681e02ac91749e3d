#include "hardware/kolter/RegisterKolter.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/kolter/KolterUsb.h"
#include "hardware/kolter/VModul.h"
#include "hardware/kolter/VModulAd.h"

void RegisterKolterDevices(TClassRegistry& registry)
{
    RegisterDevice<TVModul>(registry);
    RegisterDevice<TVModulUSB>(registry);
    RegisterDevice<TxcomUSB>(registry);
    RegisterDevice<TVModulAD>(registry);
    RegisterDevice<TVModulADUSB>(registry);
    RegisterDevice<TMini_AD>(registry);
    RegisterDevice<TMini_Counter>(registry);
    RegisterDevice<TMini_DAC>(registry);
    RegisterDevice<TMini_IO>(registry);
    RegisterDevice<TMini_Proto>(registry);
    RegisterDevice<TOpto4Out>(registry);
    RegisterDevice<TOpto4In>(registry);
}
