#pragma once
// FTDI's D2XX library ("FTD2XX.dll"; libftd2xx.so on Linux), shared by every driver of a device
// behind an FTDI USB chip. Status results are 0 for success; a handle is the library's pointer.

#include "platform/VendorLibrary.h"

#include <cstdint>

using FT_HANDLE = void*;

// FT_ListDevices flags.
inline constexpr uint32_t kFtListNumberOnly = 0x80000000u;
inline constexpr uint32_t kFtListByIndex = 0x40000000u;
inline constexpr uint32_t kFtOpenByDescription = 0x00000002u;

class TFtd2xxLibrary : public TVendorLibrary {
public:
    TFtd2xxLibrary() : TVendorLibrary(QStringLiteral("FTD2XX.dll")) {}

    TVendorFunction<uint32_t(int32_t index, FT_HANDLE* handle)> FT_Open{*this, "FT_Open"};
    TVendorFunction<uint32_t(FT_HANDLE)> FT_Close{*this, "FT_Close"};
    TVendorFunction<uint32_t(FT_HANDLE, uint32_t baud)> FT_SetBaudRate{*this, "FT_SetBaudRate"};
    TVendorFunction<uint32_t(FT_HANDLE, uint8_t wordLength, uint8_t stopBits, uint8_t parity)>
        FT_SetDataCharacteristics{*this, "FT_SetDataCharacteristics"};
    TVendorFunction<uint32_t(FT_HANDLE, void* buffer, uint32_t count, uint32_t* written)>
        FT_Write{*this, "FT_Write"};
    TVendorFunction<uint32_t(FT_HANDLE, void* buffer, uint32_t count, uint32_t* read)>
        FT_Read{*this, "FT_Read"};
    TVendorFunction<uint32_t(FT_HANDLE, uint32_t* waiting)> FT_GetQueueStatus{*this,
                                                                             "FT_GetQueueStatus"};
    TVendorFunction<uint32_t(void* arg1, void* arg2, uint32_t flags)> FT_ListDevices{
        *this, "FT_ListDevices"};

    // The number of FTDI devices present; 0 without the library.
    int32_t DeviceCount();
    // The description of device index (from 0); empty when there is none.
    QString Description(int32_t index);
};

// The one binding of the program.
TFtd2xxLibrary& Ftd2xx();
