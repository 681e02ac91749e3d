#pragma once
// Registration of the communication devices and their places in the component palette.

class TClassRegistry;

// Enters every device and port class under its class name and adds the devices to the palette.
void RegisterCommClasses(TClassRegistry& registry);
