// A stand-in for fischertechnik's FTLib library: "devices" ROBO Interfaces (setting), each
// named "ROBO Interface SN:n", sharing one transfer area the test reaches through
// FakeFtLib_Area. "openFails" makes OpenFtUsbDevice fail.
//
// Built twice: with the entry names of the current library, and with those of older versions
// (FAKE_FTLIB_OLD_NAMES: GetNumFtUsbDevice, SetFtDistanceSensorMode).

#include "FakeLibrarySupport.h"

#include <cstring>

namespace {

uint8_t area[0x100];
std::string longName;

} // namespace

FAKE_LIBRARY_TEST_SIDE

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
    std::memset(area, 0, sizeof area);
}

uint8_t* FakeFtLib_Area()
{
    return area;
}

uint32_t InitFtLib()
{
    fake::Log("InitFtLib");
    return 0;
}

uint32_t CloseFtLib()
{
    fake::Log("CloseFtLib");
    return 0;
}

uint32_t InitFtUsbDeviceList()
{
    fake::Log("InitFtUsbDeviceList");
    return 0;
}

#ifdef FAKE_FTLIB_OLD_NAMES
uint32_t GetNumFtUsbDevice()
#else
uint32_t GetAnzFtUsbDevice()
#endif
{
    fake::Log("DeviceCount");
    return uint32_t(fake::Setting("devices"));
}

void* GetFtUsbDeviceHandle(uint32_t index)
{
    fake::Log("GetFtUsbDeviceHandle", index);
    return index < fake::Setting("devices") ? fake::Handle(index) : nullptr;
}

const char* GetFtLongNameStrg(void* handle)
{
    longName = "ROBO Interface SN:" + std::to_string(fake::IndexOf(handle) + 1);
    return longName.c_str();
}

const char* GetFtShortNameStrg(void*)
{
    return "ROBO";
}

uint32_t OpenFtUsbDevice(void* handle)
{
    fake::Log("OpenFtUsbDevice", fake::IndexOf(handle));
    return fake::IndexOf(handle) >= 0 && !fake::Setting("openFails") ? 0 : 0xE0001012u;
}

uint32_t CloseFtDevice(void* handle)
{
    fake::Log("CloseFtDevice", fake::IndexOf(handle));
    return 0;
}

#ifdef FAKE_FTLIB_OLD_NAMES
uint32_t SetFtDistanceSensorMode(void* handle, uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                                 uint32_t e, uint32_t f, uint32_t g)
#else
uint32_t SetDistanceSensorMode(void* handle, uint32_t a, uint32_t b, uint32_t c, uint32_t d,
                               uint32_t e, uint32_t f, uint32_t g)
#endif
{
    fake::Log("DistanceSensorMode", fake::IndexOf(handle), a, b, c, d, e, f, g);
    return 0;
}

uint32_t StartFtTransferArea(void* handle, void* notify)
{
    fake::Log("StartFtTransferArea", fake::IndexOf(handle), notify ? 1 : 0);
    return 0;
}

uint32_t StopFtTransferArea(void* handle)
{
    fake::Log("StopFtTransferArea", fake::IndexOf(handle));
    return 0;
}

uint8_t* GetFtTransferAreaAddress(void* handle)
{
    fake::Log("GetFtTransferAreaAddress", fake::IndexOf(handle));
    return area;
}

} // extern "C"
