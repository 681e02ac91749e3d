#pragma once
// Small utility components: ground (one output held low), the step delay (a delay line of 1
// to 100 steps for levels and analog values) and the power-on reset (an output that goes low
// a little after the run's first step and returns high for good after about 100 ms).

#include "core/model/GrundBT.h"

#include <array>

class TBTMasse : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMasse)
    TBTMasse();
    static const TComponentDescription Description;

    void SimReset() override;     // output low
    void Calculate() override;    // nothing: the output keeps the reset's level
    void Paint(TCanvas& canvas) override;
};

class TBTVerzoegerung : public TGrundBT {
public:
    TV_CLASS_NAME(TBTVerzoegerung)
    TBTVerzoegerung();
    static const TComponentDescription Description;

    static constexpr int32_t RingSize = 100;
    static constexpr int32_t MinDelay = 1;
    static constexpr int32_t MaxDelay = RingSize;

    int32_t Delay = 1;          // steps, 1 .. 100
    int32_t WritePosition = 1;  // ring place written next, 1 .. 100
    std::array<Extended, RingSize> Ring{}; // places 1 .. 100 at indexes 0 .. 99

    void SimReset() override;     // empty ring, writing from place 1
    // The output carries the input level of `Delay` steps ago.
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    // The component record, then the delay as an Integer. A stored delay outside 1 .. 100
    // is clamped into that range: the ring has 100 places.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override; // adds "= " and the delay
};

class TBTPowerOnReset : public TGrundBT {
public:
    TV_CLASS_NAME(TBTPowerOnReset)
    TBTPowerOnReset();
    static const TComponentDescription Description;

    // Milliseconds after the first step after which the output goes low, and high for good.
    static constexpr uint32_t LowAfterMs = 10;
    static constexpr uint32_t HighAfterMs = 100;

    int32_t Started = 0;     // 1 once the first step took the start tick
    bool Active = false;     // still timing
    uint32_t StartTick = 0;  // tick count of the first step, milliseconds

    void SimReset() override;     // output high, timing from the next step
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};
