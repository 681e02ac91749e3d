#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <functional>

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kRed = 0x0000FF;

class CanvasTest : public ::testing::Test {
protected:
    QImage img{200, 200, QImage::Format_RGB32};

    void SetUp() override { img.fill(Qt::white); }

    // Paints with a fresh canvas; `zoom` > 0 sets the board mapping.
    void paint(const std::function<void(TCanvas&)>& f, double zoom = 0, QPoint origin = QPoint())
    {
        QPainter p(&img);
        TCanvas c(&p);
        if (zoom > 0)
            c.SetMapping(zoom, origin);
        f(c);
    }

    int32_t px(int x, int y) const { return QColorToTColor(img.pixelColor(x, y)); }

    // Bounding box of all pixels that are not white.
    QRect inked() const
    {
        QRect r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (px(x, y) != kWhite)
                    r |= QRect(x, y, 1, 1);
        return r;
    }
};

struct PixelCase { int x, y; int32_t color; const char* what; };

void expectPixels(const QImage& img, std::initializer_list<PixelCase> cases)
{
    for (const PixelCase& c : cases)
        EXPECT_EQ(QColorToTColor(img.pixelColor(c.x, c.y)), c.color)
            << c.what << " at (" << c.x << ", " << c.y << ")";
}

} // namespace

TEST_F(CanvasTest, RectangleFillsWithBrushOutlinesWithPenRightBottomExclusive)
{
    paint([](TCanvas& c) {
        c.Brush.Color = kRed;
        c.Rectangle(10, 10, 20, 30);
    });
    expectPixels(img, {
        {10, 10, kBlack, "top-left corner"}, {19, 10, kBlack, "top-right corner"},
        {10, 29, kBlack, "bottom-left corner"}, {19, 29, kBlack, "bottom-right corner"},
        {15, 10, kBlack, "top edge"}, {19, 20, kBlack, "right edge"},
        {11, 11, kRed, "fill"}, {18, 28, kRed, "fill"},
        {20, 20, kWhite, "right of the box"}, {15, 30, kWhite, "below the box"},
        {9, 20, kWhite, "left of the box"}, {15, 9, kWhite, "above the box"},
    });
    EXPECT_EQ(inked(), QRect(10, 10, 10, 20));
}

TEST_F(CanvasTest, RectangleWithoutPenLeavesOutLastColumnAndRow)
{
    paint([](TCanvas& c) {
        c.Pen.Style = Qt::NoPen;
        c.Brush.Color = kRed;
        c.Rectangle(10, 10, 20, 20);
    });
    EXPECT_EQ(inked(), QRect(10, 10, 9, 9));
    EXPECT_EQ(px(10, 10), kRed);
}

TEST_F(CanvasTest, ClearBrushAndNoneColourLeaveTheInside)
{
    paint([](TCanvas& c) {
        c.Brush.Style = Qt::NoBrush;
        c.Rectangle(10, 10, 20, 20);
        c.Brush.Style = Qt::SolidPattern;
        c.Brush.Color = clNone;
        c.Rectangle(30, 10, 40, 20);
    });
    expectPixels(img, {{10, 10, kBlack, "outline"}, {15, 15, kWhite, "clear brush"},
                       {30, 10, kBlack, "outline"}, {35, 15, kWhite, "clNone brush"}});
}

TEST_F(CanvasTest, FillRectCoversBoxWithoutOutline)
{
    paint([](TCanvas& c) {
        c.Brush.Color = kRed;
        c.FillRect(10, 10, 20, 20);           // GDI box
        c.FillRect(QRect(30, 10, 10, 10));    // Qt rectangle, same size
    });
    EXPECT_EQ(inked(), QRect(10, 10, 30, 10));
    expectPixels(img, {{10, 10, kRed, "corner"}, {19, 19, kRed, "last pixel"},
                       {20, 15, kWhite, "exclusive right"}, {39, 19, kRed, "Qt rect"},
                       {40, 19, kWhite, "past Qt rect"}});
}

TEST_F(CanvasTest, LineToDrawsFromPenPosition)
{
    paint([](TCanvas& c) {
        c.MoveTo(5, 50);
        c.LineTo(30, 50);
        EXPECT_EQ(c.PenPos(), QPoint(30, 50));
        c.LineTo(30, 70);
        c.Pen.Width = 3;
        c.MoveTo(50, 100);
        c.LineTo(100, 100);
    });
    expectPixels(img, {
        {5, 50, kBlack, "start"}, {29, 50, kBlack, "before the end"},
        {15, 49, kWhite, "above"}, {15, 51, kWhite, "below"},
        {30, 60, kBlack, "second segment"}, {31, 60, kWhite, "beside it"},
        {75, 99, kBlack, "wide line"}, {75, 100, kBlack, "wide line"}, {75, 101, kBlack, "wide line"},
        {75, 98, kWhite, "above the wide line"}, {75, 102, kWhite, "below the wide line"},
    });
    EXPECT_EQ(px(30, 70), kWhite) << "a thin line leaves out its end pixel";
}

