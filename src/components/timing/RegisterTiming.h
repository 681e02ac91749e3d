#pragma once
// Enters the timing family in the class registry: clock generators, monoflops and the switch
// delay, RAM and ROM, system time and date, and the frequency counter.

class TClassRegistry;

void RegisterTimingComponents(TClassRegistry& registry);
