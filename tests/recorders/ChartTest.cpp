// The recorder chart: the coordinate transforms of grid, curves and scales, the range rule,
// the grid and tick steps, scale labels, mouse zoom and scale dragging, deferred comment
// deletion, the print zoom and a curve of a million points.

#include "RecorderTestSupport.h"

#include "frontpanel/chart/Chart.h"
#include "platform/Colors.h"
#include "ui/Formats.h"

#include <QImage>
#include <QMouseEvent>

#include <cmath>
#include <functional>
#include <limits>

namespace {

using ChartTest = RecorderTest;

// A chart whose grid is exactly w x h pixels.
std::unique_ptr<TGraf> MakeChart(int w, int h)
{
    auto chart = std::make_unique<TGraf>();
    chart->BorderWidth = 0;
    chart->Bevels = false;
    chart->resize(30 + w, h + 25);
    return chart;
}

void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), Qt::LeftButton, held, mods);
    QCoreApplication::sendEvent(&w, &event);
}

void Drag(TGraf& chart, QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Mouse(chart, QEvent::MouseButtonPress, from, mods);
    Mouse(chart, QEvent::MouseMove, to, mods);
    Mouse(chart, QEvent::MouseButtonRelease, to, mods);
}

} // namespace

TEST_F(ChartTest, TransformsOfGridCurvesAndScales)
{
    // Grid 17 x 51 over x 0..8 and y 0..5: two pixels per x unit, ten per y unit.
    TRasterMap grid;
    grid.XMin = 0;
    grid.XMax = 8;
    grid.YMin = 0;
    grid.YMax = 5;
    grid.W = 17;
    grid.H = 51;
    struct XCase {
        Extended x;
        int pixel;
    };
    // Halves go to the even neighbour: 1.5 and 2.5 both give 2, less the grid's one.
    for (const XCase& c : {XCase{0, 0}, {8, 16}, {0.25L, 1}, {0.75L, 1}, {1e30L, kChartSentinelX}})
        EXPECT_EQ(grid.XToPixel(c.x), c.pixel) << double(c.x);
    for (const XCase& c : {XCase{0, 50}, {5, 0}, {0.25L, 48}, {0.75L, 42}, {-1e30L, kChartSentinelY}})
        EXPECT_EQ(grid.YToPixel(c.x), c.pixel) << double(c.x);
    EXPECT_DOUBLE_EQ(double(grid.PixelToX(0)), 0.5);
    EXPECT_DOUBLE_EQ(double(grid.PixelToX(15)), 8.0);
    EXPECT_DOUBLE_EQ(double(grid.PixelToY(51)), 0.0);
    EXPECT_DOUBLE_EQ(double(grid.PixelToY(0)), 5.0);

    // Curves (and the x scale) place the same x one pixel left of the grid.
    const TCurveMap curve{0, 8, 0, 5, 17, 51};
    EXPECT_EQ(curve.XToPixel(0), -1);
    EXPECT_EQ(curve.XToPixel(8), 15);
    EXPECT_EQ(curve.YToPixel(2.5), 25);
    EXPECT_EQ(curve.XToPixel(1e300), kChartSentinelX);

    // The y scale leaves 25 pixels for the x scale and starts 5 pixels down.
    const TYScaleMap yScale{0, 10, 125};
    EXPECT_EQ(yScale.YToPixel(0), 105);
    EXPECT_EQ(yScale.YToPixel(10), 5);
}

TEST_F(ChartTest, RangeRule)
{
    auto chart = MakeChart(500, 200);
    chart->AddCurve();
    int events = 0;
    chart->OnZoomChanged = [&] { ++events; };

    chart->SetRange(10, 0, 5, -5);  // swapped pairs
    EXPECT_EQ(events, 1);
    EXPECT_EQ(chart->Raster.XMin, 0);
    EXPECT_EQ(chart->Raster.XMax, 10);
    EXPECT_EQ(chart->Raster.YMin, -5);
    EXPECT_EQ(chart->Raster.YMax, 5);

    // Spans below 1e-15 or above 1e15 change nothing and fire nothing.
    chart->SetRange(1, 1 + 1e-16L, 0, 1);
    chart->SetRange(0, 1e16L, 0, 1);
    chart->SetRange(0, 1, 0, std::nan(""));
    EXPECT_EQ(events, 1);
    EXPECT_EQ(chart->Raster.XMax, 10);

    // A narrow range: scales and curves keep it, the grid widens to a thousandth of XMin.
    chart->SetRange(1000, 1000.5L, 0, 1);
    EXPECT_DOUBLE_EQ(chart->XScale.XMax, 1000.5);
    EXPECT_DOUBLE_EQ(chart->Curves[0]->XMax, 1000.5);
    EXPECT_DOUBLE_EQ(double(chart->Raster.XMax), 1001.0);

    chart->YMaxLimit = 100;
    chart->SetRange(0, 10, 0, 500);
    EXPECT_EQ(chart->Raster.YMax, 100);
}

