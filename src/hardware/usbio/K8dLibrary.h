#pragma once
// Velleman's K8000 library ("K8D.dll"): the I2C bus of up to four K8000 boards on a printer
// port, which the library drives itself once the program may use the port.

#include "platform/VendorLibrary.h"

#include <cstdint>

class TK8dLibrary : public TVendorLibrary {
public:
    TK8dLibrary() : TVendorLibrary(QStringLiteral("K8D.dll")) {}

    TVendorFunction<int32_t(int32_t channel)> ReadADchannel{*this, "ReadADchannel"};
    TVendorFunction<void(int32_t channel, int32_t raw)> OutputDACchannel{*this, "OutputDACchannel"};
    TVendorFunction<void(int32_t channel, int32_t raw)> OutputDAchannel{*this, "OutputDAchannel"};
    TVendorFunction<int32_t(int32_t chip)> ReadIOchip{*this, "ReadIOchip"};
    TVendorFunction<void(int32_t chip, int32_t value)> IOoutput{*this, "IOoutput"};
    TVendorFunction<void()> ConfigAllIOasOutput{*this, "ConfigAllIOasOutput"};
    TVendorFunction<void()> Start_K8000{*this, "Start_K8000"};
    TVendorFunction<void()> Stop_K8000{*this, "Stop_K8000"};
    TVendorFunction<void(int32_t port)> SelectI2CprinterPort{*this, "SelectI2CprinterPort"};
    TVendorFunction<void(int32_t address)> SetI2CprinterPortAddress{*this,
                                                                     "SetI2CprinterPortAddress"};
    TVendorFunction<void(int32_t channel)> ClearIOchannel{*this, "ClearIOchannel"};
    TVendorFunction<void(int32_t channel)> SetIOchannel{*this, "SetIOchannel"};
};

// The one binding of the program (shared by every K8000 driver).
TK8dLibrary& K8dLib();
