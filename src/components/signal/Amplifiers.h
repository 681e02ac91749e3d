#pragma once
// The amplifier with gain and offset from inputs, the set gain and offset blocks, the random
// value and the supply (a constant high level).

#include "components/signal/SignalSupport.h"

#include <random>

// "Out" := "Off" + "In" x "A", with "A" limited to +-1e12 and the rest to +-1e20.
class TBTVerstaerker : public TGrundBT {
public:
    TV_CLASS_NAME(TBTVerstaerker)
    TBTVerstaerker();
    static const TComponentDescription Description;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};

// Output := input x Gain.
class TBTGain : public TBTSettingBlock {
public:
    TV_CLASS_NAME(TBTGain)
    TBTGain();
    static const TComponentDescription Description;

    Extended& Gain = Setting;  // 1.0 at creation

    void Paint(TCanvas& canvas) override;
    void Calculate() override;

protected:
    QString SettingCaption() const override;
};

// Output := input + Offset.
class TBTOffset : public TBTSettingBlock {
public:
    TV_CLASS_NAME(TBTOffset)
    TBTOffset();
    static const TComponentDescription Description;

    Extended& Offset = Setting;  // 0.0 at creation

    void Paint(TCanvas& canvas) override;
    void Calculate() override;

protected:
    QString SettingCaption() const override;
};

// A new random value in every fifth step: analog on "A" in [RangeMin, RangeMax), or a whole
// number from RangeMin to RangeMax on binary outputs "B(n-1)" ... "B0". The generator is
// seeded from the clock at every run start.
class TBTRandom : public TGrundBT {
public:
    TV_CLASS_NAME(TBTRandom)
    TBTRandom();
    static const TComponentDescription Description;

    bool Digital = false;
    int32_t RangeMin = 0;
    int32_t RangeMax = 1;
    uint32_t StepCount = 0;  // steps since the last value, 0 .. 4
    std::mt19937_64 Generator;

    // The binary outputs a range up to max needs: 1 up to 1, one more per halving above 1.
    static int BitsFor(int32_t max);
    // Gives the block the outputs of its mode and range.
    void ApplyMode();

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
    void NameOutputs() override;
};

// A high output (5.0) from the start of every run; no designator.
class TBTVcc : public TGrundBT {
public:
    TV_CLASS_NAME(TBTVcc)
    TBTVcc();
    static const TComponentDescription Description;

    void Paint(TCanvas& canvas) override;
    void SimReset() override;
};
