#pragma once
// The linear transfer elements of control engineering in real time: first-order lag (PT1),
// second-order lag (PT2) and lagged differentiator (DT1). Their time is the clock time between
// computed steps, or a fixed sample time.

#include "components/analog/Filter.h"
#include "components/analog/SampleTime.h"
#include "core/model/GrundBT.h"

#include <initializer_list>
#include <utility>

// What the three share: the sample-time setting and its dialog row, the stream record, the
// time base, the symbol frame with the element's curve.
class TBTTransferElement : public TGrundBT {
public:
    TV_CLASS_NAME(TBTTransferElement)

    TSampleTime Sampling;
    int64_t LastCount = 0;  // clock reading of the time base

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    explicit TBTTransferElement(const TComponentDescription& description);
    // The block symbol, the curve in red and the black frame.
    void PaintCurve(TCanvas& canvas, std::initializer_list<std::pair<int, int>> points);
};

// Y = P * state; state follows X with the time constant 1 / "1/T1".
class TBTPT1 : public TBTTransferElement {
public:
    TV_CLASS_NAME(TBTPT1)
    TBTPT1();
    static const TComponentDescription Description;

    Extended Value = 0.0L;

    // The state's bound with "Max".
    static constexpr Extended Limit = 1e12L;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

// y'' + 2 D W y' + W^2 y = W^2 P X with W = "1/T", integrated semi-implicitly.
class TBTPT2 : public TBTTransferElement {
public:
    TV_CLASS_NAME(TBTPT2)
    TBTPT2();
    static const TComponentDescription Description;

    Extended Value1 = 0.0L;  // rate state, y' / W
    Extended Value2 = 0.0L;  // output state, y

    // The states' bound with a fixed sample time.
    static constexpr Extended Limit = 1e20L;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};

// T1 y' + y = KD x' (backward Euler), the input through an optional low-pass filter. Its
// record carries the filter settings from DataVersion 1 on.
class TBTDT1 : public TBTTransferElement {
public:
    TV_CLASS_NAME(TBTDT1)
    TBTDT1();
    static const TComponentDescription Description;

    static constexpr int32_t CurrentDataVersion = 1;

    Extended Value = 0.0L;      // the output
    Extended LastInput = 0.0L;  // filtered input of the last computed step
    TFilter Filter;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void Calculate() override;
    void SimReset() override;
    void SaveSettings(TIniFile& ini, const QString& section) override;
    bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly) override;
};
