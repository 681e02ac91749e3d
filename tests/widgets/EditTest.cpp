#include "platform/Context.h"
#include "widgets/AutoComplete.h"
#include "widgets/Edit.h"
#include "widgets/SpeedButton.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace {

struct KeyStroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text = QString();
};

KeyStroke K(int key, Qt::KeyboardModifiers m = Qt::NoModifier) { return {key, m, QString()}; }
KeyStroke T(char c) { return {Qt::Key_A + (c >= 'a' ? c - 'a' : c - 'A'), Qt::NoModifier, QString(QChar(c))}; }

void Press(QWidget* w, const KeyStroke& k)
{
    QKeyEvent down(QEvent::KeyPress, k.key, k.modifiers, k.text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, k.key, k.modifiers, k.text);
    QApplication::sendEvent(w, &up);
}

void Type(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        Press(w, {0, Qt::NoModifier, QString(c)});
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        Application().SetEditMode(emInsert);
    }
    void TearDown() override { Application().SetEditMode(emInsert); }
};

// Shows the edit in an active window so that it has the focus (caret and scrolling need it).
struct FocusedEdit {
    QWidget window;
    TWLXEdit* edit;
    FocusedEdit()
        : edit(new TWLXEdit(&window))
    {
        window.resize(200, 60);
        edit->setGeometry(5, 5, 80, 21);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(EditTest, KeysMoveTheCaretSelectAndEdit)
{
    const QString crlf = QStringLiteral("a\r\nb");
    struct Case {
        const char* name;
        QString text;
        int caret;
        std::vector<KeyStroke> keys;
        QString result;
        int caretAfter, selStart, selLength;
    } cases[] = {
        {"typing", "", 1, {T('a'), T('b'), T('c')}, "abc", 4, 4, 0},
        {"shift right three times", "abcdef", 1,
         {K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier)},
         "abcdef", 4, 1, 3},
        {"then shift left shrinks", "abcdef", 1,
         {K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier),
          K(Qt::Key_Left, Qt::ShiftModifier)},
         "abcdef", 3, 1, 2},
        {"shift left at caret 1 keeps the selection", "abc", 3,
         {K(Qt::Key_Left, Qt::ShiftModifier), K(Qt::Key_Left, Qt::ShiftModifier), K(Qt::Key_Left, Qt::ShiftModifier)},
         "abc", 1, 1, 2},
        {"plain left at caret 1 drops it", "abc", 3,
         {K(Qt::Key_Left, Qt::ShiftModifier), K(Qt::Key_Left, Qt::ShiftModifier), K(Qt::Key_Left)}, "abc", 1, 1, 0},
        {"right steps over CR LF", crlf, 2, {K(Qt::Key_Right)}, crlf, 4, 4, 0},
        {"left steps over CR LF", crlf, 4, {K(Qt::Key_Left)}, crlf, 2, 2, 0},
        {"up and down move like left and right", "abc", 3, {K(Qt::Key_Up), K(Qt::Key_Up), K(Qt::Key_Down)}, "abc", 2, 2, 0},
        {"backspace at the start does nothing", "abc", 1, {K(Qt::Key_Backspace)}, "abc", 1, 1, 0},
        {"backspace", "abc", 4, {K(Qt::Key_Backspace)}, "ab", 3, 3, 0},
        {"delete", "abc", 1, {K(Qt::Key_Delete)}, "bc", 1, 1, 0},
        {"delete takes a CR LF pair", crlf, 2, {K(Qt::Key_Delete)}, "ab", 2, 2, 0},
        {"home and end", "abc", 2, {K(Qt::Key_End), K(Qt::Key_Left), K(Qt::Key_Home)}, "abc", 1, 1, 0},
        {"ctrl left goes before the word's delimiter", "one two", 8, {K(Qt::Key_Left, Qt::ControlModifier)}, "one two", 4, 4, 0},
        {"ctrl right goes to the next delimiter", "one two", 1, {K(Qt::Key_Right, Qt::ControlModifier)}, "one two", 4, 4, 0},
        {"ctrl A selects all", "abc", 2, {K(Qt::Key_A, Qt::ControlModifier)}, "abc", 4, 1, 3},
        {"escape drops the selection", "abc", 1, {K(Qt::Key_End, Qt::ShiftModifier), K(Qt::Key_Escape)}, "abc", 4, 4, 0},
        {"typing replaces the selection", "abc", 1, {K(Qt::Key_Right, Qt::ShiftModifier), T('X')}, "Xbc", 2, 2, 0},
        {"insert switches to overwrite", "abc", 1, {K(Qt::Key_Insert), T('X'), T('Y')}, "XYc", 3, 3, 0},
        {"overwrite replaces a CR LF pair", crlf, 2, {K(Qt::Key_Insert), T('X')}, "aXb", 3, 3, 0},
        {"overwrite at the end appends", "ab", 3, {K(Qt::Key_Insert), T('X')}, "abX", 4, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Application().SetEditMode(emInsert);
        TWLXEdit edit;
        edit.SetText(c.text);
        edit.SetCaretPos(c.caret);
        for (const KeyStroke& k : c.keys)
            Press(&edit, k);
        EXPECT_EQ(edit.Text(), c.result);
        EXPECT_EQ(edit.CaretPos(), c.caretAfter);
        EXPECT_EQ(edit.SelStart(), c.selStart);
        EXPECT_EQ(edit.SelLength(), c.selLength);
    }
}

TEST_F(EditTest, ShortcutKeysAreConsumedAndControlCharactersNeverBecomeText)
{
    TWLXEdit edit;
    edit.SetText(QStringLiteral("abc"));
    int key = Qt::Key_A;
    Application().SetEditMode(emInsert | emCtrl);
    edit.ProcessKey(key);
    EXPECT_EQ(key, 0);
    Application().SetEditMode(emInsert);
    // OnKeyPress may turn a character into a control character: nothing is inserted.
    edit.OnKeyPress = [](void*, QChar& c) { c = QChar(7); };
    edit.SetCaretPos(4);
    Type(&edit, QStringLiteral("x"));
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
}

TEST_F(EditTest, MaxLengthCutsAssignedTextAndRefusesTyping)
{
    TWLXEdit edit;
    edit.MaxLength = 3;
    edit.SetText(QStringLiteral("abcdef"));
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
    edit.SetCaretPos(2);
    Type(&edit, QStringLiteral("X"));
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
    EXPECT_EQ(edit.CaretPos(), 2);
    // With a selection the selection goes and the typed character stays out.
    Press(&edit, K(Qt::Key_Right, Qt::ShiftModifier));
    edit.MaxLength = 2;
    Type(&edit, QStringLiteral("X"));
    EXPECT_EQ(edit.Text(), QStringLiteral("ac"));
    EXPECT_EQ(edit.CaretPos(), 2);
    // Undo gives back the deleted character and nothing of the user's text is lost.
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
}

TEST_F(EditTest, AssigningTextIsNoEditAndTheSameTextChangesNothing)
{
    TWLXEdit edit;
    int changes = 0;
    edit.OnChange = [&](void*) { ++changes; };
    edit.SetText(QStringLiteral("abc"));
    edit.SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit.Modified());
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
}

