#pragma once
// USB human-interface devices of this machine (through hidapi on hidraw). Reports go in and out
// with the report-ID byte first, also for devices without numbered reports (then 0), so that a
// device driver's report offsets are the same for every device. Reads wait at most the given
// time, so a silent device never holds the program. Enumeration opens no device, so it never
// disturbs a device that a run is using.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct THidDeviceEntry {
    QString Path;
    uint16_t VendorId = 0;
    uint16_t ProductId = 0;
    QString Manufacturer;
    QString Product;
};

class IHidDevice {
public:
    virtual ~IHidDevice() = default;
    // data[0] is the report ID. Returns the bytes written or -1.
    virtual int32_t Write(const uint8_t* data, int32_t size) = 0;
    // One input report with its report ID in data[0]; 0 when none came within timeoutMs,
    // -1 on failure (the device is gone).
    virtual int32_t Read(uint8_t* data, int32_t size, int32_t timeoutMs) = 0;
    // data[0] is the report ID. Returns the bytes sent or -1.
    virtual int32_t SetFeature(const uint8_t* data, int32_t size) = 0;
    // Drops the input reports that are waiting.
    virtual void FlushQueue() = 0;
};

class IHidSystem {
public:
    virtual ~IHidSystem() = default;
    // Whether HID access is possible at all.
    virtual bool Available() = 0;
    // The devices present, in system order; 0 for a number accepts any.
    virtual std::vector<THidDeviceEntry> Enumerate(uint16_t vendorId, uint16_t productId) = 0;
    // nullptr when the device cannot be opened.
    virtual std::unique_ptr<IHidDevice> Open(const QString& path) = 0;
};

// The system in use (hidapi unless a test installed another).
IHidSystem& HidSystem();
// Installs a system (not owned); nullptr restores hidapi.
void SetHidSystem(IHidSystem* system);

// Whether a HID report descriptor declares report IDs.
bool DescriptorHasReportIds(const std::vector<uint8_t>& descriptor);
