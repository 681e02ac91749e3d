#pragma once
// The ELV serial I/O modules PC-IO 16 (16 outputs, 16 inputs) and CSI 7002 (8 relays, 8
// inputs) on a COM port. Each step serves one side: the outputs are sent when they changed and
// their acknowledgement awaited, then the inputs are requested and their answer collected a
// byte per step. A module that does not answer within a time-out is told to the user once per
// run and asked again; an answer that is not a frame of the module changes no pin.

#include "hardware/cards/ModuleFrames.h"
#include "hardware/cards/StepDeadline.h"
#include "hardware/transport/SerialInterface.h"

// What the output and input side of a module share: the module, the exchange's time-out and
// the report of a module that fails.
class TFramedModulePort : public TSerialPort {
public:
    // A set frame (or the start frame), or a request, awaits its answer.
    bool Waiting = false;
    static constexpr double kTimeoutMs = 1000.0;
    // What went wrong in this run.
    enum : uint8_t { kSilent = 1, kGarbled = 2 };
    uint8_t Faults = 0;

    void SimStart() override;

protected:
    TFramedModulePort(modframe::TModule module) : m_module(module) {}
    // Drops what is left of an earlier answer, sends frame a byte per write and starts the
    // time-out.
    void Send(const std::vector<uint8_t>& frame);
    // Whether the time-out passed; then the frame goes out again.
    bool TimedOut();
    const modframe::TModule m_module;

private:
    std::vector<uint8_t> m_pending;
    TStepDeadline m_timeout;
};

class TFramedModuleOutPort : public TFramedModulePort {
public:
    // The output pattern last sent; -1 for none.
    int32_t LastWord = -1;
    // Sends the start frame and awaits its acknowledgement (PC-IO 16).
    void SendStart();
    void MachEsJetzt() override;

protected:
    using TFramedModulePort::TFramedModulePort;
};

class TFramedModuleInPort : public TFramedModulePort {
public:
    // The answer bytes received so far.
    std::vector<uint8_t> RxText;
    void MachEsJetzt() override;

protected:
    using TFramedModulePort::TFramedModulePort;
};

class TELVInterfaceDOutPort : public TFramedModuleOutPort {
public:
    TV_CLASS_NAME(TELVInterfaceDOutPort)
    TELVInterfaceDOutPort();
    // Sends the start frame.
    void SimStart() override;
};

class TELVInterfaceDInPort : public TFramedModuleInPort {
public:
    TV_CLASS_NAME(TELVInterfaceDInPort)
    TELVInterfaceDInPort();
};

class TCSI7002DOutPort : public TFramedModuleOutPort {
public:
    TV_CLASS_NAME(TCSI7002DOutPort)
    TCSI7002DOutPort();
};

class TCSI7002DInPort : public TFramedModuleInPort {
public:
    TV_CLASS_NAME(TCSI7002DInPort)
    TCSI7002DInPort();
};

// The device of either module.
class TFramedModule : public TSerialInterface {
public:
    // 0: serve the outputs, 1: the inputs.
    int32_t Phase = 0;

    // 38400 baud, 8 data bits, odd parity, 2 stop bits.
    void PreparePort() override;
    // One side per step, while the port is open.
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    QString StatusMessage() const override { return m_status; }

protected:
    TFramedModule() = default;
    TFramedModuleOutPort& Out() const;
    TFramedModuleInPort& In() const;
    // Tells the user once per run of a module that is silent or garbles its answers.
    void ReportFaults();
    void ClearFaults();

private:
    uint8_t m_told = 0;
    QString m_status;
};

class TELVInterface : public TFramedModule {
public:
    TV_CLASS_NAME(TELVInterface)
    static const TDeviceDescription Description;
    TELVInterface();
    void SimStart() override;
    void ResetPins() override {}
};

class TCSI7002 : public TFramedModule {
public:
    TV_CLASS_NAME(TCSI7002)
    static const TDeviceDescription Description;
    TCSI7002();
    void SimStart() override;
    void ResetPins() override;
};
