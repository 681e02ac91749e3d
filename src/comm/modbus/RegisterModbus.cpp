#include "comm/modbus/RegisterModbus.h"

#include "comm/modbus/ModbusRtu.h"
#include "comm/modbus/ModbusTcp.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterModbusDevices(TClassRegistry& registry)
{
    RegisterDevice<TModbusTCP>(registry);
    RegisterDevice<TModbus_ReadCoils>(registry);
    RegisterDevice<TModbus_ReadDiscreteInputs>(registry);
    RegisterDevice<TModbus_ReadRegs>(registry);
    RegisterDevice<TModbus_ReadInputRegs>(registry);
    RegisterDevice<TModbus_WriteSingleCoil>(registry);
    RegisterDevice<TModbus_WriteSingleReg>(registry);
    RegisterDevice<TModbus_WriteCoils>(registry);
    RegisterDevice<TModbus_WriteRegs>(registry);
    RegisterDevice<TModbusRTU>(registry);
    RegisterDevice<TModbusRTU_ReadCoils>(registry);
    RegisterDevice<TModbusRTU_ReadDiscreteInputs>(registry);
    RegisterDevice<TModbusRTU_ReadRegs>(registry);
    RegisterDevice<TModbusRTU_ReadInputRegs>(registry);
    RegisterDevice<TModbusRTU_WriteSingleCoil>(registry);
    RegisterDevice<TModbusRTU_WriteSingleReg>(registry);
    RegisterDevice<TModbusRTU_WriteCoils>(registry);
    RegisterDevice<TModbusRTU_WriteRegs>(registry);
}
