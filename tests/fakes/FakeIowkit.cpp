// A stand-in for Code Mercenaries' IO-Warrior kit: "devices" chips of the product ID "pid",
// handles 1.. by device number (the first opened by IowKitOpenDevice is 0). The read ports
// give the bytes of "read"; "immediateFails" makes IowKitReadImmediate report no new value,
// "nonBlocking" is what IowKitReadNonBlocking returns. Every call is logged, reports as bytes.

#include "FakeLibrarySupport.h"

namespace {

void LogReport(const char* name, void* handle, uint32_t pipe, const char* report, uint32_t length)
{
    std::string line = std::string(name) + ' ' + std::to_string(fake::IndexOf(handle)) + ' '
                       + std::to_string(pipe) + ' ' + std::to_string(length) + ':';
    char byte[4];
    for (uint32_t i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof byte, " %02X", unsigned(uint8_t(report[i])));
        line += byte;
    }
    fake::CallLog() += line + '\n';
}

} // namespace

FAKE_LIBRARY_TEST_SIDE

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
}

void* IowKitOpenDevice()
{
    fake::Log("IowKitOpenDevice");
    return fake::Setting("devices") > 0 ? fake::Handle(0) : nullptr;
}

void IowKitCloseDevice(void* handle)
{
    fake::Log("IowKitCloseDevice", fake::IndexOf(handle));
}

uint32_t IowKitGetNumDevs()
{
    fake::Log("IowKitGetNumDevs");
    return uint32_t(fake::Setting("devices"));
}

void* IowKitGetDeviceHandle(uint32_t number)
{
    fake::Log("IowKitGetDeviceHandle", number);
    return number >= 1 && number <= fake::Setting("devices") ? fake::Handle(number) : nullptr;
}

uint32_t IowKitGetProductId(void* handle)
{
    fake::Log("IowKitGetProductId", fake::IndexOf(handle));
    return uint32_t(fake::Setting("pid"));
}

int32_t IowKitSetTimeout(void* handle, uint32_t ms)
{
    fake::Log("IowKitSetTimeout", fake::IndexOf(handle), ms);
    return 1;
}

uint32_t IowKitWrite(void* handle, uint32_t pipe, char* report, uint32_t length)
{
    LogReport("IowKitWrite", handle, pipe, report, length);
    return length;
}

int32_t IowKitReadImmediate(void* handle, uint32_t* value)
{
    fake::Log("IowKitReadImmediate", fake::IndexOf(handle));
    if (fake::Setting("immediateFails"))
        return 0;
    *value = uint32_t(fake::Setting("read"));
    return 1;
}

uint32_t IowKitReadNonBlocking(void* handle, uint32_t pipe, char* report, uint32_t length)
{
    fake::Log("IowKitReadNonBlocking", fake::IndexOf(handle), pipe, length);
    const auto got = uint32_t(fake::Setting("nonBlocking"));
    const auto bits = uint64_t(fake::Setting("read"));
    for (uint32_t i = 1; i < got && i < length; ++i)
        report[i] = char(bits >> (8 * (i - 1)));
    return got;
}

} // extern "C"
