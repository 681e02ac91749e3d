#include "platform/Colors.h"
#include "widgets/Application.h"
#include "widgets/ListBox.h"
#include "widgets/ScrollBox.h"
#include "widgets/FocusForm.h"

#include "widgets/SansFont.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace {

// A list box in an active window, with the focus.
struct ListForm {
    TFocusForm<TWLXExtListBox> form;
    TWLXExtListBox& box = *form.edit;
    explicit ListForm(const QStringList& items = {})
    {
        box.setFont(Sans());
        box.setGeometry(5, 5, 150, 120);
        box.SetItems(items);
        form.window.resize(220, 200);
        form.Focus();
    }
    void Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QWidget* target = box.Editor() ? static_cast<QWidget*>(box.Editor()) : &box;
        QTest::keyClick(target, Qt::Key(key), m);
        QApplication::processEvents();
    }
    void Type(const QString& text)
    {
        QTest::keyClicks(box.Editor(), text);
    }
    QImage Shot()
    {
        QApplication::processEvents();
        return box.viewport()->grab().toImage();
    }
};

QColor At(const QImage& image, QPoint p) { return image.pixelColor(p); }

} // namespace

// ---- in-place editor -----------------------------------------------------------------------

TEST(ListBoxEditorTest, EnterStoresEscAbandons)
{
    struct Case {
        const char* name;
        bool sorted;
        int current;
        int key;
        Qt::KeyboardModifiers mods;
        const char* typed;
        int endKey;
        QStringList after;
        int current_after;
    } cases[] = {
        {"F2 and Enter replace the item", false, 1, Qt::Key_F2, {}, "X", Qt::Key_Return, {"a", "X", "c"}, 1},
        {"Esc after F2 keeps the item", false, 1, Qt::Key_F2, {}, "X", Qt::Key_Escape, {"a", "b", "c"}, 1},
        {"Insert and Enter put the text before the current item", false, 1, Qt::Key_Insert, {}, "n",
         Qt::Key_Return, {"a", "n", "b", "c"}, 1},
        {"Esc after Insert removes the new item, the old current item stays", false, 1, Qt::Key_Insert, {},
         "n", Qt::Key_Escape, {"a", "b", "c"}, 1},
        {"Ctrl+Insert inserts after the current item", false, 1, Qt::Key_Insert, Qt::ControlModifier, "n",
         Qt::Key_Return, {"a", "b", "n", "c"}, 2},
        {"Ctrl+Insert without a current item inserts at the top", false, -1, Qt::Key_Insert,
         Qt::ControlModifier, "n", Qt::Key_Return, {"n", "a", "b", "c"}, 0},
        {"a sorted list takes the new text in order", true, 0, Qt::Key_Insert, {}, "bb", Qt::Key_Return,
         {"a", "b", "bb", "c"}, 2},
        {"F2 on a sorted list moves the edited text to its place", true, 0, Qt::Key_F2, {}, "z",
         Qt::Key_Return, {"b", "c", "z"}, 2},
        {"F2 without a current item appends the text", false, -1, Qt::Key_F2, {}, "d", Qt::Key_Return,
         {"a", "b", "c", "d"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListForm f({"a", "b", "c"});
        f.box.SetSorted(c.sorted);
        f.box.SetEditOptions(lboAllowEdit | lboAllowInsert | lboSelectText);
        f.box.SetItemIndex(c.current);
        int changed = -2;
        f.box.OnEditChange = [&](void*, int index) { changed = index; };
        f.Key(c.key, c.mods);
        ASSERT_NE(f.box.Editor(), nullptr);
        EXPECT_TRUE(f.box.Editor()->hasFocus());
        f.Type(QString::fromLatin1(c.typed));
        f.Key(c.endKey);
        EXPECT_EQ(f.box.Editor(), nullptr);
        EXPECT_EQ(f.box.Items(), c.after);
        EXPECT_EQ(f.box.ItemIndex(), c.current_after);
        EXPECT_EQ(changed, c.endKey == Qt::Key_Return ? c.current_after : -2);
        EXPECT_TRUE(f.box.hasFocus());
    }
}

TEST(ListBoxEditorTest, LeavingWhileInsertingKeepsTheEmptyItem)
{
    ListForm f({"a", "b"});
    f.box.SetEditOptions(lboAllowInsert);
    f.box.SetItemIndex(0);
    f.Key(Qt::Key_Insert);
    ASSERT_NE(f.box.Editor(), nullptr);
    f.form.Leave();
    EXPECT_EQ(f.box.Editor(), nullptr);
    EXPECT_EQ(f.box.Items(), (QStringList{"", "a", "b"}));
}

TEST(ListBoxEditorTest, RefusedOpeningsLeaveTheListAlone)
{
    ListForm f({"a", "b"});
    f.box.SetEditOptions(lboAllowInsert | lboAllowEdit);
    f.box.SetItemIndex(0);
    f.box.OnEditShow = [](void*, int, bool& cancel) { cancel = true; };
    f.Key(Qt::Key_Insert);
    EXPECT_EQ(f.box.Editor(), nullptr);
    EXPECT_EQ(f.box.Count(), 2);

    // A virtual list never edits; without the option the key is the list's own.
    f.box.OnEditShow = nullptr;
    f.box.SetVirtualMode(true);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.box.Editor(), nullptr);
    f.box.SetVirtualMode(false);
    f.box.SetEditOptions(0);
    f.Key(Qt::Key_Insert);
    EXPECT_EQ(f.box.Editor(), nullptr);
}

TEST(ListBoxEditorTest, EditorLiesOverTheItemAndTakesItsMeasuredHeight)
{
    ListForm f({"a", "b", "c"});
    f.box.SetEditOptions(lboAllowEdit | lboSelectText);
    f.box.SetItemIndex(2);
    f.box.OnEditMeasure = [](void*, int, int& h) { h += 3; };
    const TWLXRect item = f.box.ItemRect(2);
    f.Key(Qt::Key_F2);
    ASSERT_NE(f.box.Editor(), nullptr);
    EXPECT_EQ(f.box.Editor()->geometry(), QRect(item.Left, item.Top - 1, item.Right, item.Height() + 4));
    EXPECT_EQ(f.box.Editor()->textCursor().selectedText(), QStringLiteral("c"));
    // Tab stays in the editor and adds nothing.
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.box.Editor()->toPlainText(), QStringLiteral("c"));
    // A size change closes the editor without storing.
    f.box.resize(160, 120);
    QApplication::processEvents();
    EXPECT_EQ(f.box.Editor(), nullptr);
}

