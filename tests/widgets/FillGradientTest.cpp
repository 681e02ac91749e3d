#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/Gradient.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

constexpr int32_t kPaper = 0x00FF00;   // what the image holds before painting

class GradientTest : public ::testing::Test {
protected:
    QImage img{120, 60, QImage::Format_RGB32};
    void SetUp() override { img.fill(TColorToQColor(kPaper)); }
    int32_t px(int x, int y) const { return QColorToTColor(img.pixelColor(x, y)); }

    void Fill(int l, int t, int r, int b, int32_t c1, int32_t c2, bool horizontal,
              bool enabled = true, double zoom = 0)
    {
        QPainter p(&img);
        TCanvas canvas(&p);
        if (zoom > 0)
            canvas.SetMapping(zoom);
        EXPECT_TRUE(FillGradient(canvas, l, t, r, b, c1, c2, horizontal, enabled));
    }
};

TEST_F(GradientTest, HorizontalRunsFromColour1AtTheLeftToColour2AtTheRight)
{
    // 101 columns: the middle column is exactly half way.
    Fill(10, 5, 111, 25, 0x000000, 0xC8FF64, true);
    for (int y : {5, 15, 24}) {
        EXPECT_EQ(px(10, y), 0x000000);
        EXPECT_EQ(px(110, y), 0xC8FF64);
        EXPECT_EQ(px(60, y), 0x648032);
    }
    // Monotone in every channel and nothing outside the rectangle.
    for (int x = 11; x <= 110; ++x)
        ASSERT_GE(px(x, 10) & 0xFF, px(x - 1, 10) & 0xFF) << x;
    EXPECT_EQ(px(9, 10), kPaper);
    EXPECT_EQ(px(111, 10), kPaper);
    EXPECT_EQ(px(50, 4), kPaper);
    EXPECT_EQ(px(50, 25), kPaper);
}

TEST_F(GradientTest, VerticalRunsFromTopToBottom)
{
    Fill(0, 0, 30, 51, clWhite, clBlue, false);
    for (int x : {0, 29}) {
        EXPECT_EQ(px(x, 0), clWhite);
        EXPECT_EQ(px(x, 50), clBlue);
        EXPECT_EQ(px(x, 25), 0xFF8080);
    }
    EXPECT_EQ(px(30, 25), kPaper);
    EXPECT_EQ(px(10, 51), kPaper);
}

TEST_F(GradientTest, DisabledFillsWithColour1)
{
    Fill(2, 3, 40, 20, clRed, clBlue, true, false);
    EXPECT_EQ(px(2, 3), clRed);
    EXPECT_EQ(px(39, 19), clRed);
    EXPECT_EQ(px(40, 10), kPaper);
    EXPECT_EQ(px(10, 20), kPaper);
}

TEST_F(GradientTest, FollowsTheBoardMapping)
{
    // 254 board units are 16 pixels at zoom 1.
    Fill(0, 0, 254, 254, clBlack, clWhite, true, true, 1.0);
    EXPECT_EQ(px(0, 0), clBlack);
    EXPECT_EQ(px(15, 15), clWhite);
    EXPECT_EQ(px(16, 0), kPaper);
    EXPECT_EQ(px(0, 16), kPaper);
}

TEST_F(GradientTest, EmptyRectanglePaintsNothingAndSystemColoursResolve)
{
    Fill(10, 10, 10, 30, clRed, clBlue, true);
    Fill(10, 10, 30, 9, clRed, clBlue, false);
    EXPECT_EQ(px(10, 10), kPaper);
    Fill(0, 0, 1, 1, clBtnFace, clBtnFace, true);
    EXPECT_EQ(px(0, 0), ColorToRGB(clBtnFace));
}

TEST(ScaleColorTest, ScalesEachChannelRoundedAndCapped)
{
    struct Case {
        int32_t color;
        double factor;
        int32_t expected;
    };
    const Case cases[] = {
        {0x326496, 1.5, 0x4B96E1},     // RGB 150,100,50 -> 225,150,75
        {0x3264C8, 1.5, 0x4B96FF},     // RGB 200,100,50 -> 255,150,75
        {0xFAFAFF, 0.91, 0xE4E4E8},    // RGB 255,250,250 -> 232,228,228 (227.5 to even)
        {0x7F0000FF, 1.0, 0x0000FF},   // the top byte is dropped
        {0x808080, -2.0, 0x000000},    // never below 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleColor(c.color, c.factor), c.expected)
            << std::hex << c.color << " x " << c.factor;
    EXPECT_EQ(ScaleColor(clBtnFace, 1.0), ColorToRGB(clBtnFace));
}

} // namespace
