#include "Surface.h"
#include "widgets/Bevel.h"

#include <gtest/gtest.h>

namespace {

using enum TWLXBevelStyle;
using enum TWLXBevelMode;

TEST(BevelTest, ShadowStyleIsSetOnBothStylesOrOnNeither)
{
    TWLXBevel b;
    b.SetStyleOuter(bvShadow);
    EXPECT_EQ(b.StyleInner(), bvShadow);
    b.SetStyleInner(bvLowered);
    EXPECT_EQ(b.StyleInner(), bvLowered);
    EXPECT_EQ(b.StyleOuter(), bvNone);
}

TEST(BevelTest, ExtentsByMode)
{
    struct Case {
        const char* name;
        std::function<void(TWLXBevel&)> setup;
        int all, rightBottom;
    };
    const Case cases[] = {
        {"custom, no bevels, border 3", [](TWLXBevel& b) { b.SetBorderWidth(3); }, 3, 3},
        {"custom, frame outer", [](TWLXBevel& b) { b.SetBorderWidth(3); b.SetStyleOuter(bvFrameRaised); }, 5, 5},
        {"custom, both raised 2", [](TWLXBevel& b) { b.SetStyleOuter(bvRaised); b.SetStyleInner(bvLowered); b.SetWidthOuter(2); b.SetWidthInner(2); }, 4, 4},
        {"inner border counts", [](TWLXBevel& b) { b.SetStyleOuter(bvRaised); b.SetBorderInnerWidth(2); }, 3, 3},
        {"shadow", [](TWLXBevel& b) { b.SetStyleOuter(bvShadow); b.SetWidthInner(2); b.SetWidthOuter(4); }, 2, 6},
        {"standard", [](TWLXBevel& b) { b.SetMode(bmStandard); }, 1, 1},
        {"standard lowered", [](TWLXBevel& b) { b.SetStandardStyle(TWLXBorderStyle::lsLowered); b.SetMode(bmStandard); }, 2, 2},
        {"edge", [](TWLXBevel& b) { b.SetMode(bmEdge); }, 2, 2},
        {"edge without sides", [](TWLXBevel& b) { b.SetMode(bmEdge); b.SetBorderSides(0); }, 0, 0},
        {"windows", [](TWLXBevel& b) { b.SetMode(bmWindows); b.SetBorderInnerWidth(1); }, 3, 3},
    };
    for (const Case& c : cases) {
        TWLXBevel b;
        c.setup(b);
        EXPECT_EQ(b.ExtentAll(), c.all) << c.name;
        EXPECT_EQ(b.ExtentRightBottom(), c.rightBottom) << c.name;
        const TWLXRect inner = b.GetInnerRect({0, 0, 40, 40});
        EXPECT_EQ(inner, (TWLXRect{c.all, c.all, 40 - c.rightBottom, 40 - c.rightBottom})) << c.name;
    }
    TWLXScrollBoxBevel owned;
    EXPECT_EQ(owned.Mode(), bmWindows);
    EXPECT_EQ(owned.ExtentAll(), 0);
    Surface s(20, 20);
    EXPECT_EQ(owned.PaintBevel(*s.canvas, {0, 0, 20, 20}, false), (TWLXRect{0, 0, 20, 20}));
    EXPECT_EQ(s.px(0, 0), clWhite);
}

TEST(BevelTest, NotifiesOnRealChangesAndStandardStyleOnlyWhereItShows)
{
    TWLXBevel b;
    int changes = 0;
    b.OnChange = [&](void*) { ++changes; };
    b.SetWidthInner(1);
    b.SetLightColor(b.LightColor());
    b.SetStandardStyle(TWLXBorderStyle::lsRaised);
    EXPECT_EQ(changes, 0);
    b.SetMode(bmStandard);
    b.SetStandardStyle(TWLXBorderStyle::lsLowered);
    b.SetShadowColor(clRed);
    EXPECT_EQ(changes, 3);
    TWLXBevel copy;
    copy.Assign(b);
    EXPECT_EQ(copy.Mode(), bmStandard);
    EXPECT_EQ(copy.StandardStyle(), TWLXBorderStyle::lsLowered);
    EXPECT_EQ(copy.ShadowColor(), clRed);
    EXPECT_EQ(copy.ExtentAll(), 2);
    EXPECT_EQ(b.DescriptionText(), QStringLiteral("{Standard style}"));
}

TEST(BevelTest, CustomBevelPaintsOuterBorderAndInnerInOrder)
{
    TWLXBevel b;
    b.SetStyleOuter(bvLowered);
    b.SetStyleInner(bvRaised);
    b.SetBorderWidth(2);
    b.SetColor(0, clRed);
    b.SetLightColor(clYellow);
    b.SetShadowColor(clNavy);
    Surface s(20, 20);
    const TWLXRect inner = b.PaintBevel(*s.canvas, {0, 0, 20, 20}, false);
    EXPECT_EQ(inner, (TWLXRect{4, 4, 16, 16}));
    EXPECT_EQ(s.px(0, 10), clNavy);     // lowered: dark at the top and left
    EXPECT_EQ(s.px(19, 10), clYellow);
    EXPECT_EQ(s.px(1, 10), clRed);      // the border between the bevels
    EXPECT_EQ(s.px(2, 10), clRed);
    EXPECT_EQ(s.px(3, 10), clYellow);   // raised inner bevel
    EXPECT_EQ(s.px(16, 10), clNavy);
    EXPECT_EQ(s.px(10, 10), clWhite);

    // Transparent: the border only takes room.
    Surface t(20, 20);
    EXPECT_EQ(b.PaintBevel(*t.canvas, {0, 0, 20, 20}, true), (TWLXRect{4, 4, 16, 16}));
    EXPECT_EQ(t.px(1, 10), clWhite);
}

TEST(BevelTest, EdgeOnOneSideFillsTheOtherStripsUnlessTransparent)
{
    TWLXBevel b;
    b.SetMode(bmEdge);
    b.SetBorderSides(FrameSideBit(TWLXFrameSide::fsBottom));
    EXPECT_EQ(b.ExtentAll(), 2);
    for (bool transparent : {false, true}) {
        Surface s(20, 20);
        s.canvas->Brush.Color = clRed;
        EXPECT_EQ(b.PaintBevel(*s.canvas, {0, 0, 20, 20}, transparent), (TWLXRect{0, 0, 20, 18}));
        const int32_t strip = transparent ? clWhite : clRed;
        EXPECT_EQ(s.px(0, 5), strip) << transparent;
        EXPECT_EQ(s.px(1, 5), strip) << transparent;
        EXPECT_EQ(s.px(18, 5), strip) << transparent;
        EXPECT_EQ(s.px(5, 1), strip) << transparent;
        EXPECT_EQ(s.px(5, 2), clWhite) << transparent;
        EXPECT_EQ(s.px(5, 19), Rgb(clBtnHighlight)) << transparent;   // etched bottom edge
        EXPECT_EQ(s.px(5, 18), Rgb(clBtnShadow)) << transparent;
    }
}

} // namespace
