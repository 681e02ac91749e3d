#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/Hotkey.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QKeyEvent>

namespace {

class HotkeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        hotkey.OnPress = [this](THotkey* sender) {
            EXPECT_EQ(sender, &hotkey);
            ++presses;
        };
        hotkey.OnRelease = [this](THotkey* sender) {
            EXPECT_EQ(sender, &hotkey);
            ++releases;
        };
    }

    THotkey hotkey;
    int presses = 0;
    int releases = 0;
};

TEST_F(HotkeyTest, PressMatchesKeyAndWholeShiftByte)
{
    struct Case {
        const char* name;
        uint16_t key;       // the hotkey's key
        uint8_t shift;      // the hotkey's shift state
        uint16_t pressed;   // key pressed
        uint8_t pressedShift;
        bool fires;
    };
    const Case cases[] = {
        {"Ctrl+A on Ctrl+A", 'A', hsCtrl, 'A', hsCtrl, true},
        {"Ctrl+A on Ctrl+Shift+A", 'A', hsCtrl, 'A', hsCtrl | hsShift, false},
        {"Ctrl+A on A alone", 'A', hsCtrl, 'A', 0, false},
        {"Ctrl+A on Ctrl+Alt+A", 'A', hsCtrl, 'A', hsCtrl | hsAlt, false},
        {"Ctrl+A on Ctrl+B", 'A', hsCtrl, 'B', hsCtrl, false},
        {"Ctrl+A with the left mouse button held", 'A', hsCtrl, 'A', hsCtrl | hsLeft, false},
        {"A on A", 'A', 0, 'A', 0, true},
        {"A on Shift+A", 'A', 0, 'A', hsShift, false},
        {"Shift+Alt+Ctrl+5", '5', hsShift | hsAlt | hsCtrl, '5', hsShift | hsAlt | hsCtrl, true},
        {"Alt+space", ' ', hsAlt, ' ', hsAlt, true},
        {"no key never fires", 0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hotkey.Key = c.key;
        hotkey.ShiftState = c.shift;
        hotkey.Pressed = false;
        presses = releases = 0;

        hotkey.KeyDown(c.pressed, c.pressedShift);
        EXPECT_EQ(presses, c.fires ? 1 : 0);
        EXPECT_EQ(hotkey.Pressed, c.fires);

        hotkey.KeyUp(c.pressed);
        EXPECT_EQ(releases, c.fires ? 1 : 0);
        EXPECT_FALSE(hotkey.Pressed);
    }
}

TEST_F(HotkeyTest, PressAndReleaseAreReportedOncePerKeystroke)
{
    hotkey.Key = 'A';
    hotkey.ShiftState = hsCtrl;

    hotkey.KeyUp('A'); // no press before: nothing
    EXPECT_EQ(releases, 0);

    for (int i = 0; i < 5; ++i) // auto-repeat
        hotkey.KeyDown('A', hsCtrl);
    EXPECT_EQ(presses, 1);

    hotkey.KeyUp('B'); // another key's release does not end the press
    EXPECT_TRUE(hotkey.Pressed);

    hotkey.KeyUp('A'); // Ctrl was let go first: the release still counts
    hotkey.KeyUp('A');
    EXPECT_EQ(releases, 1);
    EXPECT_FALSE(hotkey.Pressed);

    hotkey.KeyDown('A', hsCtrl); // the next keystroke presses again
    EXPECT_EQ(presses, 2);
}

TEST_F(HotkeyTest, StreamRecordRoundTripsEveryModifierCombination)
{
    for (uint8_t shift = 0; shift < 8; ++shift) {
        SCOPED_TRACE(int(shift));
        THotkey written;
        written.Key = 'Q';
        written.ShiftState = shift;
        written.Action = shift == 0 ? -1 : 300;
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        TWriter writer(buffer);
        written.WriteData(writer);

        buffer.seek(0);
        TReader reader(buffer);
        THotkey read;
        read.ReadData(reader);
        EXPECT_EQ(read.Key, 'Q');
        EXPECT_EQ(read.ShiftState, shift);
        EXPECT_EQ(read.Action, written.Action);
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST_F(HotkeyTest, StreamRecordStoresShiftCtrlAltInThatOrder)
{
    // Shift and Alt set: the Booleans read true (Shift), false (Ctrl), true (Alt).
    hotkey.Key = 'Z';
    hotkey.ShiftState = hsShift | hsAlt;
    hotkey.Action = 2;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    hotkey.WriteData(writer);
    const QByteArray expected = QByteArray::fromHex("025a" "09" "08" "09" "0202");
    EXPECT_EQ(buffer.data().toHex(), expected.toHex());

    buffer.seek(0);
    TReader reader(buffer);
    THotkey read;
    read.ReadData(reader);
    EXPECT_EQ(read.ShiftState, 3);
}

TEST_F(HotkeyTest, KeyNameListAndIndexConversions)
{
    struct Case {
        int index;
        uint16_t key;
        const char* name;
    };
    const Case cases[] = {
        {1, '0', " < 0 >"}, {10, '9', " < 9 >"}, {11, 'A', " < A >"},
        {36, 'Z', " < Z >"}, {37, ' ', "<SPC>"},
    };
    const QStringList names = HotkeyKeyNames();
    ASSERT_EQ(names.size(), HotkeyKeyCount);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(HotkeyIndexToKey(c.index), c.key);
        EXPECT_EQ(KeyToHotkeyIndex(c.key), c.index);
        EXPECT_EQ(names.at(c.index), QString::fromLatin1(c.name));
    }
    // Every entry maps to a key and back.
    for (int index = 1; index < HotkeyKeyCount; ++index)
        EXPECT_EQ(KeyToHotkeyIndex(HotkeyIndexToKey(index)), index) << index;

    // Entry 0 and everything outside the list mean no key; a key that is not a digit, a
    // letter or space shows as entry 0 and is stored back as 0.
    for (int index : {0, -1, 38, 1000})
        EXPECT_EQ(HotkeyIndexToKey(index), 0) << index;
    for (int key : {0, 13, 47, 58, 64, 91, 97, 0x70, 0xFFFF})
        EXPECT_EQ(HotkeyIndexToKey(KeyToHotkeyIndex(key)), 0) << key;

    const char* none[] = {"Kein", "None", "Aucun"};
    for (uint8_t language = 0; language < 3; ++language) {
        Ctx().CurrentLanguage = language;
        EXPECT_EQ(HotkeyKeyNames().at(0), QString::fromLatin1(none[language]));
    }
}

TEST_F(HotkeyTest, QtKeyEventsTranslateToVirtualKeyCodes)
{
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        quint32 scanCode;
        uint16_t vk;
        uint8_t shift;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::ControlModifier, 0, 'A', hsCtrl},
        {Qt::Key_Z, Qt::ShiftModifier | Qt::AltModifier, 0, 'Z', hsShift | hsAlt},
        {Qt::Key_7, Qt::NoModifier, 0, '7', 0},
        {Qt::Key_Space, Qt::NoModifier, 0, 32, 0},
        {Qt::Key_7, Qt::KeypadModifier, 0, 0x67, 0},
        {Qt::Key_Plus, Qt::KeypadModifier, 0, 0x6B, 0},
        {Qt::Key_F1, Qt::NoModifier, 0, 0x70, 0},
        {Qt::Key_F12, Qt::NoModifier, 0, 0x7B, 0},
        {Qt::Key_Return, Qt::NoModifier, 0, 0x0D, 0},
        {Qt::Key_Escape, Qt::NoModifier, 0, 0x1B, 0},
        {Qt::Key_Delete, Qt::NoModifier, 0, 0x2E, 0},
        {Qt::Key_Left, Qt::NoModifier, 0, 0x25, 0},
        {Qt::Key_Down, Qt::NoModifier, 0, 0x28, 0},
        {Qt::Key_Home, Qt::NoModifier, 0, 0x24, 0},
        {Qt::Key_PageDown, Qt::NoModifier, 0, 0x22, 0},
        // Shift turns the digit row into layout-dependent symbols; the key is still the digit.
        {Qt::Key_Exclam, Qt::ShiftModifier, 10, '1', hsShift},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 19, '0', hsShift},
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, 11, '2', hsShift},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0, 0, hsShift},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.qtKey);
        const QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers, c.scanCode, 0, 0);
        EXPECT_EQ(VirtualKeyFromKeyEvent(event), c.vk);
        EXPECT_EQ(ShiftStateByte(event.modifiers(), Qt::NoButton), c.shift);
    }
    EXPECT_EQ(ShiftStateByte(Qt::ControlModifier, Qt::LeftButton | Qt::MiddleButton),
              hsCtrl | hsLeft | hsMiddle);
    EXPECT_EQ(ShiftStateByte(Qt::NoModifier, Qt::RightButton), hsRight);
}

TEST_F(HotkeyTest, KeyEventsDriveTheHotkeyWithAutoRepeatAsOnePress)
{
    hotkey.Key = 'A';
    hotkey.ShiftState = hsCtrl;
    const auto send = [this](QEvent::Type type, Qt::KeyboardModifiers mods, bool repeat) {
        const QKeyEvent event(type, Qt::Key_A, mods, QString(), repeat);
        DispatchHotkeyEvent(hotkey, event);
    };
    send(QEvent::KeyPress, Qt::ShiftModifier | Qt::ControlModifier, false);
    EXPECT_EQ(presses, 0);

    send(QEvent::KeyPress, Qt::ControlModifier, false);
    for (int i = 0; i < 3; ++i) { // the window system's auto-repeat pairs
        send(QEvent::KeyRelease, Qt::ControlModifier, true);
        send(QEvent::KeyPress, Qt::ControlModifier, true);
    }
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(releases, 0);

    send(QEvent::KeyRelease, Qt::NoModifier, false);
    EXPECT_EQ(releases, 1);
    EXPECT_FALSE(hotkey.Pressed);
}

} // namespace
