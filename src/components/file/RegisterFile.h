#pragma once

class TClassRegistry;

// Measurement recorder, sampler, byte and line file access and the user-library component.
void RegisterFileComponents(TClassRegistry& registry);
