#pragma once
// The plastic lamp element: a lamp widget filling the element whose colour follows a voltage.
// The lamp component passes its input in every step (SetIstSpannung): from 0 to half the
// nominal voltage the lamp glows at 30 % of its base colour, up to the nominal voltage it
// grows to the full colour, and above it lightens evenly until its brightest channel reaches
// 255 at twice the nominal voltage.

#include "frontpanel/FP_Element.h"

#include <cstdint>

class TITemboLED;

class TPLampe : public TFP_Element {
public:
    FP_CLASS_NAME(TPLampe)

    explicit TPLampe(QWidget* owner = nullptr);
    ~TPLampe() override;

    bool Eingeschaltet = false;
    Extended NennSpannung = 5.0L;
    Extended IstSpannung = 5.0L;
    int32_t GrundFarbe = 0x0000FF;   // colour at the nominal voltage
    TITemboLED* Lampe = nullptr;     // owned child filling the element

    void SetIstSpannung(Extended x);
    // Stores the nominal voltage and recolours the lamp for the voltage last applied.
    void SetNennSpannung(Extended x);
    void SetEingeschaltet(bool on);
    // The colour the lamp shows at voltage x (magnitude, limited to twice the nominal).
    int32_t ColorAt(Extended x) const;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Extended m_last = 0.0L;  // the voltage the colour was last computed for
};
