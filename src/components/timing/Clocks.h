#pragma once
// Square-wave sources: the fast clock of a fixed frequency and the voltage-controlled clock,
// both timed in real time, and the adjustable slow clock timed by the board's 50-ms tick.

#include "core/model/GrundBT.h"

#include <cstdint>

// Fast clock: a fixed frequency of 1 to 1000 Hz. The n-th level change falls due n half
// periods after the reset; a step changes the level at most once.
class TBTHiTakt : public TGrundBT {
public:
    TV_CLASS_NAME(TBTHiTakt)
    TBTHiTakt();
    static const TComponentDescription Description;

    static constexpr int32_t MinFrequency = 1;
    static constexpr int32_t MaxFrequency = 1000;

    bool Level = false;
    int32_t Frequency = 1000;    // Hz
    int32_t ChangeNumber = 1;    // number of the next change, counted from the reference time
    int64_t ReferenceTime = 0;   // performance counter

    void SimReset() override;
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    // The component record, then the frequency; a stored frequency outside 1 .. 1000 Hz is
    // brought into that range.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override;  // adds "f = <frequency> Hz"
};

// Adjustable slow clock: the input "f" sets the half period in 50-ms ticks (10 × f, 1 .. 10000);
// the level changes on the tick after the limit is passed.
class TBTTaktgeber_ES : public TGrundBT {
public:
    TV_CLASS_NAME(TBTTaktgeber_ES)
    TBTTaktgeber_ES();
    static const TComponentDescription Description;

    bool Level = false;      // kept from run to run
    int32_t TickLimit = 1;   // 1 .. 10000
    int32_t TickCount = 0;

    void SimReset() override;   // counts ticks from 0; the level stays
    void Calculate() override;  // writes the level, takes the limit from "f"
    void ClockTick() override;
    void Paint(TCanvas& canvas) override;
};

// Voltage-controlled clock: the value at "f" is the frequency in hertz (0.001 .. 1000); below
// 0.001 the clock stops and holds its level. A change of frequency keeps the phase grid.
class TBTVCO : public TGrundBT {
public:
    TV_CLASS_NAME(TBTVCO)
    TBTVCO();
    static const TComponentDescription Description;

    static constexpr Extended MinFrequency = 0.001L;
    static constexpr Extended MaxFrequency = 1000.0L;

    bool Level = false;
    Extended Frequency = 1000.0L;  // in use; kept from run to run
    int64_t LastChange = 0;        // performance counter

    void SimReset() override;
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};
