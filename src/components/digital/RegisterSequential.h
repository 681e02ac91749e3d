#pragma once
// Enters the flip-flops, counters, registers, latches and shift registers in the class registry.

class TClassRegistry;

void RegisterSequentialComponents(TClassRegistry& registry);
