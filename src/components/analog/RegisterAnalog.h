#pragma once
// Enters the analog component family in the class registry: arithmetic, the formula component
// and the converters, integrators, transfer elements and controllers, then averaging, the
// correction table, the limiter and the signal sources.

class TClassRegistry;

void RegisterAnalogComponents(TClassRegistry& registry);
