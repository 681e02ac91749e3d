#pragma once
// FTDI's D2XX library ("FTD2XX.dll"; libftd2xx.so on Linux), shared by every driver of a device
// behind an FTDI USB chip. Status results are 0 for success; a handle is the library's pointer.
// ELV ships the same entry points for its IO88 board under another name ("UIO88.DLL"), which
// is a second table of the same kind.

#include "platform/VendorLibrary.h"

#include <cstdint>
#include <utility>

using FT_HANDLE = void*;

// FT_ListDevices flags.
inline constexpr uint32_t kFtListNumberOnly = 0x80000000u;
inline constexpr uint32_t kFtListByIndex = 0x40000000u;
inline constexpr uint32_t kFtOpenBySerialNumber = 0x00000001u;
inline constexpr uint32_t kFtOpenByDescription = 0x00000002u;
// FT_Purge masks.
inline constexpr uint32_t kFtPurgeRx = 1u;
inline constexpr uint32_t kFtPurgeTx = 2u;

class TFtd2xxLibrary : public TVendorLibrary {
public:
    explicit TFtd2xxLibrary(QString windowsName = QStringLiteral("FTD2XX.dll"))
        : TVendorLibrary(std::move(windowsName))
    {
    }

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
    TVendorFunction<uint32_t(void* arg, uint32_t flags, FT_HANDLE* handle)> FT_OpenEx{*this,
                                                                                  "FT_OpenEx"};
    TVendorFunction<uint32_t(FT_HANDLE, uint16_t flow, uint8_t xon, uint8_t xoff)>
        FT_SetFlowControl{*this, "FT_SetFlowControl"};
    TVendorFunction<uint32_t(FT_HANDLE, uint8_t event, uint8_t eventOn, uint8_t error,
                             uint8_t errorOn)>
        FT_SetChars{*this, "FT_SetChars"};
    TVendorFunction<uint32_t(FT_HANDLE, uint32_t readMs, uint32_t writeMs)> FT_SetTimeouts{
        *this, "FT_SetTimeouts"};
    TVendorFunction<uint32_t(FT_HANDLE, uint32_t mask)> FT_Purge{*this, "FT_Purge"};

    // The number of FTDI devices present; 0 without the library.
    int32_t DeviceCount();
    // The description of device index (from 0); empty when there is none.
    QString Description(int32_t index);
    // The serial number of device index (from 0); empty when there is none.
    QString SerialNumber(int32_t index);

private:
    QString ListText(int32_t index, uint32_t what);
};

// The one binding of the program.
TFtd2xxLibrary& Ftd2xx();
// ELV's copy for the USB IO88 board ("UIO88.DLL").
TFtd2xxLibrary& Uio88();
