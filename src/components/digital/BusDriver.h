#pragma once
// Bus components of selectable width (2, 4, 8 or 16 lines): the digital bus driver, which
// passes its data lines through while enabled and drives 0.0 V while disabled, and the address
// decoder, whose chip-select output is high while the address lies in a hexadecimal range.

#include "core/model/GrundBT.h"

class TBTBustreiber : public TGrundBT {
public:
    TV_CLASS_NAME(TBTBustreiber)
    TBTBustreiber();
    static const TComponentDescription Description;

    // Rebuilds the pins for width index 0 .. 3: bits + 1 inputs, bits outputs.
    void SetWidth(int index);
    // The width index of the present input count (any unknown count gives 2).
    int WidthIndex() const;

    void NameInputs() override;   // "D0" ... "D(n-1)", "EN" last
    void NameOutputs() override;  // output j is "D" (n - 1 - j)
    void SimReset() override;     // every output at 0.0 V
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    // Drop-down row of the channel count; the pins follow the row whatever the result.
    int EditProperties() override;
    // Pin counts other than one of the four widths are refused as invalid data.
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;

private:
    // Every output at the physical low level, inverted or not.
    void DriveLow();
};

class TBTAdressdekoder : public TGrundBT {
public:
    TV_CLASS_NAME(TBTAdressdekoder)
    TBTAdressdekoder();
    static const TComponentDescription Description;

    int32_t RangeLow = 0;   // 0 .. 65535 after the dialog
    int32_t RangeHigh = 0;

    // Rebuilds the pins for width index 0 .. 3: bits address inputs, output "CS".
    void SetWidth(int index);
    int WidthIndex() const;

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    int EditProperties() override;
    // The component record, then range low and range high as raw 32-bit integers.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    // An address width other than one of the four is refused as invalid data.
    void CheckStoredPins(int32_t inputs, int32_t outputs) const override;
    QString GetHint() const override; // adds "h" low " - h" high in hexadecimal
};

// 16-bit value of the last four characters of a text read as hexadecimal digits (upper or
// lower case); any other character counts as digit 0 but keeps its place; empty gives 0.
uint16_t HexTextToWord(const QString& text);
