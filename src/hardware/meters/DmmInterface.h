#pragma once
// A multimeter on a COM port as a hardware component: one input port whose pins are the
// meter's channels and "ERR", and the meter itself, chosen by its name from the list of
// meters. The name is stored with the circuit and chooses the meter again when it is read, so
// a circuit keeps its meter whatever type number it stored. The meter holds its COM port alone
// (not through the shared table) and opens it at run start.

#include "hardware/meters/MeterPort.h"
#include "hardware/meters/SerialMeter.h"
#include "hardware/transport/SerialInterface.h"

class TDMMInPort : public TMeterInPort<TSerialPort> {
public:
    TV_CLASS_NAME(TDMMInPort)
};

class TDMMInterface : public TSerialInterface {
public:
    TV_CLASS_NAME(TDMMInterface)
    static const TDeviceDescription Description;
    TDMMInterface();
    ~TDMMInterface() override;

    uint8_t DeviceType = 0;
    QStringList DeviceNames;  // in the order of the stored lists
    QStringList SortedNames;  // the dialog's list
    int32_t ChosenIndex = 0;  // in SortedNames

    // The type of a meter name (exact comparison); 0 for a name not in the list.
    virtual int32_t NameToType(const QString& name) const;
    virtual std::unique_ptr<TSerialMeter> CreateDecoder(int32_t type) const;
    virtual void FillDeviceList(QStringList& list) const;

    // Replaces the meter by the one of that type and rebuilds the pins.
    void SetDeviceType(int32_t type);
    TSerialMeter& Meter() const { return *m_meter; }
    TDMMInPort& MeterPort() const { return static_cast<TDMMInPort&>(*Ports.front()); }

    void PropagateAddress() override;
    // Opens the meter's port; one that cannot be opened is told once, and the meter reads as
    // not receiving.
    void SimStart() override;
    void SimStop() override;
    void ResetPins() override {}
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

private:
    void ReplaceMeter(int32_t type);
    std::unique_ptr<TSerialMeter> m_meter;
};
