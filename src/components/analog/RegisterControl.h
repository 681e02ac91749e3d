#pragma once
// Enters the integrators, filters, delay lines, transfer elements and controllers in the
// class registry.

class TClassRegistry;

void RegisterControlComponents(TClassRegistry& registry);
