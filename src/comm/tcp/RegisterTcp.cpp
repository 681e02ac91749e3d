#include "comm/tcp/RegisterTcp.h"

#include "comm/tcp/PureTcp.h"
#include "comm/tcp/ValueLink.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterTcpDevices(TClassRegistry& registry)
{
    RegisterDevice<TTCP>(registry);
    RegisterDevice<TPureTCP>(registry);
}
