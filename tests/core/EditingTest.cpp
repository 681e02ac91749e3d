// Board editing through the board's operations: selecting by click and rectangle, moving by
// the grid with rubber-band wires, ordering, mirroring, deleting, settings copied to the
// selection, clean-up of loose wires, cursors and hints.
#include "core/BoardTestSupport.h"
#include "core/editing/BoardEditor.h"
#include "core/model/Translator.h"
#include "platform/MessageBox.h"

#include <QDialog>
#include <algorithm>

namespace {

// A two-input gate with a settings "dialog" that only answers OK.
class TTestEditable : public TTestAnd {
public:
    TV_CLASS_NAME(TTestEditable)
    TTestEditable() { Editable = true; }
    int EditProperties() override
    {
        ++Edits;
        return mrOk;
    }
    int Edits = 0;
};

class EditingTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        BuildTranslationTable();
        editor.View.SetZoom(15.875);  // one pixel per board unit
    }
    void TearDown() override
    {
        FreeTranslationTable();
        BoardFixture::TearDown();
    }

    // Screen point on a component's body.
    static QPoint OnBody(const TIOBauteil* c)
    {
        return QPoint(c->Body.Left + 20, c->Body.Top + 20);
    }

    TSegment* WireAt(int x1, int y1)
    {
        for (TSegment* s : ItemsOf<TSegment>(board)) {
            if (!s->Owner && s->X1 == x1 && s->Y1 == y1)
                return s;
        }
        return nullptr;
    }

    TPlatine board;
    TBoardEditor editor{board};
};

TEST_F(EditingTest, ClickAndRectangleSelection)
{
    TTestAnd* a = Add<TTestAnd>(board);
    TTestAnd* b = Add<TTestAnd>(board);
    b->MoveBy(400, 0);
    board.SelectAll(false);

    editor.SelectTool.SelectAt(OnBody(a).x(), OnBody(a).y(), 0, kLeftButton);
    EXPECT_TRUE(a->Selected);
    EXPECT_FALSE(b->Selected);
    EXPECT_TRUE(editor.Dragging);
    EXPECT_TRUE(a->Inputs[0]->Segment->Selected);  // pin segments follow their component
    editor.SelectTool.EndDrag(kLeftButton);

    // A plain click on another item selects it alone; Shift adds and toggles.
    editor.SelectTool.SelectAt(OnBody(b).x(), OnBody(b).y(), 0, kRightButton);
    EXPECT_FALSE(a->Selected);
    EXPECT_TRUE(b->Selected);
    EXPECT_FALSE(editor.Dragging);  // only the left button starts a move
    editor.SelectTool.SelectAt(OnBody(a).x(), OnBody(a).y(), kShiftKey, kRightButton);
    EXPECT_TRUE(a->Selected);
    EXPECT_TRUE(b->Selected);
    editor.SelectTool.SelectAt(OnBody(a).x(), OnBody(a).y(), kShiftKey, kRightButton);
    EXPECT_FALSE(a->Selected);
    EXPECT_TRUE(b->Selected);
    EXPECT_EQ(board.SelectedCount(), 1);
    EXPECT_EQ(board.SingleSelected(), b);

    // A click on empty board deselects and starts a rectangle; its release selects every
    // item the rectangle touches (an empty rectangle touches nothing).
    editor.SelectTool.SelectAt(5000, 5000, 0, kLeftButton);
    EXPECT_FALSE(board.HasSelection());
    ASSERT_TRUE(editor.SelectTool.Selector.has_value());
    EXPECT_EQ(editor.SelectTool.Selector->Start, QPoint(5000, 5000));
    editor.SelectTool.FinishSelector();
    EXPECT_FALSE(editor.SelectTool.Selector.has_value());
    EXPECT_FALSE(board.HasSelection());

    editor.SelectTool.Selector = TSelector{};
    editor.SelectTool.Selector->StartAt(QPoint(320, 320));
    editor.SelectTool.Selector->DragTo(QPoint(250, 250));
    editor.SelectTool.FinishSelector();
    EXPECT_TRUE(a->Selected);
    EXPECT_FALSE(b->Selected);

    // With Shift held on the press, earlier selections stay.
    editor.SelectTool.SelectAt(5000, 5000, kShiftKey, kLeftButton);
    EXPECT_TRUE(a->Selected);
    editor.SelectTool.Selector->StartAt(QPoint(700, 250));
    editor.SelectTool.Selector->DragTo(QPoint(750, 320));
    editor.SelectTool.FinishSelector();
    EXPECT_TRUE(a->Selected);
    EXPECT_TRUE(b->Selected);
}

