#pragma once
// The ELV UAD 8: a USB module with 8 analogue inputs of 0 to 2.5 V behind an FTDI chip, read
// through the FTDI library. Each step either asks one channel or collects its answer; the
// channels 1 to 8 are read in turn.

#include "hardware/transport/Ftd2xxLibrary.h"
#include "hardware/transport/VendorLibraryDevice.h"

#include <string>

class TUAD8AINPort : public TIOPort {
public:
    TV_CLASS_NAME(TUAD8AINPort)
    TUAD8AINPort();
};

class TUAD8 : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TUAD8)
    static const TDeviceDescription Description;
    TUAD8();

    // The description FTDI devices of this kind give.
    static const char* const BoardDescription;
    // An answer that has not come complete after this long is given up.
    static constexpr uint32_t AnswerTimeoutMs = 500;

    // The device number (BaseAddress): the k-th FTDI device with the board's description.
    QStringList DeviceList;
    bool Opened = false;
    FT_HANDLE Handle = nullptr;
    bool RequestPending = false;
    std::string RxText;
    int Channel = 1;

    void MachEsJetzt() override;
    void ApplySettings() override;
    void getKonfigData() override;
    void SimStart() override;
    void SimStop() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    void OpenDevice();
    void SendRequest();
    void ReadAnswer();
    void NextChannel();
    uint32_t m_requestTick = 0;
};
