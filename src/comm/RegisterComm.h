#pragma once
// Registration of the communication devices: one call per folder.

class TClassRegistry;

void RegisterCommClasses(TClassRegistry& registry);
