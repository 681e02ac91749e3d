#pragma once
// The plastic lamp component: its input voltage goes to the lamp element in every step; the
// symbol shows the lamp's colour while component states are shown.

#include "components/panel/PanelComponent.h"

class TBTLampe : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTLampe)
    TBTLampe();
    static const TComponentDescription Description;

    int32_t LastColor = -1;  // plastic colour last drawn on the symbol

    void Calculate() override;
    void Paint(TCanvas& canvas) override;
    void PaintPinStates(TCanvas& canvas) override;

private:
    int32_t ElementColor() const;
};
