#pragma once
// The ELV IO88 board (8 relay outputs, 8 opto inputs) on a COM port (TIO88) and on USB through
// ELV's copy of the FTDI library (TUIO88). Both speak the same frames; each step serves the
// output port or the input port, in turn.

#include "hardware/transport/Ftd2xxLibrary.h"
#include "hardware/transport/SerialInterface.h"
#include "hardware/transport/VendorLibraryDevice.h"

#include <string>

// The answer bytes of an input request, gathered until an ETX completes a frame; a valid
// frame sets the port's pins. Returns whether a byte completed a valid answer.
bool Io88TakeAnswerByte(TIOPort& port, std::string& rxText, uint8_t byte);

class TIO88DOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TIO88DOutPort)
    TIO88DOutPort();
    uint16_t LastSent = 0xFFFF;
    void MachEsJetzt() override;
    void SimStart() override;
};

class TIO88DInPort : public TSerialDInPort {
public:
    TV_CLASS_NAME(TIO88DInPort)
    TIO88DInPort();
    std::string RxText;
    void MachEsJetzt() override;
};

class TIO88 : public TSerialInterface {
public:
    TV_CLASS_NAME(TIO88)
    static const TDeviceDescription Description;
    TIO88();

    bool NextIsOutput = false;

    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void SimStart() override;
    void PreparePort() override;
};

class TUIO88DOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TUIO88DOutPort)
    TUIO88DOutPort();
    FT_HANDLE Handle = nullptr;
    uint16_t LastSent = 0xFFFF; // outside the byte range: the first step of a run sends
    void MachEsJetzt() override;
    void SimStart() override;
};

class TUIO88DInPort : public TDInPort {
public:
    TV_CLASS_NAME(TUIO88DInPort)
    TUIO88DInPort();
    // A request whose answer has not come complete after this long is sent again.
    static constexpr uint32_t AnswerTimeoutMs = 500;
    FT_HANDLE Handle = nullptr;
    std::string RxText;
    bool RequestPending = false;
    void MachEsJetzt() override;
    void SimStart() override;

private:
    uint32_t m_requestTick = 0;
};

class TUIO88 : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TUIO88)
    static const TDeviceDescription Description;
    TUIO88();

    static const char* const BoardDescription;

    // The device number (BaseAddress) counts the boards in SerialList from 1; 0 is none.
    QStringList DeviceList;
    bool NextIsOutput = false;
    FT_HANDLE Handle = nullptr;
    QString PreferredSerial;
    QStringList SerialList;

    void ListDevices();

    void MachEsJetzt() override;
    void ApplySettings() override;
    void getKonfigData() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void SimStart() override;
    void SimStop() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    bool OpenBySerial(const QString& serial);
    void HandToPorts();
};
