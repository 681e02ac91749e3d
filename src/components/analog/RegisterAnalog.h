#pragma once
// Enters the analog component family in the class registry.

class TClassRegistry;

// The whole family, in this order: arithmetic; the formula component and the converters;
// integrators, delay lines, transfer elements and controllers; averaging, the correction
// table, the limiter and the signal sources.
void RegisterAnalogComponents(TClassRegistry& registry);

// The four parts of the family, each on its own.
void RegisterArithmeticComponents(TClassRegistry& registry);
void RegisterFormulaComponents(TClassRegistry& registry);
void RegisterControlComponents(TClassRegistry& registry);
void RegisterSignalComponents(TClassRegistry& registry);
