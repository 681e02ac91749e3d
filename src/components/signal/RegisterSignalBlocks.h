#pragma once
// Registration of the signal blocks: math functions and polynomial, fixed value, comparator,
// sample-and-hold, relays, trigger, analog multiplexers, amplifiers, random value, supply,
// sound output and audio input.

class TClassRegistry;

void RegisterSignalBlocks(TClassRegistry& registry);
