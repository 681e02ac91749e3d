#pragma once
// Keyboard shortcuts of front-panel elements and the hotkey receiver: a digit, a letter or the
// space bar with Shift, Alt and Ctrl. Key codes are the virtual-key codes the project files
// store ("0".."9" = 48..57, "A".."Z" = 65..90, space = 32).

#include <QString>
#include <QStringList>
#include <QtCore/qnamespace.h>
#include <cstdint>
#include <functional>

class QKeyEvent;
class TReader;
class TWriter;

// Bits of the shift-state byte that key handlers pass: modifiers in bits 0..2, the mouse
// buttons and the double-click flag in bits 3..6.
enum : uint8_t {
    hsShift = 0x01,
    hsAlt = 0x02,
    hsCtrl = 0x04,
    hsLeft = 0x08,
    hsRight = 0x10,
    hsMiddle = 0x20,
    hsDouble = 0x40,
};

class THotkey;
using THotkeyEvent = std::function<void(THotkey* Sender)>;

class THotkey {
public:
    THotkey() = default;

    bool Pressed = false;      // between a matching press and the next release
    THotkeyEvent OnPress;
    THotkeyEvent OnRelease;
    uint16_t Key = 0;          // virtual-key code; 0: no key, never fires
    uint8_t ShiftState = 0;    // hsShift | hsAlt | hsCtrl
    int32_t Action = 0;        // index in the owner's list of action names (-1: none chosen)

    // A press of `key` with the whole shift-state byte `shift`.
    void KeyDown(uint16_t key, uint8_t shift);
    // A release of `key`; the shift state is not compared.
    void KeyUp(uint16_t key);

    void WriteData(TWriter& writer) const;
    void ReadData(TReader& reader);
};

// Number of entries of the key-name list.
constexpr int HotkeyKeyCount = 38;
// The key-name list of every hotkey row: "Kein" (translated), " < 0 >" .. " < 9 >",
// " < A >" .. " < Z >", "<SPC>".
QStringList HotkeyKeyNames();
// List index -> key code (0 for an index outside the list).
uint16_t HotkeyIndexToKey(int index);
// Key code -> list index (0 for a key that is not a digit, a letter or space).
int KeyToHotkeyIndex(int key);

// --- Key events of the windows ---------------------------------------------------------
// The virtual-key code of a Qt key (Qt::Key_*); keypad digits and operators (with
// Qt::KeypadModifier) give the numeric-pad codes. 0 for a key without one.
uint16_t QtKeyToVirtualKey(int qtKey, bool keypad = false);
// The virtual-key code of a key event; the digit row counts as digits also when Shift turns
// it into a symbol.
uint16_t VirtualKeyFromKeyEvent(const QKeyEvent& event);
// The shift-state byte of keyboard modifiers and held mouse buttons.
uint8_t ShiftStateByte(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// Passes a key press or release to the hotkey (KeyDown / KeyUp). The release half of an
// auto-repeat pair is dropped, so holding a key is one press and one release.
void DispatchHotkeyEvent(THotkey& hotkey, const QKeyEvent& event);