TEST_F(EditTest, UndoRestoresTheTextCaretAndSelection)
{
    // The last key makes the edit; undo gives back the text, and the caret and selection that
    // stood when the edit was made.
    struct Case {
        const char* name;
        QString text;
        int caret;
        std::vector<KeyStroke> keys;
        int caretAfter, selStart, selLength;
    } cases[] = {
        {"typed character", "abc", 2, {T('X')}, 2, 2, 0},
        {"typed over a selection", "abc", 1,
         {K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), T('X')}, 3, 1, 2},
        {"overwritten character", "abc", 2, {K(Qt::Key_Insert), T('X')}, 2, 2, 0},
        {"overwritten CR LF", "a\r\nb", 2, {K(Qt::Key_Insert), T('X')}, 2, 2, 0},
        // Backspace selects the character before the caret and deletes the selection.
        {"backspace", "abc", 3, {K(Qt::Key_Backspace)}, 3, 2, 1},
        {"deleted selection", "ab\r\nc", 2,
         {K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Delete)}, 5, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Application().SetEditMode(emInsert);
        TWLXEdit edit;
        edit.SetText(c.text);
        edit.SetCaretPos(c.caret);
        for (const KeyStroke& k : c.keys)
            Press(&edit, k);
        ASSERT_NE(edit.Text(), c.text);
        edit.Undo();
        EXPECT_EQ(edit.Text(), c.text);
        EXPECT_EQ(edit.CaretPos(), c.caretAfter);
        EXPECT_EQ(edit.SelStart(), c.selStart);
        EXPECT_EQ(edit.SelLength(), c.selLength);
        // The undo itself cannot be undone.
        EXPECT_FALSE(edit.CanUndo());
        edit.Undo();
        EXPECT_EQ(edit.Text(), c.text);
    }
}

