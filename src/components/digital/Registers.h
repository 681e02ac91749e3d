#pragma once
// Parallel registers and transparent latches of 2, 4, 8 and 16 bits with a low-active reset.
// A register samples its data on the rising clock edge and shows them on the following falling
// edge; a latch passes its data through while its clock is high. Both keep their value from one
// run to the next in the component state file.

#include "components/digital/FlipFlops.h"

// Inputs "/RST", the clock, "D0" ...; outputs "Q<width-1>" ... "Q0".
class TBTRegisterBase : public TBTSequential {
public:
    TV_CLASS_NAME(TBTRegisterBase)

    void Paint(TCanvas& canvas) override;

protected:
    TBTRegisterBase(const TComponentDescription& description, bool edgeTriggered);

    const int m_width;  // data inputs and Q outputs
    int32_t Value = 0; // shown on the Q outputs

private:
    bool m_edgeTriggered;
};

// Edge-triggered register: samples on the rising edge, shows on the falling one.
class TBTEdgeRegister : public TBTRegisterBase {
public:
    TV_CLASS_NAME(TBTEdgeRegister)
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    explicit TBTEdgeRegister(const TComponentDescription& description)
        : TBTRegisterBase(description, true)
    {
    }

private:
    bool PrevClock = false; // clock level of the last step; a run start leaves it alone
    int32_t Sampled = 0;    // taken at the last rising edge
};

// Transparent latch: follows the data while the clock is high, holds while it is low.
class TBTLatch : public TBTRegisterBase {
public:
    TV_CLASS_NAME(TBTLatch)
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;

protected:
    explicit TBTLatch(const TComponentDescription& description)
        : TBTRegisterBase(description, false)
    {
    }
};

class TBTREG2 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG2)
    TBTREG2();
    static const TComponentDescription Description;
};

class TBTREG4 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG4)
    TBTREG4();
    static const TComponentDescription Description;
};

class TBTREG8 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG8)
    TBTREG8();
    static const TComponentDescription Description;
};

class TBTREG16 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG16)
    TBTREG16();
    static const TComponentDescription Description;
};

class TBTREG2_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG2_T)
    TBTREG2_T();
    static const TComponentDescription Description;
};

class TBTREG4_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG4_T)
    TBTREG4_T();
    static const TComponentDescription Description;
};

class TBTREG8_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG8_T)
    TBTREG8_T();
    static const TComponentDescription Description;
};

class TBTREG16_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG16_T)
    TBTREG16_T();
    static const TComponentDescription Description;
};
