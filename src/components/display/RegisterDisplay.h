#pragma once

class TClassRegistry;

// Enters the display components.
void RegisterDisplayComponents(TClassRegistry& registry);
