#pragma once
// Small blocks that produce, compare, hold and switch values: the fixed value, the analog
// comparator, sample-and-hold, the two relays and the threshold trigger. None has hysteresis:
// every comparison is taken afresh in each step.

#include "components/signal/SignalSupport.h"

// A constant on its output, written once at the start of a run (so that fixed values on one
// net add up like other value outputs); a value changed during a run counts from the next.
class TBTFest : public TBTSettingBlock {
public:
    TV_CLASS_NAME(TBTFest)
    TBTFest();
    static const TComponentDescription Description;

    Extended& FixValue = Setting;  // 1.0 at creation

    void Paint(TCanvas& canvas) override;
    void SimReset() override;

protected:
    QString SettingCaption() const override;
};

// "A<B", "A=B" (exact equality) and "A>B" of the input values.
class TBTAnalogVgl : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAnalogVgl)
    TBTAnalogVgl();
    static const TComponentDescription Description;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
};

// "A" follows "E" while "/Hld" is high and holds the last value while it is low. The held
// value survives a run in the component state file.
class TBTSample : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSample)
    TBTSample();
    static const TComponentDescription Description;

    Extended Held = 0.0L;

    void Paint(TCanvas& canvas) override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
    void Calculate() override;
    void SimReset() override;
};

// The relay outline both relays show.
class TBTRelayBase : public TGrundBT {
public:
    TV_CLASS_NAME(TBTRelayBase)
    void Paint(TCanvas& canvas) override;

protected:
    explicit TBTRelayBase(const TComponentDescription& description);
};

// "A" is "E1" while "SEL" is high, else "E0".
class TBTRelais : public TBTRelayBase {
public:
    TV_CLASS_NAME(TBTRelais)
    TBTRelais();
    static const TComponentDescription Description;
    void Calculate() override;
};

// "E" goes to "A1" while "SEL" is high, else to "A0"; the other output is 0.
class TBTRelais_2 : public TBTRelayBase {
public:
    TV_CLASS_NAME(TBTRelais_2)
    TBTRelais_2();
    static const TComponentDescription Description;
    enum { OutA1, OutA0 };
    void Calculate() override;
};

// "A" is high while "E" is above the threshold.
class TBTTrigger : public TBTSettingBlock {
public:
    TV_CLASS_NAME(TBTTrigger)
    TBTTrigger();
    static const TComponentDescription Description;

    Extended& Threshold = Setting;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;  // "A" low

protected:
    QString SettingCaption() const override;
};
