#include "ui/Hotkey.h"

#include "platform/Context.h"
#include "platform/Filer.h"

#include <QGuiApplication>
#include <QKeyEvent>

void THotkey::KeyDown(uint16_t key, uint8_t shift)
{
    if (Key == 0 || Pressed || key != Key || shift != ShiftState)
        return;
    Pressed = true;
    if (OnPress)
        OnPress(this);
}

void THotkey::KeyUp(uint16_t key)
{
    if (Key == 0 || !Pressed || key != Key)
        return;
    Pressed = false;
    if (OnRelease)
        OnRelease(this);
}

// The Booleans stand in the order Shift, Ctrl, Alt (not the bit order).
void THotkey::WriteData(TWriter& writer) const
{
    writer.WriteInteger(Key);
    writer.WriteBoolean(ShiftState & hsShift);
    writer.WriteBoolean(ShiftState & hsCtrl);
    writer.WriteBoolean(ShiftState & hsAlt);
    writer.WriteInteger(Action);
}

void THotkey::ReadData(TReader& reader)
{
    Key = static_cast<uint16_t>(reader.ReadInteger());
    uint8_t shift = 0;
    if (reader.ReadBoolean())
        shift |= hsShift;
    if (reader.ReadBoolean())
        shift |= hsCtrl;
    if (reader.ReadBoolean())
        shift |= hsAlt;
    ShiftState = shift;
    Action = reader.ReadInteger();
}

QStringList HotkeyKeyNames()
{
    QStringList names;
    names.reserve(HotkeyKeyCount);
    names << Lang3Q("Kein", "None", "Aucun");
    for (char c = '0'; c <= '9'; ++c)
        names << QStringLiteral(" < %1 >").arg(QChar(c));
    for (char c = 'A'; c <= 'Z'; ++c)
        names << QStringLiteral(" < %1 >").arg(QChar(c));
    names << QStringLiteral("<SPC>");
    return names;
}

uint16_t HotkeyIndexToKey(int index)
{
    if (index == 37)
        return 32;
    if (index >= 1 && index <= 10)
        return static_cast<uint16_t>(index + 47);
    if (index >= 11 && index <= 36)
        return static_cast<uint16_t>(index + 54);
    return 0;
}

int KeyToHotkeyIndex(int key)
{
    if (key == 32)
        return 37;
    if (key >= 65 && key <= 90)
        return key - 54;
    if (key >= 48 && key <= 57)
        return key - 47;
    return 0;
}

// --- Key events ----------------------------------------------------------------------------

namespace {

struct TKeyCode {
    int qtKey;
    uint16_t vk;
};

// Qt keys and the virtual-key codes of the same keys. Letters, digits and function keys are
// computed; the rest is listed.
constexpr TKeyCode kKeyTable[] = {
    {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},        {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},      {Qt::Key_Return, 0x0D},     {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},    {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},   {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},       {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},         {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},     {Qt::Key_Printer, 0x2A},    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},      {Qt::Key_Insert, 0x2D},     {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},       {Qt::Key_Meta, 0x5B},       {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},    {Qt::Key_Menu, 0x5D},       {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},      {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},      {Qt::Key_Period, 0xBE},     {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},  {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_Less, 0xE2},
    {Qt::Key_Greater, 0xE2},
};

// Keys of the numeric pad (with the keypad modifier).
constexpr TKeyCode kKeypadTable[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
    {Qt::Key_Enter, 0x0D},
};

// The digit row as X11/evdev key codes report it: "1".."9" are 10..18, "0" is 19. Used when
// Shift has turned a digit key into a symbol that depends on the keyboard layout.
uint16_t DigitRowKey(quint32 scanCode)
{
    if (scanCode >= 10 && scanCode <= 18)
        return static_cast<uint16_t>('1' + (scanCode - 10));
    if (scanCode == 19)
        return '0';
    return 0;
}

} // namespace

uint16_t QtKeyToVirtualKey(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<uint16_t>(keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint16_t>(0x70 + (qtKey - Qt::Key_F1));
    if (keypad) {
        for (const TKeyCode& k : kKeypadTable)
            if (k.qtKey == qtKey)
                return k.vk;
    }
    for (const TKeyCode& k : kKeyTable)
        if (k.qtKey == qtKey)
            return k.vk;
    return 0;
}

uint16_t VirtualKeyFromKeyEvent(const QKeyEvent& event)
{
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const int key = event.key();
    const bool plain = (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
    if (!plain && !keypad) {
        if (const uint16_t digit = DigitRowKey(event.nativeScanCode()))
            return digit;
    }
    return QtKeyToVirtualKey(key, keypad);
}

uint8_t ShiftStateByte(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    uint8_t shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        shift |= hsShift;
    if (modifiers.testFlag(Qt::AltModifier))
        shift |= hsAlt;
    if (modifiers.testFlag(Qt::ControlModifier))
        shift |= hsCtrl;
    if (buttons.testFlag(Qt::LeftButton))
        shift |= hsLeft;
    if (buttons.testFlag(Qt::RightButton))
        shift |= hsRight;
    if (buttons.testFlag(Qt::MiddleButton))
        shift |= hsMiddle;
    return shift;
}

void DispatchHotkeyEvent(THotkey& hotkey, const QKeyEvent& event)
{
    const uint16_t key = VirtualKeyFromKeyEvent(event);
    if (event.type() == QEvent::KeyPress) {
        hotkey.KeyDown(key, ShiftStateByte(event.modifiers(), QGuiApplication::mouseButtons()));
    } else if (event.type() == QEvent::KeyRelease) {
        // Auto-repeat arrives as release/press pairs; only the real release ends the press.
        if (!event.isAutoRepeat())
            hotkey.KeyUp(key);
    }
}
