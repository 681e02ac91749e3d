#pragma once
// Registration of the components that own a front-panel element (switches, push buttons,
// lamps).

class TClassRegistry;

void RegisterPanelComponents(TClassRegistry& registry);
