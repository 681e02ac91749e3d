#pragma once
// Math functions (one of 36, chosen in the settings) and the polynomial of degree 0 to 15
// whose coefficients are inputs.

#include "core/model/GrundBT.h"

#include <QStringList>

// x to the power y as both blocks compute it: a whole exponent up to 2147483647 in magnitude
// by repeated squaring (x^0 is 1, negative bases work, the reciprocal for a negative
// exponent), any other exponent as e^(y ln x), 0 for x = 0. A failed power (0 to a negative
// whole power, a negative base with a fractional exponent, overflow) is not finite.
Extended GeneralPower(Extended x, Extended y);

class TBTMath : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMath)
    TBTMath();
    static const TComponentDescription Description;

    static constexpr int FunctionCount = 36;
    // The function names in index order, as stored and shown.
    static const QStringList& FunctionNames();

    uint8_t FunctionIndex = 0;  // 0 .. 35

    // Stores the function and gives the block the pins it takes.
    void SetFunction(int index);

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    // A function index outside the list is refused as a stream error.
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    // A function whose arithmetic fails (a domain error, 1/0, overflow) ends the step there:
    // outputs not yet written keep their values.
    void Calculate() override;
    void NameInputs() override;
    void NameOutputs() override;
};

// "Y" = C0 + C1 X + ... + Cn X^n; 1e99 when the sum leaves the number range.
class TBTPolynom : public TGrundBT {
public:
    TV_CLASS_NAME(TBTPolynom)
    TBTPolynom();
    static const TComponentDescription Description;

    static constexpr int MaxDegree = 15;
    static constexpr Extended OverflowResult = 1e99L;

    int Degree() const { return InputCount - 2; }

    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    void Calculate() override;
    void NameInputs() override;
};
