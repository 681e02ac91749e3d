#include "Surface.h"
#include "widgets/Frames.h"

#include <gtest/gtest.h>

namespace {

using enum TWLXBevelStyle;
constexpr int32_t kLight = 0x00FFFF;
constexpr int32_t kShadow = 0x800000;

TEST(DrawBevelTest, OnePixelBevelsLightAndShadowTheirSides)
{
    struct Case {
        TWLXBevelStyle style;
        int32_t topLeft, bottomRight;
    };
    for (const Case& c : {Case{bvRaised, kLight, kShadow}, Case{bvLowered, kShadow, kLight},
                          Case{bvNormal, 0, 0}}) {
        Surface s(10, 10);
        TWLXRect r{0, 0, 10, 10};
        ASSERT_TRUE(DrawBevel(*s.canvas, r, c.style, 1, kShadow, kLight));
        EXPECT_EQ(r, (TWLXRect{1, 1, 9, 9}));
        const int style = int(c.style);
        for (QPoint p : {QPoint(0, 0), QPoint(0, 5), QPoint(5, 0), QPoint(0, 9)})
            EXPECT_EQ(s.px(p.x(), p.y()), c.topLeft) << style << " " << p.x() << "," << p.y();
        for (QPoint p : {QPoint(9, 0), QPoint(9, 5), QPoint(5, 9), QPoint(9, 9)})
            EXPECT_EQ(s.px(p.x(), p.y()), c.bottomRight) << style << " " << p.x() << "," << p.y();
        EXPECT_EQ(s.px(5, 5), clWhite);
    }
}

TEST(DrawBevelTest, WideAndFrameBevelsShrinkByWhatTheyDraw)
{
    Surface s(20, 20);
    TWLXRect r{0, 0, 20, 20};
    ASSERT_TRUE(DrawBevel(*s.canvas, r, bvRaised, 3, kShadow, kLight));
    EXPECT_EQ(r, (TWLXRect{3, 3, 17, 17}));
    EXPECT_EQ(s.px(1, 10), kLight);
    EXPECT_EQ(s.px(10, 1), kLight);
    EXPECT_EQ(s.px(18, 10), kShadow);
    EXPECT_EQ(s.px(10, 18), kShadow);
    EXPECT_EQ(s.px(1, 1), kLight);      // the corners split along the diagonal
    EXPECT_EQ(s.px(18, 18), kShadow);
    EXPECT_EQ(s.px(10, 10), clWhite);

    Surface f(20, 20);
    TWLXRect fr{0, 0, 20, 20};
    ASSERT_TRUE(DrawBevel(*f.canvas, fr, bvFrameRaised, 2, kShadow, kLight));
    EXPECT_EQ(fr, (TWLXRect{3, 3, 17, 17}));
    EXPECT_EQ(f.px(0, 10), kLight);     // outer light frame
    EXPECT_EQ(f.px(1, 10), kShadow);    // the shadow frame one in
    EXPECT_EQ(f.px(19, 10), kShadow);

    for (auto [style, width] : {std::pair{bvRaised, 0}, std::pair{bvShadow, 2}, std::pair{bvNone, 2}}) {
        Surface n(10, 10);
        TWLXRect nr{0, 0, 10, 10};
        EXPECT_FALSE(DrawBevel(*n.canvas, nr, style, width, kShadow, kLight));
        EXPECT_EQ(nr, (TWLXRect{0, 0, 10, 10}));
        EXPECT_EQ(n.px(0, 0), clWhite);
    }
}

TEST(DrawShadowBevelTest, DropShadowWithCornersFilledUnlessTransparent)
{
    for (bool transparent : {false, true}) {
        Surface s(20, 20);
        TWLXRect r{0, 0, 20, 20};
        DrawShadowBevel(*s.canvas, r, kLight, transparent, 1, 3, clRed, kShadow);
        EXPECT_EQ(r, (TWLXRect{1, 1, 16, 16}));
        EXPECT_EQ(s.px(18, 10), kShadow);
        EXPECT_EQ(s.px(10, 18), kShadow);
        EXPECT_EQ(s.px(0, 0), kLight);
        EXPECT_EQ(s.px(16, 10), kLight);   // the frame's right column
        const int32_t corner = transparent ? clWhite : clRed;
        EXPECT_EQ(s.px(18, 1), corner) << transparent;
        EXPECT_EQ(s.px(1, 18), corner) << transparent;
    }
}

TEST(DrawBorderStyleTest, EveryStyleShrinksByItsWidthAndLightsItsEdges)
{
    using enum TWLXBorderStyle;
    constexpr int32_t kSkip = clNone;
    const int32_t hi = Rgb(clBtnHighlight), sh = Rgb(clBtnShadow);
    struct Case {
        TWLXBorderStyle style;
        TWLXRect result;
        int width;
        int32_t topLeft, bottomRight;   // pixels (0, 0) and (19, 19)
    };
    const Case cases[] = {
        {lsNone, {0, 0, 20, 20}, 0, clWhite, clWhite},
        {lsSingle, {1, 1, 20, 20}, 1, kSkip, kSkip},
        {lsLowered, {2, 2, 18, 18}, 2, kSkip, hi},
        {lsRaised, {2, 2, 18, 18}, 2, kSkip, Rgb(cl3DDkShadow)},
        {lsRaisedspb, {1, 1, 18, 18}, 2, kSkip, kSkip},
        {lsLoweredspb, {2, 2, 19, 19}, 2, sh, hi},
        {lsRaisedExt, {2, 2, 18, 18}, 2, kSkip, kSkip},
        {lsLoweredExt, {2, 2, 18, 18}, 2, sh, hi},
        {lsFrameInset, {2, 2, 18, 18}, 2, sh, hi},
        {lsFrameOffset, {2, 2, 18, 18}, 2, hi, sh},
        {lsWindowBorder, {2, 2, 18, 18}, 2, clWhite, kSkip},
        {lsSingleRaised, {1, 1, 19, 19}, 1, hi, sh},
        {lsSingleLowered, {1, 1, 19, 19}, 1, sh, hi},
        {lsDoubleRaised, {2, 2, 18, 18}, 2, hi, sh},
        {lsDoubleLowered, {2, 2, 18, 18}, 2, sh, hi},
    };
    for (const Case& c : cases) {
        Surface s(20, 20);
        TWLXRect r{0, 0, 20, 20};
        EXPECT_TRUE(DrawBorderStyle(*s.canvas, r, c.style, 0));
        const int style = int(c.style);
        EXPECT_EQ(r, c.result) << style;
        EXPECT_EQ(BorderStyleWidth(c.style), c.width) << style;
        if (c.topLeft != kSkip) {
            EXPECT_EQ(s.px(0, 0), c.topLeft) << style;
        }
        if (c.bottomRight != kSkip) {
            EXPECT_EQ(s.px(19, 19), c.bottomRight) << style;
        }
        EXPECT_EQ(s.px(10, 10), clWhite) << style;
    }
}

TEST(DrawEdgeTest, EdgeStylesMapToTheirKindsAndDrawOnlyChosenSides)
{
    using enum TWLXEdgeStyle;
    const std::pair<TWLXEdgeStyle, unsigned> map[] = {
        {etRaisedInner, 4}, {etRaisedOuter, 1}, {etSunkenInner, 8}, {etSunkenOuter, 2},
        {etBump, 9}, {etEtched, 6}, {etRaised, 5}, {etSunken, 10}};
    for (auto [style, value] : map)
        EXPECT_EQ(EdgeStyleValue(style), value) << int(style);

    Surface s(20, 20);
    TWLXRect r{0, 0, 20, 20};
    DrawEdge(*s.canvas, r, EDGE_ETCHED, BF_BOTTOM | BF_ADJUST);
    EXPECT_EQ(r, (TWLXRect{0, 0, 20, 18}));
    EXPECT_EQ(s.px(5, 19), Rgb(clBtnHighlight));
    EXPECT_EQ(s.px(5, 18), Rgb(clBtnShadow));
    EXPECT_EQ(s.px(0, 5), clWhite);
    EXPECT_EQ(s.px(5, 0), clWhite);
}

TEST(DrawDropArrowTest, SizeLimitsAndTheDisabledEmboss)
{
    Surface big(40, 40);
    DrawDropArrow(*big.canvas, 5, 5, true, true, clRed, 16);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(big.px(x, y), clWhite);

    Surface s(30, 30);
    DrawDropArrow(*s.canvas, 10, 10, true, true, clRed, 4);
    EXPECT_EQ(s.px(10, 10), clRed);     // top row 7 wide
    EXPECT_EQ(s.px(16, 10), clRed);
    EXPECT_EQ(s.px(17, 10), clWhite);
    EXPECT_EQ(s.px(13, 13), clRed);     // tip
    EXPECT_EQ(s.px(13, 14), clWhite);

    Surface d(30, 30);
    DrawDropArrow(*d.canvas, 10, 10, false, true, clRed, 4);
    EXPECT_EQ(d.px(10, 10), Rgb(clGrayText));
    EXPECT_EQ(d.px(13, 13), Rgb(clGrayText));
    EXPECT_EQ(d.px(14, 14), Rgb(clBtnHighlight));   // the light copy one right and down
    EXPECT_EQ(d.px(17, 11), Rgb(clBtnHighlight));

    Surface up(30, 30);
    DrawDropArrow(*up.canvas, 10, 10, true, false, clRed, 4);
    EXPECT_EQ(up.px(12, 10), clRed);    // apex at x + size div 2
    EXPECT_EQ(up.px(11, 10), clWhite);
    EXPECT_EQ(up.px(9, 13), clRed);     // last row from c - 3 to c + 3
    EXPECT_EQ(up.px(15, 13), clRed);
}

} // namespace
