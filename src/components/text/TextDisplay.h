#pragma once
// The text display: shows the text at its "$" input on a front-panel text display.

#include "components/panel/InputText.h"
#include "components/panel/PanelComponent.h"

class TBTStrDisplay : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTStrDisplay)
    TBTStrDisplay();
    static const TComponentDescription Description;

    void Paint(TCanvas& canvas) override;
    void Calculate() override;
    void SimReset() override;

private:
    TInputText m_inputText;
};
