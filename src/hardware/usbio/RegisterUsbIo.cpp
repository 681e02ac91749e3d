#include "hardware/usbio/RegisterUsbIo.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/usbio/FischertechnikIntelligent.h"
#include "hardware/usbio/IoWarrior.h"
#include "hardware/usbio/K8000.h"
#include "hardware/usbio/K8055.h"
#include "hardware/usbio/K8056.h"
#include "hardware/usbio/Phidgets.h"
#include "hardware/usbio/QuancomUsbRel8.h"
#include "hardware/usbio/RoboInterface.h"
#include "hardware/usbio/UsbIo24.h"

void RegisterUsbIoDevices(TClassRegistry& registry)
{
    RegisterDevice<TFT_Intelligent>(registry);
    RegisterDevice<TFT_IntelligentExtension>(registry);
    RegisterDevice<TRoboInterface>(registry);
    RegisterDevice<TRavar_USB_IO24>(registry);
    RegisterDevice<TK8055>(registry);
    RegisterDevice<TK8000>(registry);
    RegisterDevice<TK8056>(registry);
    RegisterDevice<TQuancom_USBREL8>(registry);
    RegisterDevice<TWarrior>(registry);
    RegisterDevice<TWarrior56>(registry);
    RegisterDevice<TPhidgets_IFK>(registry);
    RegisterDevice<TPhidgets_ACCEL>(registry);
    RegisterDevice<TPhidgets_TEMP>(registry);
    RegisterDevice<TPhidgets_RFID>(registry);
    RegisterDevice<TPhidgets_Servo>(registry);
    RegisterDevice<TPhidgets_Encoder>(registry);
}
