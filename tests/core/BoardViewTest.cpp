// The board view: mouse messages become the board's operations by mode, the wheel zooms, the
// scroll bars follow the view offset, and the picture shows the board with its overlays.
#include "core/BoardTestSupport.h"
#include "ui/ItemDialogs.h"
#include "shell/boardview/BoardView.h"
#include "platform/Canvas.h"
#include "platform/ModalDialogs.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

class TEditableText : public TText {
public:
    TV_CLASS_NAME(TEditableText)
    int EditProperties() override
    {
        ++Edits;
        return mrCancel;
    }
    int Edits = 0;
};

class BoardViewTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        InstallItemDialogs();  // the text tool opens the label's dialog
        board.SetZoom(15.875);  // one pixel per board unit
        view.resize(500, 400);
        view.SetBoard(&board);
        view.show();
        QApplication::processEvents();
        ASSERT_GT(board.ViewWidth, 0);
    }
    void TearDown() override
    {
        view.SetBoard(nullptr);
        BoardFixture::TearDown();
    }

    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, QPointF(p), QPointF(view.viewport()->mapToGlobal(p)), button, held,
                          modifiers);
        QCoreApplication::sendEvent(view.viewport(), &event);
    }
    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonPress, p, button, button);
    }
    void Release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        Mouse(QEvent::MouseButtonRelease, p, button, Qt::NoButton);
    }
    void Move(QPoint p, Qt::MouseButtons held = Qt::NoButton)
    {
        Mouse(QEvent::MouseMove, p, Qt::NoButton, held);
    }
    QImage Picture() { return view.viewport()->grab().toImage(); }

    TPlatine board;
    TBoardView view;
};

TEST_F(BoardViewTest, SelectAndDrag)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    int aktTools = 0;
    board.OnAktTools = [&](TPlatine*) { ++aktTools; };

    Press(QPoint(320, 320));
    EXPECT_TRUE(gate->Selected);
    Move(QPoint(349, 331), Qt::LeftButton);
    Release(QPoint(349, 331));
    EXPECT_EQ(QPoint(gate->X, gate->Y), QPoint(320, 320));
    EXPECT_FALSE(board.Dragging);
    EXPECT_EQ(aktTools, 1);

    // The picture shows the moved, selected gate.
    const QImage image = Picture();
    EXPECT_EQ(image.pixelColor(370, 320), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(370, 300), QColor(255, 255, 246));

    // A rectangle dragged over nothing but empty board deselects.
    Press(QPoint(30, 30));
    Move(QPoint(100, 100), Qt::LeftButton);
    ASSERT_TRUE(board.Selector.has_value());
    EXPECT_EQ(board.Selector->Rect(), (TRect{30, 30, 100, 100}));
    Release(QPoint(100, 100));
    EXPECT_FALSE(gate->Selected);
    // ... and one over the gate selects it.
    Press(QPoint(30, 30));
    Move(QPoint(330, 330), Qt::LeftButton);
    Release(QPoint(330, 330));
    EXPECT_TRUE(gate->Selected);
    EXPECT_FALSE(board.Selector.has_value());
}

TEST_F(BoardViewTest, WiringFromAPin)
{
    TTestAnd* gate = Add<TTestAnd>(board);  // input 0 ends at (260, 340)
    board.SelectAll(false);
    int modeChanges = 0;
    board.OnModeChange = [&](TPlatine*) { ++modeChanges; };

    Move(QPoint(262, 338));
    EXPECT_EQ(board.Cursor, kCursorPin);
    Press(QPoint(262, 338));  // on the pin's wire end: wiring starts there
    EXPECT_EQ(board.Mode, kModeWiring);
    EXPECT_EQ(modeChanges, 1);
    EXPECT_TRUE(board.Dragging);
    Release(QPoint(262, 338));

    Move(QPoint(100, 345));
    ASSERT_TRUE(board.TempLine.has_value());
    EXPECT_EQ(board.TempLine->End, QPoint(100, 340));
    EXPECT_EQ(board.Cursor, kCursorNone);
    ASSERT_TRUE(board.Crosshair.has_value());
    EXPECT_TRUE(board.Crosshair->Shown);
    // The crosshair is drawn over the board (inverted): a dark pixel on its line.
    const QImage image = Picture();
    EXPECT_LT(image.pixelColor(50, 340).lightness(), 60);

    Press(QPoint(100, 345));
    Release(QPoint(100, 345));
    EXPECT_TRUE(gate->Inputs[0]->Connected);
    Press(QPoint(100, 345), Qt::RightButton);
    EXPECT_FALSE(board.Dragging);
    EXPECT_EQ(board.Mode, kModeWiring);
    Press(QPoint(100, 345), Qt::RightButton);
    EXPECT_EQ(board.Mode, kModeSelect);
    EXPECT_EQ(modeChanges, 2);
}

TEST_F(BoardViewTest, ClickOnTheInversionSpot)
{
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    Move(QPoint(gate->Body.Left, gate->Inputs[1]->Y));
    EXPECT_EQ(board.Cursor, kCursorInvert);
    Press(QPoint(gate->Body.Left, gate->Inputs[1]->Y));
    Release(QPoint(gate->Body.Left, gate->Inputs[1]->Y));
    EXPECT_TRUE(gate->Inputs[1]->Inverted());
    EXPECT_FALSE(gate->Inputs[0]->Inverted());
}

