#pragma once
// The base of every device on a COM port, and the table of serial-port objects they share: one
// object per COM number 0..100, used by every device set to that number. A device that moves to
// another number takes its line settings along and closes the old number's object; ports that
// still hold that object keep a valid (closed) object until their next PropagateAddress.

#include "hardware/framework/IoInterface.h"
#include "hardware/transport/ComPort.h"

#include <memory>

inline constexpr int32_t kComTableSize = 101;

// The object of COM n (0..100), made when missing; nullptr outside the range.
std::shared_ptr<TCate> ComTableEntry(int32_t n);
// Whether entry n holds an object.
bool ComTableHas(int32_t n);
// Empties the table (at program start and end); objects still held elsewhere live on closed.
void FreeComTable();

// Line-setting values of the open settings dialog, shared by every serial device.
struct TSerialDialogValues {
    int32_t Baud = 6;
    int32_t Parity = 0;
    int32_t Databits = 4;
    int32_t Stopbits = 0;
};
TSerialDialogValues& SerialDialogValues();
// "Kein", then "COM 1" .. "COM 99".
const QStringList& ComList();

// A port whose pins talk through the shared object of its device.
class TSerialPort : public TIOPort {
public:
    TV_CLASS_NAME(TSerialPort)
    std::shared_ptr<TCate> Comm;
};

class TSerialDOutPort : public TSerialPort {
public:
    TV_CLASS_NAME(TSerialDOutPort)
    TSerialDOutPort();
};

class TSerialDInPort : public TSerialPort {
public:
    TV_CLASS_NAME(TSerialDInPort)
    TSerialDInPort();
};

class TSerialInterface : public TIOInterface {
public:
    TV_CLASS_NAME(TSerialInterface)
    static const TDeviceDescription Description;
    TSerialInterface();

    int16_t ComNumber = 0;
    int32_t DlgComNumber = 0;

    // The shared object of ComNumber; a new one is prepared by PreparePort.
    TCate& GetCate();
    std::shared_ptr<TCate> SharedCate();
    // Moves the device to COM n (0..100; others are ignored), taking the line settings along.
    void SetComPort(int32_t n);
    // Closes the shared object (devices with fixed line settings put them on it instead).
    virtual void PreparePort();

    void PropagateAddress() override;
    // Opens the shared port (once for every device on it). A port that does not open is
    // reported to the user once per run, and the device runs without it.
    void SimStart() override;
    void SimStop() override;
    void ResetPins() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void MakeInfoLines() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

protected:
    // Reports a failure of the shared port to the user (once per run and port).
    void ReportPortFailure(const QString& reason);
};
