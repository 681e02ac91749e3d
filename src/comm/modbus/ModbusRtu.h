#pragma once
// Modbus RTU master devices: the Modbus functions over a serial line. The slave address comes
// from the "UID" pin in every step (0 broadcasts); a request goes out on a falling edge of
// "|CLK"; one RTU request waits for its answer in the whole program at a time.

#include "hardware/transport/ByteTransport.h"
#include "comm/modbus/ModbusDevice.h"

class TRTUOutPort : public TIOPort {
public:
    TV_CLASS_NAME(TRTUOutPort)
    TRTUOutPort();
};

class TRTUInPort : public TIOPort {
public:
    TV_CLASS_NAME(TRTUInPort)
    TRTUInPort();
};

class TModbusRTUDataPort : public TModbusDataPort {
public:
    TV_CLASS_NAME(TModbusRTUDataPort)
};

class TModbusRTU : public TIOInterface {
public:
    TV_CLASS_NAME(TModbusRTU)
    static const TDeviceDescription Description;
    TModbusRTU();
    ~TModbusRTU() override;

    uint8_t FunctionCode = 0;
    int32_t UnitId = 255;
    int32_t StartAddress = 1;
    int32_t ResponseTimeout = 2000; // ms until the first answer byte
    int32_t ComNumber = 0;          // 0: none
    TSerialLineSettings Line;
    bool Pending = false;
    bool Waiting = false;           // for the first answer byte

    QString FunctionText() const { return modbus::FunctionText(FunctionCode); }
    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    QString StatusMessage() const override { return m_statusMessage; }
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

    TModbusRTUDataPort& DataPort() const;
    int32_t ChannelCount() const { return int32_t(DataPort().Pins.size()); }
    // The transport in use during a run (tests hand in their own before the step).
    std::shared_ptr<IByteTransport> Transport;

protected:
    void SetFunction(uint8_t code);

private:
    void SendRequest();
    void ReadResponse();
    void Finish(int32_t code, const QString& message);
    modbus::TStatusPins Status() const;

    bool m_lastClock = false;
    QString m_statusMessage;
    uint8_t m_unit = 255;
    uint8_t m_sentUnit = 0;
    uint32_t m_sentTick = 0;
    uint32_t m_lastByteTick = 0;
    std::vector<uint8_t> m_answer;
    bool m_overflow = false;
    int32_t m_dlgChannels = 1;
    int32_t m_dlgCom = 0;
};

TModbusRTU*& ModbusRtuInFlight();

#define TAVRINOL_MODBUS_RTU_FUNCTION(ClassName, Code)                                              \
    class ClassName : public TModbusRTU {                                                          \
    public:                                                                                        \
        TV_CLASS_NAME(ClassName)                                                                   \
        static const TDeviceDescription Description;                                               \
        ClassName()                                                                                \
        {                                                                                          \
            Describe(Description);                                                                 \
            SetFunction(Code);                                                                     \
        }                                                                                          \
    };

TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_ReadCoils, 1)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_ReadDiscreteInputs, 2)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_ReadRegs, 3)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_ReadInputRegs, 4)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_WriteSingleCoil, 5)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_WriteSingleReg, 6)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_WriteCoils, 15)
TAVRINOL_MODBUS_RTU_FUNCTION(TModbusRTU_WriteRegs, 16)
