#pragma once
// One hexadecimal digit, "0" to "F", centred in a small lowered panel.

#include "frontpanel/FP_Element.h"

#include <cstdint>

class THexDisplay : public TFP_Element {
public:
    FP_CLASS_NAME(THexDisplay)

    explicit THexDisplay(QWidget* owner = nullptr);

    int32_t Stand = 0;
    int32_t ZeichenFarbe = 0x00FF00;
    QChar Shown = QLatin1Char('0');  // the character drawn last

    // Stores and repaints (also when unchanged). A value outside 0..15 keeps the digit shown.
    void SetStand(int32_t v);
    void SetZeichenFarbe(int32_t c);
    // The character for Stand, or the one shown last for a value outside 0..15.
    QChar Character() const;

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }
    Extended AspectRatio() const override { return 0; }
};
