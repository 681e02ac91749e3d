#include "hardware/joystick/RegisterJoystick.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/joystick/Joystick.h"

void RegisterJoystickDevices(TClassRegistry& registry)
{
    RegisterDevice<TJoystick>(registry);
}
