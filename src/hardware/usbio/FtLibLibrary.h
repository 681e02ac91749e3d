#pragma once
// fischertechnik's FTLib library ("FTLib.dll") for the ROBO Interface: device list, opening,
// and the transfer area, a block of memory the library exchanges with the device in the
// background. Status results are 0 for success; a handle is the library's pointer.

#include "platform/VendorLibrary.h"

#include <cstdint>

class TFtLibLibrary : public TVendorLibrary {
public:
    TFtLibLibrary() : TVendorLibrary(QStringLiteral("FTLib.dll")) {}

    TVendorFunction<uint32_t()> InitFtLib{*this, "InitFtLib"};
    TVendorFunction<uint32_t()> CloseFtLib{*this, "CloseFtLib"};
    TVendorFunction<uint32_t()> InitFtUsbDeviceList{*this, "InitFtUsbDeviceList"};
    TVendorFunction<uint32_t()> GetAnzFtUsbDevice{*this, "GetAnzFtUsbDevice"};
    TVendorFunction<uint32_t()> GetNumFtUsbDevice{*this, "GetNumFtUsbDevice"};
    TVendorFunction<void*(uint32_t index)> GetFtUsbDeviceHandle{*this, "GetFtUsbDeviceHandle"};
    TVendorFunction<uint32_t(void*)> OpenFtUsbDevice{*this, "OpenFtUsbDevice"};
    TVendorFunction<uint32_t(void*)> CloseFtDevice{*this, "CloseFtDevice"};
    TVendorFunction<uint32_t(void*, void* notify)> StartFtTransferArea{*this, "StartFtTransferArea"};
    TVendorFunction<uint32_t(void*)> StopFtTransferArea{*this, "StopFtTransferArea"};
    TVendorFunction<uint8_t*(void*)> GetFtTransferAreaAddress{*this, "GetFtTransferAreaAddress"};
    using TDistanceMode = uint32_t(void*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                   uint32_t, uint32_t);
    TVendorFunction<TDistanceMode> SetDistanceSensorMode{*this, "SetDistanceSensorMode"};
    TVendorFunction<TDistanceMode> SetFtDistanceSensorMode{*this, "SetFtDistanceSensorMode"};
    TVendorFunction<const char*(void*)> GetFtShortNameStrg{*this, "GetFtShortNameStrg"};
    TVendorFunction<const char*(void*)> GetFtLongNameStrg{*this, "GetFtLongNameStrg"};

    // The number of devices found (under either name the library's versions export); 0
    // without the library.
    int32_t DeviceCount();
    // The distance-sensor mode of an opened device (under either name).
    void SetDistanceMode(void* handle);
};

// The one binding of the program.
TFtLibLibrary& FtLib();
