#include "components/system/HotkeySender.h"

#include "frontpanel/FrontPanel.h"

const TComponentDescription TBTHotkey_Senden::Description{
    .Name = "TBTHotkey_Senden", .Prefix = {"HKS"}, .HelpContext = 18868,
    .TypeName = {"Hotkey senden", "Send Hotkey", "Envoi\rtouche raccourci"}, .Inputs = {1},
    .Outputs = {0}, .InputNames = "|SND", .Category = TPaletteCategory::Hotkeys};

TBTHotkey_Senden::TBTHotkey_Senden() : THotkeyBlock(Description) {}

void TBTHotkey_Senden::Calculate()
{
    const bool level = GetInputDigital(0);
    if (level == m_lastLevel)
        return;
    m_lastLevel = level;
    TFrontplatte* panel = Frontplatte();
    if (!panel)
        return;
    const uint8_t shift = Hotkey->ShiftState & (hsShift | hsAlt | hsCtrl);
    if (level)
        panel->FormKeyUp(Hotkey->Key, shift);
    else
        panel->FormKeyDown(Hotkey->Key, shift);
}
