#include "comm/RegisterComm.h"

#include "comm/ModbusRtu.h"
#include "comm/ModbusTcp.h"
#include "comm/PureTcp.h"
#include "comm/ValueLink.h"
#include "core/model/ClassRegistry.h"
#include "hardware/RegisterHardware.h"

void RegisterCommClasses(TClassRegistry& registry)
{
    registry.RegisterClass<TTCPOutPort>();
    registry.RegisterClass<TTCPInPort>();
    registry.RegisterClass<TTCP>();
    registry.RegisterClass<TPureTCPOutPort>();
    registry.RegisterClass<TPureTCPInPort>();
    registry.RegisterClass<TPureTCP>();
    registry.RegisterClass<TModbusTCPDataPort>();
    registry.RegisterClass<TModbusTCP>();
    registry.RegisterClass<TModbus_ReadCoils>();
    registry.RegisterClass<TModbus_ReadDiscreteInputs>();
    registry.RegisterClass<TModbus_ReadRegs>();
    registry.RegisterClass<TModbus_ReadInputRegs>();
    registry.RegisterClass<TModbus_WriteSingleCoil>();
    registry.RegisterClass<TModbus_WriteSingleReg>();
    registry.RegisterClass<TModbus_WriteCoils>();
    registry.RegisterClass<TModbus_WriteRegs>();
    registry.RegisterClass<TRTUOutPort>();
    registry.RegisterClass<TRTUInPort>();
    registry.RegisterClass<TModbusRTUDataPort>();
    registry.RegisterClass<TModbusRTU>();
    registry.RegisterClass<TModbusRTU_ReadCoils>();
    registry.RegisterClass<TModbusRTU_ReadDiscreteInputs>();
    registry.RegisterClass<TModbusRTU_ReadRegs>();
    registry.RegisterClass<TModbusRTU_ReadInputRegs>();
    registry.RegisterClass<TModbusRTU_WriteSingleCoil>();
    registry.RegisterClass<TModbusRTU_WriteSingleReg>();
    registry.RegisterClass<TModbusRTU_WriteCoils>();
    registry.RegisterClass<TModbusRTU_WriteRegs>();

    AddHardwarePaletteEntries({
        {"TTCP", TPaletteCategory::AllgemeinPC},
        {"TPureTCP", TPaletteCategory::AllgemeinPC},
        {"TModbus_ReadCoils", TPaletteCategory::ModbusTCP},
        {"TModbus_ReadDiscreteInputs", TPaletteCategory::ModbusTCP},
        {"TModbus_ReadRegs", TPaletteCategory::ModbusTCP},
        {"TModbus_ReadInputRegs", TPaletteCategory::ModbusTCP},
        {"TModbus_WriteSingleCoil", TPaletteCategory::ModbusTCP},
        {"TModbus_WriteSingleReg", TPaletteCategory::ModbusTCP},
        {"TModbus_WriteCoils", TPaletteCategory::ModbusTCP},
        {"TModbus_WriteRegs", TPaletteCategory::ModbusTCP},
        {"TModbusRTU_ReadCoils", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_ReadDiscreteInputs", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_ReadRegs", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_ReadInputRegs", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_WriteSingleCoil", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_WriteSingleReg", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_WriteCoils", TPaletteCategory::ModbusRTU},
        {"TModbusRTU_WriteRegs", TPaletteCategory::ModbusRTU},
    });
}
