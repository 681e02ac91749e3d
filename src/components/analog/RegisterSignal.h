#pragma once
// Enters the averaging, the correction table, the limiter and the signal, pulse and ramp
// generators in the class registry.

class TClassRegistry;

void RegisterSignalComponents(TClassRegistry& registry);
