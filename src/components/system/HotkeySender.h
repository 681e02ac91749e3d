#pragma once
// Hotkey sender: the circuit presses a key combination on the front panel while "|SND" is low
// and releases it when "|SND" goes high, as if the user held the key: elements with that
// hotkey and hotkey receivers react to it.

#include "components/core/CoreComponents.h"

class TBTHotkey_Senden : public THotkeyBlock {
public:
    TV_CLASS_NAME(TBTHotkey_Senden)
    TBTHotkey_Senden();
    static const TComponentDescription Description;

    void Calculate() override;

private:
    // Low when the component is made; kept from one run to the next.
    bool m_lastLevel = false;
};
