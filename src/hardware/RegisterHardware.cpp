#include "hardware/RegisterHardware.h"

#include "hardware/cards/RegisterCards.h"
#include "hardware/com/RegisterCom.h"
#include "hardware/framework/RegisterFramework.h"
#include "hardware/joystick/RegisterJoystick.h"
#include "hardware/meters/RegisterMeters.h"
#include "hardware/ports/RegisterPorts.h"
#include "hardware/transport/RegisterTransport.h"
#include "hardware/usbio/RegisterUsbIo.h"

void RegisterHardwareClasses(TClassRegistry& registry)
{
    RegisterFrameworkDevices(registry);
    RegisterTransportDevices(registry);
    RegisterPortDevices(registry);
    RegisterComDevices(registry);
    RegisterCardDevices(registry);
    RegisterJoystickDevices(registry);
    RegisterMeterDevices(registry);
    RegisterUsbIoDevices(registry);
}
