// The selection frame: its handles and their activity, moving the selection with grid
// snapping and modifiers, sizing by a handle (free, grid-snapped, page-grid and with an
// aspect ratio), clicks that the frame passes to its page, and the double-click.

#include "ElementTestSupport.h"

#include "frontpanel/Sizer.h"
#include "platform/MessageBox.h"
#include "ui/Hotkey.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace {

// An element that may refuse one direction of sizing and keeps a ratio when asked.
class TSizedElement : public TFP_Element {
public:
    FP_CLASS_NAME(TSizedElement)
    using TFP_Element::TFP_Element;
    bool Horizontal = true;
    bool Vertical = true;
    Extended Ratio = 0.0L;
    int Edits = 0;
    bool GetBisteHSkalierbar() const override { return Horizontal; }
    bool GetBisteVSkalierbar() const override { return Vertical; }
    Extended AspectRatio() const override { return Ratio; }
    int EditProperties() override
    {
        ++Edits;
        resize(height() * 3, height());
        return mrOk;
    }
};

// A page that counts the plain mouse moves it receives.
class TCountingPage : public QWidget {
public:
    int Moves = 0;
    QPoint LastMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        ++Moves;
        LastMove = event->position().toPoint();
    }
};

// A 400 x 300 page with one selected element: the frame at (100, 100), the element 100 x 40
// at (6, 6) inside it.
class SelectionFrameTest : public FrontPanelTest {
protected:
    void SetUp() override
    {
        FrontPanelTest::SetUp();
        FPState().FPGrid = 16;
        page.resize(400, 300);
        page.setMouseTracking(true);  // as a page that shows hover hints
        sizer = new TSizer(&page);
        element = new TSizedElement(sizer);
        element->setGeometry(6, 6, 100, 40);
        sizer->Element = element;
        sizer->setGeometry(100, 100, 112, 52);
        sizer->OnChange = [this](TSizer* s) {
            ++changes;
            if (s->Moving)
                offsets.push_back(s->Offset);
        };
        sizer->OnSetMoving = [this](TSizer*) { ++moveStarts; };
        sizer->MachTransparent = [this](TSizer*) { ++refreshes; };
    }

    // A drag of the frame body from (20, 20) by d with the modifiers of `shift` while moving.
    QPoint Drag(QPoint d, uint8_t shift)
    {
        offsets.clear();
        sizer->FrameMouseDown(Qt::LeftButton, hsLeft, QPoint(20, 20));
        sizer->FrameMouseMove(hsLeft | shift, QPoint(20, 20) + d);
        const QPoint result = offsets.empty() ? QPoint(-999, -999) : offsets.back();
        sizer->FrameMouseUp(Qt::LeftButton, shift, QPoint(20, 20) + d);
        return result;
    }

    // Sizing by handle `handle`, dragged by d; the element's size afterwards.
    QSize Size(int handle, QPoint d, uint8_t shift)
    {
        const QPoint start = sizer->HandleRect(handle).center();
        sizer->FrameMouseDown(Qt::LeftButton, hsLeft | shift, start);
        EXPECT_EQ(sizer->SizingHandle(), handle);
        sizer->FrameMouseMove(hsLeft | shift, start + d);
        lastOutline = sizer->Outline();
        sizer->FrameMouseUp(Qt::LeftButton, shift, start + d);
        return element->size();
    }

    TCountingPage page;
    TSizer* sizer = nullptr;
    TSizedElement* element = nullptr;
    std::vector<QPoint> offsets;
    TRect lastOutline;
    int changes = 0;
    int moveStarts = 0;
    int refreshes = 0;
};