TEST_F(EditingTest, SelectorSquareAndCentred)
{
    TSelector s;
    s.StartAt(QPoint(100, 100));
    s.Square = true;
    s.DragTo(QPoint(150, 120));
    EXPECT_EQ(s.Rect(), (TRect{100, 100, 150, 150}));
    s.Centred = true;
    s.DragTo(QPoint(150, 120));
    EXPECT_EQ(s.Rect(), (TRect{50, 50, 150, 150}));
    s.Finish();
    s.DragTo(QPoint(0, 0));  // inactive: no change
    EXPECT_EQ(s.Rect(), (TRect{50, 50, 150, 150}));
}

TEST_F(EditingTest, DragMovesByTheGridAndStopsAtTheEdge)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    const QPoint start = OnBody(gate);
    editor.SelectTool.SelectAt(start.x(), start.y(), 0, kLeftButton);

    editor.SelectTool.DragSelection(start.x() + 29, start.y() + 11);  // rounds to (20, 20)
    EXPECT_EQ(QPoint(gate->X, gate->Y), QPoint(320, 320));
    auto* pinSegment = static_cast<TSegment*>(gate->Inputs[0]->Segment);
    EXPECT_EQ(QPoint(pinSegment->X1, pinSegment->Y1), QPoint(gate->Inputs[0]->X, gate->Inputs[0]->Y));
    EXPECT_TRUE(editor.SelectTool.Moved);

    // A move that would leave the board does nothing, not even to the anchor.
    const QPoint anchor = editor.DragAnchor;
    editor.SelectTool.DragSelection(start.x() - 1000, start.y());
    EXPECT_EQ(QPoint(gate->X, gate->Y), QPoint(320, 320));
    EXPECT_EQ(editor.DragAnchor, anchor);

    editor.SelectTool.EndDrag(kLeftButton);
    EXPECT_FALSE(editor.Dragging);
    EXPECT_FALSE(editor.SelectTool.Moved);
    EXPECT_TRUE(editor.SelectTool.DragStarted);

    // A wire along the board's top edge reaches past it with its bounds; it can still be
    // moved inwards, but not outwards.
    board.AddWire(QPoint(1000, 0), QPoint(1200, 0));
    board.SelectAll(false);
    editor.SelectTool.SelectAt(1100, 0, 0, kLeftButton);
    editor.SelectTool.DragSelection(1100, -40);
    TSegment* edgeWire = WireAt(1000, 0);
    ASSERT_NE(edgeWire, nullptr);
    editor.SelectTool.DragSelection(1100, 40);
    EXPECT_EQ(edgeWire->Y1, 40);
    editor.SelectTool.EndDrag(kLeftButton);
}

