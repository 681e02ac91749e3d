#include "hardware/meters/RegisterMeters.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/meters/DmmInterface.h"
#include "hardware/meters/HidDmmInterface.h"

void RegisterMeterDevices(TClassRegistry& registry)
{
    RegisterDevice<TDMMInterface>(registry);
    RegisterDevice<THID_DMM>(registry);
}
