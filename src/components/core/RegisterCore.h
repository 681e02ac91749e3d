#pragma once
// Enters the small core components (LED, slow clock, page switch, hotkey receiver, jump) and
// the simulation stop, test point, range check and jump target in the class registry.

class TClassRegistry;

void RegisterCoreComponents(TClassRegistry& registry);
