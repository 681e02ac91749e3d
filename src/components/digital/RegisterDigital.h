#pragma once
// Enters the digital component family in the class registry.

class TClassRegistry;

// The whole family, in this order: gates; flip-flops, counters, shift registers, registers and
// latches; the delay, ground, power-on reset, selectors, bus components, adders, comparators
// and decoders.
void RegisterDigitalComponents(TClassRegistry& registry);

// The three parts of the family, each on its own.
void RegisterGateComponents(TClassRegistry& registry);
void RegisterSequentialComponents(TClassRegistry& registry);
void RegisterCombinationalComponents(TClassRegistry& registry);
