#include "widgets/BaseEdit.h"
#include "widgets/ComboBox.h"
#include "widgets/FontCombo.h"
#include "widgets/Memo.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBlock>
#include <QScrollBar>
#include <QTextLayout>
#include <memory>

namespace {

void Press(QWidget* w, int key, const QString& text = QString(), Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, m, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, m, text);
    QApplication::sendEvent(w, &up);
}

QFont Mono()
{
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setPixelSize(12);
    return f;
}

// A memo whose rows hold `columns` characters of a fixed-pitch font.
void SetColumns(TWLXMemo& memo, int columns)
{
    memo.setFont(Mono());
    const int cw = QFontMetrics(memo.font()).horizontalAdvance(u'x');
    const int margin = int(memo.document()->documentMargin());
    const int frame = memo.width() - memo.viewport()->width();
    memo.resize(columns * cw + 2 * margin + frame + cw / 2, 200);
}

} // namespace

// ---- memo ----------------------------------------------------------------------------------

TEST(MemoTest, LinesAndRowsOfAText)
{
    struct Case {
        const char* name;
        QString text;
        QString stored;
        int rowCount, lines;
    } cases[] = {
        {"empty", "", "", 0, 1},
        {"three lines", "a\r\nb\r\nc", "a\r\nb\r\nc", 2, 3},
        {"bare LF breaks become CR LF", "a\nb\nc", "a\r\nb\r\nc", 2, 3},
        {"a trailing break starts an empty line", "a\r\n", "a\r\n", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWLXMemo memo;
        memo.SetWordWrap(false);
        memo.SetText(c.text);
        EXPECT_EQ(memo.Text(), c.stored);
        EXPECT_EQ(memo.RowCount(), c.rowCount);
        EXPECT_EQ(memo.Lines().GetCount(), c.lines);
    }
}

TEST(MemoTest, LineOperations)
{
    using Op = std::function<void(TWLXMemoStrings&)>;
    struct Case {
        const char* name;
        QString text;
        Op op;
        QString result;
    } cases[] = {
        {"add to an empty memo", "", [](TWLXMemoStrings& l) { l.Add(QStringLiteral("x")); }, "x"},
        {"add to one line", "a", [](TWLXMemoStrings& l) { l.Add(QStringLiteral("x")); }, "a\r\nx"},
        {"insert at the top", "a\r\nb", [](TWLXMemoStrings& l) { l.Insert(0, QStringLiteral("x")); }, "x\r\na\r\nb"},
        {"insert in the middle", "a\r\nb", [](TWLXMemoStrings& l) { l.Insert(1, QStringLiteral("x")); }, "a\r\nx\r\nb"},
        {"delete the first of two", "a\r\nb", [](TWLXMemoStrings& l) { l.Delete(0); }, "b"},
        {"delete the last keeps the break", "a\r\nb", [](TWLXMemoStrings& l) { l.Delete(1); }, "a\r\n"},
        {"put replaces one line", "a\r\nb\r\nc", [](TWLXMemoStrings& l) { l.Put(1, QStringLiteral("xyz")); }, "a\r\nxyz\r\nc"},
        {"clear", "a\r\nb", [](TWLXMemoStrings& l) { l.Clear(); }, ""},
        {"assign a list", "a", [](TWLXMemoStrings& l) { l.Assign({"p", "q"}); }, "p\r\nq"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWLXMemo memo;
        memo.SetText(c.text);
        c.op(memo.Lines());
        EXPECT_EQ(memo.Text(), c.result);
    }
    TWLXMemo memo;
    memo.SetText(QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(memo.Lines().Get(2), QStringLiteral("three"));
    EXPECT_EQ(memo.Lines().Get(5), QString());
}

TEST(MemoTest, PutKeepsTheSelection)
{
    TWLXMemo memo;
    memo.SetText(QStringLiteral("abc\r\ndef"));
    QTextCursor c = memo.textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor);
    memo.setTextCursor(c);
    memo.Lines().Put(1, QStringLiteral("xy"));
    EXPECT_EQ(memo.textCursor().selectedText(), QStringLiteral("bc"));
}

TEST(MemoTest, WordWrapBreaksAfterTheBlankOrInsideALongWord)
{
    QWidget host;
    host.resize(400, 300);
    auto* shown = new TWLXMemo(&host);
    host.show();
    TWLXMemo& memo = *shown;
    SetColumns(memo, 10);
    memo.SetText(QStringLiteral("abcd efgh ijkl"));
    const QTextLayout* layout = memo.document()->firstBlock().layout();
    ASSERT_EQ(memo.RowCount(), 1);
    EXPECT_EQ(layout->lineAt(0).textLength(), 10);   // "abcd efgh " with its blank
    memo.SetText(QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(memo.RowCount(), 1);
    // Lines count lines, rows count display rows.
    memo.SetText(QStringLiteral("abcd efgh ijkl\r\nx"));
    EXPECT_EQ(memo.Lines().GetCount(), 2);
    EXPECT_EQ(memo.RowCount(), 2);
    memo.SetWordWrap(false);
    EXPECT_EQ(memo.RowCount(), 1);
}

TEST(MemoTest, RowCountEventFollowsEveryEdit)
{
    TWLXMemo memo;
    int changes = 0;
    memo.OnRowCountChanged = [&](void*) { ++changes; };
    memo.Lines().Add(QStringLiteral("a"));
    memo.Lines().Add(QStringLiteral("b"));
    memo.Lines().Delete(0);
    EXPECT_EQ(changes, 2);   // 0 -> 1 -> 0 rows after the line break
    EXPECT_EQ(memo.RowCount(), 0);
}

TEST(MemoTest, EnterBreaksTheLineUnlessItMovesTheFocusAndInsertTogglesOverwrite)
{
    Application().SetEditMode(emInsert);
    QWidget window;
    auto* memo = new TWLXMemo(&window);
    auto* next = new QLineEdit(&window);
    next->move(0, 120);
    window.show();
    QApplication::setActiveWindow(&window);
    memo->setFocus();
    memo->SetText(QStringLiteral("ab"));
    memo->moveCursor(QTextCursor::End);
    Press(memo, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(memo->Text(), QStringLiteral("ab\r\n"));
    memo->moveCursor(QTextCursor::Start);
    Press(memo, Qt::Key_Insert);
    Press(memo, Qt::Key_X, QStringLiteral("X"));
    EXPECT_EQ(memo->Text(), QStringLiteral("Xb\r\n"));
    EXPECT_FALSE(Application().EditModeFlags() & emInsert);
    Application().SetEditMode(emInsert);
    memo->TabOnEnter = true;
    Press(memo, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(memo->Text(), QStringLiteral("Xb\r\n"));
    EXPECT_TRUE(next->hasFocus());
}

TEST(MemoTest, AutomaticBarsShowOnlyWhenTheTextOverflows)
{
    QWidget window;
    auto* memo = new TWLXMemo(&window);
    memo->resize(185, 89);
    window.show();
    memo->SetScrollBars(TWLXMemoScrollBarKind::skAuto);
    memo->SetText(QStringLiteral("short"));
    QApplication::processEvents();
    ASSERT_NE(memo->VertBar(), nullptr);
    EXPECT_TRUE(memo->VertBar()->isHidden());
    // Wrapping text has no horizontal bar.
    EXPECT_TRUE(memo->HorizBar()->isHidden());
    for (int i = 0; i < 30; ++i)
        memo->Lines().Add(QStringLiteral("line"));
    QApplication::processEvents();
    EXPECT_FALSE(memo->VertBar()->isHidden());
    EXPECT_EQ(memo->VertBar()->Max(), memo->verticalScrollBar()->maximum());
    // Scrolling the library's bar scrolls the text.
    int position = 5;
    memo->VertBar()->SetPosition(position);
    memo->VertBar()->OnScroll(memo->VertBar(), scPosition, position);
    EXPECT_EQ(memo->verticalScrollBar()->value(), 5);
    EXPECT_GT(memo->TopRow(), 1);
    memo->SetScrollBars(TWLXMemoScrollBarKind::skNone);
    EXPECT_EQ(memo->VertBar(), nullptr);
}

TEST(MemoTest, BarSettingsReachTheBars)
{
    TWLXMemo memo;
    memo.SetScrollBars(TWLXMemoScrollBarKind::skBoth);
    TWLXScrollBarObject settings;
    int changes = 0;
    settings.OnChange = [&](void*) { ++changes; };
    settings.SetButtonWidth(12);
    settings.SetSmallChange(3);
    settings.SetLargeChange(7);
    settings.SetThumbColor(0x00FF00);
    settings.SetSmallChange(3);   // unchanged: no notification
    EXPECT_EQ(changes, 4);
    memo.SetVertScrollBar(settings);
    TWLXScrollBar* bar = memo.VertBar();
    EXPECT_EQ(bar->ButtonWidth(), 12);
    EXPECT_EQ(bar->SmallChange, 3);
    EXPECT_EQ(bar->LargeChange, 7);
    EXPECT_EQ(bar->ThumbColor(), 0x00FF00);
    // The horizontal bar keeps its own settings.
    EXPECT_EQ(memo.HorizBar()->SmallChange, 1);
}

// ---- combo box -----------------------------------------------------------------------------

namespace {

QStringList Items(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

TEST(ComboTest, RecentlyChosenItemsCollectAtTheTop)
{
    TWLXComboBox box;
    box.addItems({"A", "B", "C", "D"});
    box.SetMRUMax(3);
    box.SetMRUList(true);
    box.Choose(2);   // C
    box.Choose(2);   // B (the list moved down by one)
    box.Choose(2);   // A
    EXPECT_EQ(Items(box), (QStringList{"A", "B", "C", "A", "B", "C", "D"}));
    box.Choose(6);   // D: newest at the top, the oldest (C) goes
    EXPECT_EQ(Items(box), (QStringList{"D", "A", "B", "A", "B", "C", "D"}));
    EXPECT_EQ(box.ItemIndex(), 0);
    box.Choose(4);   // B again: only its entry at the top is selected
    EXPECT_EQ(box.count(), 7);
    EXPECT_EQ(box.ItemIndex(), 2);
    box.SetMRUMax(5);
    box.SetMRUMax(1);
    EXPECT_EQ(Items(box), (QStringList{"D", "A", "B", "C", "D"}));
    box.SetMRUList(false);
    EXPECT_EQ(Items(box), (QStringList{"A", "B", "C", "D"}));
}

TEST(ComboTest, RecentlyUsedItemsAreTallerAndSeparated)
{
    TWLXComboBox box;
    box.addItems({"A", "B"});
    box.SetItemHeight(15);
    QStyleOptionViewItem option;
    const QModelIndex index = box.model()->index(0, 0);
    EXPECT_EQ(box.itemDelegate()->sizeHint(option, index).height(), 15);
    box.SetMRUList(true);
    EXPECT_EQ(box.itemDelegate()->sizeHint(option, index).height(), 19);
    EXPECT_EQ(box.Style(), TWLXComboStyle::csOwnerDrawFixed);
}

TEST(ComboTest, SearchSortsAndCompletesWithTheFirstMatch)
{
    TWLXComboBox box;
    box.addItems({"abd", "x", "abc"});
    box.SetSearch(true);
    EXPECT_TRUE(box.Sorted());
    EXPECT_EQ(Items(box), (QStringList{"abc", "abd", "x"}));
    box.lineEdit()->setText(QStringLiteral("ab"));
    box.SearchTimerFired();
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.lineEdit()->cursorPosition(), 2);
    EXPECT_EQ(box.lineEdit()->selectedText(), QStringLiteral("c"));
    // Typing starts the pause; a deletion waits longer.
    Press(&box, Qt::Key_Z, QStringLiteral("z"));
    ASSERT_NE(box.SearchTimer(), nullptr);
    EXPECT_EQ(box.SearchTimer()->interval(), box.Interval);
    Press(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.SearchTimer()->interval(), box.Interval + 1000);
}

TEST(ComboTest, ChoiceByMouseOrEnterMovesTheFocusButArrowsDoNot)
{
    QWidget window;
    auto* box = new TWLXComboBox(&window);
    auto* target = new QLineEdit(&window);
    target->move(0, 40);
    box->SetStyle(TWLXComboStyle::csDropDownList);
    box->addItems({"a", "b", "c"});
    box->SetFocusControl(target);
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    Press(box, Qt::Key_Down);
    EXPECT_TRUE(box->hasFocus());
    Press(box, Qt::Key_Return);
    EXPECT_TRUE(target->hasFocus());
    box->setFocus();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(box->mapToGlobal(QPoint(2, 2))),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->lineEdit() ? static_cast<QWidget*>(box->lineEdit()) : box, &press);
    box->hidePopup();
    box->Choose(2);
    EXPECT_TRUE(target->hasFocus());
    delete target;
    box->Choose(1);   // a destroyed focus control is simply gone
}

// ---- font pickers --------------------------------------------------------------------------

TEST(FontComboTest, FontNameSelectsIgnoringCaseAndOnlyChangesWhenDifferent)
{
    TWLXFontComboBox box;
    ASSERT_GE(box.findText(QStringLiteral("DejaVu Sans")), 0);
    int changes = 0;
    box.OnChange = [&](void*) { ++changes; };
    box.SetFontName(QStringLiteral("dejavu sans"));
    EXPECT_EQ(box.GetFontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(changes, 1);
    box.SetFontName(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(changes, 1);
    // A face that is not installed leaves no current item and still reports the change.
    box.SetFontName(QStringLiteral("No Such Face"));
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(changes, 2);
    // Every face once, sorted.
    const QStringList items = Items(box);
    QStringList sorted = items;
    sorted.sort(Qt::CaseInsensitive);
    sorted.removeDuplicates();
    EXPECT_EQ(items, sorted);
}

TEST(FontComboTest, ScalableOnlyKeepsTheScalableFaces)
{
    TWLXFontComboBox box;
    box.SetOptions(foScreenFonts | foTrueTypeOnly);
    for (int i = 0; i < box.count(); ++i)
        EXPECT_EQ(box.itemData(i).toInt() & ftTrueType, ftTrueType) << box.itemText(i).toStdString();
}

TEST(FontComboTest, SizeOutsideTheRangeGivesTheDefault)
{
    TWLXFontSizeComboBox box;
    box.SetFontName(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Items(box).size(), TWLXFontSizeComboBox::StandardSizes().size());
    const struct {
        int size;
        QString text;
        bool inList;
    } cases[] = {{0, "10", true}, {1000, "10", true}, {-5, "10", true}, {999, "999", false}, {14, "14", true}};
    for (const auto& c : cases) {
        box.SetFontSize(c.size);
        EXPECT_EQ(box.currentText(), c.text) << c.size;
        EXPECT_EQ(box.ItemIndex() >= 0, c.inList) << c.size;
        EXPECT_EQ(box.GetFontSize(), c.text.toInt());
    }
    box.SetFontName(QString());
    EXPECT_EQ(box.currentText(), QString());
    EXPECT_EQ(box.GetFontSize(), -1);
}

TEST(FontComboTest, NearestSizeKeepsTheFirstOfTwoEquallyNearSizes)
{
    const QList<int> raster{8, 10, 12, 14};
    const struct {
        int wanted, nearest;
        bool scalable;
    } cases[] = {{11, 10, false}, {13, 12, false}, {9, 8, false}, {20, 14, false}, {11, 11, true}};
    for (const auto& c : cases)
        EXPECT_EQ(TWLXFontSizeComboBox::NearestSize(raster, c.scalable, c.wanted), c.nearest) << c.wanted;
}

TEST(FontComboTest, SizeBoxFollowsItsFaceBoxAndUnlinks)
{
    auto* faces = new TWLXFontComboBox;
    TWLXFontSizeComboBox sizes;
    sizes.SetFontCombo(faces);
    faces->SetFontName(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(sizes.FontName(), QStringLiteral("DejaVu Sans"));
    sizes.SetFontSize(14);
    faces->SetFontName(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sizes.FontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sizes.currentText(), QStringLiteral("14"));
    delete faces;
    EXPECT_EQ(sizes.FontCombo(), nullptr);
    {
        auto linked = std::make_unique<TWLXFontSizeComboBox>();
        TWLXFontComboBox other;
        linked->SetFontCombo(&other);
        linked.reset();
        other.SetFontName(QStringLiteral("DejaVu Sans"));   // must not call the freed size box
        EXPECT_FALSE(other.FontChangeHook);
    }
}

TEST(FontComboTest, SizeBoxRefusesWhatIsNoSize)
{
    TWLXFontSizeComboBox box;
    box.SetFontName(QStringLiteral("DejaVu Sans"));
    box.SetFontSize(12);
    box.lineEdit()->setCursorPosition(2);
    Press(&box, Qt::Key_A, QStringLiteral("a"));
    Press(&box, Qt::Key_4, QStringLiteral("4"));
    EXPECT_EQ(box.currentText(), QStringLiteral("124"));
    box.SetEditorEnabled(false);
    Press(&box, Qt::Key_5, QStringLiteral("5"));
    Press(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.currentText(), QStringLiteral("124"));
}
