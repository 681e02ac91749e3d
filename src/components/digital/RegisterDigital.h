#pragma once
// Enters the digital component family in the class registry: gates, flip-flops, counters,
// shift registers, registers and latches, then the delay, ground, power-on reset, selectors,
// bus components, adders, comparators and decoders.

class TClassRegistry;

void RegisterDigitalComponents(TClassRegistry& registry);
