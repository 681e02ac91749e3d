#pragma once
// Synchronous up/down counters that advance on the falling clock edge: binary counters of 4, 8
// and 16 bits and a 4-bit decade counter, each also with parallel load except the 4-bit decade
// counter without load. Every counter but the 4-bit loadable binary one keeps its count from one
// run to the next in the component state file.

#include "components/digital/FlipFlops.h"

// What tells the eight counters apart.
struct TCounterKind {
    int32_t Max;           // largest count; the count wraps to 0 above it
    int Width;             // Q outputs
    bool Loadable;         // "/LD" and the data inputs
    bool KeepsCount;       // count in the component state file
    const char* Prefix;
    const char* TypeName[3];  // German, English, French
    const char* Caption[3];
};

// Inputs "|CK", "/RST", "U/D", "/ENT", "/ENP" (then "/LD", "D0" ... on loadable counters);
// outputs "/RCO" (high at the terminal count, one step late), then the count, "Q0" last.
class TBTCounterBase : public TBTSequential {
public:
    TV_CLASS_NAME(TBTCounterBase)

    void Paint(TCanvas& canvas) override;
    void NameInputs() override;
    void NameOutputs() override;
    QString GetTypeName() const override;
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    explicit TBTCounterBase(const TCounterKind& kind);

private:
    const TCounterKind& m_kind;
    bool PrevClock = false; // clock level of the last step; a run start leaves it alone
    bool Carry = false;     // put on "/RCO" in the next step
    int32_t Count = 0;
};

class TBTCNT4 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT4)
    TBTCNT4();
};

class TBTCNT8 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT8)
    TBTCNT8();
};

class TBTCNT16 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT16)
    TBTCNT16();
};

class TBTCNT4D : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT4D)
    TBTCNT4D();
};

class TBTCNTLD : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTLD)
    TBTCNTLD();
};

// The one counter whose count starts at 0 in every run.
class TBTCNTL : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL)
    TBTCNTL();
};

class TBTCNTL8 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL8)
    TBTCNTL8();
};

class TBTCNTL16 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL16)
    TBTCNTL16();
};