TEST_F(CanvasTest, EllipseAndPolygon)
{
    paint([](TCanvas& c) {
        c.Brush.Color = kRed;
        c.Ellipse(10, 10, 51, 31);
        c.Polygon({QPoint(100, 10), QPoint(140, 10), QPoint(100, 50)});
        c.Polyline({QPoint(10, 150), QPoint(50, 150), QPoint(50, 190)});
    });
    expectPixels(img, {
        {30, 20, kRed, "ellipse centre"}, {10, 20, kBlack, "ellipse left"},
        {50, 20, kBlack, "ellipse right"}, {30, 10, kBlack, "ellipse top"},
        {11, 11, kWhite, "outside the ellipse"}, {51, 20, kWhite, "right of the box"},
        {105, 15, kRed, "inside the triangle"}, {135, 45, kWhite, "outside the triangle"},
        {100, 30, kBlack, "triangle edge"},
        {40, 150, kBlack, "polyline"}, {50, 170, kBlack, "polyline"}, {40, 160, kWhite, "no fill"},
    });
}

TEST(CanvasMapping, BoardUnitsToPixels)
{
    struct Case { double zoom; int logical; int device; };
    const Case cases[] = {
        {1.0, 254, 16}, {2.5, 254, 40}, {5.0, 254, 80}, {20.0, 254, 320}, {0.5, 254, 8},
        {5.0, 20000, 6299}, {0.5, 20, 1},  // 0.63 px
        {1.03125, 254, 16}, {1.09375, 254, 18}, // round(16.5) = 16, round(17.5) = 18
        {1.0625, 127, 8}, {1.0625, 381, 26}, {1.0625, -127, -8}, // 8.5, 25.5, -8.5
        {2.5, -254, -40}, {2.5, 0, 0},
    };
    for (const Case& c : cases) {
        TCanvas canvas;
        canvas.SetMapping(c.zoom);
        EXPECT_EQ(canvas.LPtoDP(QPoint(c.logical, -c.logical)), QPoint(c.device, -c.device))
            << "zoom " << c.zoom << " logical " << c.logical;
        EXPECT_EQ(canvas.LengthToDP(c.logical), c.device);
    }
    TCanvas canvas;
    canvas.SetMapping(5.0);
    EXPECT_EQ(canvas.DPtoLP(QPoint(80, 80)), QPoint(254, 254));
    EXPECT_EQ(canvas.LPtoDP(QRect(0, 0, 254, 508)), QRect(0, 0, 80, 160));
    EXPECT_EQ(canvas.DPtoLP(QRect(80, 0, 80, 160)), QRect(254, 0, 254, 508));
    EXPECT_EQ(canvas.LengthToLP(80), 254);
    canvas.SetIdentityMapping();
    EXPECT_EQ(canvas.LPtoDP(QPoint(254, 7)), QPoint(254, 7));
    EXPECT_EQ(canvas.DPtoLP(QPoint(-3, 9)), QPoint(-3, 9));
}

TEST(CanvasMapping, RoundTripStaysWithinOnePixel)
{
    for (double zoom : {0.5, 1.0, 1.0625, 2.5, 5.0, 7.3, 20.0}) {
        for (QPoint origin : {QPoint(0, 0), QPoint(1234, -567)}) {
            TCanvas c;
            c.SetMapping(zoom, origin);
            const int v = c.LengthToDP(254);
            for (int l = -3000; l <= 3000; l += 7) {
                const QPoint p(l, -l / 3);
                const QPoint back = c.DPtoLP(c.LPtoDP(p));
                // the logical error is at most one device pixel (254 / V units)
                EXPECT_LE(std::abs(back.x() - p.x()) * v, 254) << zoom << " " << l;
                EXPECT_LE(std::abs(back.y() - p.y()) * v, 254) << zoom << " " << l;
                const QPoint d(l / 5, l / 11);
                const QPoint dd = c.LPtoDP(c.DPtoLP(d));
                EXPECT_LE(std::abs(dd.x() - d.x()), 1) << zoom << " " << l;
                EXPECT_LE(std::abs(dd.y() - d.y()), 1) << zoom << " " << l;
            }
        }
    }
}

