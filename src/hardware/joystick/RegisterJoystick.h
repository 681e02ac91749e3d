#pragma once
// Registration of the joystick.

class TClassRegistry;

void RegisterJoystickDevices(TClassRegistry& registry);
