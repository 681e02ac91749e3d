#pragma once
// Enters the digital component classes in the class registry.

class TClassRegistry;

void RegisterDigitalComponents(TClassRegistry& registry);
