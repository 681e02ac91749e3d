#include "hardware/usbio/RegisterUsbIo.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/usbio/FischertechnikIntelligent.h"
#include "hardware/usbio/K8056.h"
#include "hardware/usbio/RoboInterface.h"
#include "hardware/usbio/UsbIo24.h"

void RegisterUsbIoDevices(TClassRegistry& registry)
{
    RegisterDevice<TFT_Intelligent>(registry);
    RegisterDevice<TFT_IntelligentExtension>(registry);
    RegisterDevice<TRoboInterface>(registry);
    RegisterDevice<TRavar_USB_IO24>(registry);
    RegisterDevice<TK8056>(registry);
}
