#pragma once
// Code Mercenaries' IO-Warrior kit ("iowkit.dll"; libiowkit.so on Linux). Loading it opens the
// IO-Warriors present (the handle of the first is kept); the unload routine at program end
// closes them again. A device handle is the library's pointer.

#include "platform/VendorLibrary.h"

#include <cstdint>

using IOWKIT_HANDLE = void*;

// Product IDs.
inline constexpr uint32_t kIowProduct40 = 0x1500;
inline constexpr uint32_t kIowProduct24 = 0x1501;
inline constexpr uint32_t kIowProduct24Power = 0x1511;
inline constexpr uint32_t kIowProduct24Sensirion = 0x1512;
inline constexpr uint32_t kIowProduct56 = 0x1503;

class TIowkitLibrary : public TVendorLibrary {
public:
    TIowkitLibrary() : TVendorLibrary(QStringLiteral("iowkit.dll"), true) {}

    TVendorFunction<IOWKIT_HANDLE()> IowKitOpenDevice{*this, "IowKitOpenDevice"};
    TVendorFunction<void(IOWKIT_HANDLE)> IowKitCloseDevice{*this, "IowKitCloseDevice"};
    TVendorFunction<uint32_t(IOWKIT_HANDLE, uint32_t pipe, char* report, uint32_t length)>
        IowKitWrite{*this, "IowKitWrite"};
    TVendorFunction<uint32_t(IOWKIT_HANDLE, uint32_t pipe, char* report, uint32_t length)>
        IowKitRead{*this, "IowKitRead"};
    TVendorFunction<uint32_t(IOWKIT_HANDLE, uint32_t pipe, char* report, uint32_t length)>
        IowKitReadNonBlocking{*this, "IowKitReadNonBlocking"};
    TVendorFunction<int32_t(IOWKIT_HANDLE, uint32_t* value)> IowKitReadImmediate{
        *this, "IowKitReadImmediate"};
    TVendorFunction<uint32_t()> IowKitGetNumDevs{*this, "IowKitGetNumDevs"};
    TVendorFunction<IOWKIT_HANDLE(uint32_t number)> IowKitGetDeviceHandle{*this,
                                                                          "IowKitGetDeviceHandle"};
    TVendorFunction<int32_t(uint32_t mode)> IowKitSetLegacyOpenMode{*this,
                                                                    "IowKitSetLegacyOpenMode"};
    TVendorFunction<uint32_t(IOWKIT_HANDLE)> IowKitGetProductId{*this, "IowKitGetProductId"};
    TVendorFunction<uint32_t(IOWKIT_HANDLE)> IowKitGetRevision{*this, "IowKitGetRevision"};
    TVendorFunction<void*(IOWKIT_HANDLE)> IowKitGetThreadHandle{*this, "IowKitGetThreadHandle"};
    TVendorFunction<int32_t(IOWKIT_HANDLE, char16_t* serial)> IowKitGetSerialNumber{
        *this, "IowKitGetSerialNumber"};
    TVendorFunction<int32_t(IOWKIT_HANDLE, uint32_t ms)> IowKitSetTimeout{*this,
                                                                           "IowKitSetTimeout"};
    TVendorFunction<int32_t(IOWKIT_HANDLE, uint32_t ms)> IowKitSetWriteTimeout{
        *this, "IowKitSetWriteTimeout"};
    TVendorFunction<int32_t(IOWKIT_HANDLE, uint32_t pipe)> IowKitCancelIo{*this, "IowKitCancelIo"};
    TVendorFunction<const char*()> IowKitVersion{*this, "IowKitVersion"};

protected:
    void AfterLoad() override;
    void BeforeFree() override;

private:
    IOWKIT_HANDLE m_first = nullptr;
};

// The one binding of the program (released at program end).
TIowkitLibrary& Iowkit();
