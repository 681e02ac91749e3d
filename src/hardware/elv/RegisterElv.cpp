#include "hardware/elv/RegisterElv.h"

#include "hardware/elv/Io88.h"
#include "hardware/elv/Ltc2400.h"
#include "hardware/elv/Uad8.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterElvDevices(TClassRegistry& registry)
{
    RegisterDevice<TIO88>(registry);
    RegisterDevice<TUIO88>(registry);
    RegisterDevice<TUAD8>(registry);
    RegisterDevice<TLTC2400>(registry);
}