TEST_F(BoardViewTest, TextMode)
{
    TScopedDialogResponder dialogs;
    dialogs.AnswerResult(mrOk);
    int modeChanges = 0;
    board.OnModeChange = [&](TPlatine*) { ++modeChanges; };
    board.Mode = kModeText;
    Press(QPoint(103, 97));
    Release(QPoint(103, 97));
    auto texts = ItemsOf<TText>(board);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(QPoint(texts[0]->X, texts[0]->Y), QPoint(100, 100));
    EXPECT_TRUE(texts[0]->Selected);
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(board.Mode, kModeSelect);
    EXPECT_EQ(modeChanges, 1);
}

TEST_F(BoardViewTest, ZoomModeAndWheel)
{
    board.SetZoom(5.0);
    board.Repaint();
    board.Mode = kModeZoom;
    Press(QPoint(100, 100));
    Move(QPoint(102, 200), Qt::LeftButton);
    Release(QPoint(102, 200));  // narrower than 5 pixels: zoom in at the mouse
    EXPECT_DOUBLE_EQ(board.Zoom, 7.0);
    Press(QPoint(100, 100), Qt::RightButton);
    EXPECT_DOUBLE_EQ(board.Zoom, 5.0);

    board.Mode = kModeSelect;
    QWheelEvent wheel(QPointF(200, 150), QPointF(view.viewport()->mapToGlobal(QPoint(200, 150))),
                      QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_DOUBLE_EQ(board.Zoom, 5.5);
    EXPECT_EQ(view.horizontalScrollBar()->value(), board.ViewOffsetX);
    EXPECT_EQ(view.verticalScrollBar()->value(), board.ViewOffsetY);
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), board.ControlWidth() - board.ViewWidth);

    // The wheel does nothing while wiring.
    board.Mode = kModeWiring;
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    EXPECT_DOUBLE_EQ(board.Zoom, 5.5);

    // Scrolling moves the view offset.
    view.horizontalScrollBar()->setValue(300);
    EXPECT_EQ(board.ViewOffsetX, 300);
}

TEST_F(BoardViewTest, PastedItemsFollowTheMouse)
{
    QBuffer clip;
    board.ClipboardStream = &clip;
    TTestAnd* original = Add<TTestAnd>(board);
    board.SelectAll(true);
    board.CopySelection();

    board.PasteFromStream(clip, 44);
    ASSERT_EQ(board.Mode, kModePlacing);
    const QPoint anchor = board.DragAnchor;
    Move(anchor + QPoint(100, 0));
    Press(anchor + QPoint(100, 0));
    Release(anchor + QPoint(100, 0));
    EXPECT_EQ(board.Mode, kModeSelect);
    auto gates = ItemsOf<TTestAnd>(board);
    ASSERT_EQ(gates.size(), 2u);
    EXPECT_EQ(gates[1]->X, original->X + 100);

    // A right click while placing removes the pasted group.
    board.PasteFromStream(clip, 44);
    Move(anchor + QPoint(0, -100));
    Press(anchor + QPoint(0, -100), Qt::RightButton);
    EXPECT_EQ(board.Mode, kModeSelect);
    EXPECT_EQ(ItemsOf<TTestAnd>(board).size(), 2u);
}

TEST_F(BoardViewTest, DoubleClickOpensSettingsAndSwallowsThePress)
{
    auto* text = static_cast<TEditableText*>(board.AppendItem(NewObject<TEditableText>()));
    text->X = 100;
    text->Y = 100;
    const QPoint p(110, 110);
    Press(p);
    Release(p);
    ASSERT_TRUE(text->Selected);
    Mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Release(p);
    EXPECT_EQ(text->Edits, 1);
    EXPECT_FALSE(board.IgnoreNextPress);
    EXPECT_FALSE(board.Dragging);
    EXPECT_TRUE(text->Selected);
}

TEST_F(BoardViewTest, RedrawsAndLivePainting)
{
    board.GridVisible = true;
    board.Repaint();
    QImage image = Picture();
    EXPECT_EQ(image.pixelColor(20, 5), QColor(230, 230, 230));
    EXPECT_EQ(image.pixelColor(10, 5), QColor(255, 255, 246));

    // Live painting draws into the shown picture at once ...
    board.OnLivePaint([](TCanvas& canvas) {
        canvas.Brush = TCanvasBrush{0x0000FF, Qt::SolidPattern};
        canvas.FillRect(0, 0, 15, 15);
    });
    image = Picture();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
    // ... until the board asks for that part to be drawn again.
    board.OnInvalidateRect(TRect{0, 0, 15, 15});
    image = Picture();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 255, 246));
    // The live painter runs also when the picture is out of date (it updates live states).
    board.SetZoom(5.0);
    bool ran = false;
    board.OnLivePaint([&ran](TCanvas& canvas) { ran = canvas.IsMapped(); });
    EXPECT_TRUE(ran);
    board.SetZoom(15.875);
    board.Repaint();

    // The view offset shifts the picture.
    TTestLed* led = Add<TTestLed>(board);
    board.SelectAll(false);
    board.ViewOffsetX = 100;
    view.SyncScrollBars();
    image = Picture();
    EXPECT_EQ(image.pixelColor(led->Body.Left + 50 - 100, led->Body.Top), QColor(128, 128, 128));
}

} // namespace
