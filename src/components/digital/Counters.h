#pragma once
// Synchronous up/down counters that advance on the falling clock edge: binary counters of 4, 8
// and 16 bits and a 4-bit decade counter, each also with parallel load except the 4-bit decade
// counter without load. Every counter but the 4-bit loadable binary one keeps its count from one
// run to the next in the component state file.

#include "components/digital/FlipFlops.h"

// Inputs "|CK", "/RST", "U/D", "/ENT", "/ENP" (then "/LD", "D0" ... on loadable counters);
// outputs "/RCO" (high at the terminal count, one step late), then the count, "Q0" last.
class TBTCounterBase : public TBTSequential {
public:
    TV_CLASS_NAME(TBTCounterBase)

    void Paint(TCanvas& canvas) override;
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    // max: the largest count, above which the count wraps to 0; keepsCount: the count is kept
    // in the component state file. The width and the parallel load follow from the pins.
    TBTCounterBase(const TComponentDescription& description, int32_t max, bool keepsCount);

private:
    const int32_t m_max;
    const int m_width;       // Q outputs
    const bool m_loadable;   // "/LD" and the data inputs
    const bool m_keepsCount;
    bool PrevClock = false; // clock level of the last step; a run start leaves it alone
    bool Carry = false;     // put on "/RCO" in the next step
    int32_t Count = 0;
};

class TBTCNT4 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT4)
    TBTCNT4();
    static const TComponentDescription Description;
};

class TBTCNT8 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT8)
    TBTCNT8();
    static const TComponentDescription Description;
};

class TBTCNT16 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT16)
    TBTCNT16();
    static const TComponentDescription Description;
};

class TBTCNT4D : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNT4D)
    TBTCNT4D();
    static const TComponentDescription Description;
};

class TBTCNTLD : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTLD)
    TBTCNTLD();
    static const TComponentDescription Description;
};

// The one counter whose count starts at 0 in every run.
class TBTCNTL : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL)
    TBTCNTL();
    static const TComponentDescription Description;
};

class TBTCNTL8 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL8)
    TBTCNTL8();
    static const TComponentDescription Description;
};

class TBTCNTL16 : public TBTCounterBase {
public:
    TV_CLASS_NAME(TBTCNTL16)
    TBTCNTL16();
    static const TComponentDescription Description;
};