TEST(CanvasMapping, OriginIsTheBoardPointAtDeviceZero)
{
    TCanvas c;
    c.SetMapping(1.0, QPoint(254, 508));
    EXPECT_EQ(c.LPtoDP(QPoint(254, 508)), QPoint(0, 0));
    EXPECT_EQ(c.LPtoDP(QPoint(508, 254)), QPoint(16, -16));
    EXPECT_EQ(c.DPtoLP(QPoint(0, 0)), QPoint(254, 508));
    EXPECT_EQ(c.DPtoLP(QPoint(32, 16)), QPoint(762, 762));
    EXPECT_EQ(c.LengthToDP(254), 16);   // lengths ignore the origin
}

TEST(CanvasMapping, DegenerateZoomStillMaps)
{
    TCanvas c;
    c.SetMapping(0.0);
    EXPECT_EQ(c.LPtoDP(QPoint(254, 254)), QPoint(1, 1));
    EXPECT_EQ(c.DPtoLP(QPoint(1, 1)), QPoint(254, 254));
}

TEST_F(CanvasTest, MappedDrawingUsesBoardUnits)
{
    paint([](TCanvas& c) {
        c.Brush.Color = kRed;
        c.Rectangle(0, 0, 254, 254);      // 40 x 40 px at zoom 2.5
        c.MoveTo(0, 508);
        c.LineTo(1016, 508);              // y = 80 px
    }, 2.5);
    expectPixels(img, {
        {0, 0, kBlack, "corner"}, {39, 39, kBlack, "far corner"}, {20, 20, kRed, "fill"},
        {40, 20, kWhite, "right of the box"}, {20, 40, kWhite, "below the box"},
        {100, 80, kBlack, "line"}, {100, 79, kWhite, "above the line"},
    });
}

TEST_F(CanvasTest, MappedOriginShiftsDrawing)
{
    paint([](TCanvas& c) {
        c.Brush.Color = kRed;
        c.Rectangle(254, 254, 508, 508);
    }, 1.0, QPoint(254, 254));
    EXPECT_EQ(inked(), QRect(0, 0, 16, 16));
}

TEST_F(CanvasTest, PenWidthScalesWithMapping)
{
    struct Case { double zoom; int width; int pixels; };
    const Case cases[] = {
        {5.0, 3, 1},     // 0.94 px
        {20.0, 3, 4},    // 3.78 px
        {20.0, 0, 1},    // width 0 is always one pixel
        {0.5, 10, 1},
    };
    for (const Case& c : cases) {
        img.fill(Qt::white);
        paint([&](TCanvas& canvas) {
            canvas.Pen.Width = c.width;
            canvas.MoveTo(0, canvas.DPtoLP(QPoint(0, 100)).y());
            canvas.LineTo(canvas.DPtoLP(QPoint(150, 0)).x(), canvas.DPtoLP(QPoint(0, 100)).y());
        }, c.zoom);
        EXPECT_EQ(inked().height(), c.pixels) << "zoom " << c.zoom << " width " << c.width;
    }
}

TEST_F(CanvasTest, XorModesRestoreTheSurfaceWhenDrawnTwice)
{
    struct Case { TPenMode mode; int32_t color; int32_t once; };
    const Case cases[] = {
        {TPenMode::Xor, kWhite, kBlack},      // white xor white
        {TPenMode::NotXor, kBlack, kBlack},   // not (black xor white)
    };
    for (const Case& c : cases) {
        img.fill(Qt::white);
        paint([&](TCanvas& canvas) {
            canvas.Pen.Mode = c.mode;
            canvas.Pen.Color = c.color;
            canvas.Brush.Style = Qt::NoBrush;
            canvas.Rectangle(10, 10, 50, 50);
        });
        EXPECT_EQ(px(10, 30), c.once);
        EXPECT_EQ(px(30, 30), kWhite);
        paint([&](TCanvas& canvas) {
            canvas.Pen.Mode = c.mode;
            canvas.Pen.Color = c.color;
            canvas.Brush.Style = Qt::NoBrush;
            canvas.Rectangle(10, 10, 50, 50);
            canvas.Pen.Mode = TPenMode::Copy;  // copy mode again afterwards
            canvas.Pen.Color = kBlack;
            canvas.MoveTo(100, 100);
            canvas.LineTo(120, 100);
        });
        EXPECT_EQ(inked(), QRect(100, 100, 20, 1));
    }
}

TEST_F(CanvasTest, TextSitsBelowAndRightOfItsTopLeft)
{
    int width = 0, height = 0;
    paint([&](TCanvas& c) {
        c.SetFontHeight(20);
        c.FontColor = kRed;
        c.TextOut(50, 60, QStringLiteral("Hallo"));
        width = c.TextWidth(QStringLiteral("Hallo"));
        height = c.TextHeight(QStringLiteral("Hallo"));
        EXPECT_EQ(c.PenPos(), QPoint(50 + width, 60));
    });
    EXPECT_GT(width, 20);
    EXPECT_NEAR(height, 20, 1);
    const QRect ink = inked();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 50);
    EXPECT_GE(ink.top(), 60);
    EXPECT_LE(ink.right(), 50 + width);
    EXPECT_LT(ink.bottom(), 60 + height);
    EXPECT_LT(ink.top(), 60 + height / 3);      // the glyphs start near the top of the cell
}

