#include "hardware/transport/DriverDevice.h"

#include "hardware/framework/HardwareHelpers.h"

bool TDriverDevice::CheckDriver(bool present)
{
    if (!present && !m_toldThisRun) {
        m_toldThisRun = true;
        ShowDriverNeeded(Name);
    }
    return present;
}

bool TDriverDevice::CheckDriverForDialog(bool present)
{
    if (!present)
        ShowDriverNeeded(Name);
    return present;
}

void TDriverDevice::SimStop()
{
    TIOInterface::SimStop();
    m_toldThisRun = false;
}
