#include "hardware/transport/RegisterTransport.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/transport/HidInterface.h"
#include "hardware/transport/SerialInterface.h"

void RegisterTransportDevices(TClassRegistry& registry)
{
    RegisterDevice<TSerialInterface>(registry);
    RegisterDevice<THIDInterface>(registry);
}
