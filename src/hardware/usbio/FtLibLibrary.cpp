#include "hardware/usbio/FtLibLibrary.h"

#include <algorithm>

int32_t TFtLibLibrary::DeviceCount()
{
    auto count = GetAnzFtUsbDevice.Call();
    if (!count)
        count = GetNumFtUsbDevice.Call();
    return count ? int32_t(std::min<uint32_t>(*count, 255)) : 0;
}

void TFtLibLibrary::SetDistanceMode(void* handle)
{
    if (!SetDistanceSensorMode.Call(handle, 1, 20, 20, 500, 500, 2, 2))
        SetFtDistanceSensorMode.Call(handle, 1, 20, 20, 500, 500, 2, 2);
}

TFtLibLibrary& FtLib()
{
    static TFtLibLibrary library;
    return library;
}
