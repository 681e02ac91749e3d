#pragma once
// The Kolter VModul I/O module (16 relays, 16 opto inputs) on a COM port's handshake lines
// (TVModul), its USB version (TVModulUSB) and the USB-PROTO board with 16 TTL outputs and
// inputs (TxcomUSB). Outputs are shifted out when they change (and once at each run start);
// the inputs are read at most every 11 ms (COM) or 16 ms (USB).

#include "hardware/kolter/VModulBase.h"

class TVModulOutPort : public TDOutPort, public TModuleLinePort {
public:
    TV_CLASS_NAME(TVModulOutPort)
    TVModulOutPort();
    int32_t LastSent = -1; // outside the word's range: the first step of a run sends
    void MachEsJetzt() override;
    void SimStart() override;
    virtual void set_relais(uint16_t w);
};

class TVModulInPort : public TDInPort, public TModuleLinePort {
public:
    TV_CLASS_NAME(TVModulInPort)
    TVModulInPort();
    uint32_t LastPoll = 0;
    void MachEsJetzt() override;
    void SimStart() override;
};

class TVModulUSBOutPort : public TVModulOutPort {
public:
    TV_CLASS_NAME(TVModulUSBOutPort)
    void set_relais(uint16_t w) override;
};

class TVModulUSBInPort : public TVModulInPort {
public:
    TV_CLASS_NAME(TVModulUSBInPort)
    void MachEsJetzt() override;
};

class TxcomUSBOutPort : public TVModulUSBOutPort {
public:
    TV_CLASS_NAME(TxcomUSBOutPort)
    TxcomUSBOutPort();
};

class TVModul : public TVModulBase {
public:
    TV_CLASS_NAME(TVModul)
    static const TDeviceDescription Description;
    TVModul();
    void ResetPins() override;
    void ApplySettings() override;

protected:
    void Build(std::unique_ptr<TIOPort> out, const QString& outName, std::unique_ptr<TIOPort> in,
               const QString& inName);
};

class TVModulUSB : public TVModul {
public:
    TV_CLASS_NAME(TVModulUSB)
    static const TDeviceDescription Description;
    TVModulUSB();
    bool UsbModule() const override { return true; }
};

class TxcomUSB : public TVModulUSB {
public:
    TV_CLASS_NAME(TxcomUSB)
    static const TDeviceDescription Description;
    TxcomUSB();
};
