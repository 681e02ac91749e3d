#pragma once
// Velleman's K8055 library ("K8055D.dll") for the K8055 USB experiment board: one board at a
// time, chosen by its card address 0..3 when it is opened.

#include "platform/VendorLibrary.h"

#include <cstdint>

class TK8055Library : public TVendorLibrary {
public:
    TK8055Library() : TVendorLibrary(QStringLiteral("K8055D.dll")) {}

    TVendorFunction<int32_t(int32_t address)> OpenDevice{*this, "OpenDevice"};
    TVendorFunction<void()> CloseDevice{*this, "CloseDevice"};
    TVendorFunction<void(int32_t* value1, int32_t* value2)> ReadAllAnalog{*this, "ReadAllAnalog"};
    TVendorFunction<int32_t()> ReadAllDigital{*this, "ReadAllDigital"};
    TVendorFunction<void(int32_t raw1, int32_t raw2)> OutputAllAnalog{*this, "OutputAllAnalog"};
    TVendorFunction<void(int32_t word)> WriteAllDigital{*this, "WriteAllDigital"};
    TVendorFunction<int32_t(int32_t counter)> ReadCounter{*this, "ReadCounter"};
    TVendorFunction<void(int32_t counter)> ResetCounter{*this, "ResetCounter"};
    TVendorFunction<void(int32_t counter, int32_t ms)> SetCounterDebounceTime{
        *this, "SetCounterDebounceTime"};
};

// The one binding of the program.
TK8055Library& K8055Lib();
