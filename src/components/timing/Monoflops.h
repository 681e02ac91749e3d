#pragma once
// Monoflops, timed in real time, and the switch-on/switch-off delay, counted in 50-ms ticks.

#include "core/model/GrundBT.h"

#include <cstdint>

// What both monoflops share: the falling-edge trigger on "|E", the low-active reset "/RST",
// retriggering, the outputs "/Q" and "Q", and a running pulse kept in the state file.
class TBTMonoFlopBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMonoFlopBase)

    bool Triggered = false;
    bool PrevTrigger = false;  // level of "|E" in the last step, kept from run to run
    int64_t PulseStart = 0;    // performance counter
    bool Retrigger = true;

    void SimReset() override;  // outputs idle ("/Q" high, "Q" low), not triggered
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    // A pulse that ran when the last run stopped starts again with its full duration.
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    explicit TBTMonoFlopBase(const TComponentDescription& description);
    // The input index of "/RST".
    virtual int ResetInput() const = 0;
    // True while a pulse goes on after `seconds`.
    virtual bool PulseGoesOn(Extended seconds) const = 0;
    // Takes the duration of this step from the inputs (where one sets it).
    virtual void TakeDuration() {}
    // Height of the pulse mark's base line.
    virtual int PulseBase() const = 0;
};

// Monoflop with a duration set in its dialog.
class TBTMonoFlop : public TBTMonoFlopBase {
public:
    TV_CLASS_NAME(TBTMonoFlop)
    TBTMonoFlop();
    static const TComponentDescription Description;

    Extended Duration = 1.0L;  // seconds

    int EditProperties() override;
    // Integer 0, retrigger, duration. Files before version 40 held the duration in 50-ms units
    // in the Integer and no retrigger.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override;

protected:
    int ResetInput() const override { return 1; }
    bool PulseGoesOn(Extended seconds) const override { return Duration > seconds; }
    int PulseBase() const override { return Body.Top + 40; }
};

// Monoflop whose duration in seconds is the value at "T", read in every step.
class TBTMonoFlopDyn : public TBTMonoFlopBase {
public:
    TV_CLASS_NAME(TBTMonoFlopDyn)
    TBTMonoFlopDyn();
    static const TComponentDescription Description;

    int32_t DurationMs = 0;

    int EditProperties() override;
    void WriteData(TWriter& writer) override;  // the retrigger option
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    int ResetInput() const override { return 2; }
    bool PulseGoesOn(Extended seconds) const override { return DurationMs > seconds * 1000.0L; }
    void TakeDuration() override;
    int PulseBase() const override { return CenterY() - 40; }
};

// "Out" follows "In" OnDelay ticks after a rising edge and OffDelay ticks after a falling one;
// each edge restarts the count, so a shorter input pulse never reaches the output.
class TBTOnOffDelay : public TGrundBT {
public:
    TV_CLASS_NAME(TBTOnOffDelay)
    TBTOnOffDelay();
    static const TComponentDescription Description;

    static constexpr int32_t MaxDelay = 9999;

    bool Direction = false;  // true while a switch-on is pending
    int32_t OnDelay = 0;     // ticks of 50 ms
    int32_t OffDelay = 0;
    int32_t TickCount = 0;
    bool PrevInput = false;

    void SimReset() override;  // "Out" := "In"; direction and previous level stay
    void Calculate() override;
    void ClockTick() override;
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    // Both delays; stored values outside 0 .. 9999 are brought into that range.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
};
