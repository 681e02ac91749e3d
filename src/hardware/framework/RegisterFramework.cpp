#include "hardware/framework/RegisterFramework.h"

#include "hardware/framework/RegisterDevice.h"

void RegisterFrameworkDevices(TClassRegistry& registry)
{
    RegisterDevice<TIOInterface>(registry);
}
