#pragma once
// The Kolter VModul A/D module (16 channels) on a COM port's handshake lines (TVModulAD), its
// USB version (TVModulADUSB) and the single-channel mini module (TMini_AD). Each channel takes
// two steps at least 9 ms apart: the request (the channel number 1..16 shifted in), then the
// 16-bit result shifted out.

#include "hardware/kolter/VModulBase.h"

class TVModulADAInPort : public TAInPort, public TModuleLinePort {
public:
    TV_CLASS_NAME(TVModulADAInPort)
    TVModulADAInPort();
    bool RequestPending = false;
    int Channel = 0;
    uint32_t LastPoll = 0;

    void MachEsJetzt() override;
    void SimStart() override;
    virtual void SetRange(int r);
    virtual void KanalAnfordern();
    virtual void Receive();

protected:
    void Store(uint16_t raw);
};

class TVModulADUSBAInPort : public TVModulADAInPort {
public:
    TV_CLASS_NAME(TVModulADUSBAInPort)
    void KanalAnfordern() override;
    void Receive() override;
};

class TMini_ADAInPort : public TVModulADUSBAInPort {
public:
    TV_CLASS_NAME(TMini_ADAInPort)
    TMini_ADAInPort();
};

class TVModulAD : public TVModulBase {
public:
    TV_CLASS_NAME(TVModulAD)
    static const TDeviceDescription Description;
    TVModulAD();

    int32_t RangeChoice = 0;
    QStringList RangeList;
    int32_t Range = 0;

    void ApplySettings() override;
    void getKonfigData() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

protected:
    void Build(std::unique_ptr<TVModulADAInPort> port, const QString& name);
    TVModulADAInPort& AdPort() const { return static_cast<TVModulADAInPort&>(*Ports[0]); }
};

class TVModulADUSB : public TVModulAD {
public:
    TV_CLASS_NAME(TVModulADUSB)
    static const TDeviceDescription Description;
    TVModulADUSB();
    bool UsbModule() const override { return true; }
};

class TMini_AD : public TVModulADUSB {
public:
    TV_CLASS_NAME(TMini_AD)
    static const TDeviceDescription Description;
    TMini_AD();
};
