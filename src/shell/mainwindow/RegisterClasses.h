#pragma once
// Enters every class that can stand on a circuit board in the class registry, in the order of
// the main window's start-up: the base classes first, then the components of each family.

class TClassRegistry;

void RegisterComponentClasses(TClassRegistry& registry);
