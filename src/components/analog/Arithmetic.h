#pragma once
// Arithmetic blocks: sum, difference, product and quotient of 2 to 16 input values.

#include "core/model/GrundBT.h"

// What the four blocks share: pins "E0" ... and "A", the symbol character, the output reset
// and the check of a stored record.
class TBTArithmetic : public TGrundBT {
public:
    TV_CLASS_NAME(TBTArithmetic)

    void SimReset() override;     // output 0 := 0.0
    void NameInputs() override;   // "E0", "E1" ...
    void NameOutputs() override;  // "A"
    // The component record; a record without an input or with another output count than one
    // is refused as invalid data instead of being stepped.
    void ReadData(TReader& reader, uint8_t version) override;
    // The input-count dialog ("2" to "16"); returns its modal result.
    int EditProperties() override;

protected:
    TBTArithmetic(const char* prefix, int32_t helpContext);
    // The block symbol with the operation's character in its middle.
    void PaintSymbol(TCanvas& canvas, const QString& symbol);
    // The type name for language 0, 1 or 2; empty for any other language value.
    static QString TypeNameByLanguage(const char* german, const char* english,
                                      const char* french);
};

class TBTAdd : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTAdd)
    TBTAdd();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

class TBTSub : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTSub)
    TBTSub();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

class TBTMul : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTMul)
    TBTMul();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;
};

// A zero divisor gives 1e12 instead of a quotient.
class TBTDiv : public TBTArithmetic {
public:
    TV_CLASS_NAME(TBTDiv)
    TBTDiv();
    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    QString GetTypeName() const override;

    static constexpr Extended DivisionByZeroResult = 1e12L;
};
