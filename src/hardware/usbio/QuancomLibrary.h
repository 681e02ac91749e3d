#pragma once
// Quancom's card library ("QLIB32.dll"), shared by every Quancom driver: cards are opened by
// their card-type number and card number and reached through the handle the library returns
// (0 when the card cannot be opened). Also the names of the library's card types.

#include "platform/VendorLibrary.h"

#include <cstdint>

class TQuancomLibrary : public TVendorLibrary {
public:
    TQuancomLibrary() : TVendorLibrary(QStringLiteral("QLIB32.dll")) {}

    using TWrite = void(uint32_t handle, uint32_t channel, uint32_t value, uint32_t mode);
    using TRead = uint32_t(uint32_t handle, uint32_t channel, uint32_t mode);
    TVendorFunction<uint32_t(uint32_t cardType, uint32_t cardNumber)> QAPIExtOpenCard{
        *this, "QAPIExtOpenCard"};
    TVendorFunction<void(uint32_t handle)> QAPIExtCloseCard{*this, "QAPIExtCloseCard"};
    TVendorFunction<TWrite> QAPIExtWriteDO1{*this, "QAPIExtWriteDO1"};
    TVendorFunction<TWrite> QAPIExtWriteDO8{*this, "QAPIExtWriteDO8"};
    TVendorFunction<TWrite> QAPIExtWriteDO16{*this, "QAPIExtWriteDO16"};
    TVendorFunction<TWrite> QAPIExtWriteDO32{*this, "QAPIExtWriteDO32"};
    TVendorFunction<void(uint32_t, uint32_t, uint64_t, uint32_t)> QAPIExtWriteDO64{
        *this, "QAPIExtWriteDO64"};
    TVendorFunction<TRead> QAPIExtReadDI1{*this, "QAPIExtReadDI1"};
    TVendorFunction<TRead> QAPIExtReadDI8{*this, "QAPIExtReadDI8"};
    TVendorFunction<TRead> QAPIExtReadDI16{*this, "QAPIExtReadDI16"};
    TVendorFunction<TRead> QAPIExtReadDI32{*this, "QAPIExtReadDI32"};
    TVendorFunction<uint64_t(uint32_t, uint32_t, uint32_t)> QAPIExtReadDI64{*this,
                                                                            "QAPIExtReadDI64"};
    TVendorFunction<TWrite> QAPIExtWriteDA{*this, "QAPIExtWriteDA"};
    TVendorFunction<void(uint32_t handle, uint32_t mode)> QAPIExtLatchDA{*this, "QAPIExtLatchDA"};
    TVendorFunction<TRead> QAPIExtReadAD{*this, "QAPIExtReadAD"};
    TVendorFunction<uint32_t(char* text, uint32_t size)> QAPIGetLastErrorStringEx{
        *this, "QAPIGetLastErrorStringEx"};
};

// The one binding of the program.
TQuancomLibrary& Qlib();

// The name of a card-type number of the library; "RESERVED" for numbers it does not know.
QString QuancomCardTypeName(int32_t cardType);
