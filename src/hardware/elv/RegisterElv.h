#pragma once

class TClassRegistry;

// The ELV boards and modules, in palette order.
void RegisterElvDevices(TClassRegistry& registry);