TEST_F(SelectionFrameTest, HandlesSitAtCornersAndMiddles)
{
    struct HandleCase {
        int handle;
        QRect rect;
    };
    const HandleCase cases[] = {
        {1, QRect(QPoint(0, 0), QPoint(5, 5))},       {2, QRect(QPoint(0, 23), QPoint(5, 28))},
        {3, QRect(QPoint(0, 46), QPoint(5, 51))},     {4, QRect(QPoint(53, 0), QPoint(58, 5))},
        {5, QRect(QPoint(53, 46), QPoint(58, 51))},   {6, QRect(QPoint(106, 23), QPoint(111, 28))},
        {7, QRect(QPoint(106, 0), QPoint(111, 5))},   {8, QRect(QPoint(106, 46), QPoint(111, 51))},
    };
    for (const HandleCase& c : cases) {
        EXPECT_EQ(sizer->HandleRect(c.handle), c.rect) << c.handle;
        EXPECT_EQ(sizer->HandleAt(c.rect.topLeft()), c.handle);
        EXPECT_EQ(sizer->HandleAt(c.rect.bottomRight()), c.handle);
    }
    EXPECT_EQ(sizer->HandleAt(QPoint(6, 6)), 0);
    EXPECT_EQ(sizer->HandleAt(QPoint(50, 20)), 0);

    // On a tiny frame handles overlap: the highest number wins.
    sizer->resize(12, 12);
    EXPECT_EQ(sizer->HandleAt(QPoint(6, 6)), 8);
    EXPECT_EQ(sizer->HandleAt(QPoint(5, 5)), 4);
}

TEST_F(SelectionFrameTest, FixedHeightGreysTheVerticalHandles)
{
    element->Vertical = false;
    EXPECT_EQ(sizer->HandleAt(sizer->HandleRect(4).center()), 0);
    EXPECT_EQ(sizer->HandleAt(sizer->HandleRect(8).center()), 0);
    EXPECT_EQ(sizer->HandleAt(sizer->HandleRect(6).center()), 6);

    const QImage pic = Picture(*sizer);
    // Inside each handle (its outline is black in any case).
    EXPECT_EQ(PixelAt(pic, 2, 25), clBlack);   // left middle
    EXPECT_EQ(PixelAt(pic, 108, 25), clBlack); // right middle
    EXPECT_EQ(PixelAt(pic, 55, 2), clGray);    // top middle
    EXPECT_EQ(PixelAt(pic, 55, 48), clGray);   // bottom middle
    EXPECT_EQ(PixelAt(pic, 2, 2), clGray);     // corners
    EXPECT_EQ(PixelAt(pic, 108, 48), clGray);
    EXPECT_EQ(PixelAt(pic, 0, 25), clBlack);   // outline of a grey handle

    element->Vertical = true;
    sizer->SetSizeable(false);  // several selected: every handle grey
    const QImage all = Picture(*sizer);
    for (int i = 1; i <= 8; ++i) {
        const QPoint c = sizer->HandleRect(i).center();
        EXPECT_EQ(PixelAt(all, c.x(), c.y()), clGray) << i;
    }
}

TEST_F(SelectionFrameTest, DragOffsetsSnapToTheGrid)
{
    struct DragCase {
        const char* what;
        QPoint drag;
        uint8_t shift;
        QPoint offset;
    };
    // The element stands at (106, 106) on the page: 106 mod 16 = 10.
    const DragCase cases[] = {
        {"grid cuts toward zero", {23, -9}, 0, {16, 0}},
        {"negative beyond a step", {-17, -33}, 0, {-16, -32}},
        {"Ctrl: exact", {23, -9}, hsCtrl, {23, -9}},
        {"Shift adds the remainders", {23, -9}, hsShift, {26, 10}},
        {"Ctrl wins over Shift", {5, 5}, hsCtrl | hsShift, {5, 5}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Drag(c.drag, c.shift), c.offset);
        EXPECT_FALSE(sizer->Moving);
    }
    EXPECT_EQ(moveStarts, 5);
    // The frame itself never moves on its own: the page moves it.
    EXPECT_EQ(sizer->pos(), QPoint(100, 100));
    // Every move reached the page in page coordinates.
    EXPECT_GT(page.Moves, 0);
    EXPECT_EQ(page.LastMove, QPoint(125, 125));
}

