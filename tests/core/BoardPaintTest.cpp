// Board painting and zoom: the mapping and its limits, background and grid by run state, the
// clip test of items, and the zoom operations with their centring.
#include "core/BoardTestSupport.h"
#include "core/editing/BoardEditor.h"
#include "platform/Canvas.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Paints the board's screen pixels in area, as the view state maps them, into an image.
QImage Render(TPlatine& board, const TBoardViewState& view, const QRect& area)
{
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    TCanvas canvas(&painter);
    view.SetMapping(canvas);
    board.Paint(canvas, view.GridVisible);
    return image;
}

// An item that counts its paints.
class TCountingItem : public TBauteil {
public:
    TV_CLASS_NAME(TCountingItem)
    TRect Bounds;
    int Paints = 0;
    bool SawMonochrome = false;
    void Paint(TCanvas&) override
    {
        ++Paints;
        SawMonochrome = MonochromePrint;
    }
    TRect GetBounds() const override { return Bounds; }
};

class BoardPaintTest : public BoardFixture {
protected:
    TPlatine board;
    TBoardEditor editor{board};
    TBoardViewState& view = editor.View;
};

TEST_F(BoardPaintTest, ZoomLimitsAndMapping)
{
    struct Case {
        double set;
        double zoom;
        int controlWidth;
    };
    const Case cases[] = {
        {5.0, 5.0, 6299},
        {25.0, 20.0, 25196},
        {0.1, 0.5, 629},
        {std::numeric_limits<double>::quiet_NaN(), 0.5, 629},
        {-3.0, 0.5, 629},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        view.SetZoom(c.set);
        EXPECT_EQ(view.Zoom, c.zoom);
        EXPECT_EQ(view.ControlWidth(), c.controlWidth);
        EXPECT_EQ(view.ControlHeight(), c.controlWidth);
    }

    view.SetZoom(5.0);
    EXPECT_EQ(view.ScreenToBoard(QPoint(80, 80)), QPoint(254, 254));
    EXPECT_EQ(view.BoardToScreen(QPoint(254, 508)), QPoint(80, 160));
    view.ViewOffsetX = 30;
    view.ViewOffsetY = 10;
    // Screen points belong to the whole board: the view offset does not change them.
    EXPECT_EQ(view.ScreenToBoard(QPoint(80, 80)), QPoint(254, 254));
    EXPECT_EQ(view.BoardToDevice(QPoint(254, 254)), QPoint(50, 70));
}

TEST_F(BoardPaintTest, GridSpacingDoublesUntilTenPixels)
{
    struct Case {
        double zoom;
        int spacing;
    };
    const Case cases[] = {{0.5, 320}, {5.0, 40}, {15.875, 20}, {20.0, 20}};
    for (const Case& c : cases) {
        view.SetZoom(c.zoom);
        EXPECT_EQ(view.GridSpacing(), c.spacing) << c.zoom;
    }
}

TEST_F(BoardPaintTest, BackgroundAndGridByRunState)
{
    const QColor background(255, 255, 246);
    const QColor grid(230, 230, 230);
    const QColor running(234, 236, 239);
    view.SetZoom(15.875);  // grid every 20 pixels
    const QRect area(0, 0, 60, 60);

    QImage image = Render(board, view, area);
    EXPECT_EQ(image.pixelColor(20, 5), background);  // grid off

    view.GridVisible = true;
    image = Render(board, view, area);
    EXPECT_EQ(image.pixelColor(20, 5), grid);
    EXPECT_EQ(image.pixelColor(5, 40), grid);
    EXPECT_EQ(image.pixelColor(10, 5), background);

    board.Running = true;
    image = Render(board, view, area);
    EXPECT_EQ(image.pixelColor(20, 5), running);
    EXPECT_EQ(image.pixelColor(10, 5), running);

    // An inner board follows the top board's flags: no grid while the top board runs.
    TPlatine inner;
    TBoardViewState innerView{inner};
    innerView.SetZoom(15.875);
    innerView.GridVisible = view.GridVisible;  // every tab gets the window's grid option
    inner.TopBoard = &board;
    image = Render(inner, innerView, area);
    EXPECT_EQ(image.pixelColor(20, 5), running);
    board.Running = false;
    image = Render(inner, innerView, area);
    EXPECT_EQ(image.pixelColor(20, 5), grid);

    // Nothing at all while painting is switched off.
    board.NoPaint = true;
    image = Render(board, view, area);
    EXPECT_EQ(image.pixelColor(20, 5), QColor(Qt::black));
}

TEST_F(BoardPaintTest, OnlyItemsInTheClipArePainted)
{
    view.SetZoom(15.875);
    auto* inside = static_cast<TCountingItem*>(board.AppendItem(NewObject<TCountingItem>()));
    auto* outside = static_cast<TCountingItem*>(board.AppendItem(NewObject<TCountingItem>()));
    inside->Bounds = TRect{10, 10, 50, 50};
    outside->Bounds = TRect{500, 500, 540, 540};
    board.MonochromePrint = true;

    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 100, 100));
    TCanvas canvas(&painter);
    view.SetMapping(canvas);
    board.Paint(canvas, view.GridVisible);
    EXPECT_EQ(inside->Paints, 1);
    EXPECT_EQ(outside->Paints, 0);
    EXPECT_TRUE(inside->SawMonochrome);
    EXPECT_FALSE(inside->MonochromePrint);  // only while painted
}

