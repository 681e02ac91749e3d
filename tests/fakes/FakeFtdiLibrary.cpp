// A stand-in for FTDI's D2XX library, built as a shared object that the tests load through the
// program's real loading path. It simulates FTDI devices: each has a description, takes what
// the program writes, and answers requests from a table the test sets. Every call is logged as
// one line ("FT_Open 0", "FT_Write 02 33 03") for the test to read.
//
// Built twice: complete, and without FT_GetQueueStatus (FAKE_FTDI_WITHOUT_QUEUE_STATUS) for the
// tests of a library that lacks an entry point.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct TDevice {
    std::string description;
    std::string serial;
    bool open = false;
    std::vector<uint8_t> received; // not yet matched against the answer table
    std::deque<uint8_t> queue;     // waiting for FT_Read
};

struct TRule {
    std::vector<uint8_t> request;
    std::vector<uint8_t> answer;
};

std::vector<TDevice> devices;
std::vector<TRule> rules;
std::string callLog;

void Log(const std::string& line)
{
    callLog += line;
    callLog += '\n';
}

std::string Hex(const uint8_t* data, uint32_t count)
{
    std::string text;
    char byte[4];
    for (uint32_t i = 0; i < count; ++i) {
        std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", data[i]);
        text += byte;
    }
    return text;
}

TDevice* DeviceOf(void* handle)
{
    const auto index = reinterpret_cast<uintptr_t>(handle);
    if (index == 0 || index > devices.size() || !devices[index - 1].open)
        return nullptr;
    return &devices[index - 1];
}

// Answers every complete request at the front of what the device received.
void Answer(TDevice& device)
{
    bool matched = true;
    while (matched && !device.received.empty()) {
        matched = false;
        for (const TRule& rule : rules) {
            if (device.received.size() >= rule.request.size()
                && std::equal(rule.request.begin(), rule.request.end(), device.received.begin())) {
                device.received.erase(device.received.begin(),
                                      device.received.begin() + long(rule.request.size()));
                device.queue.insert(device.queue.end(), rule.answer.begin(), rule.answer.end());
                matched = true;
                break;
            }
        }
    }
}

} // namespace