TEST_F(SelectionFrameTest, PressesThatThePageTakesOver)
{
    int asked = 0;
    int deselected = 0;
    int answer = 0;
    sizer->OnSelectUnderCursor = [&](TSizer*, TFP_Element* e) {
        EXPECT_EQ(e, element);
        ++asked;
        return answer;
    };
    sizer->OnDeselectElement = [&](TSizer*, TFP_Element* e) {
        EXPECT_EQ(e, element);
        ++deselected;
    };
    // Another element in front under the cursor: the page selects it, the frame does nothing.
    answer = 1;
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft, QPoint(20, 20));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(sizer->Moving);

    // Shift-click: this element leaves the selection.
    answer = 0;
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft | hsShift, QPoint(20, 20));
    EXPECT_EQ(deselected, 1);
    EXPECT_FALSE(sizer->Moving);

    // The right button does nothing at all.
    sizer->FrameMouseDown(Qt::RightButton, 0, QPoint(20, 20));
    EXPECT_EQ(asked, 2);

    // A press after a double-click is ignored; the one after that works again.
    sizer->DblClick();
    EXPECT_EQ(element->Edits, 1);
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft, QPoint(20, 20));
    EXPECT_EQ(asked, 2);
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft, QPoint(20, 20));
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(sizer->Moving);
}

TEST_F(SelectionFrameTest, DoubleClickFitsTheFrameToTheEditedElement)
{
    element->Ratio = 2.0L;
    element->BorderWidth = 2;
    sizer->DblClick();
    // The dialog made it 120 x 40; the ratio rule gives round(2 x 36) + 4 = 76.
    EXPECT_EQ(element->size(), QSize(76, 40));
    EXPECT_EQ(sizer->size(), QSize(88, 52));
}

TEST_F(SelectionFrameTest, SizingFollowsTheDraggedHandle)
{
    struct SizeCase {
        const char* what;
        int handle;
        QPoint drag;
        uint8_t shift;
        QSize size;
        QPoint framePos;
    };
    const SizeCase cases[] = {
        {"bottom right, mostly down: height only", 8, {5, 30}, hsCtrl, {100, 70}, {100, 100}},
        {"bottom right, mostly right: both", 8, {30, 5}, hsCtrl, {130, 45}, {100, 100}},
        {"right middle", 6, {-20, 9}, hsCtrl, {80, 40}, {100, 100}},
        {"top left moves the frame", 1, {-10, -7}, hsCtrl, {110, 47}, {90, 93}},
        {"top right, mostly up: top only", 7, {3, -12}, hsCtrl, {100, 52}, {100, 88}},
        {"grid: the pointer snaps to 16", 8, {27, 40}, 0, {100, 72}, {100, 100}},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        sizer->setGeometry(100, 100, 112, 52);
        element->setGeometry(6, 6, 100, 40);
        EXPECT_EQ(Size(c.handle, c.drag, c.shift), c.size);
        EXPECT_EQ(sizer->pos(), c.framePos);
        EXPECT_EQ(sizer->size(), c.size + QSize(12, 12));
        EXPECT_EQ(element->pos(), QPoint(6, 6));
        EXPECT_FALSE(sizer->OutlineDrawn());
    }
    EXPECT_EQ(refreshes, 6);
}

TEST_F(SelectionFrameTest, SizingEndsTheOutlineAndMarksTheProject)
{
    bool modified = false;
    FPState().SetProjectModified = [&](bool m) { modified = m; };
    const QPoint start = sizer->HandleRect(6).center();
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft | hsCtrl, start);
    sizer->FrameMouseMove(hsLeft | hsCtrl, start + QPoint(10, 0));
    EXPECT_TRUE(sizer->OutlineDrawn());
    EXPECT_EQ(sizer->Outline().Right, 117);
    sizer->FrameMouseUp(Qt::LeftButton, hsCtrl, start + QPoint(10, 0));
    EXPECT_FALSE(sizer->OutlineDrawn());
    EXPECT_TRUE(modified);
    EXPECT_EQ(element->width(), 110);
}