TEST_F(BoardPaintTest, ZoomOperationsCentreThePoint)
{
    view.ViewWidth = 400;
    view.ViewHeight = 300;
    int changes = 0;
    int repaints = 0;
    board.OnChange = [&](TPlatine*) { ++changes; };
    board.OnRepaint = [&] { ++repaints; };
    auto centre = [this] {
        return view.ScreenToBoard(
            QPoint(view.ViewOffsetX + view.ViewWidth / 2, view.ViewOffsetY + view.ViewHeight / 2));
    };
    auto near = [](QPoint a, QPoint b) {
        return std::abs(a.x() - b.x()) <= 6 && std::abs(a.y() - b.y()) <= 6;
    };

    view.SetZoom(5.0);
    view.ViewOffsetX = 2000;
    view.ViewOffsetY = 2000;
    const QPoint mouse(2100, 2050);
    const QPoint target = view.ScreenToBoard(mouse);
    editor.ZoomTool.ZoomInAt(mouse);
    EXPECT_DOUBLE_EQ(view.Zoom, 7.0);
    EXPECT_TRUE(near(centre(), target));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(repaints, 0);  // the caller repaints

    editor.ZoomTool.ZoomOutAt(view.BoardToScreen(target));
    EXPECT_DOUBLE_EQ(view.Zoom, 5.0);
    EXPECT_TRUE(near(centre(), target));

    editor.ZoomTool.WheelZoom(true, view.BoardToScreen(target));
    EXPECT_DOUBLE_EQ(view.Zoom, 5.5);
    EXPECT_TRUE(near(centre(), target));
    EXPECT_EQ(repaints, 1);

    // The view offset stays on the board.
    view.ViewOffsetX = 0;
    view.ViewOffsetY = 0;
    editor.ZoomTool.ZoomOutAt(QPoint(10, 10));
    EXPECT_EQ(QPoint(view.ViewOffsetX, view.ViewOffsetY), QPoint(0, 0));

    editor.ZoomTool.ZoomToBoard();
    EXPECT_DOUBLE_EQ(view.Zoom, 0.5);  // 300 x 15 / 20000 is below the limit
    EXPECT_EQ(QPoint(view.ViewOffsetX, view.ViewOffsetY), QPoint(0, 0));
}

TEST_F(BoardPaintTest, ZoomToObjectsAndZoomRectangle)
{
    view.ViewWidth = 230;
    view.ViewHeight = 330;
    view.SetZoom(5.0);
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    editor.ZoomTool.ZoomToObjects(true);  // nothing selected: nothing happens
    EXPECT_DOUBLE_EQ(view.Zoom, 5.0);

    editor.ZoomTool.ZoomToObjects(false);
    // The gate's bounds (236 x 136 units) fill the view's width less 30 pixels.
    const TRect b = view.BoardRectToScreen(gate->GetBounds());
    EXPECT_NEAR(b.Width(), 200, 4);
    EXPECT_LE(b.Height(), 300);
    const QPoint centre = view.ScreenToBoard(QPoint(view.ViewOffsetX + 115, view.ViewOffsetY + 165));
    EXPECT_NEAR(centre.x(), 350, 8);
    EXPECT_NEAR(centre.y(), 360, 8);

    // A zoom rectangle under 5 pixels zooms in by 1.4 at the mouse.
    view.SetZoom(5.0);
    editor.ZoomTool.Selector = TSelector{};
    editor.ZoomTool.Selector->StartAt(QPoint(1000, 1000));
    editor.ZoomTool.Selector->DragTo(QPoint(1009, 1200));  // 3 x 63 pixels
    const QPoint mouse = view.BoardToScreen(QPoint(1000, 1000));
    editor.ZoomTool.FinishZoomRect(mouse.x(), mouse.y());
    EXPECT_DOUBLE_EQ(view.Zoom, 7.0);
    EXPECT_FALSE(editor.ZoomTool.Selector.has_value());

    // A larger one is fitted into the view.
    view.SetZoom(5.0);
    const TRect area{1000, 1000, 3730, 1952};
    const TRect pixels = view.BoardRectToScreen(area);
    editor.ZoomTool.Selector = TSelector{};
    editor.ZoomTool.Selector->StartAt(QPoint(area.Left, area.Top));
    editor.ZoomTool.Selector->DragTo(QPoint(area.Right, area.Bottom));
    editor.ZoomTool.FinishZoomRect(0, 0);
    EXPECT_DOUBLE_EQ(view.Zoom, std::min(230.0 / pixels.Width() * 5.0, 330.0 / pixels.Height() * 5.0));
}

} // namespace
