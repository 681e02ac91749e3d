#pragma once
// Arithmetic blocks: sum, difference, product and quotient of 2 to 16 input values.

#include "core/model/GrundBT.h"

// What the four blocks share: pins "E0" ... and "A", the symbol character and the output
// reset.
class TBTArithmetic : public TGrundBT {
public:
    TV_CLASS_NAME(TBTArithmetic)

    void SimReset() override;     // output 0 := 0.0
    // The input-count dialog ("2" to "16"); returns its modal result.
    int EditProperties() override;

protected:
    explicit TBTArithmetic(const TComponentDescription& description);
    // The block symbol with the operation's character in its middle.
    void PaintSymbol(TCanvas& canvas, const QString& symbol);
};

class TBTAdd : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTAdd)
    TBTAdd();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

class TBTSub : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTSub)
    TBTSub();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

class TBTMul : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTMul)
    TBTMul();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
};

// A zero divisor gives 1e12 instead of a quotient.
class TBTDiv : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTDiv)
    TBTDiv();
    static const TComponentDescription Description;
    void Paint(TCanvas& canvas) override;
    void Calculate() override;

    static constexpr Extended DivisionByZeroResult = 1e12L;
};