TEST_F(EditTest, SelectionOnHalfALineBreakTakesTheWholePair)
{
    const struct {
        const char* name;
        int start, length;
        QString result;
    } cases[] = {
        {"ending on CR", 2, 2, "ac"},   // "b\r" takes the LF
        {"starting on LF", 4, 2, "ab"},  // "\nc" takes the CR
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TWLXEdit edit;
        edit.SetText(QStringLiteral("ab\r\nc"));
        edit.SetSelStart(c.start);
        edit.SetSelLength(c.length);
        edit.ClearSelection();
        EXPECT_EQ(edit.Text(), c.result);
        edit.Undo();
        EXPECT_EQ(edit.Text(), QStringLiteral("ab\r\nc"));
    }
}

TEST_F(EditTest, ChangePositionIsTheSelectionStartBeforeTheEdit)
{
    TWLXEdit edit;
    edit.SetText(QStringLiteral("abcd"));
    std::vector<int> at;
    edit.OnTextChangedAt = [&](void*, int p) { at.push_back(p); };
    edit.SetCaretPos(4);
    Press(&edit, K(Qt::Key_Backspace));   // deletes c at 3
    Type(&edit, QStringLiteral("X"));     // inserts at 3
    EXPECT_EQ(at, (std::vector<int>{3, 3}));
    EXPECT_EQ(edit.Text(), QStringLiteral("abXd"));
}