TEST_F(ChartTest, GridRunsAtHalfTheScaleStepInTimeModes)
{
    auto chart = MakeChart(500, 200);
    chart->SetTimeMode(tmNone);
    chart->SetRange(0, 10, 0, 1);
    // 10 units on 500 pixels: a line every unit (50 pixels).
    EXPECT_DOUBLE_EQ(double(chart->Raster.XStep), 1.0);

    chart->SetTimeMode(tmZeit);
    chart->SetRange(0, 3600, 0, 1);
    // An hour: the time ladder gives ten minutes on the scale, five on the grid.
    EXPECT_DOUBLE_EQ(double(chart->XTickStep), 600.0);
    EXPECT_DOUBLE_EQ(double(chart->Raster.XStep), 300.0);
}

TEST_F(ChartTest, ScaleLabels)
{
    // Relative time: plain numbers while both ends lie within 60 seconds, else durations.
    EXPECT_EQ(XScaleLabel(30.5, -59, 59, tmZeit, 0), QStringLiteral("30.5"));
    EXPECT_EQ(XScaleLabel(30.5, -60, 59, tmZeit, 0), DurationToText(30.5));
    EXPECT_EQ(XScaleLabel(30.5, 0, 60, tmZeit, 0), DurationToText(30.5));
    EXPECT_EQ(XScaleLabel(1234.6, 0, 60, tmNone, 0), QStringLiteral("1235"));
    // A y label below a hundred-thousandth of the span reads 0.
    EXPECT_EQ(YScaleLabel(1e-5, -10, 10), QStringLiteral("0"));
    EXPECT_EQ(YScaleLabel(0.5, -10, 10), QStringLiteral("0.5"));
}

TEST_F(ChartTest, BoxZoomEitherWayAndClick)
{
    auto chart = MakeChart(500, 200);
    chart->SetRange(0, 100, -10, 10);
    const QPoint g = chart->GridRect().topLeft();
    Drag(*chart, g + QPoint(100, 50), g + QPoint(300, 150));
    const TRasterMap forward = chart->Raster;
    chart->SetRange(0, 100, -10, 10);
    Drag(*chart, g + QPoint(300, 150), g + QPoint(100, 50));
    EXPECT_EQ(chart->Raster.XMin, forward.XMin);
    EXPECT_EQ(chart->Raster.XMax, forward.XMax);
    EXPECT_EQ(chart->Raster.YMin, forward.YMin);
    EXPECT_EQ(chart->Raster.YMax, forward.YMax);
    EXPECT_LT(forward.XMax - forward.XMin, 50);

    chart->SetRange(0, 100, -10, 10);
    Drag(*chart, g + QPoint(100, 50), g + QPoint(100, 50));
    EXPECT_EQ(chart->Raster.XMin, 0);
    EXPECT_EQ(chart->Raster.XMax, 100);

    // No box while the recorder runs.
    chart->Locked = true;
    Drag(*chart, g + QPoint(100, 50), g + QPoint(300, 150));
    EXPECT_EQ(chart->Raster.XMax, 100);
}

TEST_F(ChartTest, ScaleDragging)
{
    auto chart = MakeChart(500, 200);
    chart->SetRange(0, 100, -10, 10);
    const QRect xs = chart->XScaleRect();
    // 50 pixels to the right on 500: the content follows the mouse by a tenth of the span.
    Drag(*chart, xs.center(), xs.center() + QPoint(50, 0));
    EXPECT_NEAR(double(chart->Raster.XMin), -10, 1e-9);
    EXPECT_NEAR(double(chart->Raster.XMax), 90, 1e-9);

    // Shift narrows; beyond a millionth per pixel nothing happens.
    chart->SetRange(0, 1e-3L, -10, 10);
    Drag(*chart, xs.center(), xs.center() + QPoint(249, 0), Qt::ShiftModifier);
    EXPECT_EQ(chart->Raster.XMax, 1e-3L);

    // Recording: the x scale is fixed.
    chart->SetRange(0, 100, -10, 10);
    chart->RangeLocked = true;
    Drag(*chart, xs.center(), xs.center() + QPoint(50, 0));
    EXPECT_EQ(chart->Raster.XMin, 0);

    // The y scale pans without Shift and widens with it when dragged down.
    chart->RangeLocked = false;
    const QRect ys = chart->YScaleRect();
    Drag(*chart, ys.center(), ys.center() + QPoint(0, 20), Qt::ShiftModifier);
    EXPECT_NEAR(double(chart->Raster.YMin), -12, 1e-9);
    EXPECT_NEAR(double(chart->Raster.YMax), 12, 1e-9);
}

TEST_F(ChartTest, ZoomButtonsHalveAndWidenAroundTheCentre)
{
    auto chart = MakeChart(500, 200);
    chart->SetRange(0, 100, -10, 10);
    chart->ZoomYIn();
    EXPECT_EQ(chart->Raster.YMin, -5);
    EXPECT_EQ(chart->Raster.YMax, 5);
    chart->ZoomXOut();
    EXPECT_EQ(chart->Raster.XMin, -25);
    EXPECT_EQ(chart->Raster.XMax, 125);
}

