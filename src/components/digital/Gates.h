#pragma once
// Combinational logic gates: the inverter and the AND, NAND, OR, NOR and odd-parity gates with
// 2 to 16 inputs. No state, no stream data beyond the component record, no front-panel element.

#include "core/model/GrundBT.h"

// What the gates share: unnamed inputs, however many, one output and the symbol colour of
// their marks.
class TBTGate : public TGrundBT {
public:
    TV_CLASS_NAME(TBTGate)

    void NameInputs() override;   // every input unnamed
    // The input-count dialog ("2" to "16"); returns its modal result.
    int EditProperties() override;

protected:
    explicit TBTGate(const TComponentDescription& description);

    // Number of inputs that read high; every input is read.
    int HighInputCount() const
    {
        int high = 0;
        for (int i = 0; i < InputCount; ++i)
            high += GetInputDigital(i) ? 1 : 0;
        return high;
    }
    // The short slanted stroke at the output edge that marks a negated output.
    void DrawNegationStroke(TCanvas& canvas) const;
    // "1" with ">" over "=": greater-or-equal one (OR, NOR).
    void DrawOrMark(TCanvas& canvas) const;
};

class TBTInverter : public TBTGate {
public:
    TV_CLASS_NAME(TBTInverter)
    TBTInverter();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    int EditProperties() override; // no settings: 0
};

class TBTAnd : public TBTGate {
public:
    TV_CLASS_NAME(TBTAnd)
    TBTAnd();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

class TBTNand : public TBTGate {
public:
    TV_CLASS_NAME(TBTNand)
    TBTNand();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

class TBTOr : public TBTGate {
public:
    TV_CLASS_NAME(TBTOr)
    TBTOr();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

class TBTNor : public TBTGate {
public:
    TV_CLASS_NAME(TBTNor)
    TBTNor();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

// Odd parity: high when an odd number of inputs read high (the exclusive OR for two inputs).
class TBTExor : public TBTGate {
public:
    TV_CLASS_NAME(TBTExor)
    TBTExor();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};
