// Board painting and zoom: the mapping and its limits, background and grid by run state, the
// clip test of items, and the zoom operations with their centring.
#include "core/BoardTestSupport.h"
#include "platform/Canvas.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Paints the board's screen pixels in area into an image.
QImage Render(TPlatine& board, const QRect& area)
{
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    TCanvas canvas(&painter);
    board.Paint(canvas);
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
        board.SetZoom(c.set);
        EXPECT_EQ(board.Zoom, c.zoom);
        EXPECT_EQ(board.ControlWidth(), c.controlWidth);
        EXPECT_EQ(board.ControlHeight(), c.controlWidth);
    }

    board.SetZoom(5.0);
    EXPECT_EQ(board.ScreenToBoard(QPoint(80, 80)), QPoint(254, 254));
    EXPECT_EQ(board.BoardToScreen(QPoint(254, 508)), QPoint(80, 160));
    board.ViewOffsetX = 30;
    board.ViewOffsetY = 10;
    // Screen points belong to the whole board: the view offset does not change them.
    EXPECT_EQ(board.ScreenToBoard(QPoint(80, 80)), QPoint(254, 254));
    EXPECT_EQ(board.BoardToDevice(QPoint(254, 254)), QPoint(50, 70));
}

TEST_F(BoardPaintTest, GridSpacingDoublesUntilTenPixels)
{
    struct Case {
        double zoom;
        int spacing;
    };
    const Case cases[] = {{0.5, 320}, {5.0, 40}, {15.875, 20}, {20.0, 20}};
    for (const Case& c : cases) {
        board.SetZoom(c.zoom);
        EXPECT_EQ(board.GridSpacing(), c.spacing) << c.zoom;
    }
}

TEST_F(BoardPaintTest, BackgroundAndGridByRunState)
{
    const QColor background(255, 255, 246);
    const QColor grid(230, 230, 230);
    const QColor running(234, 236, 239);
    board.SetZoom(15.875);  // grid every 20 pixels
    const QRect area(0, 0, 60, 60);

    QImage image = Render(board, area);
    EXPECT_EQ(image.pixelColor(20, 5), background);  // grid off

    board.GridVisible = true;
    image = Render(board, area);
    EXPECT_EQ(image.pixelColor(20, 5), grid);
    EXPECT_EQ(image.pixelColor(5, 40), grid);
    EXPECT_EQ(image.pixelColor(10, 5), background);

    board.Running = true;
    image = Render(board, area);
    EXPECT_EQ(image.pixelColor(20, 5), running);
    EXPECT_EQ(image.pixelColor(10, 5), running);

    // An inner board follows the top board's flags: no grid while the top board runs.
    TPlatine inner;
    inner.SetZoom(15.875);
    inner.TopBoard = &board;
    image = Render(inner, area);
    EXPECT_EQ(image.pixelColor(20, 5), running);
    board.Running = false;
    image = Render(inner, area);
    EXPECT_EQ(image.pixelColor(20, 5), grid);

    // Nothing at all while painting is switched off.
    board.NoPaint = true;
    image = Render(board, area);
    EXPECT_EQ(image.pixelColor(20, 5), QColor(Qt::black));
}

TEST_F(BoardPaintTest, OnlyItemsInTheClipArePainted)
{
    board.SetZoom(15.875);
    auto* inside = static_cast<TCountingItem*>(board.AppendItem(NewObject<TCountingItem>()));
    auto* outside = static_cast<TCountingItem*>(board.AppendItem(NewObject<TCountingItem>()));
    inside->Bounds = TRect{10, 10, 50, 50};
    outside->Bounds = TRect{500, 500, 540, 540};
    board.MonochromePrint = true;

    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 100, 100));
    TCanvas canvas(&painter);
    board.Paint(canvas);
    EXPECT_EQ(inside->Paints, 1);
    EXPECT_EQ(outside->Paints, 0);
    EXPECT_TRUE(inside->SawMonochrome);
    EXPECT_FALSE(inside->MonochromePrint);  // only while painted
}

