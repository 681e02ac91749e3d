#pragma once
// Enters the selector, bus, arithmetic, utility and BCD decoder component classes in the
// class registry.

class TClassRegistry;

void RegisterCombinationalComponents(TClassRegistry& registry);
