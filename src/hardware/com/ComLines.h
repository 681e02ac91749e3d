#pragma once
// The modem lines of a COM port as digital I/O: DTR, RTS and the transmit line (through the
// break state) as outputs, CTS, DSR, RI and DCD as inputs. The device opens the port itself,
// without the shared serial-port objects, so it can drive a port no serial device uses.

#include "hardware/framework/IoInterface.h"
#include "platform/SerialLine.h"

#include <memory>

// A device's own serial line on COM n (the device map's node). One that cannot be opened is
// reported to the user, captioned with deviceName, and nullptr comes back: the simulation goes
// on without it.
std::shared_ptr<ISerialLine> OpenOwnLine(int32_t n, const QString& deviceName);
// The settings-file keys of such a device: "Name" and "COM" (the COM number, 0 for none).
void WriteOwnLineKeys(TIniFile& ini, const QString& section, const QString& name, int32_t com);
uint16_t ReadOwnLineCom(TIniFile& ini, const QString& section);

class TCOM_DOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TCOM_DOutPort)
    TCOM_DOutPort();
    std::shared_ptr<ISerialLine> DeviceHandle;
    void MachEsJetzt() override;
};

class TCOM_DInPort : public TDInPort {
public:
    TV_CLASS_NAME(TCOM_DInPort)
    TCOM_DInPort();
    std::shared_ptr<ISerialLine> DeviceHandle;
    void MachEsJetzt() override;
};

class TCOM_D : public TIOInterface {
public:
    TV_CLASS_NAME(TCOM_D)
    static const TDeviceDescription Description;
    TCOM_D();

    std::shared_ptr<ISerialLine> DeviceHandle;

    void getKonfigData() override;
    void ApplySettings() override;
    void ResetPins() override;
    // Opens the port; one that cannot be opened is reported, and the device runs without it.
    void SimStart() override;
    void SimStop() override;
    void readFromStream(TReader& reader) override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    void HandToPorts();
};