TEST_F(ChartTest, DeletedCommentIsFreedAfterItsHandler)
{
    auto chart = MakeChart(500, 200);
    chart->SetRange(0, 100, -10, 10);
    TKommentar* comment = chart->AddComment(100, 50);
    ASSERT_EQ(chart->Comments.size(), 1u);
    EXPECT_FALSE(comment->text().isEmpty());
    comment->Deleted = true;
    chart->DeleteComment();
    // Still there while the handler that asked runs.
    EXPECT_EQ(chart->Comments.size(), 1u);
    EXPECT_TRUE(RunUntil([&] { return chart->Comments.empty(); }));
}

TEST_F(ChartTest, PrintZoomOfTheSizeBar)
{
    EXPECT_DOUBLE_EQ(PrintZoomForPosition(0), 10.0);
    EXPECT_DOUBLE_EQ(PrintZoomForPosition(100), 1.0);
    EXPECT_DOUBLE_EQ(PrintZoomForPosition(200), 0.1);
}

TEST_F(ChartTest, MillionPointsKeepTheirPeaks)
{
    auto chart = MakeChart(500, 200);
    chart->SetTimeMode(tmNone);
    chart->SetRange(0, 1, -2, 2);
    std::vector<TChartSample> samples(1000000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = {double(i) / double(samples.size()), 0.0};
    samples[500001].Y = 1.9;  // one sample high among half a million in its column
    TKurve& curve = chart->AddCurve();
    curve.CurveColor = 0x0000FF;
    for (const TChartSample& s : samples)
        curve.Points.push_back(&s);
    chart->SetRange(0, 1, -2, 2);
    QImage image(chart->size(), QImage::Format_RGB32);
    chart->render(&image);
    const QPoint g = chart->GridRect().topLeft();
    const int column = g.x() + chart->XScale.XToPixel(samples[500001].X);
    const int top = g.y() + chart->Raster.YToPixel(1.8);
    bool red = false;
    for (int dx = -1; dx <= 1; ++dx)
        red = red || QColorToTColor(image.pixelColor(column + dx, top)) == 0x0000FF;
    EXPECT_TRUE(red);
}

// The reduced line equals the one built sample by sample with the curve mapping, also for
// samples out of order, on the halves between two pixels, beyond the pixel range and NaN.
TEST_F(ChartTest, CurveLineMatchesTheSampleBySampleMapping)
{
    const auto reference = [](const std::vector<const TChartSample*>& points, const TCurveMap& map) {
        std::vector<QPoint> line;
        int column = 0, lo = 0, hi = 0, last = 0;
        bool open = false;
        const auto flush = [&] {
            if (!open)
                return;
            if (lo != hi) {
                line.emplace_back(column, lo);
                line.emplace_back(column, hi);
            }
            line.emplace_back(column, last);
        };
        for (const TChartSample* s : points) {
            const int px = map.XToPixel(s->X);
            const int py = map.YToPixel(s->Y);
            if (open && px == column) {
                lo = std::min(lo, py);
                hi = std::max(hi, py);
                last = py;
                continue;
            }
            flush();
            line.emplace_back(px, py);
            column = px;
            lo = hi = last = py;
            open = true;
        }
        flush();
        return line;
    };
    uint32_t noise = 99;
    const auto random = [&] {
        noise = noise * 1103515245u + 12345u;
        return double(noise >> 8) / double(1u << 24);
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct TCase {
        const char* name;
        TCurveMap map;
        std::function<TChartSample(int)> sample;
        int count;
    };
    const TCase cases[] = {
        {"dense noise", {0, 1, -1.5, 1.5, 500, 200},
         [&](int i) { return TChartSample{i / 20000.0, std::sin(i / 300.0) + random() * 0.3}; }, 20000},
        {"x out of order", {-1, 1, -1, 1, 300, 100},
         [&](int) { return TChartSample{random() * 2.2 - 1.1, random() * 2 - 1}; }, 3000},
        // 4 pixels per unit: x of a quarter lies on a half between two columns.
        {"halves", {0, 100, 0, 50, 401, 201},
         [&](int i) { return TChartSample{i / 4.0 + (i % 3 == 0 ? 1e-9 : 0), (i % 7) * 0.125}; }, 800},
        {"beyond the range and NaN", {0, 10, -1, 1, 200, 100},
         [&](int i) {
             const double ys[] = {0.5, 1e300, -1e300, nan, inf, -inf, -0.25, 3e9};
             const double x = i % 50 == 0 ? 1e12 : (i % 61 == 0 ? nan : i / 100.0);
             return TChartSample{x, ys[i % 8]};
         },
         2000},
        {"flipped y range", {0, 1, 1, -1, 200, 100},
         [&](int i) { return TChartSample{i / 1000.0, random() * 2 - 1}; }, 1000},
    };
    for (const TCase& c : cases) {
        std::vector<TChartSample> samples;
        for (int i = 0; i < c.count; ++i)
            samples.push_back(c.sample(i));
        std::vector<const TChartSample*> points;
        for (const TChartSample& s : samples)
            points.push_back(&s);
        EXPECT_EQ(CurvePolyline(points, c.map), reference(points, c.map)) << c.name;
    }
}
