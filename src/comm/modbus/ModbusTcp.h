#pragma once
// Modbus/TCP master devices: one Modbus function on one block of addresses of a server, sent on
// a falling edge of "|CLK". They are client-mode raw TCP devices and share its connection pool;
// one request waits for its answer in the whole program at a time.

#include "comm/modbus/ModbusDevice.h"
#include "comm/tcp/PureTcp.h"

class TModbusTCPDataPort : public TModbusDataPort {
public:
    TV_CLASS_NAME(TModbusTCPDataPort)
};

class TModbusTCP : public TPureTCP {
public:
    TV_CLASS_NAME(TModbusTCP)
    static const TDeviceDescription Description;
    TModbusTCP();
    ~TModbusTCP() override;

    uint8_t FunctionCode = 0;
    int32_t UnitId = 255;
    int32_t StartAddress = 1;
    bool Pending = false;

    QString FunctionText() const { return modbus::FunctionText(FunctionCode); }
    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    QString StatusMessage() const override { return m_statusMessage; }
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void DialogChanged() override {}

    TModbusTCPDataPort& DataPort() const;
    int32_t ChannelCount() const { return int32_t(DataPort().Pins.size()); }

protected:
    // The function classes: code, data port with one channel, name.
    void SetFunction(uint8_t code);

private:
    void SendRequest();
    void PollAnswer();
    void Fail(int32_t code, const QString& message);
    modbus::TStatusPins Status() const;

    bool m_lastClock = false;
    QString m_statusMessage;
    uint32_t m_sentTick = 0;
    uint16_t m_transaction = 0;
    uint8_t m_sentUnit = 0;
    std::vector<uint8_t> m_answer;
    int32_t m_dlgChannels = 1;
};

// The device whose request waits for its answer, in the whole program; nullptr for none.
TModbusTCP*& ModbusTcpInFlight();

#define TAVRINOL_MODBUS_TCP_FUNCTION(ClassName, Code)                                              \
    class ClassName : public TModbusTCP {                                                          \
    public:                                                                                        \
        TV_CLASS_NAME(ClassName)                                                                   \
        static const TDeviceDescription Description;                                               \
        ClassName()                                                                                \
        {                                                                                          \
            Describe(Description);                                                                 \
            SetFunction(Code);                                                                     \
        }                                                                                          \
    };

TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_ReadCoils, 1)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_ReadDiscreteInputs, 2)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_ReadRegs, 3)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_ReadInputRegs, 4)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_WriteSingleCoil, 5)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_WriteSingleReg, 6)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_WriteCoils, 15)
TAVRINOL_MODBUS_TCP_FUNCTION(TModbus_WriteRegs, 16)
