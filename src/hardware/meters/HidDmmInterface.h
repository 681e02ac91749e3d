#pragma once
// A multimeter on a USB-HID cable as a hardware component: one input port whose pins are the
// meter's channels and "ERR", the meter chosen by its name (stored with the circuit, with the
// cable's vendor and product numbers and its occurrence among identical cables), and the cable
// chosen among the HID devices present.

#include "hardware/meters/HidMeter.h"
#include "hardware/meters/MeterPort.h"
#include "hardware/transport/HidInterface.h"

class THIDDMMInPort : public TMeterInPort<THIDPort> {
public:
    TV_CLASS_NAME(THIDDMMInPort)
    // Hands the cable to the meter as well.
    void SetHandle(std::shared_ptr<IHidDevice> handle) override;
};

class THID_DMM : public THIDInterface {
public:
    TV_CLASS_NAME(THID_DMM)
    static const TDeviceDescription Description;
    THID_DMM();
    ~THID_DMM() override;

    uint8_t DeviceType = 0;
    int32_t PresentIndex = 0;   // in Devices
    int32_t ChosenIndex = 0;    // in DialogNames
    QStringList DeviceNames;
    QStringList DialogNames;
    QStringList PresentNames;

    virtual int32_t NameToType(const QString& name) const;
    virtual std::unique_ptr<THidMeter> CreateDecoder(int32_t type) const;
    virtual void FillDeviceList(QStringList& list) const;

    void SetDeviceType(int32_t type);
    THidMeter& Meter() const { return *m_meter; }
    THIDDMMInPort& MeterPort() const { return static_cast<THIDDMMInPort&>(*Ports.front()); }

    void PropagateAddress() override;
    // Opens the cable (one that is missing is told once), sets it up and starts polling.
    void SimStart() override;
    void SimStop() override;
    void ResetPins() override {}
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    void ReplaceMeter(int32_t type);
    void ReportLost();
    std::unique_ptr<THidMeter> m_meter;
};
