#include "hardware/transport/Ftd2xxLibrary.h"

int32_t TFtd2xxLibrary::DeviceCount()
{
    uint32_t count = 0;
    const auto status = FT_ListDevices.Call(&count, nullptr, kFtListNumberOnly);
    return status && *status == 0 ? int32_t(count) : 0;
}

QString TFtd2xxLibrary::Description(int32_t index)
{
    return ListText(index, kFtOpenByDescription);
}

QString TFtd2xxLibrary::SerialNumber(int32_t index)
{
    return ListText(index, kFtOpenBySerialNumber);
}

QString TFtd2xxLibrary::ListText(int32_t index, uint32_t what)
{
    char buffer[65] = {}; // the library writes at most 64 characters and the end
    const auto status = FT_ListDevices.Call(reinterpret_cast<void*>(intptr_t(index)), buffer,
                                            kFtListByIndex | what);
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

TFtd2xxLibrary& Uio88()
{
    static TFtd2xxLibrary library(QStringLiteral("UIO88.DLL"));
    return library;
}
