#include "hardware/transport/Ftd2xxLibrary.h"

int32_t TFtd2xxLibrary::DeviceCount()
{
    uint32_t count = 0;
    const auto status = FT_ListDevices.Call(&count, nullptr, kFtListNumberOnly);
    return status && *status == 0 ? int32_t(count) : 0;
}

QString TFtd2xxLibrary::Description(int32_t index)
{
    char buffer[65] = {}; // the library writes at most 64 characters and the end
    const auto status = FT_ListDevices.Call(reinterpret_cast<void*>(intptr_t(index)), buffer,
                                            kFtListByIndex | kFtOpenByDescription);
    if (!status || *status != 0)
        return {};
    buffer[sizeof buffer - 1] = 0;
    return QString::fromLatin1(buffer);
}

TFtd2xxLibrary& Ftd2xx()
{
    static TFtd2xxLibrary library;
    return library;
}
