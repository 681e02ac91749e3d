#pragma once
// Pieces the input elements share: hotkeys that run an element's actions, the common rows of
// their settings dialogs, and the snapshot picture they publish.

#include <QStringList>

#include <cstdint>
#include <functional>

class TDefault_Dlg;
class TFP_Element;
class TPropScrollbox;

// Adds `count` hotkeys to the element; each runs onAction with its action number.
void AddActionHotkeys(TFP_Element& element, int count, const std::function<void(int32_t)>& onAction);

// The shared settings dialog, captioned with the element's hint and set to the help context.
TDefault_Dlg& ElementDialog(TFP_Element& element, int helpContext);
// The colour row "Hintergrund", only when the element has a background of its own (not the
// panel's, not transparent). Returns whether the row was added.
bool AddBackgroundRow(TFP_Element& element, TPropScrollbox& sheet, int32_t& background);
// The band "Hotkeys" with a row per hotkey offering the action names, then the band
// "Optionen" with the hint and, in edit mode, "Zur Laufzeit einstellbar".
void AddHotkeyAndOptionRows(TFP_Element& element, TPropScrollbox& sheet, const QStringList& actionNames);

// The snapshot picture of an element with one area over the whole element that refreshes it.
void WriteWholeElementImageMap(TFP_Element& element, QStringList& lines);
