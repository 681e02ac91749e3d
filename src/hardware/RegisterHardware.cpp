#include "hardware/RegisterHardware.h"

#include "hardware/cards/RegisterCards.h"
#include "hardware/com/RegisterCom.h"
#include "hardware/elv/RegisterElv.h"
#include "hardware/framework/RegisterFramework.h"
#include "hardware/instruments/RegisterInstruments.h"
#include "hardware/joystick/RegisterJoystick.h"
#include "hardware/kolter/RegisterKolter.h"
#include "hardware/meters/RegisterMeters.h"
#include "hardware/midi/RegisterMidi.h"
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
    RegisterElvDevices(registry);
    RegisterKolterDevices(registry);
    RegisterMeterDevices(registry);
    RegisterInstrumentDevices(registry);
    RegisterUsbIoDevices(registry);
    RegisterMidiDevices(registry);
}
