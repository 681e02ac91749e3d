#pragma once
// The ELV converter cards ADA8 and ADA16-2 on the PC bus: eight analogue outputs and eight
// analogue inputs each, reached by port I/O at a base address. The channels are served
// round-robin across the steps; a conversion runs between steps on the program's clock, so no
// step waits for the card.

#include "hardware/cards/StepDeadline.h"
#include "hardware/framework/IoInterface.h"

#include <memory>

// --- ADA8: 8-bit converters, 0 .. 2.55 V ---------------------------------------------------------

namespace ada8 {
constexpr uint16_t kResult = 0;  // write 0: start a conversion; read: the result
constexpr uint16_t kDaData = 2;  // the D/A data byte
constexpr uint16_t kControl = 3; // bits 0..2 D/A channel, 3..5 A/D channel, 6 D/A latch
constexpr uint8_t kLatch = 0x40;
// The control byte with the D/A channel, or the A/D multiplexer channel, put in.
constexpr uint8_t WithDaChannel(uint8_t control, int channel)
{
    return uint8_t((control & 0xF8) | (channel & 7));
}
constexpr uint8_t WithAdChannel(uint8_t control, int channel)
{
    return uint8_t((control & 0xC7) | ((channel * 8) & 0x38));
}
} // namespace ada8

// One D/A channel every two steps: the value with the latch bit raised, the latch lowered in
// the next step.
class TADA8AOutPort : public TAOutPort {
public:
    TV_CLASS_NAME(TADA8AOutPort)
    TADA8AOutPort();
    uint8_t Channel = 0;
    bool LatchPhase = false;
    // The card's control byte, shared with the card's input port (the last value written).
    std::shared_ptr<uint8_t> Control = std::make_shared<uint8_t>(0);
    void SimStart() override;
    void MachEsJetzt() override;
};

// One A/D channel after the other: multiplexer, start after the settling time, result after
// the conversion time.
class TADA8AInPort : public TAInPort {
public:
    TV_CLASS_NAME(TADA8AInPort)
    TADA8AInPort();
    uint8_t Channel = 0;
    std::shared_ptr<uint8_t> Control = std::make_shared<uint8_t>(0);
    void SimStart() override;
    void MachEsJetzt() override;

    static constexpr double kSettleMs = 0.1;
    static constexpr double kConversionMs = 0.3;

private:
    enum class TPhase : uint8_t { Select, Start, Read };
    TPhase m_phase = TPhase::Select;
    TStepDeadline m_due;
};

class TADA8 : public TIOInterface {
public:
    TV_CLASS_NAME(TADA8)
    static const TDeviceDescription Description;
    TADA8();

    int32_t GrantPortAccess() override;
    void SimStart() override;
    void getKonfigData() override;
    void ApplySettings() override;
};

// --- ADA16-2: 12-bit D/A, A/D of 9 to 16 bits with sign and overrange -----------------------------

namespace ada16 {
constexpr uint16_t kStartLow = 0;   // write: resolution x 16 + channel starts; read: low byte
constexpr uint16_t kHighDaLow = 1;  // read: result high byte; write: D/A low byte
constexpr uint16_t kStatusDaHigh = 2; // read: status; write: channel x 16 + D/A high nibble
constexpr uint8_t kFinished = 0x01;
constexpr uint8_t kOverrange = 0x02;
constexpr uint8_t kPositive = 0x04;
// The largest raw value of resolution code 0..7 (16 down to 9 bits).
constexpr uint16_t RawMaximum(int code) { return uint16_t(0xFFFF >> code); }
} // namespace ada16

class TADA162AOutPort : public TAOutPort {
public:
    TV_CLASS_NAME(TADA162AOutPort)
    TADA162AOutPort();
    uint8_t Channel = 0;
    void SimStart() override;
    void MachEsJetzt() override;
};

class TADA162AInPort : public TAInPort {
public:
    TV_CLASS_NAME(TADA162AInPort)
    TADA162AInPort();
    uint8_t Resolution = 0;
    uint8_t Channel = 0;
    bool Converting = false;
    uint8_t Status = 0;
    // Resolution code 0..7 (16 down to 9 bits): the raw range of every AD pin.
    void SetResolution(int32_t code);
    void SimStart() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

    // The card is asked for its status no earlier than this after the first start of a run,
    // and after each following start.
    static constexpr double kFirstConversionMs = 2.0;
    static constexpr double kConversionMs = 1.0;

private:
    void StartConversion(double ms);
    TStepDeadline m_due;
};

class TADA162 : public TIOInterface {
public:
    TV_CLASS_NAME(TADA162)
    static const TDeviceDescription Description;
    TADA162();

    int32_t ResolutionChoice = 0;
    QStringList ResolutionList;

    int32_t GrantPortAccess() override;
    void SimStart() override;
    void getKonfigData() override;
    void ApplySettings() override;

private:
    TADA162AInPort& Input() const;
};
