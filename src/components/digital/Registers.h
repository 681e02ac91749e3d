#pragma once
// Parallel registers and transparent latches of 2, 4, 8 and 16 bits with a low-active reset.
// A register samples its data on the rising clock edge and shows them on the following falling
// edge; a latch passes its data through while its clock is high. Both keep their value from one
// run to the next in the component state file.

#include "components/digital/FlipFlops.h"

// What tells the members apart.
struct TRegisterKind {
    int Width;
    const char* Prefix;
    const char* TypeName[3]; // German, English, French
    const char* Caption[3];
};

// Inputs "/RST", the clock, "D0" ...; outputs "Q<width-1>" ... "Q0".
class TBTRegisterBase : public TBTSequential {
public:
    TV_CLASS_NAME(TBTRegisterBase)

    void Paint(TCanvas& canvas) override;
    void NameInputs() override;
    void NameOutputs() override;
    QString GetTypeName() const override;

protected:
    TBTRegisterBase(const TRegisterKind& kind, bool edgeTriggered);
    // The caption of the current language.
    QString Caption() const;

    const TRegisterKind& m_kind;
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
    explicit TBTEdgeRegister(const TRegisterKind& kind) : TBTRegisterBase(kind, true) {}

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
    explicit TBTLatch(const TRegisterKind& kind) : TBTRegisterBase(kind, false) {}
};

class TBTREG2 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG2)
    TBTREG2();
};

class TBTREG4 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG4)
    TBTREG4();
};

class TBTREG8 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG8)
    TBTREG8();
};

class TBTREG16 : public TBTEdgeRegister {
public:
    TV_CLASS_NAME(TBTREG16)
    TBTREG16();
};

class TBTREG2_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG2_T)
    TBTREG2_T();
};

class TBTREG4_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG4_T)
    TBTREG4_T();
};

class TBTREG8_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG8_T)
    TBTREG8_T();
};

class TBTREG16_T : public TBTLatch {
public:
    TV_CLASS_NAME(TBTREG16_T)
    TBTREG16_T();
};
