#pragma once

class TClassRegistry;

// The OPC DA client devices, in palette order.
void RegisterOpcDevices(TClassRegistry& registry);
