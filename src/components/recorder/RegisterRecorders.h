#pragma once

class TClassRegistry;

// The Y(t) and XY recorders and the value table.
void RegisterRecorderComponents(TClassRegistry& registry);