TEST_F(SelectionFrameTest, AspectRatioCouplesTheOutlineEdges)
{
    element->Ratio = 2.0L;
    element->BorderWidth = 2;  // f2 = 4
    // Bottom middle dragged so that the outline's inner height is 40: its inner width is 80.
    const QPoint start = sizer->HandleRect(5).center();
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft | hsCtrl, start);
    const QPoint to = start + QPoint(0, 40 + 4 + 5 - 47);  // B = 47 + dy, T = 5
    sizer->FrameMouseMove(hsLeft | hsCtrl, to);
    const TRect o = sizer->Outline();
    EXPECT_EQ(o.Bottom - o.Top - 4, 40);
    EXPECT_EQ(o.Right - o.Left - 4, 80);
    sizer->FrameMouseUp(Qt::LeftButton, hsCtrl, to);
    // The element itself keeps the ratio inside its frame.
    EXPECT_EQ(element->width() - 4, 2 * (element->height() - 4));
    EXPECT_EQ(sizer->size(), element->size() + QSize(12, 12));
}

TEST_F(SelectionFrameTest, ShiftSnapsTheMovingEdgesToThePageGrid)
{
    // Right middle with Ctrl (pointer not snapped) and Shift: the right edge lands one pixel
    // after a grid line of the page (frame at x = 100: page x 227 -> 225).
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft | hsCtrl, sizer->HandleRect(6).center());
    sizer->FrameMouseMove(hsLeft | hsCtrl | hsShift,
                          sizer->HandleRect(6).center() + QPoint(20, 0));
    EXPECT_EQ(sizer->Outline().Right, 125);
    EXPECT_EQ(sizer->Outline().Left, 5);
    sizer->FrameMouseUp(Qt::LeftButton, hsCtrl | hsShift, QPoint());
    EXPECT_EQ(element->width(), 118);

    // With a ratio the height follows the snapped width.
    sizer->setGeometry(100, 100, 112, 52);
    element->setGeometry(6, 6, 100, 40);
    element->Ratio = 2.0L;
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft | hsCtrl, sizer->HandleRect(6).center());
    sizer->FrameMouseMove(hsLeft | hsCtrl | hsShift,
                          sizer->HandleRect(6).center() + QPoint(20, 0));
    const TRect o = sizer->Outline();
    EXPECT_EQ(o.Right, 125);
    EXPECT_EQ(o.Bottom - o.Top, 60);  // round(120 / 2)
    sizer->FrameMouseUp(Qt::LeftButton, hsCtrl | hsShift, QPoint());
}

TEST_F(SelectionFrameTest, FrameThatIsNotSizeableStillMoves)
{
    sizer->SetSizeable(false);
    sizer->FrameMouseDown(Qt::LeftButton, hsLeft, sizer->HandleRect(8).center());
    EXPECT_EQ(sizer->SizingHandle(), 0);
    EXPECT_TRUE(sizer->Moving);
    sizer->FrameMouseUp(Qt::LeftButton, 0, QPoint());
    EXPECT_EQ(element->size(), QSize(100, 40));
}

TEST_F(SelectionFrameTest, DragStartsFromAMoveWithTheButtonHeld)
{
    // A press that did not start a drag (the page took it over) is followed by moves with
    // the button held: the first one starts moving from where it is.
    sizer->FrameMouseMove(0, QPoint(30, 30));
    EXPECT_FALSE(sizer->Moving);
    sizer->FrameMouseMove(hsLeft, QPoint(30, 30));
    EXPECT_TRUE(sizer->Moving);
    EXPECT_EQ(moveStarts, 1);
    sizer->FrameMouseMove(hsLeft, QPoint(62, 30));
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.back(), QPoint(32, 0));
}

TEST_F(SelectionFrameTest, RealMouseEventsReachTheHandlers)
{
    auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(p), sizer->mapToGlobal(QPointF(p)), button, buttons,
                      Qt::ControlModifier);
        QCoreApplication::sendEvent(sizer, &e);
    };
    const QPoint start = sizer->HandleRect(8).center();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(4, 20), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(4, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(element->size(), QSize(100, 60));
}

} // namespace
