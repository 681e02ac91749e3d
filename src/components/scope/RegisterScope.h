#pragma once

class TClassRegistry;

// The oscilloscope.
void RegisterScopeComponents(TClassRegistry& registry);
