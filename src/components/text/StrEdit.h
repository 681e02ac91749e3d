#pragma once
// The text input: the text accepted in its front-panel text input, on its "$" output from the
// moment it is accepted.

#include "components/panel/PanelComponent.h"

class TBTStrEdit : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTStrEdit)
    TBTStrEdit();
    static const TComponentDescription Description;

    void SimReset() override;
    // Takes the element's accepted text onto the output.
    void TakeText();
};
