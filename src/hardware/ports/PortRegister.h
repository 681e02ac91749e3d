#pragma once
// Raw access to one I/O register of the PC at a hexadecimal address: write 8 or 16 bits, read 8
// or 16 bits, once per falling edge of a clock input. A write uses the data inputs of the step
// in which the clock fell; a read updates the outputs in that step and holds them.

#include "hardware/framework/IoInterface.h"

// The data port of a register device: pins D0 .. D(width-1), range 0 .. 5.
class TRegisterDataPort : public TIOPort {
public:
    TRegisterDataPort(int width, bool input, const char* frenchBit = "Bit ");
    const int Width;
    void MachEsJetzt() override;
};

class TwPortDOutPort : public TRegisterDataPort {
public:
    TV_CLASS_NAME(TwPortDOutPort)
    TwPortDOutPort() : TRegisterDataPort(8, false) {}
};
class TrPortDInPort : public TRegisterDataPort {
public:
    TV_CLASS_NAME(TrPortDInPort)
    TrPortDInPort() : TRegisterDataPort(8, true) {}
};
class TwPort16DOutPort : public TRegisterDataPort {
public:
    TV_CLASS_NAME(TwPort16DOutPort)
    TwPort16DOutPort() : TRegisterDataPort(16, false) {}
};
class TrPort16DInPort : public TRegisterDataPort {
public:
    TV_CLASS_NAME(TrPort16DInPort)
    TrPort16DInPort() : TRegisterDataPort(16, true, "Bits ") {}
};

// What the four devices share: the clock, the address row and the granted range.
class TRegisterDevice : public TIOInterface {
public:
    bool ClockLevel = false;
    bool Pending = false;

    void MachEsJetzt() override;
    void SimStart() override;
    int32_t GrantPortAccess() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    int32_t ClockInput() const override { return m_clockIndex; }

protected:
    TRegisterDevice(int width, bool write);
    // The clock input: a falling edge makes the register access due.
    void Clock(Extended value);
    const int m_width;
    const bool m_write;
    const int m_clockIndex;
};

class TRegisterWriteDevice : public TRegisterDevice {
public:
    QString GetOutputLabel(int32_t index) override;
    void SetValue(int32_t index, Extended value) override;
    void SetPinUsed(int32_t index, bool used) override;

protected:
    using TRegisterDevice::TRegisterDevice;
};

class TRegisterReadDevice : public TRegisterDevice {
public:
    QString GetOutputLabel(int32_t index) override;
    void SetValue(int32_t index, Extended value) override;
    void SetPinUsed(int32_t, bool) override {}

protected:
    using TRegisterDevice::TRegisterDevice;
};

class TwPort : public TRegisterWriteDevice {
public:
    TV_CLASS_NAME(TwPort)
    static const TDeviceDescription Description;
    TwPort();
};

class TrPort : public TRegisterReadDevice {
public:
    TV_CLASS_NAME(TrPort)
    static const TDeviceDescription Description;
    TrPort();
};

class TwPort16 : public TRegisterWriteDevice {
public:
    TV_CLASS_NAME(TwPort16)
    static const TDeviceDescription Description;
    TwPort16();
};

class TrPort16 : public TRegisterReadDevice {
public:
    TV_CLASS_NAME(TrPort16)
    static const TDeviceDescription Description;
    TrPort16();
};
