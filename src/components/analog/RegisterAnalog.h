#pragma once
// Enters the analog, arithmetic and control component classes in the class registry.

class TClassRegistry;

void RegisterAnalogComponents(TClassRegistry& registry);
