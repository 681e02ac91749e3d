#pragma once
// What the device drivers call of the makers' ActiveX controls, one interface per role: the
// properties they set and the methods and indexed properties they call, with the argument
// types the controls take. A driver holds its control through its role and creates it by the
// control's class identifier (ActiveXControl.h).

#include "platform/ActiveXControl.h"

#include <QString>
#include <cstdint>

// --- Voltcraft AD-USB 3 and AD-USB 4 modules ----------------------------------------------------
inline const QString kAdUsb3ClassId = QStringLiteral("{3FA65AAD-3DF5-4D30-8FA7-799205B01C91}");
inline const QString kAdUsb4ClassId = QStringLiteral("{A65DC4E4-C4EE-11D3-B92D-F8F51A18FC47}");

class IAdUsbControl : public IActiveXControl {
public:
    // True when the module is open and the other members work.
    virtual bool OpenModule(int16_t module) = 0;
    virtual void CloseModule() = 0;
    // The voltage of analog input channel (0..7).
    virtual double AnalogValue(int16_t module, int16_t channel) = 0;
    // Sets analog output channel (0..1) to volts.
    virtual void SetAnalogValue(int16_t module, int16_t channel, double volts) = 0;
    // The digital inputs, bit k = DIk (the low byte counts).
    virtual int16_t DigitalByte(int16_t module) = 0;
    // Sets the digital outputs, bit k = DOk.
    virtual void SetDigitalByte(int16_t module, int16_t bits) = 0;
};

// --- BMC meM-PIO and USB-PIO ----------------------------------------------------------------------
inline const QString kMemPioClassId = QStringLiteral("{EF954698-F5A8-11D3-8314-00105A3831C1}");

enum class TMemPioPort : uint8_t { A, B, CLow, CHigh }; // DirPort1, DirPort2, DirPort3L, DirPort3H

class IMemPioControl : public IActiveXControl {
public:
    virtual void SetDisableErrors(bool disable) = 0;
    virtual void SetCardId(int32_t card) = 0;
    // 0 input, 1 output.
    virtual void SetDirection(TMemPioPort port, int32_t direction) = 0;
    // port 1 = A, 2 = B, 3 = C.
    virtual void WritePort(int16_t port, int32_t value) = 0;
    virtual int32_t ReadPort(int16_t port) = 0;
    virtual void Poll() = 0;
};

// --- BMC meM-ADfo, meM-ADDA and USB-AD12 ----------------------------------------------------------
inline const QString kMemAdfoClassId = QStringLiteral("{119E24F6-A019-11D4-83B3-00105A3831C1}");
inline const QString kMemAddaClassId = QStringLiteral("{5653F80C-009B-11D4-831F-00105A3831C1}");

class IMemAnalogControl : public IActiveXControl {
public:
    virtual void SetDisableErrors(bool disable) = 0;
    virtual void SetCardId(int32_t card) = 0;
    // Channels count from 1.
    virtual float ReadAnalog(int32_t channel) = 0;
    virtual void WriteAnalog(int32_t channel, float volts) = 0;
    virtual void WriteDigital(int16_t port, int32_t value) = 0;
    virtual int32_t ReadDigital(int16_t port) = 0;
    virtual void Poll() = 0;
};

// --- BMC PC16/PC20 card -------------------------------------------------------------------------
inline const QString kPc20ClassId = QStringLiteral("{E827D883-C8F2-11CF-BC1A-0080489D4CB5}");

class IPc20Control : public IActiveXControl {
public:
    virtual void SetCardId(int32_t card) = 0;
    virtual void SetAnalogInRange(int32_t range) = 0;
    // group 0..3 for the lines 1..8, 9..16, 17..24, 25..32; 1 output, 0 input.
    virtual void SetDirection(int32_t group, int32_t direction) = 0;
    // Channels and lines count from 1.
    virtual double ReadAnalog(int16_t channel) = 0;
    virtual void WriteAnalog(int16_t channel, double volts) = 0;
    // Above 0 for a high line.
    virtual int32_t ReadDigital(int16_t line) = 0;
    virtual void WriteDigital(int16_t line, int32_t level) = 0;
};

// --- BMC LIBADX control ------------------------------------------------------------------------
inline const QString kLibadxClassId = QStringLiteral("{85D570E9-3167-46DC-B6DE-116150A92B8D}");

class ILibadxControl : public IActiveXControl {
public:
    // True when the device at the address text opened.
    virtual bool Open(const QString& address) = 0;
    virtual void Close() = 0;
    virtual float AnalogIn(int32_t index, int32_t range) = 0;
    virtual void AnalogOut(int32_t index, int32_t range, float value) = 0;
    virtual int32_t DigitalIn(int32_t index) = 0;
    virtual void DigitalOut(int32_t index, int32_t value) = 0;
    virtual bool DigitalInLine(int32_t index, int32_t line) = 0;
    virtual void DigitalOutLine(int32_t index, int32_t line, bool value) = 0;
    virtual void DigitalDirection(int32_t index, int32_t value) = 0;
};
