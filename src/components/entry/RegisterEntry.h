#pragma once

class TClassRegistry;

// Registers the numeric input, character display, selection list, settings list and
// keyboard components.
void RegisterEntryComponents(TClassRegistry& registry);