TEST_F(BoardPaintTest, ZoomOperationsCentreThePoint)
{
    board.ViewWidth = 400;
    board.ViewHeight = 300;
    int changes = 0;
    int repaints = 0;
    board.OnChange = [&](TPlatine*) { ++changes; };
    board.OnRepaint = [&] { ++repaints; };
    auto centre = [this] {
        return board.ScreenToBoard(
            QPoint(board.ViewOffsetX + board.ViewWidth / 2, board.ViewOffsetY + board.ViewHeight / 2));
    };
    auto near = [](QPoint a, QPoint b) {
        return std::abs(a.x() - b.x()) <= 6 && std::abs(a.y() - b.y()) <= 6;
    };

    board.SetZoom(5.0);
    board.ViewOffsetX = 2000;
    board.ViewOffsetY = 2000;
    const QPoint mouse(2100, 2050);
    const QPoint target = board.ScreenToBoard(mouse);
    board.ZoomInAt(mouse);
    EXPECT_DOUBLE_EQ(board.Zoom, 7.0);
    EXPECT_TRUE(near(centre(), target));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(repaints, 0);  // the caller repaints

    board.ZoomOutAt(board.BoardToScreen(target));
    EXPECT_DOUBLE_EQ(board.Zoom, 5.0);
    EXPECT_TRUE(near(centre(), target));

    board.WheelZoom(true, board.BoardToScreen(target));
    EXPECT_DOUBLE_EQ(board.Zoom, 5.5);
    EXPECT_TRUE(near(centre(), target));
    EXPECT_EQ(repaints, 1);

    // The view offset stays on the board.
    board.ViewOffsetX = 0;
    board.ViewOffsetY = 0;
    board.ZoomOutAt(QPoint(10, 10));
    EXPECT_EQ(QPoint(board.ViewOffsetX, board.ViewOffsetY), QPoint(0, 0));

    board.ZoomToBoard();
    EXPECT_DOUBLE_EQ(board.Zoom, 0.5);  // 300 x 15 / 20000 is below the limit
    EXPECT_EQ(QPoint(board.ViewOffsetX, board.ViewOffsetY), QPoint(0, 0));
}

TEST_F(BoardPaintTest, ZoomToObjectsAndZoomRectangle)
{
    board.ViewWidth = 230;
    board.ViewHeight = 330;
    board.SetZoom(5.0);
    TTestAnd* gate = Add<TTestAnd>(board);
    board.SelectAll(false);
    board.ZoomToObjects(true);  // nothing selected: nothing happens
    EXPECT_DOUBLE_EQ(board.Zoom, 5.0);

    board.ZoomToObjects(false);
    // The gate's bounds (236 x 136 units) fill the view's width less 30 pixels.
    const TRect b = board.BoardRectToScreen(gate->GetBounds());
    EXPECT_NEAR(b.Width(), 200, 4);
    EXPECT_LE(b.Height(), 300);
    const QPoint centre = board.ScreenToBoard(QPoint(board.ViewOffsetX + 115, board.ViewOffsetY + 165));
    EXPECT_NEAR(centre.x(), 350, 8);
    EXPECT_NEAR(centre.y(), 360, 8);

    // A zoom rectangle under 5 pixels zooms in by 1.4 at the mouse.
    board.SetZoom(5.0);
    board.Selector = TSelector{};
    board.Selector->StartAt(QPoint(1000, 1000));
    board.Selector->DragTo(QPoint(1009, 1200));  // 3 x 63 pixels
    const QPoint mouse = board.BoardToScreen(QPoint(1000, 1000));
    board.FinishZoomRect(mouse.x(), mouse.y());
    EXPECT_DOUBLE_EQ(board.Zoom, 7.0);
    EXPECT_FALSE(board.Selector.has_value());

    // A larger one is fitted into the view.
    board.SetZoom(5.0);
    const TRect area{1000, 1000, 3730, 1952};
    const TRect pixels = board.BoardRectToScreen(area);
    board.Selector = TSelector{};
    board.Selector->StartAt(QPoint(area.Left, area.Top));
    board.Selector->DragTo(QPoint(area.Right, area.Bottom));
    board.FinishZoomRect(0, 0);
    EXPECT_DOUBLE_EQ(board.Zoom, std::min(230.0 / pixels.Width() * 5.0, 330.0 / pixels.Height() * 5.0));
}

} // namespace
