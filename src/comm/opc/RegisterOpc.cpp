#include "comm/opc/RegisterOpc.h"

#include "comm/opc/OpcDevices.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterOpcDevices(TClassRegistry& registry)
{
    RegisterDevice<TOPC_DA2_ReadClient>(registry);
    RegisterDevice<TOPC_DA2_WriteClient>(registry);
}
