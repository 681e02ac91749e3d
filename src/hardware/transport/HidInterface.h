#pragma once
// The base of the devices that are USB human-interface devices: the list of devices present,
// the configured device (vendor, product and occurrence among identical devices), opened at run
// start and handed to every port, closed at run end. Reports are read and written by the
// device classes through their ports, with the report-ID byte first.

#include "hardware/framework/IoInterface.h"
#include "platform/HidAccess.h"

#include <memory>

class TDeviceInfo {
public:
    uint16_t VendorID = 0;
    uint16_t ProductID = 0;
    QString DevicePath;  // empty for the "none" entry
    QString DisplayName;
    uint16_t Occurrence = 0; // 1-based among the entries with the same numbers

    // Everything but the occurrence.
    void CopyFrom(const TDeviceInfo& other);
};

class THIDPort : public TIOPort {
public:
    TV_CLASS_NAME(THIDPort)
    std::shared_ptr<IHidDevice> DeviceHandle;
    virtual void SetHandle(std::shared_ptr<IHidDevice> handle) { DeviceHandle = std::move(handle); }

    // Report I/O through the device; nothing (-1) while no device is open. Reads wait at most
    // timeoutMs (0: only what has arrived).
    int32_t WriteReport(const uint8_t* data, int32_t size);
    int32_t ReadReport(uint8_t* data, int32_t size, int32_t timeoutMs = 0);
};

class THIDInterface : public TIOInterface {
public:
    TV_CLASS_NAME(THIDInterface)
    static const TDeviceDescription Description;
    THIDInterface();
    ~THIDInterface() override;

    std::shared_ptr<IHidDevice> DeviceHandle;
    std::vector<TDeviceInfo> Devices; // entry 0 is the "none" entry
    TDeviceInfo Wanted;

    // Fills list with the "none" entry and the devices present that pass the filters (0 for a
    // number accepts any). Opens no device.
    static void ListDevices(std::vector<TDeviceInfo>& list, uint16_t vendorId, uint16_t productId);
    // The index in Devices of the wanted entry (by numbers and occurrence); 0 when missing.
    int32_t FindDevice(const TDeviceInfo& info) const;
    void OpenDevice(const QString& path);
    void CloseDevice();
    void SetHandle(std::shared_ptr<IHidDevice> handle);
    // Copies entry index of Devices into Wanted and counts its occurrence.
    void ChooseDevice(int32_t index);

    void SimPrepare() override;
    // Opens the wanted device; one that is configured but not present is reported, and the
    // device runs unopened.
    void SimStart() override;
    void SimStop() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;
};
