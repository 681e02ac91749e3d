#include "hardware/ports/RegisterPorts.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/ports/LptInterface.h"
#include "hardware/ports/PortRegister.h"

void RegisterPortDevices(TClassRegistry& registry)
{
    RegisterDevice<TLPTInterface>(registry);
    RegisterDevice<TwPort>(registry);
    RegisterDevice<TrPort>(registry);
    RegisterDevice<TwPort16>(registry);
    RegisterDevice<TrPort16>(registry);
}