TEST_F(EditingTest, RubberBandWires)
{
    struct Case {
        const char* name;
        QPoint move;
        bool rubberStaysActive;
        int segmentsAfter;
        bool connected;  // the fixed wire still meets the moved one
    };
    const Case cases[] = {
        {"straight: a wire closes the gap", QPoint(60, 0), true, 2, true},
        {"diagonal: nothing is added", QPoint(60, 60), false, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlatine b;
        TBoardEditor e{b};
        e.View.SetZoom(15.875);
        b.AddWire(QPoint(0, 200), QPoint(100, 200));
        b.AddWire(QPoint(100, 200), QPoint(100, 300));
        TSegment* corner = nullptr;
        for (TSegment* s : ItemsOf<TSegment>(b)) {
            if (s->IsVertical())
                corner = s;
        }
        ASSERT_NE(corner, nullptr);
        b.SelectObject(corner, true);
        e.SelectTool.SelectAt(100, 250, 0, kLeftButton);
        ASSERT_TRUE(e.SelectTool.RubberBandActive);
        ASSERT_EQ(e.SelectTool.RubberPoints.size(), 1u);
        e.SelectTool.DragSelection(100 + c.move.x(), 250 + c.move.y());
        EXPECT_EQ(e.SelectTool.RubberBandActive, c.rubberStaysActive);
        e.SelectTool.EndDrag(kLeftButton);
        EXPECT_FALSE(e.SelectTool.RubberBandActive);

        std::vector<TSegment*> wires;
        for (TSegment* s : ItemsOf<TSegment>(b))
            wires.push_back(s);
        EXPECT_EQ(int(wires.size()), c.segmentsAfter);
        const QPoint movedStart(100 + c.move.x(), 200 + c.move.y());
        bool meets = false;
        for (TSegment* s : wires) {
            if (s != corner && QPoint(s->X2, s->Y2) == movedStart)
                meets = true;
        }
        EXPECT_EQ(meets, c.connected);
        EXPECT_EQ(QPoint(corner->X1, corner->Y1), movedStart);
    }
}

TEST_F(EditingTest, MovingAComponentFreesAndReconnectsItsPins)
{
    TTestLed* led = Add<TTestLed>(board);  // input at (260, 340)
    board.SelectAll(false);
    board.AddWire(QPoint(100, 340), QPoint(260, 340));
    ASSERT_TRUE(led->Inputs[0]->Connected);

    editor.SelectTool.SelectAt(OnBody(led).x(), OnBody(led).y(), 0, kLeftButton);
    editor.SelectTool.DragSelection(OnBody(led).x() + 40, OnBody(led).y() + 40);
    EXPECT_FALSE(led->Inputs[0]->Connected);
    editor.SelectTool.EndDrag(kLeftButton);
    EXPECT_FALSE(led->Inputs[0]->Connected);  // the rubber line ran diagonally

    // Moved back onto the wire's end, the pin is connected again.
    editor.SelectTool.SelectAt(OnBody(led).x(), OnBody(led).y(), 0, kLeftButton);
    editor.SelectTool.DragSelection(OnBody(led).x() - 40, OnBody(led).y() - 40);
    editor.SelectTool.EndDrag(kLeftButton);
    EXPECT_TRUE(led->Inputs[0]->Connected);
}

TEST_F(EditingTest, FrontAndBackOrder)
{
    std::vector<TBauteil*> texts;
    for (int k = 0; k < 4; ++k)
        texts.push_back(board.AppendItem(NewObject<TText>()));
    auto order = [this] {
        std::vector<TBauteil*> out;
        for (const auto& item : board.Items)
            out.push_back(item.get());
        return out;
    };
    texts[1]->Selected = true;
    texts[2]->Selected = true;

    board.SendSelectionToBack();
    EXPECT_EQ(order(), (std::vector<TBauteil*>{texts[2], texts[1], texts[0], texts[3]}));
    board.BringSelectionToFront();
    EXPECT_EQ(order(), (std::vector<TBauteil*>{texts[0], texts[3], texts[2], texts[1]}));
}

TEST_F(EditingTest, MirrorRebuildsPinSegments)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    board.AddWire(QPoint(100, 340), QPoint(260, 340));
    ASSERT_TRUE(gate->Inputs[0]->Connected);

    board.MirrorSelected();  // nothing selected: nothing happens
    EXPECT_FALSE(gate->Mirrored);

    board.SelectObject(gate, true);
    board.MirrorSelected();
    EXPECT_TRUE(gate->Mirrored);
    EXPECT_FALSE(gate->Inputs[0]->Connected);
    ASSERT_EQ(PinSegments(board).size(), 3u);
    for (const auto* pins : {&gate->Inputs, &gate->Outputs}) {
        for (const auto& pin : *pins) {
            auto* s = static_cast<TSegment*>(pin->Segment);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(QPoint(s->X1, s->Y1), QPoint(pin->X, pin->Y));
        }
    }
    EXPECT_GT(gate->Inputs[0]->X, gate->Body.Right);  // inputs now on the right
}

TEST_F(EditingTest, SettingsCopiedToTheSelectionKeepPositions)
{
    auto* first = static_cast<TTestEditable*>(Add<TTestEditable>(board));
    auto* second = static_cast<TTestEditable*>(Add<TTestEditable>(board));
    second->MoveBy(400, 200);
    second->LayoutPins();
    board.RemovePinSegments(second);
    board.AttachPinSegments(second);
    first->Inputs[1]->SetInverted(true);
    first->SetLabel(QStringLiteral("Pump"));
    board.SelectAll(true);
    ASSERT_TRUE(board.CanEditProperties());

    TScopedMessageResponder messages;
    messages.Answer(mrYes);
    board.EditSelectedProperties();
    EXPECT_EQ(first->Edits, 1);
    EXPECT_EQ(second->Edits, 0);  // only the first item opens its dialog
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].text,
              QStringLiteral("Sämtliche Eigenschaften für gewählte Objekte übernehmen?"));

    EXPECT_TRUE(second->Inputs[1]->Inverted());
    EXPECT_EQ(second->Label, QStringLiteral("Pump"));
    EXPECT_EQ(QPoint(second->X, second->Y), QPoint(700, 500));
    for (const auto& pin : second->Inputs) {
        auto* s = static_cast<TSegment*>(pin->Segment);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(QPoint(s->X1, s->Y1), QPoint(pin->X, pin->Y));
    }
    EXPECT_EQ(PinSegments(board).size(), 6u);

    // Answering No leaves the others alone.
    first->Inputs[0]->SetInverted(true);
    messages.Answer(mrNo);
    board.EditSelectedProperties();
    EXPECT_FALSE(second->Inputs[0]->Inverted());
}

