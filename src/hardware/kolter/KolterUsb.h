#pragma once
// Kolter's mini USB modules (counter, D/A converter, relay/opto I/O, TTL prototype board,
// 4-channel opto output and input) on the shared serial-port object of the COM port the
// system gives each module, driven entirely through its handshake lines. One port is served
// per step, in turn; outputs are shifted out when they change (and once at each run start).

#include "hardware/transport/SerialInterface.h"

class TKolterUSBPort : public TSerialPort {
public:
    TV_CLASS_NAME(TKolterUSBPort)
    TKolterUSBPort();
    // Bits 0 .. lastBit of w, least significant first.
    virtual void ShiftOut(uint16_t w, int lastBit);
    // lastBit + 1 bits, the first into bit 0.
    virtual uint16_t ShiftIn(int lastBit);

protected:
    bool LineOpen() const { return Comm && Comm->Connected(); }
};

// An output port that shifts its word out when it changes.
class TKolterUSBOutPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TKolterUSBOutPort)
    int32_t LastSent = -1; // outside the word's range: the first step of a run sends
    void SimStart() override;

protected:
    void SendOnChange(uint16_t w, int lastBit);
};

class TKolterUSBInterface : public TSerialInterface {
public:
    TV_CLASS_NAME(TKolterUSBInterface)
    static const TDeviceDescription Description;
    TKolterUSBInterface();

    int32_t ServedPortIndex = 0;

    virtual void InitLines();
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void SimStart() override;
    void PreparePort() override;

protected:
    void AddPorts(std::vector<std::unique_ptr<TIOPort>> ports);
};

// --- Counter ---
class TMini_CounterInPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TMini_CounterInPort)
    TMini_CounterInPort();
    void MachEsJetzt() override;
};

class TMini_CounterOutPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TMini_CounterOutPort)
    TMini_CounterOutPort();
    bool LastState = false;
    void MachEsJetzt() override;
    void SimStart() override;
};

class TMini_Counter : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TMini_Counter)
    static const TDeviceDescription Description;
    TMini_Counter();
};

// --- D/A converter ---
class TMini_DACOutPort : public TKolterUSBOutPort {
public:
    TV_CLASS_NAME(TMini_DACOutPort)
    TMini_DACOutPort();
    void MachEsJetzt() override;
};

class TMini_DAC : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TMini_DAC)
    static const TDeviceDescription Description;
    TMini_DAC();
};

// --- Relay/opto I/O ---
class TMini_IOOutPort : public TKolterUSBOutPort {
public:
    TV_CLASS_NAME(TMini_IOOutPort)
    TMini_IOOutPort();
    void MachEsJetzt() override;
};

class TMini_IOInPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TMini_IOInPort)
    TMini_IOInPort();
    void MachEsJetzt() override;
};

class TMini_IO : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TMini_IO)
    static const TDeviceDescription Description;
    TMini_IO();
};

// --- TTL prototype board ---
class TMini_ProtoOutPort : public TKolterUSBOutPort {
public:
    TV_CLASS_NAME(TMini_ProtoOutPort)
    TMini_ProtoOutPort();
    void MachEsJetzt() override;
};

class TMini_ProtoInPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TMini_ProtoInPort)
    TMini_ProtoInPort();
    void MachEsJetzt() override;
};

class TMini_Proto : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TMini_Proto)
    static const TDeviceDescription Description;
    TMini_Proto();
};

// --- Opto-4 output and input ---
class TOpto4OutOutPort : public TKolterUSBOutPort {
public:
    TV_CLASS_NAME(TOpto4OutOutPort)
    TOpto4OutOutPort();
    void MachEsJetzt() override;
};

class TOpto4Out : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TOpto4Out)
    static const TDeviceDescription Description;
    TOpto4Out();
};

class TOpto4InInPort : public TKolterUSBPort {
public:
    TV_CLASS_NAME(TOpto4InInPort)
    TOpto4InInPort();
    void MachEsJetzt() override;
};

class TOpto4In : public TKolterUSBInterface {
public:
    TV_CLASS_NAME(TOpto4In)
    static const TDeviceDescription Description;
    TOpto4In();
};
