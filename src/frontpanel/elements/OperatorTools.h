#pragma once
// What the operator elements (knob, slider, hex selector, joystick, thumbwheel) share: their
// hotkeys, the common rows of their settings dialogs, the published page with an image map,
// the long-tick rule of their scales and the operating keys.

#include <QString>
#include <QStringList>

#include <functional>

class QKeyEvent;
class TElementRegistry;
class TFP_Element;
class TPropScrollbox;

namespace operator_tools {

constexpr int kHotkeyCount = 10;

// Adds the element's ten hotkeys; each passes its action number to the handlers.
void AddActionHotkeys(TFP_Element& element, const std::function<void(int)>& press,
                      const std::function<void(int)>& release = {});

// The group "Hotkeys" with one row per hotkey.
void AddHotkeyRows(TFP_Element& element, TPropScrollbox& sheet, const QStringList& actions);
// The group "Optionen": "Hintergrund" when `background` is given, "Hinweistext" and, in edit
// mode, "Zur Laufzeit einstellbar".
void AddOptionRows(TFP_Element& element, TPropScrollbox& sheet, int32_t* background);

// The element's page of the published front panel: title, head lines, a refresh every three
// seconds, the image map, foot lines.
void WriteMapElementPage(TFP_Element& element, QStringList& lines);
// Refreshes the element's picture and writes the picture line and the map's opening line.
void WriteMapPicture(TFP_Element& element, QStringList& lines);

// Scale ticks: whether tick `i` (from 0) is long. `sinceLong` counts the ticks since the last
// long one; start it at 0 before the first tick.
bool IsLongTick(int i, int start, int spacing, int& sinceLong);

// The operating keys of a focused element: Page Up, Page Down, End, Home; 0 for others.
enum TOperatingKey { okNone, okUp, okDown, okEnd, okHome };
TOperatingKey OperatingKeyOf(const QKeyEvent& event);

// The German caption through the translation table.
QString Tr(const char* german);

} // namespace operator_tools

// Registers the operator elements.
void RegisterOperatorElements(TElementRegistry& registry);
