#pragma once
// Registration of the Modbus/TCP and Modbus RTU masters.

class TClassRegistry;

void RegisterModbusDevices(TClassRegistry& registry);
