#pragma once
// The Pollin AVR-NET-IO board on the network: 8 digital outputs, 4 digital inputs and 4 analog
// inputs, driven by its text commands over one raw TCP client connection of the pool. Each
// eligible step serves one port in turn (analog inputs, digital outputs, digital inputs), so a
// cycle over the three takes at least the request delay. A board that cannot be reached, stays
// silent or answers nonsense is told once per run; the pins keep their values, the connection
// is closed and tried again at seconds 0 and 30, and the circuit runs on.

#include "comm/tcp/PureTcp.h"

#include <optional>
#include <string>

class TNetAVRAINPort : public TIOPort {
public:
    TV_CLASS_NAME(TNetAVRAINPort)
    TNetAVRAINPort();
    int32_t Vref = 5000; // millivolts
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
};

class TNetAVRDOUTPort : public TIOPort {
public:
    TV_CLASS_NAME(TNetAVRDOUTPort)
    TNetAVRDOUTPort();
};

class TNetAVRDINPort : public TIOPort {
public:
    TV_CLASS_NAME(TNetAVRDINPort)
    TNetAVRDINPort();
};

class TNetAVRTCP : public TPureTCP {
public:
    TV_CLASS_NAME(TNetAVRTCP)
    static const TDeviceDescription Description;
    TNetAVRTCP();

    static constexpr const char* kFactoryHost = "192.168.0.90";
    static constexpr uint16_t kFactoryPort = 50290;

    int32_t RequestDelay = 0; // ms for one cycle over the three ports, 0..1000

    TNetAVRAINPort& AnalogPort() const;
    TNetAVRDOUTPort& OutputPort() const;
    TNetAVRDINPort& InputPort() const;
    // The port the next exchange serves: 0 analog inputs, 1 digital outputs, 2 digital inputs.
    int32_t Phase() const { return m_phase; }

    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    QString StatusMessage() const override { return m_status; }
    void DialogChanged() override {}

private:
    bool Exchange();
    bool ExchangeAnalog();
    bool ExchangeOutputs();
    bool ExchangeInputs();
    // Sends a command and waits for its answer line; nothing when the connection failed or the
    // board stayed silent.
    std::optional<std::string> Ask(const std::string& command);
    // An answer the board should not give: told once, the pin stays.
    void Nonsense(const std::string& command, const std::string& answer);
    // The exchange failed: the connection is closed and the user told once.
    void Fail(const QString& why);
    // The status shows why; the user is told the first time in a run.
    void Tell(const QString& why);

    int32_t m_phase = 0;
    uint32_t m_lastExchange = 0;
    bool m_told = false;
    QString m_status;
};
