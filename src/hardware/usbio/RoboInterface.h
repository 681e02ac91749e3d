#pragma once
// The fischertechnik ROBO Interface (93293) with up to three ROBO extensions, through the FTLib
// library. The library exchanges a transfer area with the device in the background; each step
// only reads and writes bytes of that area: inputs, outputs, PWM levels, analog values, the
// infrared receiver and the free-running timers.

#include "hardware/transport/VendorLibraryDevice.h"

// A port on the transfer area (nullptr while the device is closed).
class TRoboInterfacePort : public TIOPort {
public:
    TV_CLASS_NAME(TRoboInterfacePort)
    uint8_t* Area = nullptr;
    uint8_t GetByte(uint32_t offset) const { return Area ? Area[offset] : 0; }
    void PutByte(uint32_t offset, uint8_t value)
    {
        if (Area)
            Area[offset] = value;
    }
    uint16_t GetWord(uint32_t offset) const
    {
        return uint16_t(GetByte(offset) | GetByte(offset + 1) << 8);
    }

protected:
    uint32_t m_offset = 0;
};

class TRoboInterfaceDINPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfaceDINPort)
    void MachEsJetzt() override;

protected:
    void Build(int32_t index); // 0..3: E1..E8 .. E25..E32
};

class TRoboInterfaceDOUTPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfaceDOUTPort)
    void MachEsJetzt() override;

protected:
    void Build(int32_t index); // 0..3: O1..O8 .. O25..O32
};

class TRoboInterfacePWMPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfacePWMPort)
    void MachEsJetzt() override;
};

#define ROBO_NUMBERED_PORT(Class, Base, index)                                                     \
    class Class : public Base {                                                                    \
    public:                                                                                        \
        TV_CLASS_NAME(Class)                                                                       \
        Class() { Build(index); }                                                                  \
    };
ROBO_NUMBERED_PORT(TRoboInterfaceDINPort1, TRoboInterfaceDINPort, 0)
ROBO_NUMBERED_PORT(TRoboInterfaceDINPort2, TRoboInterfaceDINPort, 1)
ROBO_NUMBERED_PORT(TRoboInterfaceDINPort3, TRoboInterfaceDINPort, 2)
ROBO_NUMBERED_PORT(TRoboInterfaceDINPort4, TRoboInterfaceDINPort, 3)
ROBO_NUMBERED_PORT(TRoboInterfaceDOUTPort1, TRoboInterfaceDOUTPort, 0)
ROBO_NUMBERED_PORT(TRoboInterfaceDOUTPort2, TRoboInterfaceDOUTPort, 1)
ROBO_NUMBERED_PORT(TRoboInterfaceDOUTPort3, TRoboInterfaceDOUTPort, 2)
ROBO_NUMBERED_PORT(TRoboInterfaceDOUTPort4, TRoboInterfaceDOUTPort, 3)
#undef ROBO_NUMBERED_PORT

class TRoboInterfacePWMPort1 : public TRoboInterfacePWMPort {
public:
    TV_CLASS_NAME(TRoboInterfacePWMPort1)
    TRoboInterfacePWMPort1();
};

class TRoboInterfaceAINPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfaceAINPort)
    TRoboInterfaceAINPort();
    void MachEsJetzt() override;
};

class TRoboInterfaceRFPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfaceRFPort)
    TRoboInterfaceRFPort();
    void MachEsJetzt() override;
};

class TRoboInterfaceTimerPort : public TRoboInterfacePort {
public:
    TV_CLASS_NAME(TRoboInterfaceTimerPort)
    TRoboInterfaceTimerPort();
    void MachEsJetzt() override;
};

class TRoboInterface : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TRoboInterface)
    static const TDeviceDescription Description;
    TRoboInterface();

    // "Kein", then "Interface #n-" and the device's long name; made on the first dialog.
    QStringList DeviceList;
    bool Opened() const { return m_opened; }

    void getKonfigData() override;
    int32_t ExecuteDialog() override;
    void ApplySettings() override;
    void PropagateAddress() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    void* m_handle = nullptr;
    uint8_t* m_area = nullptr;
    bool m_opened = false;
};