TEST_F(CanvasTest, OpaqueTextFillsItsCellWithTheBrushColour)
{
    int width = 0;
    paint([&](TCanvas& c) {
        c.SetFontHeight(20);
        c.TransparentText = false;
        c.Brush.Color = kRed;
        c.TextOut(50, 60, QStringLiteral("ab"));
        width = c.TextWidth(QStringLiteral("ab"));
    });
    EXPECT_EQ(px(50, 60), kRed);
    EXPECT_EQ(px(50 + width - 1, 60 + 19), kRed);
    EXPECT_EQ(px(50 + width, 60), kWhite);
    EXPECT_EQ(px(50, 60 + 20), kWhite);
}

TEST_F(CanvasTest, TextScalesWithZoom)
{
    const QString text = QStringLiteral("Pin 12");
    QRect ink[2];
    int logicalWidth[2];
    const double zooms[2] = {1.0, 4.0};
    for (int i = 0; i < 2; ++i) {
        img.fill(Qt::white);
        paint([&](TCanvas& c) {
            c.SetFontHeight(160);    // 10 px at zoom 1, 40 px at zoom 4
            c.TextOut(0, 0, text);
            logicalWidth[i] = c.TextWidth(text);
        }, zooms[i]);
        ink[i] = inked();
    }
    EXPECT_GT(logicalWidth[0], 0);
    // the logical width barely depends on the zoom, the painted width grows with it
    EXPECT_NEAR(logicalWidth[1], logicalWidth[0], logicalWidth[0] / 5);
    EXPECT_NEAR(ink[1].width(), 4 * ink[0].width(), ink[0].width());
    EXPECT_NEAR(ink[1].height(), 4 * ink[0].height(), ink[0].height());
}

TEST_F(CanvasTest, RotatedTextRunsUpwards)
{
    paint([](TCanvas& c) {
        c.SetFontHeight(20);
        c.TextOutRotated(100, 150, QStringLiteral("Caption"), 90);
    });
    const QRect ink = inked();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_LE(ink.bottom(), 150);
    EXPECT_GE(ink.left(), 100);
    EXPECT_LE(ink.right(), 120);
}

TEST(CanvasFont, HeightConvention)
{
    TCanvas c;
    c.Font = QFont(QStringLiteral("Arial"));
    c.SetFontHeight(-20);
    EXPECT_EQ(c.Font.pixelSize(), 20);
    EXPECT_EQ(c.FontHeight(), -20);
    c.SetFontHeight(26);
    EXPECT_LT(c.Font.pixelSize(), 26);     // a cell of 26 holds a smaller character
    EXPECT_NEAR(c.TextHeight(QStringLiteral("X")), 26, 1);
    // shrinking one step at a time always moves (a caption loop relies on it)
    for (int h = 32; h > 5; --h) {
        c.SetFontHeight(h);
        ASSERT_EQ(c.FontHeight(), h);
    }
    c.Font.setPixelSize(30);              // set directly: its cell height is reported
    EXPECT_GT(c.FontHeight(), 30);
    EXPECT_NEAR(c.FontHeight(), c.TextHeight(QStringLiteral("X")), 1);
}

TEST(CanvasFont, MeasuresWithoutPainter)
{
    TCanvas c;
    c.SetFontHeight(26);
    EXPECT_GT(c.TextWidth(QStringLiteral("CLR")), 0);
    EXPECT_EQ(c.TextWidth(QString()), 0);
    c.MoveTo(1, 2);
    c.LineTo(3, 4);           // nothing to paint on: only the pen moves
    c.Rectangle(0, 0, 10, 10);
    c.TextOut(5, 6, QStringLiteral("x"));
    EXPECT_EQ(c.PenPos(), QPoint(5 + c.TextWidth(QStringLiteral("x")), 6));
    EXPECT_TRUE(c.ClipRect().isEmpty());
}

TEST_F(CanvasTest, ClipRectIsInLogicalUnits)
{
    paint([](TCanvas& c) {
        EXPECT_EQ(c.ClipRect(), QRect(0, 0, 3175, 3175));   // 200 px at zoom 1
        c.Painter()->setClipRect(QRect(16, 32, 16, 16));
        EXPECT_EQ(c.ClipRect(), QRect(254, 508, 254, 254));
    }, 1.0);
}
