#include "comm/RegisterComm.h"

#include "comm/modbus/RegisterModbus.h"
#include "comm/tcp/RegisterTcp.h"

void RegisterCommClasses(TClassRegistry& registry)
{
    RegisterTcpDevices(registry);
    RegisterModbusDevices(registry);
}
