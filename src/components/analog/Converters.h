#pragma once
// The A/D converter (a value to a binary code of 2 to 16 bits on digital outputs) and the
// D/A converter (the levels on 2 to 16 digital inputs to a value), over a settable range.

#include "core/model/GrundBT.h"

// What the two converters share: the range, the code step, the record, the hint, the
// symbol and the settings dialog.
class TBTConverter : public TGrundBT {
public:
    TV_CLASS_NAME(TBTConverter)

    static constexpr int MinBits = 2;
    static constexpr int MaxBits = 16;

    Extended Maximum = 5.0L;
    Extended Minimum = 0.0L;
    Extended Step = 0.0L;  // value of one code unit; computed by SimReset

    // The code width: the ADC's output count, the DAC's input count.
    virtual int Bits() const = 0;
    virtual void SetBits(int bits) = 0;

    // Step := (Maximum - Minimum) / (2^bits - 1); a changed range or width takes effect at
    // the next start.
    void SimReset() override;
    int EditProperties() override;
    // Adds the range and the code range "0000h ... 00FFh".
    QString GetHint() const override;
    // The component record, then Minimum and Maximum as 10 raw bytes each.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    explicit TBTConverter(const TComponentDescription& description);
    // The block symbol with "A/D" or "D/A" (French: the second text) above the centre.
    void PaintSymbol(TCanvas& canvas, const char* text, const char* frenchText);
};

// A zero step (minimum equal to maximum) gives code 0 instead of a division by zero.
class TBTADC : public TBTConverter {
public:
    TV_CLASS_NAME(TBTADC)
    TBTADC();
    static const TComponentDescription Description;

    int Bits() const override { return OutputCount; }
    void SetBits(int bits) override { SetOutputCount(bits); }

    // The code of the input value, clamped to the range, rounded half to even; the first
    // output is the most significant bit.
    void Calculate() override;
    void NameOutputs() override;  // "D(bits-1)" ... "D0"
    void Paint(TCanvas& canvas) override;

    // The code Calculate puts out for a value (0 while the step is 0).
    uint16_t CodeOf(Extended value) const;
};

class TBTDAC : public TBTConverter {
public:
    TV_CLASS_NAME(TBTDAC)
    TBTDAC();
    static const TComponentDescription Description;

    int Bits() const override { return InputCount; }
    void SetBits(int bits) override { SetInputCount(bits); }

    // Output := code of the high inputs (D0 least significant) times Step plus Minimum.
    void Calculate() override;
    void Paint(TCanvas& canvas) override;
};
