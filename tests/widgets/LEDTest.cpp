#include "Surface.h"
#include "widgets/LED.h"
#include "widgets/LEDLabel.h"

#include <gtest/gtest.h>

#include <QPolygonF>

namespace {

constexpr int32_t kLit = 0x00FF00;
constexpr int32_t kDim = 0x008000;
constexpr int32_t kBack = 0x000000;

TEST(LEDTest, CellSizeMeasureAndRows)
{
    TWLXLED led;
    EXPECT_EQ(led.DigitCellWidth(), 19);
    EXPECT_EQ(led.DigitCellHeight(), 28);
    EXPECT_EQ(led.MeasureDigits(QStringLiteral("12:30"), 3), QRect(0, 0, 102, 34));
    led.MeasureDigits(QStringLiteral("12\r\n345\n"), 0);
    EXPECT_EQ(led.Lines(), 2);      // a line feed takes no cell, a carriage return a new row
    EXPECT_EQ(led.Columns(), 3);
}

TEST(LEDTest, SegmentOutlinesOfTheDefaultSizes)
{
    TWLXLED led;   // T 2, H 9, V 7: h 1, c 8
    using P = QPoint;
    const std::pair<int, TWLXLED::Segment> expected[] = {
        {0, {P(4, 3), P(5, 2), P(14, 2), P(15, 3), P(14, 4), P(5, 4)}},
        {1, {P(3, 4), P(4, 5), P(4, 12), P(3, 13), P(2, 12), P(2, 5)}},
        {5, {P(16, 15), P(17, 16), P(17, 23), P(16, 24), P(15, 23), P(15, 16)}},
        {9, {P(7, 11), P(6, 11), P(5, 7), P(5, 6), P(6, 6), P(7, 10)}},
        {12, {P(11, 17), P(12, 17), P(13, 21), P(13, 22), P(12, 22), P(11, 18)}},
        {14, {P(9, 1), P(9, 3), P(7, 3), P(7, 1), P(7, 1), P(7, 1)}},
    };
    for (const auto& [bit, points] : expected) {
        EXPECT_TRUE(led.SegmentValid(bit));
        EXPECT_EQ(led.SegmentPoints(bit), points) << bit;
    }
}

// Pixels of a segment that no other segment reaches; with `margin`, not even the one-pixel
// outline of a lit neighbour.
std::vector<QPoint> PrivatePixels(const TWLXLED& led, int bit, double m)
{
    std::vector<QPolygonF> polys(16);
    for (int b = 0; b < 16; ++b)
        for (QPoint p : led.SegmentPoints(b))
            polys[size_t(b)] << QPointF(p);
    std::vector<QPoint> pixels;
    for (int y = 0; y < led.DigitCellHeight(); ++y)
        for (int x = 0; x < led.DigitCellWidth(); ++x) {
            const QPointF c(x + 0.5, y + 0.5);
            // Well inside, not on an edge that the fill may leave out.
            bool inside = true;
            for (QPointF d : {QPointF(-0.3, -0.3), QPointF(0.3, -0.3), QPointF(-0.3, 0.3), QPointF(0.3, 0.3)})
                inside = inside && polys[size_t(bit)].containsPoint(c + d, Qt::OddEvenFill);
            if (!inside)
                continue;
            bool mine = true;
            for (int b = 0; b < 16 && mine; ++b)
                for (QPointF d : {QPointF(0, 0), QPointF(m, 0), QPointF(-m, 0), QPointF(0, m),
                                  QPointF(0, -m), QPointF(m, m), QPointF(-m, -m), QPointF(m, -m),
                                  QPointF(-m, m)})
                    if (b != bit && polys[size_t(b)].containsPoint(c + d, Qt::OddEvenFill))
                        mine = false;
            if (mine)
                pixels.push_back(QPoint(x, y));
        }
    return pixels;
}

TEST(LEDTest, EveryCharacterLightsItsSegmentsAndShowsTheOthersDim)
{
    const std::pair<const char*, std::vector<int>> table[] = {
        {"0", {0, 1, 2, 4, 5, 6, 9, 12}}, {"1I", {7, 8}}, {"2", {0, 2, 3, 4, 6}},
        {"3", {0, 2, 3, 5, 6}}, {"4", {1, 2, 3, 5}}, {"5Ss", {0, 1, 3, 5, 6}},
        {"6G", {0, 1, 3, 4, 5, 6}}, {"7", {0, 2, 5}}, {"8", {0, 1, 2, 3, 4, 5, 6}},
        {"9", {0, 1, 2, 3, 5, 6}}, {"Aa", {0, 1, 2, 3, 4, 5}}, {"B", {0, 2, 3, 5, 6, 7, 8}},
        {"C[", {0, 1, 4, 6}}, {"D", {0, 2, 5, 6, 7, 8}}, {"E", {0, 1, 3, 4, 6}},
        {"F", {0, 1, 3, 4}}, {"H", {1, 2, 3, 4, 5}}, {"J", {2, 4, 5, 6}},
        {"K", {1, 3, 4, 10, 12}}, {"L", {1, 4, 6}}, {"M", {1, 2, 4, 5, 9, 10}},
        {"N", {1, 2, 4, 5, 9, 12}}, {"O", {0, 1, 2, 4, 5, 6}}, {"P", {0, 1, 2, 3, 4}},
        {"Q", {0, 1, 2, 4, 5, 6, 12}}, {"R", {0, 1, 2, 3, 4, 12}}, {"T", {0, 7, 8}},
        {"U", {1, 2, 4, 5, 6}}, {"V", {1, 4, 10, 11}}, {"W", {1, 2, 4, 5, 11, 12}},
        {"X", {9, 10, 11, 12}}, {"Y", {8, 9, 10}}, {"Z", {0, 6, 10, 11}}, {"]", {0, 2, 5, 6}},
        {"(<", {10, 12}}, {")>", {9, 11}}, {"/", {10, 11}}, {"\\", {9, 12}},
        {"*", {7, 8, 9, 10, 11, 12}}, {"+", {3, 7, 8}}, {"-", {3}}, {"=", {3, 6}}, {"_", {6}},
        {"'", {7}}, {"\"", {1, 7}}, {":", {13, 15}}, {".", {15}}, {"#%?", {}},
    };
    TWLXLED led;
    led.SetThickness(4);
    led.SetHorzsize(20);
    led.SetVertsize(16);
    // Lit segments are checked on every pixel that is theirs alone; dim ones away from the
    // outlines of lit neighbours (the dots sit against their bars: checked dim on a blank cell).
    std::vector<std::vector<QPoint>> own(16), clear(16);
    for (int b = 0; b < 16; ++b) {
        own[size_t(b)] = PrivatePixels(led, b, 0);
        clear[size_t(b)] = PrivatePixels(led, b, 1.5);
        ASSERT_FALSE(own[size_t(b)].empty()) << b;
    }
    for (const auto& [chars, bits] : table) {
        for (const char* c = chars; *c; ++c) {
            Surface s(led.DigitCellWidth(), led.DigitCellHeight(), kBack);
            led.DrawDigits(*s.canvas, QRect(0, 0, 100, 100), true, true, QString(QChar(*c)));
            for (int b = 0; b < 16; ++b) {
                const bool lit = std::find(bits.begin(), bits.end(), b) != bits.end();
                if (lit) {
                    for (QPoint p : own[size_t(b)])
                        ASSERT_EQ(s.px(p.x(), p.y()), kLit) << *c << " segment " << b << " at " << p.x() << "," << p.y();
                    continue;
                }
                const auto& pixels = bits.empty() ? own[size_t(b)] : clear[size_t(b)];
                int dim = 0;
                for (QPoint p : pixels) {
                    const int32_t v = s.px(p.x(), p.y());
                    ASSERT_TRUE(v == kDim || v == kBack) << *c << " segment " << b;
                    dim += v == kDim;
                }
                // The dim dither shows the unlit colour on every other pixel.
                if (!pixels.empty()) {
                    EXPECT_GT(dim, 0) << *c << " segment " << b;
                }
            }
        }
    }
}

int CountLit(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += QColorToTColor(image.pixelColor(x, y)) == kLit;
    return n;
}

TEST(LEDTest, ShortSegmentsAndDisabledOwnersShowOnlyTheDimCell)
{
    TWLXLED led;
    struct Case {
        const char* name;
        int vert;
        const char* text;
        bool enabled, disabledDigits, lit;
    };
    const Case cases[] = {
        {"X with long segments", 7, "X", true, true, true},
        {"X with Vertsize 3", 3, "X", true, true, false},
        {"7 with Vertsize 3", 3, "7", true, true, true},
        {"disabled owner", 7, "8", false, true, false},
        {"disabled owner, digits kept", 7, "8", false, false, true},
    };
    for (const Case& c : cases) {
        led.SetVertsize(c.vert);
        led.SetDisabledDigits(c.disabledDigits);
        Surface s(40, 40, kBack);
        led.DrawDigits(*s.canvas, QRect(0, 0, 40, 40), true, c.enabled, QString::fromLatin1(c.text));
        s.Done();
        EXPECT_EQ(CountLit(s.image) > 0, c.lit) << c.name;
    }
}

TEST(LEDTest, SettingTheSameValueDoesNothing)
{
    TWLXLED led;
    int changes = 0;
    led.OnChange = [&](void*) { ++changes; };
    led.SetHorzsize(9);
    led.SetActiveColor(kLit);
    EXPECT_EQ(changes, 0);
    led.SetHorzsize(12);
    led.SetInActiveColor(clGray);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(led.DigitCellWidth(), 22);
    EXPECT_EQ(led.Cell().width(), 22);
}

TEST(LEDLabelTest, IntegerDisplayPadsAndOverflows)
{
    struct Case {
        int digits, value;
        const char* shown;
    };
    const Case cases[] = {{2, 123, "--"}, {2, 7, "07"}, {3, -5, "-05"}, {3, -50, "-50"},
                          {2, -5, "-5"}, {2, -10, "--"}, {1, 0, "0"}};
    TWLXLEDLabel label;
    label.SetStyle(TWLXLEDStyle::lsInteger);
    for (const Case& c : cases) {
        label.SetDigits(c.digits);
        label.SetValue(c.value);
        EXPECT_EQ(label.GetDisplayText(), QString::fromLatin1(c.shown)) << c.value;
    }
    label.SetDigits(0);   // ignored
    EXPECT_EQ(label.Digits(), 1);
    label.SetStyle(TWLXLEDStyle::lsString);
    label.SetCaption(QStringLiteral("AB"));
    EXPECT_EQ(label.GetDisplayText(), QStringLiteral("AB"));
}

TEST(LEDLabelTest, PaintsItsBevelAndDigitsAndSizesItself)
{
    TWLXLEDLabel label;
    label.Bevel().SetStyleOuter(TWLXBevelStyle::bvLowered);
    label.Bevel().SetShadowColor(clRed);
    label.SetCaption(QStringLiteral("8"));
    label.SetAutoSize(true);
    EXPECT_EQ(label.size(), QSize(19 + 2 + 1, 28 + 2));
    Surface s(label.width(), label.height(), clWhite);
    label.Paint(*s.canvas);
    EXPECT_EQ(s.px(0, 10), clRed);                 // the bevel
    EXPECT_EQ(s.px(1 + 8, 1 + 3), kLit);          // the top segment at the inner top-left
    EXPECT_EQ(s.px(label.width() - 2, 10), kBack); // the label colour beside the cell
}

} // namespace
