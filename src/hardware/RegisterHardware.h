#pragma once
// Registration of the hardware devices: one call per device folder.

class TClassRegistry;

void RegisterHardwareClasses(TClassRegistry& registry);
