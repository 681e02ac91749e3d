#pragma once
// The fischertechnik Intelligent Interface (30402) on a COM port, alone or with its Extension
// (16554): four (eight) motors switched left or right, eight (sixteen) digital inputs and the
// analog inputs EX and EY. Each exchange sends the motor bytes behind a command byte that
// alternates between two values and reads the box's answer to an earlier command; everything
// runs inside the step, at most one exchange per 21 ms.

#include "hardware/transport/SerialInterface.h"

class TFT_IntelligentDOutPort : public TSerialDOutPort {
public:
    TV_CLASS_NAME(TFT_IntelligentDOutPort)
    TFT_IntelligentDOutPort();
    uint8_t CommandByte = 0xC5;
    // Bit i is set when pin i (motor i/2 + 1, left for even i) is above 2.5 V.
    uint8_t MotorByte() const;

protected:
    void AddMotorPins(int32_t firstMotor);
};

class TFT_IntelligentDInPort : public TSerialDInPort {
public:
    TV_CLASS_NAME(TFT_IntelligentDInPort)
    TFT_IntelligentDInPort();

protected:
    void AddInputPins(int32_t first);
};

class TFT_IntelligentAInPort : public TSerialPort {
public:
    TV_CLASS_NAME(TFT_IntelligentAInPort)
    TFT_IntelligentAInPort();
    // Sets EY for the commands 0xC5/0xCA, EX for the others, from the counts (1024 = 100 %).
    void Take(uint16_t analogWord, uint8_t command);
};

class TFT_IntelligentExtensionDOutPort : public TFT_IntelligentDOutPort {
public:
    TV_CLASS_NAME(TFT_IntelligentExtensionDOutPort)
    TFT_IntelligentExtensionDOutPort();
};

class TFT_IntelligentExtensionDInPort : public TFT_IntelligentDInPort {
public:
    TV_CLASS_NAME(TFT_IntelligentExtensionDInPort)
    TFT_IntelligentExtensionDInPort();
};

class TFT_Intelligent : public TSerialInterface {
public:
    TV_CLASS_NAME(TFT_Intelligent)
    static const TDeviceDescription Description;
    TFT_Intelligent();

    void PreparePort() override;
    void SimStart() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

protected:
    // For the extension: its own description, no ports yet.
    explicit TFT_Intelligent(const TDeviceDescription& description);
    // Sends the command and reads one answer when it is there.
    virtual void Exchange(TCate& cate);

    TFT_IntelligentDOutPort* m_motors = nullptr;
    TFT_IntelligentDInPort* m_inputs = nullptr;
    TFT_IntelligentAInPort* m_analog = nullptr;

private:
    uint32_t m_lastExchange = 0; // tick count
};

class TFT_IntelligentExtension : public TFT_Intelligent {
public:
    TV_CLASS_NAME(TFT_IntelligentExtension)
    static const TDeviceDescription Description;
    TFT_IntelligentExtension();

protected:
    void Exchange(TCate& cate) override;

private:
    TFT_IntelligentExtensionDOutPort* m_extensionMotors = nullptr;
    TFT_IntelligentExtensionDInPort* m_extensionInputs = nullptr;
};
