#pragma once
// Bidirectional shift registers of 4, 8 and 16 bits, each also with parallel load. They shift on
// the falling clock edge and take the bit shifted in (and the parallel data) as sampled in the
// step before the edge, so that a chain on one clock moves one place per edge whatever order
// the board steps it in. The contents survive from one run to the next in the component state
// file.

#include "components/digital/FlipFlops.h"

// Inputs "|CK", "/RST", "L/R", "DL", "DR" (then "/LD", "D0" ... on loadable members); outputs
// "Q<width-1>" ... "Q0".
class TBTShiftRegisterBase : public TBTSequential {
public:
    TV_CLASS_NAME(TBTShiftRegisterBase)

    void Paint(TCanvas& canvas) override;
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    explicit TBTShiftRegisterBase(const TComponentDescription& description);

private:
    const int m_width;      // Q outputs
    const bool m_loadable;  // "/LD" and the data inputs
    bool PrevClock = false; // clock level of the last step; a run start leaves it alone
    bool SampleL = false;   // "DL" at the last sampling step
    bool SampleR = false;   // "DR" at the last sampling step
    int32_t Contents = 0;
    int32_t ParallelSample = 0; // loadable members: the data inputs at the last sampling step
};

class TBTSREG : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREG)
    TBTSREG();
    static const TComponentDescription Description;
};

class TBTSREG8 : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREG8)
    TBTSREG8();
    static const TComponentDescription Description;
};

class TBTSREG16 : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREG16)
    TBTSREG16();
    static const TComponentDescription Description;
};

class TBTSREGL : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREGL)
    TBTSREGL();
    static const TComponentDescription Description;
};

class TBTSREGL8 : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREGL8)
    TBTSREGL8();
    static const TComponentDescription Description;
};

class TBTSREGL16 : public TBTShiftRegisterBase {
public:
    TV_CLASS_NAME(TBTSREGL16)
    TBTSREGL16();
    static const TComponentDescription Description;
};