// ---- deleting ------------------------------------------------------------------------------

TEST(ListBoxTest, DeleteKeepsTheCurrentRow)
{
    struct Case {
        const char* name;
        QStringList items;
        int current;
        QStringList after;
        int currentAfter;
    } cases[] = {
        {"a middle item: the next one takes its row", {"a", "b", "c"}, 1, {"a", "c"}, 1},
        {"the last item: the new last one", {"a", "b", "c"}, 2, {"a", "b"}, 1},
        {"the only item: none", {"a"}, 0, {}, -1},
        {"no current item: nothing", {"a", "b"}, -1, {"a", "b"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListForm f(c.items);
        f.box.SetEditOptions(lboAllowDelete);
        f.box.SetItemIndex(c.current);
        f.Key(Qt::Key_Delete);
        EXPECT_EQ(f.box.Items(), c.after);
        EXPECT_EQ(f.box.ItemIndex(), c.currentAfter);
        EXPECT_EQ(f.box.SelCount(), c.currentAfter >= 0 ? 1 : 0);
    }
    ListForm multi({"a", "b", "c", "d"});
    multi.box.SetMultiSelect(true);
    multi.box.SetEditOptions(lboAllowDelete);
    multi.box.SetSelected(0, true);
    multi.box.SetSelected(2, true);
    multi.Key(Qt::Key_Delete);
    EXPECT_EQ(multi.box.Items(), (QStringList{"b", "d"}));
}

// ---- properties ----------------------------------------------------------------------------

TEST(ListBoxTest, PropertiesThatExcludeEachOther)
{
    TWLXExtListBox box;
    box.SetMultiLine(true);
    box.SetLargeTextOptions(TWLXListBoxLargeTextOptions::lbltEndEllipsis);
    EXPECT_FALSE(box.MultiLine());
    box.SetMultiLine(true);
    EXPECT_EQ(box.LargeTextOptions(), TWLXListBoxLargeTextOptions::lbltNone);

    box.SetMultiSelect(true);
    box.SetHideSelection(true);
    EXPECT_FALSE(box.HideSelection());

    box.SetItemAutoHeight(true);
    box.SetVirtualMode(true);
    EXPECT_EQ(box.Style(), TWLXListBoxStyle::lbVirtualOwnerDraw);
    box.SetVirtualMode(false);
    EXPECT_EQ(box.Style(), TWLXListBoxStyle::lbOwnerDrawVariable);
    box.SetItemAutoHeight(false);
    EXPECT_EQ(box.Style(), TWLXListBoxStyle::lbOwnerDrawFixed);
}

TEST(ListBoxTest, SortedAddingAndVirtualTexts)
{
    TWLXExtListBox box;
    box.SetSorted(true);
    for (const char* s : {"pump", "Motor", "valve", "motor"})
        box.AddItem(QString::fromLatin1(s));
    EXPECT_EQ(box.Items(), (QStringList{"Motor", "motor", "pump", "valve"}));

    box.SetVirtualMode(true);
    box.OnData = [](void*, int i) { return QStringLiteral("row %1").arg(i); };
    box.SetVirtualCount(3);
    EXPECT_EQ(box.GetItemText(2), QStringLiteral("row 2"));
}

TEST(ListBoxTest, ScrollRangeFollowsTheWidestItem)
{
    TWLXExtListBox box;
    box.setFont(Sans());
    box.SetLargeTextOptions(TWLXListBoxLargeTextOptions::lbltHorzScrollBar);
    box.AddItem(QStringLiteral("short"));
    const int shortWidth = box.MaxTextWidth();
    box.AddItem(QStringLiteral("a rather longer item text"));
    const int longWidth = box.MaxTextWidth();
    EXPECT_GT(longWidth, shortWidth);
    box.AddItem(QStringLiteral("mid"));
    EXPECT_EQ(box.MaxTextWidth(), longWidth);
    box.DeleteItem(1);
    EXPECT_EQ(box.MaxTextWidth(), shortWidth);
    box.Clear();
    EXPECT_EQ(box.MaxTextWidth(), 0);
}

// ---- painting ------------------------------------------------------------------------------

TEST(ListBoxTest, ItemsPaintTheirColoursAndMarks)
{
    ListForm f({"aaa", "bbb", "ccc"});
    f.box.SetSelectedColor(clRed);
    f.box.SetHorzGridLine(true);
    f.box.SetHorzGridColor(clBlue);
    f.box.SetItemIndex(1);
    QImage shot = f.Shot();
    const TWLXRect r1 = f.box.ItemRect(1);
    const TWLXRect r0 = f.box.ItemRect(0);
    EXPECT_EQ(At(shot, {r1.Right - 3, r1.Top + 3}), QColor(Qt::red));
    EXPECT_EQ(At(shot, {r0.Right - 3, r0.Top + 3}), TColorToQColor(clWindow));
    EXPECT_EQ(At(shot, {r0.Right - 3, r0.Bottom - 1}), QColor(Qt::blue));

    // Without the focus a hidden selection looks unselected.
    f.box.SetHideSelection(true);
    f.form.Leave();
    shot = f.Shot();
    EXPECT_EQ(At(shot, {r1.Right - 3, r1.Top + 3}), TColorToQColor(clWindow));

    // Disabled: every item in the disabled colour, no selection.
    f.box.SetHideSelection(false);
    f.box.SetDisabledColor(clSilver);
    f.box.setEnabled(false);
    shot = f.Shot();
    EXPECT_EQ(At(shot, {r1.Right - 3, r1.Top + 3}), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(At(shot, {r0.Right - 3, r0.Top + 3}), QColor(0xC0, 0xC0, 0xC0));
}

TEST(ListBoxTest, BeveledFocusMarksTheCurrentItem)
{
    ListForm f({"aaa", "bbb"});
    f.box.SetBeveledFocus(true);
    f.box.SetBevelFocusColor(0, clLime);
    f.box.SetBevelFocusColor(1, clFuchsia);
    f.box.SetItemIndex(0);
    const QImage shot = f.Shot();
    const TWLXRect r = f.box.ItemRect(0);
    EXPECT_EQ(At(shot, {r.Left, r.Top + 4}), QColor(0xFF, 0, 0xFF));
    EXPECT_EQ(At(shot, {r.Right - 1, r.Top + 4}), QColor(0, 0xFF, 0));
    f.box.SetHideFocus(true);
    EXPECT_NE(At(f.Shot(), {r.Left, r.Top + 4}), QColor(0xFF, 0, 0xFF));
}

TEST(ListBoxTest, LongItemsShowTheirTextInAHint)
{
    ListForm f({"a text far too long for this narrow list", "fits", "x"});
    f.box.resize(80, 100);
    f.box.SetLargeTextOptions(TWLXListBoxLargeTextOptions::lbltShowHint);
    f.box.SetItemIndex(2);
    const TWLXRect r0 = f.box.ItemRect(0), r1 = f.box.ItemRect(1);
    f.box.UpdateItemHint(QPoint(r0.Left + 5, r0.Top + 3));
    EXPECT_TRUE(f.box.ItemHintShowing());
    EXPECT_EQ(f.box.ItemHintText(), f.box.Item(0));
    f.box.UpdateItemHint(QPoint(r1.Left + 5, r1.Top + 3));
    EXPECT_FALSE(f.box.ItemHintShowing());
    // The current item never gets one.
    f.box.SetItemIndex(0);
    f.box.UpdateItemHint(QPoint(r0.Left + 5, r0.Top + 3));
    EXPECT_FALSE(f.box.ItemHintShowing());
    // An item exactly as wide as its rectangle gets one.
    f.box.SetItemIndex(2);
    f.box.resize(f.box.GetItemTextWidth(1) + 2 * f.box.frameWidth(), 100);
    QApplication::processEvents();
    ASSERT_EQ(f.box.ItemRect(1).Width(), f.box.GetItemTextWidth(1));
    f.box.UpdateItemHint(QPoint(r1.Left + 5, r1.Top + 3));
    EXPECT_TRUE(f.box.ItemHintShowing());
}

TEST(ListBoxTest, SelectingByMouseFiresOnSelect)
{
    ListForm f({"a", "b", "c"});
    int selects = 0;
    f.box.OnSelect = [&](void*) { ++selects; };
    f.box.SetItemIndex(0);
    EXPECT_EQ(selects, 0);
    const TWLXRect r = f.box.ItemRect(2);
    QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, QPoint(r.Left + 4, r.Top + 3));
    EXPECT_EQ(f.box.ItemIndex(), 2);
    EXPECT_GE(selects, 1);
}

// ---- scroll box ----------------------------------------------------------------------------

TEST(ScrollBoxTest, BorderRoomByBevelAndLook)
{
    TWLXCustomScrollBox box;
    EXPECT_EQ(box.BorderMargins(), QMargins(2, 2, 2, 2));
    box.SetCtl3D(false);
    EXPECT_EQ(box.BorderMargins(), QMargins(1, 1, 1, 1));
    box.SetCtl3D(true);
    SetThemesSupportedQuery([] { return true; });
    Application().InitThemeSupport();
    EXPECT_EQ(box.BorderMargins(), QMargins(1, 1, 1, 1));
    SetThemesSupportedQuery(nullptr);
    Application().InitThemeSupport();

    TWLXBevel custom;
    custom.SetMode(TWLXBevelMode::bmCustom);
    custom.SetStyleOuter(TWLXBevelStyle::bvRaised);
    custom.SetStyleInner(TWLXBevelStyle::bvLowered);
    custom.SetBorderWidth(1);
    box.SetBevel(custom);
    box.resize(100, 60);
    const int e = box.Bevel().ExtentAll();
    EXPECT_EQ(e, 3);
    EXPECT_EQ(box.BorderMargins(), QMargins(e, e, e, e));
    box.show();
    QApplication::processEvents();
    EXPECT_EQ(box.viewport()->geometry(), QRect(e, e, 100 - 2 * e, 60 - 2 * e));
}

TEST(ScrollBoxTest, ScrollingReportsOnlyRealMoves)
{
    TWLXCustomScrollBox box;
    box.resize(100, 60);
    box.SetHorzRange(300);
    box.show();
    QApplication::processEvents();
    int scrolls = 0;
    box.OnScroll = [&](void*) { ++scrolls; };
    box.horizontalScrollBar()->setValue(40);
    box.horizontalScrollBar()->setValue(40);
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(box.Content()->width(), 300);
}
