#pragma once

class TClassRegistry;

// Enters the operator components (knobs, sliders, hex selector, joystick, thumbwheel).
void RegisterOperatorComponents(TClassRegistry& registry);
