#include "comm/RegisterComm.h"

#include "comm/dde/RegisterDde.h"
#include "comm/modbus/RegisterModbus.h"
#include "comm/tcp/RegisterTcp.h"

void RegisterCommClasses(TClassRegistry& registry)
{
    RegisterTcpDevices(registry);
    RegisterModbusDevices(registry);
    RegisterDdeComponents(registry);
}