TEST_F(EditTest, PasswordEditShowsStarsAndRefusesTheClipboard)
{
    TWLXEdit edit;
    edit.SetPasswordChar(u'*');
    edit.SetText(QStringLiteral("abc"));
    EXPECT_EQ(edit.DisplayText(), QStringLiteral("***"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    edit.SelectAll();
    Press(&edit, K(Qt::Key_C, Qt::ControlModifier));
    Press(&edit, K(Qt::Key_X, Qt::ControlModifier));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    std::unique_ptr<QMenu> menu(edit.CreateContextMenu());
    menu->actions().at(3)->trigger();   // Copy
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
}

TEST_F(EditTest, ContextMenuSpeaksTheCurrentLanguageAndEnablesByState)
{
    const struct {
        uint8_t language;
        QStringList captions;
    } languages[] = {
        {0, {"&Rückgängig", "&Ausschneiden", "&Kopieren", "&Einfügen", "&Löschen", "Alles &markieren"}},
        {1, {"&Undo", "Cu&t", "&Copy", "&Paste", "&Delete", "Select &all"}},
        {2, {"&Annuler", "&Couper", "Co&pier", "C&oller", "&Supprimer", "&Tout sélectionner"}},
    };
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    for (const auto& l : languages) {
        Ctx().CurrentLanguage = l.language;
        TWLXEdit edit;
        edit.SetText(QStringLiteral("abc"));
        std::unique_ptr<QMenu> menu(edit.CreateContextMenu());
        QStringList captions;
        QList<bool> enabled;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            captions << a->text();
            enabled << a->isEnabled();
        }
        EXPECT_EQ(captions, l.captions);
        // Undo on a fresh edit, Paste with text on the clipboard, Select all with text.
        EXPECT_EQ(enabled, (QList<bool>{true, false, false, true, false, true}));
        menu->actions().at(0)->trigger();
        EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
    }
    Ctx().CurrentLanguage = 0;
    TWLXEdit readOnly;
    readOnly.SetText(QStringLiteral("abc"));
    readOnly.SetReadOnly(true);
    readOnly.SelectAll();
    std::unique_ptr<QMenu> menu(readOnly.CreateContextMenu());
    EXPECT_FALSE(menu->actions().at(2)->isEnabled());   // Cut
    EXPECT_TRUE(menu->actions().at(3)->isEnabled());    // Copy
    EXPECT_FALSE(menu->actions().at(4)->isEnabled());   // Paste
}

TEST_F(EditTest, HandledContextPopupShowsNoMenu)
{
    for (bool handled : {true, false}) {
        TWLXEdit edit;
        edit.OnContextPopup = [handled](void*, QPoint, bool& h) { h = handled; };
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(&edit, &event);
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_EQ(popup != nullptr, !handled);
        if (popup)
            popup->close();
    }
}

TEST_F(EditTest, InsertModeIsSharedByEveryEdit)
{
    TWLXEdit first, second;
    first.SetText(QStringLiteral("abc"));
    second.SetText(QStringLiteral("abc"));
    first.SetCaretPos(1);
    second.SetCaretPos(1);
    Press(&first, K(Qt::Key_Insert));
    Type(&second, QStringLiteral("X"));
    EXPECT_EQ(second.Text(), QStringLiteral("Xbc"));
}

TEST_F(EditTest, DraggedSelectionMovesToTheDropPosition)
{
    FocusedEdit f;
    TWLXEdit& e = *f.edit;
    e.SetText(QStringLiteral("ab cd"));
    auto xOf = [&](int position) { return e.TextStartX() + e.TextWidth(position - 1) - e.ScrollOffset(); };
    auto mouse = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const QPoint p(x, e.height() / 2);
        QMouseEvent ev(type, QPointF(p), QPointF(e.mapToGlobal(p)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&e, &ev);
    };
    struct Case {
        const char* name;
        bool atEnd;
        QString text;
        int caret;
    } cases[] = {
        // " cd" + "ab", the caret before the moved text
        {"dropped at the end", true, " cdab", 4},
        {"dropped inside only collapses", false, "ab cd", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e.SetText(QStringLiteral("ab cd"));
        e.SetSelStart(1);
        e.SetSelLength(2);
        const int drop = c.atEnd ? e.TextRect().Right - 1 : xOf(2);
        mouse(QEvent::MouseButtonPress, xOf(2), Qt::LeftButton);
        mouse(QEvent::MouseMove, drop, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, drop, Qt::NoButton);
        EXPECT_EQ(e.Text(), c.text);
        EXPECT_EQ(e.CaretPos(), c.caret);
        EXPECT_EQ(e.SelLength(), 0);
    }
}

TEST_F(EditTest, TypingPastTheRightEdgeScrollsAndCtrlHomeScrollsBack)
{
    FocusedEdit f;
    TWLXEdit& e = *f.edit;
    ASSERT_TRUE(e.hasFocus());
    Type(&e, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    EXPECT_GT(e.ScrollOffset(), 0);
    // The caret stays inside the text rectangle.
    EXPECT_LE(e.Caret().Pos().x(), e.TextRect().Right);
    EXPECT_GE(e.Caret().Pos().x(), e.TextRect().Left);
    Press(&e, K(Qt::Key_Home, Qt::ControlModifier));
    EXPECT_EQ(e.CaretPos(), 1);
    EXPECT_EQ(e.ScrollOffset(), 0);
}

TEST_F(EditTest, EmptyRightAlignedEditHasItsCaretAtTheRightEdge)
{
    FocusedEdit f;
    f.edit->SetAlignment(TWLXTextAlignment::taRightJustify);
    f.edit->SetText(QStringLiteral("x"));
    f.edit->SetText(QString());
    EXPECT_EQ(f.edit->Caret().Pos().x(), f.edit->TextRect().Right);
}

TEST_F(EditTest, AutoSizeFollowsTheFontAndKeepsRoomForTheButtons)
{
    TWLXEdit edit;
    edit.resize(20, 50);
    edit.CustomButtons().Add();
    edit.SetAutoSize(true);
    EXPECT_EQ(edit.width(), 46);
    const QFontMetrics fm(edit.font());
    const int h = std::max(fm.height(), fm.boundingRect(QStringLiteral("Qp")).height());
    EXPECT_EQ(edit.height(), h * 5 / 4 + 5);
    // The button sits at the right of the text area and its clicks reach the edit.
    int clicked = -1;
    edit.OnBtnClick = [&](void*, void*, int index) { clicked = index; };
    edit.resize(100, 21);
    TWLXSpeedButton* b = edit.CustomButtons().Items(0).Button();
    EXPECT_EQ(b->geometry().left(), edit.TextAreaRect().Right + 1);
    EXPECT_EQ(b->width(), 16);
    b->click();
    EXPECT_EQ(clicked, 0);
}

// ---- auto-complete -------------------------------------------------------------------------

namespace {

struct Completing {
    TWLXStringList list;
    TWLXEditAutoComplete complete;
    TWLXEdit edit;
    explicit Completing(uint8_t mode)
    {
        list.AddItem();
        list.Item(0)->Items = QStringList{"Berlin", "Bern", "Bonn"};
        complete.SetStringList(&list);
        complete.Mode = mode;
        edit.SetAutoComplete(&complete);
    }
};

} // namespace

TEST_F(EditTest, TextModeCompletesAndSelectsTheTail)
{
    struct Case {
        const char* name;
        bool caseSensitive;
        QString typed;
        QString text;
        int caret, selLength;
    } cases[] = {
        {"first entry that starts with the text", true, "Be", "Berlin", 3, 4},
        {"the next character replaces the tail", true, "Bern", "Bern", 5, 0},
        {"case sensitive finds nothing", true, "be", "be", 3, 0},
        {"case insensitive takes the entry's spelling", false, "be", "Berlin", 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Completing f(amText);
        f.complete.CaseSensitive = c.caseSensitive;
        Type(&f.edit, c.typed);
        EXPECT_EQ(f.edit.Text(), c.text);
        EXPECT_EQ(f.edit.CaretPos(), c.caret);
        EXPECT_EQ(f.edit.SelStart(), c.caret);
        EXPECT_EQ(f.edit.SelLength(), c.selLength);
    }
}

TEST_F(EditTest, BackspaceRemovesTheTailAndTheLastTypedCharacter)
{
    Completing f(amText);
    Type(&f.edit, QStringLiteral("Ber"));
    ASSERT_EQ(f.edit.Text(), QStringLiteral("Berlin"));
    Press(&f.edit, K(Qt::Key_Backspace));
    // "Be" completes again to the first entry, and an emptied edit stays empty.
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Berlin"));
    EXPECT_EQ(f.edit.CaretPos(), 3);
    Press(&f.edit, K(Qt::Key_Backspace));
    Press(&f.edit, K(Qt::Key_Backspace));
    EXPECT_EQ(f.edit.Text(), QString());
}

TEST_F(EditTest, PopupListsMatchesAndFollowsTheArrows)
{
    Completing f(amPopup);
    Type(&f.edit, QStringLiteral("Be"));
    QListWidget* drop = f.complete.DropDown();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->count(), 2);
    // A text that matches nothing leaves the open list as it is.
    Type(&f.edit, QStringLiteral("x"));
    ASSERT_EQ(f.complete.DropDown(), drop);
    EXPECT_EQ(drop->count(), 2);
    Press(&f.edit, K(Qt::Key_Backspace));
    // Up with nothing selected does nothing; Down selects the first entry into the edit.
    Press(&f.edit, K(Qt::Key_Up));
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Be"));
    Press(&f.edit, K(Qt::Key_Down));
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Berlin"));
    Press(&f.edit, K(Qt::Key_Down));
    Press(&f.edit, K(Qt::Key_Down));
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Bern"));
    Press(&f.edit, K(Qt::Key_Return));
    EXPECT_EQ(f.complete.DropDown(), nullptr);
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Bern"));
}

TEST_F(EditTest, UnknownTextIsOfferedForAddingOnEnter)
{
    for (bool add : {true, false}) {
        Completing f(amText);
        f.complete.AddUnknownOn = aaControlReturn;
        QString offered;
        f.complete.OnAdd = [&](void*, TWLXCustomEdit*, QString& text, bool& a, TWLXAutoCompleteSource&) {
            offered = text;
            a = add;
        };
        Type(&f.edit, QStringLiteral("Paris"));
        Press(&f.edit, K(Qt::Key_Return));
        EXPECT_EQ(offered, QStringLiteral("Paris"));
        EXPECT_EQ(f.list.Item(0)->Items.contains(QStringLiteral("Paris")), add);
        // A known text is not offered.
        offered.clear();
        f.edit.SetText(QStringLiteral("Bonn"));
        Press(&f.edit, K(Qt::Key_Return));
        EXPECT_TRUE(offered.isEmpty());
    }
}

// With the drop-down open: Enter still offers an unknown text, leaving the edit offers the
// entry it shows (not the typed text it goes back to), and a single match that differs from
// the text only in case closes the drop-down when case does not count.
TEST_F(EditTest, OpenDropDownOffersWhatTheEditShows)
{
    Completing f(amPopup);
    f.complete.AddUnknownOn = aaControlReturn | aaControlExit;
    QStringList offered;
    f.complete.OnAdd = [&](void*, TWLXCustomEdit*, QString& text, bool& add, TWLXAutoCompleteSource&) {
        offered << text;
        add = false;
    };
    Type(&f.edit, QStringLiteral("Be"));
    ASSERT_NE(f.complete.DropDown(), nullptr);
    Press(&f.edit, K(Qt::Key_Return));
    EXPECT_EQ(offered, QStringList{QStringLiteral("Be")});
    EXPECT_EQ(f.complete.DropDown(), nullptr);

    offered.clear();
    f.edit.SetText(QString());
    Type(&f.edit, QStringLiteral("Be"));
    Press(&f.edit, K(Qt::Key_Down));
    ASSERT_EQ(f.edit.Text(), QStringLiteral("Berlin"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&f.edit, &out);
    EXPECT_TRUE(offered.isEmpty()) << offered.join(u',').toStdString();  // Berlin is known
    EXPECT_EQ(f.edit.Text(), QStringLiteral("Be"));
    EXPECT_EQ(f.complete.DropDown(), nullptr);

    f.complete.CaseSensitive = false;
    f.edit.SetText(QString());
    Type(&f.edit, QStringLiteral("bon"));
    ASSERT_NE(f.complete.DropDown(), nullptr);
    Type(&f.edit, QStringLiteral("n"));
    EXPECT_EQ(f.complete.DropDown(), nullptr);
}

TEST_F(EditTest, DestroyedListOrCompleterLeavesNoDanglingReference)
{
    auto* list = new TWLXStringList;
    list->AddItem();
    list->Item(0)->Items = QStringList{"Berlin"};
    auto* complete = new TWLXEditAutoComplete;
    complete->SetStringList(list);
    complete->Mode = amText;
    TWLXEdit edit;
    edit.SetAutoComplete(complete);
    delete list;
    Type(&edit, QStringLiteral("B"));
    EXPECT_EQ(edit.Text(), QStringLiteral("B"));
    delete complete;
    EXPECT_EQ(edit.AutoComplete(), nullptr);
    Type(&edit, QStringLiteral("e"));
    EXPECT_EQ(edit.Text(), QStringLiteral("Be"));
}
