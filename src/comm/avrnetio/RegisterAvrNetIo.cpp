#include "comm/avrnetio/RegisterAvrNetIo.h"

#include "comm/avrnetio/AvrNetIo.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterAvrNetIoDevices(TClassRegistry& registry)
{
    RegisterDevice<TNetAVRTCP>(registry);
}