extern "C" {

// --- The test's side -----------------------------------------------------------------------

void FakeFtdi_Reset()
{
    devices.clear();
    rules.clear();
    callLog.clear();
}

void FakeFtdi_AddDevice(const char* description)
{
    devices.push_back(TDevice{description, "FT" + std::to_string(devices.size()), false, {}, {}});
}

void FakeFtdi_AddDeviceWithSerial(const char* description, const char* serial)
{
    devices.push_back(TDevice{description, serial, false, {}, {}});
}

// Bytes device index sends of its own accord (they wait for FT_Read).
void FakeFtdi_Send(int index, const uint8_t* bytes, int count)
{
    if (index >= 0 && size_t(index) < devices.size())
        devices[size_t(index)].queue.insert(devices[size_t(index)].queue.end(), bytes, bytes + count);
}

void FakeFtdi_AddAnswer(const uint8_t* request, int requestLength, const uint8_t* answer,
                        int answerLength)
{
    rules.push_back(TRule{std::vector<uint8_t>(request, request + requestLength),
                          std::vector<uint8_t>(answer, answer + answerLength)});
}

const char* FakeFtdi_CallLog()
{
    return callLog.c_str();
}

// --- The library's entry points ------------------------------------------------------------

uint32_t FT_ListDevices(void* arg1, void* arg2, uint32_t flags)
{
    if (flags == 0x80000000u) {
        Log("FT_ListDevices count");
        *static_cast<uint32_t*>(arg1) = uint32_t(devices.size());
        return 0;
    }
    const auto index = reinterpret_cast<uintptr_t>(arg1);
    const bool serial = (flags & 3u) == 1u;
    Log("FT_ListDevices " + std::to_string(index) + (serial ? " serial" : ""));
    if (index >= devices.size())
        return 2; // device not found
    const std::string& text = serial ? devices[index].serial : devices[index].description;
    std::strncpy(static_cast<char*>(arg2), text.c_str(), 63);
    static_cast<char*>(arg2)[63] = 0;
    return 0;
}

uint32_t FT_Open(int32_t index, void** handle)
{
    Log("FT_Open " + std::to_string(index));
    if (index < 0 || size_t(index) >= devices.size()) {
        *handle = nullptr;
        return 2;
    }
    devices[size_t(index)].open = true;
    *handle = reinterpret_cast<void*>(uintptr_t(index) + 1);
    return 0;
}

uint32_t FT_OpenEx(void* arg, uint32_t flags, void** handle)
{
    const std::string name = arg ? static_cast<const char*>(arg) : "";
    Log("FT_OpenEx " + name + " " + std::to_string(flags));
    *handle = nullptr;
    for (size_t i = 0; i < devices.size(); ++i) {
        const std::string& key = flags == 1u ? devices[i].serial : devices[i].description;
        if (key == name && !name.empty()) {
            devices[i].open = true;
            *handle = reinterpret_cast<void*>(uintptr_t(i) + 1);
            return 0;
        }
    }
    return 2;
}

uint32_t FT_SetFlowControl(void* handle, uint16_t flow, uint8_t xon, uint8_t xoff)
{
    Log("FT_SetFlowControl " + std::to_string(flow) + " " + std::to_string(xon) + " "
        + std::to_string(xoff));
    return DeviceOf(handle) ? 0 : 1;
}

uint32_t FT_SetChars(void* handle, uint8_t event, uint8_t eventOn, uint8_t error, uint8_t errorOn)
{
    Log("FT_SetChars " + std::to_string(event) + " " + std::to_string(eventOn) + " "
        + std::to_string(error) + " " + std::to_string(errorOn));
    return DeviceOf(handle) ? 0 : 1;
}

uint32_t FT_SetTimeouts(void* handle, uint32_t readMs, uint32_t writeMs)
{
    Log("FT_SetTimeouts " + std::to_string(readMs) + " " + std::to_string(writeMs));
    return DeviceOf(handle) ? 0 : 1;
}

uint32_t FT_Purge(void* handle, uint32_t mask)
{
    Log("FT_Purge " + std::to_string(mask));
    TDevice* device = DeviceOf(handle);
    if (!device)
        return 1;
    if (mask & 1u)
        device->queue.clear();
    if (mask & 2u)
        device->received.clear();
    return 0;
}

uint32_t FT_Close(void* handle)
{
    Log("FT_Close");
    TDevice* device = DeviceOf(handle);
    if (!device)
        return 1;
    device->open = false;
    return 0;
}

uint32_t FT_SetBaudRate(void* handle, uint32_t baud)
{
    Log("FT_SetBaudRate " + std::to_string(baud));
    return DeviceOf(handle) ? 0 : 1;
}

uint32_t FT_SetDataCharacteristics(void* handle, uint8_t bits, uint8_t stop, uint8_t parity)
{
    Log("FT_SetDataCharacteristics " + std::to_string(bits) + " " + std::to_string(stop) + " "
        + std::to_string(parity));
    return DeviceOf(handle) ? 0 : 1;
}

uint32_t FT_Write(void* handle, void* buffer, uint32_t count, uint32_t* written)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    Log("FT_Write " + Hex(bytes, count));
    TDevice* device = DeviceOf(handle);
    *written = 0;
    if (!device)
        return 1;
    device->received.insert(device->received.end(), bytes, bytes + count);
    Answer(*device);
    *written = count;
    return 0;
}

uint32_t FT_Read(void* handle, void* buffer, uint32_t count, uint32_t* read)
{
    Log("FT_Read " + std::to_string(count));
    TDevice* device = DeviceOf(handle);
    *read = 0;
    if (!device)
        return 1;
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (*read < count && !device->queue.empty()) {
        bytes[(*read)++] = device->queue.front();
        device->queue.pop_front();
    }
    return 0;
}

#ifndef FAKE_FTDI_WITHOUT_QUEUE_STATUS
uint32_t FT_GetQueueStatus(void* handle, uint32_t* waiting)
{
    Log("FT_GetQueueStatus");
    TDevice* device = DeviceOf(handle);
    *waiting = device ? uint32_t(device->queue.size()) : 0;
    return device ? 0 : 1;
}
#endif

} // extern "C"
