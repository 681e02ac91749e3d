#pragma once
// Flip-flops: the plain RS flip-flop, the level-clocked RS flip-flop, the transparent D latch
// and the master-slave RS, JK and D flip-flops with low-active asynchronous set and reset.
//
// This unit also holds TBTSequential, what the storing components (flip-flops, counters,
// registers, shift registers) share: words spread over pins.

#include "core/model/GrundBT.h"

#include <cstdint>
#include <vector>

class TBTSequential : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSequential)

protected:
    explicit TBTSequential(const TComponentDescription& description);

    // The number on inputs first .. first+width-1, the first input being bit 0.
    int32_t ReadWord(int first, int width) const
    {
        int32_t v = 0;
        for (int k = 0; k < width; ++k)
            if (GetInputDigital(first + k))
                v |= int32_t(1) << k;
        return v;
    }
    // The low width bits of value on outputs first .. first+width-1, most significant first.
    void WriteWord(int first, int width, int32_t value)
    {
        const uint32_t bits = static_cast<uint32_t>(value);
        for (int k = 0; k < width; ++k)
            SetOutputDigital(first + width - 1 - k, ((bits >> k) & 1u) != 0);
    }

    // Every output low.
    void ClearOutputs()
    {
        for (int i = 0; i < OutputCount; ++i)
            SetOutputDigital(i, false);
    }

};

// What every flip-flop shares: the state, the two complementary outputs ("/Q" first, then "Q")
// and the state key "Q"; a run starts, and a state file without the key loads, with the
// class's initial state.
class TBTFlipFlop : public TBTSequential {
public:
    TV_CLASS_NAME(TBTFlipFlop)
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    TBTFlipFlop(const TComponentDescription& description, bool initialState)
        : TBTSequential(description), InitialState(initialState)
    {
    }
    // "Q" := q, "/Q" := not q.
    void ShowState(bool q)
    {
        SetOutputDigital(1, q);
        SetOutputDigital(0, !q);
    }

    bool State = false; // the level of "Q"
    const bool InitialState;
};

// Master-slave flip-flops: the clock level of the last step and the asynchronous inputs "/S"
// (input 0) and "/R" (last input), both active low, reset winning. The clock is input 2.
class TBTMasterSlaveFF : public TBTFlipFlop {
public:
    TV_CLASS_NAME(TBTMasterSlaveFF)
    void Paint(TCanvas& canvas) override; // the clock wedge at input 2
    // The internal flags return to their initial values with the state.
    void SimReset() override;
    // "/S" and "/R" override; otherwise the class takes its inputs on the rising clock edge
    // and shows its new state on the falling one. The outputs are written only on a change.
    void Calculate() override;
    // The internal flags are kept beside "Q"; a loaded state is shown at once, because
    // Calculate writes the outputs only on a change.
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    using TBTFlipFlop::TBTFlipFlop;

    // An internal flag, its key in the state file and its initial value.
    struct TMemoryFlag {
        const char* key;
        bool* flag;
        bool initial;
    };
    virtual std::vector<TMemoryFlag> Memory() = 0;
    // What "/S" (q true) or "/R" (q false) does to the internal flags besides the state.
    virtual void Preset(bool) {}
    // The data inputs at the rising clock edge.
    virtual void TakeInputs() = 0;
    // The state the falling clock edge shows.
    virtual bool NextState() const = 0;

    bool PrevClock = false; // clock level of the last step; a run start leaves it alone
};

class TBTRSFF : public TBTFlipFlop {
public:
    TV_CLASS_NAME(TBTRSFF)
    TBTRSFF();
    static const TComponentDescription Description;
    void Calculate() override;
};

// Level-clocked RS flip-flop: "1S" and "1R" act while "C1" is high; both high hold.
class TBTRSFFZ : public TBTFlipFlop {
public:
    TV_CLASS_NAME(TBTRSFFZ)
    TBTRSFFZ();
    static const TComponentDescription Description;
    void Calculate() override;
};

// Transparent D latch: Q follows "1D" while "C1" is high.
class TBTDFFZ : public TBTFlipFlop {
public:
    TV_CLASS_NAME(TBTDFFZ)
    TBTDFFZ();
    static const TComponentDescription Description;
    void Calculate() override;
};

// Master-slave RS: the master takes "1S"/"1R" on the rising edge, Q shows it on the falling one.
class TBTRSFFF : public TBTMasterSlaveFF {
public:
    TV_CLASS_NAME(TBTRSFFF)
    TBTRSFFF();
    static const TComponentDescription Description;

private:
    std::vector<TMemoryFlag> Memory() override;
    void Preset(bool q) override { Master = q; }
    void TakeInputs() override;
    bool NextState() const override { return Master; }
    bool Master = false;
};

// Master-slave JK: J and K are taken on the rising edge and act on the falling one.
class TBTJKFF : public TBTMasterSlaveFF {
public:
    TV_CLASS_NAME(TBTJKFF)
    TBTJKFF();
    static const TComponentDescription Description;

private:
    std::vector<TMemoryFlag> Memory() override;
    void TakeInputs() override;
    // J alone sets, K alone resets, both toggle, neither holds.
    bool NextState() const override { return J != K ? J : (J ? !State : State); }
    bool J = false;
    bool K = false;
};

// Master-slave D: "1D" is taken on the rising edge and shown on the falling one.
class TBTDFFF : public TBTMasterSlaveFF {
public:
    TV_CLASS_NAME(TBTDFFF)
    TBTDFFF();
    static const TComponentDescription Description;

private:
    std::vector<TMemoryFlag> Memory() override;
    void TakeInputs() override;
    bool NextState() const override { return Master; }
    bool Master = false;
};
