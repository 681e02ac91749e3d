#pragma once
// Phidgets USB boards through their maker's library: interface kits, accelerometers,
// temperature sensors, RFID readers, servo controllers and encoders. A board is chosen by its
// serial number (0: any board of the kind); its ports take the sizes the library reports.

#include "hardware/transport/VendorLibraryDevice.h"

// The kinds, in the order of the stored kind byte.
enum class TPhidgetKind : uint8_t { InterfaceKit, Accelerometer, Temperature, Rfid, Servo, Encoder };

class TPhidgets_Port : public TIOPort {
public:
    TV_CLASS_NAME(TPhidgets_Port)
    void* Handle = nullptr; // the opened board; nullptr while there is none
    TPhidgetKind Kind = TPhidgetKind::InterfaceKit;

protected:
    // The kind's read of the board (when the port has pins), then the kind's pause.
    void ReadDevice();
};

class TPhidgets_DOutPort : public TPhidgets_Port {
public:
    TV_CLASS_NAME(TPhidgets_DOutPort)
    TPhidgets_DOutPort();
    void SetPinCount(int32_t n);
    // Every output is written in the first step.
    void SimStart() override;
    void MachEsJetzt() override;
};

class TPhidgets_DInPort : public TPhidgets_Port {
public:
    TV_CLASS_NAME(TPhidgets_DInPort)
    TPhidgets_DInPort();
    void SetPinCount(int32_t n);
    void MachEsJetzt() override;
};

class TPhidgets_Sensors : public TPhidgets_Port {
public:
    TV_CLASS_NAME(TPhidgets_Sensors)
    TPhidgets_Sensors();
    void SetPinCount(int32_t n);
    void MachEsJetzt() override;
};

class TPhidgets : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TPhidgets)

    TPhidgetKind Kind() const { return m_kind; }
    // The board's serial number; 0 for any board of the kind. The stored address holds its
    // low 16 bits, the sensor port's record the high ones.
    int32_t SerialNumber() const { return m_serial; }
    void SetSerialNumber(int32_t serial);
    // Opens the board for a moment and sizes the ports as the library reports; a board that
    // cannot be opened leaves them as they are. Only with the library loaded.
    void ReadCapabilities();

    QString DlgSerialText;

    void getKonfigData() override;
    int32_t ExecuteDialog() override;
    void ApplySettings() override;
    void PropagateAddress() override;
    void SimStart() override;
    void SimStop() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

protected:
    TPhidgets(const TDeviceDescription& description, TPhidgetKind kind);

private:
    // Opens a board of the kind; nullptr when none opens.
    void* Open(int32_t serial) const;
    TPhidgetKind m_kind;
    int32_t m_serial = 0;
    void* m_handle = nullptr;
    TPhidgets_DOutPort* m_outputs = nullptr;
    TPhidgets_DInPort* m_inputs = nullptr;
    TPhidgets_Sensors* m_sensors = nullptr;
};

#define PHIDGETS_KIND(Class)                                                                       \
    class Class : public TPhidgets {                                                               \
    public:                                                                                        \
        TV_CLASS_NAME(Class)                                                                       \
        static const TDeviceDescription Description;                                               \
        Class();                                                                                   \
    };
PHIDGETS_KIND(TPhidgets_IFK)
PHIDGETS_KIND(TPhidgets_ACCEL)
PHIDGETS_KIND(TPhidgets_TEMP)
PHIDGETS_KIND(TPhidgets_RFID)
PHIDGETS_KIND(TPhidgets_Servo)
PHIDGETS_KIND(TPhidgets_Encoder)
#undef PHIDGETS_KIND
