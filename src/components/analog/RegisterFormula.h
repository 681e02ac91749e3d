#pragma once
// Enters the formula component and the A/D and D/A converters in the class registry.

class TClassRegistry;

void RegisterFormulaComponents(TClassRegistry& registry);
