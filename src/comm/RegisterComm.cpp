#include "comm/RegisterComm.h"

#include "comm/avrnetio/RegisterAvrNetIo.h"
#include "comm/dde/RegisterDde.h"
#include "comm/modbus/RegisterModbus.h"
#include "comm/opc/RegisterOpc.h"
#include "comm/tcp/RegisterTcp.h"

void RegisterCommClasses(TClassRegistry& registry)
{
    RegisterTcpDevices(registry);
    RegisterModbusDevices(registry);
    RegisterDdeComponents(registry);
    RegisterOpcDevices(registry);
    RegisterAvrNetIoDevices(registry);
}