TEST_F(EditingTest, CanEditProperties)
{
    TTestAnd* plain = Add<TTestAnd>(board);
    TBauteil* t1 = board.AppendItem(NewObject<TText>());
    TBauteil* t2 = board.AppendItem(NewObject<TText>());
    board.SelectAll(false);
    struct Case {
        const char* name;
        std::vector<TBauteil*> selected;
        bool expected;
    };
    const Case cases[] = {
        {"nothing selected", {}, false},
        {"one component without settings", {plain}, false},
        {"one text", {t1}, true},
        {"two texts", {t1, t2}, true},
        {"a text and a component of another class", {t1, plain}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        board.SelectAll(false);
        for (TBauteil* item : c.selected)
            board.SelectObject(item, true);
        EXPECT_EQ(board.CanEditProperties(), c.expected);
    }
}

TEST_F(EditingTest, CleanUpSelectsDanglingWiresPieceByPiece)
{
    TTestLed* led = Add<TTestLed>(board);
    board.SelectAll(false);
    board.AddWire(QPoint(100, 340), QPoint(260, 340));    // ends at the pin, other end free
    board.AddWire(QPoint(100, 340), QPoint(100, 500));    // hangs on the first
    board.AddSegment(QPoint(900, 900), QPoint(900, 900)); // zero length: removed
    (void)led;

    int found = 0;
    while (board.SelectLooseSegment())
        ++found;
    EXPECT_EQ(found, 2);
    EXPECT_EQ(ItemsOf<TSegment>(board).size(), 3u);  // two wires and the pin segment
    for (TSegment* s : ItemsOf<TSegment>(board))
        EXPECT_EQ(s->Selected, s->Owner == nullptr);
}

TEST_F(EditingTest, CursorsOverPins)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    const QPoint pinEnd(gate->Inputs[0]->X, gate->Inputs[0]->Y);
    const QPoint inversionSpot(gate->Body.Left, gate->Inputs[0]->Y);

    editor.UpdateCursor(pinEnd.x() + 5, pinEnd.y() - 5);
    EXPECT_EQ(editor.View.Cursor, kCursorPin);
    editor.UpdateCursor(inversionSpot.x(), inversionSpot.y());
    EXPECT_EQ(editor.View.Cursor, kCursorInvert);
    editor.UpdateCursor(2000, 2000);
    EXPECT_EQ(editor.View.Cursor, kCursorDefault);
    editor.Mode = kModeWiring;
    editor.UpdateCursor(2000, 2000);
    EXPECT_EQ(editor.View.Cursor, kCursorNone);

    EXPECT_EQ(board.PinSegmentAt(inversionSpot), gate->Inputs[0]->Segment);
    board.TogglePinInversion(board.PinSegmentAt(inversionSpot));
    EXPECT_TRUE(gate->Inputs[0]->Inverted());
}

TEST_F(EditingTest, HintsOnlyWhenSwitchedOn)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    ShowComponentHints = false;
    EXPECT_TRUE(editor.SelectTool.HintAt(OnBody(gate).x(), OnBody(gate).y()).isEmpty());
    ShowComponentHints = true;
    EXPECT_EQ(editor.SelectTool.HintAt(OnBody(gate).x(), OnBody(gate).y()), gate->GetHint());
    EXPECT_TRUE(editor.SelectTool.HintAt(3000, 3000).isEmpty());
    ShowComponentHints = false;
}

TEST_F(EditingTest, AutoScroll)
{
    editor.View.ViewWidth = 400;
    editor.View.ViewHeight = 300;
    editor.View.SetZoom(5.0);
    editor.View.ViewOffsetX = 1000;
    editor.View.ViewOffsetY = 1000;
    struct Case {
        QPoint point;
        uint8_t direction;
        QPoint offsetAfterTick;
    };
    const Case cases[] = {
        {QPoint(395, 150), 4, QPoint(1010, 1000)},
        {QPoint(5, 150), 3, QPoint(990, 1000)},
        {QPoint(200, 295), 2, QPoint(1000, 1010)},
        {QPoint(395, 5), 1, QPoint(1000, 990)},  // the later tests win
        {QPoint(200, 150), 0, QPoint(1000, 1000)},
    };
    for (const Case& c : cases) {
        editor.View.ViewOffsetX = 1000;
        editor.View.ViewOffsetY = 1000;
        editor.View.AutoScrollEnabled = true;
        editor.UpdateAutoScroll(c.point);
        EXPECT_EQ(editor.View.AutoScrollDirection, c.direction);
        editor.AutoScrollTick();
        EXPECT_EQ(QPoint(editor.View.ViewOffsetX, editor.View.ViewOffsetY), c.offsetAfterTick);
    }
    editor.View.AutoScrollEnabled = false;
    editor.UpdateAutoScroll(QPoint(5, 5));
    editor.AutoScrollTick();
    EXPECT_EQ(QPoint(editor.View.ViewOffsetX, editor.View.ViewOffsetY), QPoint(1000, 1000));
}

} // namespace
