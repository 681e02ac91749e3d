#include "Surface.h"
#include "widgets/Gradient.h"

#include "platform/Filer.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

using enum TWLXGradientStyle;

TEST(WLXGradientTest, DefaultBandsRunFromBlueToBlackAndDescribeThemselves)
{
    TWLXGradient g;
    ASSERT_EQ(g.BandColors().size(), 16u);
    EXPECT_EQ(g.BandColors().front(), 0xFF0000);
    EXPECT_EQ(g.BandColors().back(), 0x000000);
    EXPECT_EQ(g.BandColors()[8], 0x770000);    // 255 + MulDiv(8, -255, 15) = 255 - 136
    EXPECT_EQ(g.DescriptionText(), QStringLiteral("vertical, Col: 16, 2 col mode"));
}

TEST(WLXGradientTest, ColourListSegmentsDoNotRepeatTheirJoint)
{
    TWLXGradient g;
    int changes = 0;
    g.OnChange = [&](void*) { ++changes; };
    g.SetUserColors({0x000000, 0x0000FF, 0x00FF00});
    g.SetTwoColors(false);
    ASSERT_EQ(g.BandColors().size(), 9u);           // 5 + 4
    EXPECT_EQ(g.BandColors()[0], 0x000000);
    EXPECT_EQ(g.BandColors()[4], 0x0000FF);         // end of the first segment
    EXPECT_EQ(g.BandColors()[5], 0x0040BF);         // the second starts one step in
    EXPECT_EQ(g.BandColors()[8], 0x00FF00);
    EXPECT_EQ(g.DescriptionText(), QStringLiteral("vertical, Col: 16, mult. col mode"));
    EXPECT_EQ(changes, 2);

    // Fewer than two colours: no bands, nothing painted.
    g.SetUserColors({0x0000FF});
    EXPECT_TRUE(g.BandColors().empty());
    Surface s(20, 20);
    g.Paint(*s.canvas, {0, 0, 20, 20}, 0);
    EXPECT_EQ(s.px(10, 10), clWhite);
}

TEST(WLXGradientTest, SettersNotifyOnlyOnChangeAndAssignCopiesInOneEvent)
{
    TWLXGradient a;
    int changes = 0;
    a.OnChange = [&](void*) { ++changes; };
    a.SetColor(0xFF0000);
    a.SetStyle(gstVertical);
    EXPECT_EQ(changes, 0);
    a.SetEndColor(0x00FF00);
    a.SetColorCount(500);                           // kept within 2..236
    EXPECT_EQ(a.ColorCount(), 236);
    EXPECT_EQ(changes, 2);
    TWLXGradient b;
    b.SetStyle(gstElliptic);
    b.SetColorCount(4);
    changes = 0;
    a.Assign(b);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.Style(), gstElliptic);
    EXPECT_EQ(a.BandColors(), b.BandColors());
}

// Four colours over 80 x 80: where the innermost (first) and the outermost (last) colour lie in
// each geometry, and one band border.
TEST(WLXGradientTest, EveryGeometryPutsItsBandsWhereTheyBelong)
{
    const std::vector<int32_t> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x000000};
    struct Case {
        TWLXGradientStyle style;
        QPoint first, last;         // colour 0, colour 3
        QPoint inside, outside;     // the two sides of the border of bands 0 and 1
    };
    const Case cases[] = {
        {gstHorizontal, {1, 40}, {78, 40}, {19, 40}, {20, 40}},
        {gstVertical, {40, 1}, {40, 78}, {40, 19}, {40, 20}},
        {gstSquare, {40, 40}, {1, 1}, {30, 40}, {29, 40}},
        {gstElliptic, {40, 40}, {0, 0}, {40, 40}, {40, 12}},
        {gstTopLeft, {0, 0}, {79, 79}, {19, 19}, {20, 5}},
        {gstTopRight, {79, 0}, {0, 79}, {60, 0}, {59, 0}},
        {gstBottomLeft, {0, 79}, {79, 0}, {19, 60}, {20, 60}},
        {gstBottomRight, {79, 79}, {0, 0}, {60, 60}, {59, 79}},
        {gstTopLeftDiagonal, {5, 5}, {79, 79}, {5, 5}, {30, 30}},
        {gstTopRightDiagonal, {75, 5}, {2, 79}, {75, 5}, {50, 30}},
    };
    for (const Case& c : cases) {
        Surface s(80, 80);
        GradientFill(*s.canvas, {0, 0, 80, 80}, c.style, 0, 0, colors);
        const int style = int(c.style);
        EXPECT_EQ(s.px(c.first.x(), c.first.y()), colors[0]) << style;
        EXPECT_EQ(s.px(c.last.x(), c.last.y()), colors[3]) << style;
        EXPECT_EQ(s.px(c.inside.x(), c.inside.y()), colors[0]) << style;
        EXPECT_NE(s.px(c.outside.x(), c.outside.y()), colors[0]) << style;
    }
}

TEST(WLXGradientTest, HorizontalBandEdgesAndOffscreenDrawingStayInTheRectangle)
{
    TWLXGradient g;
    g.SetStyle(gstHorizontal);
    Surface s(120, 20);
    g.Paint(*s.canvas, {10, 0, 110, 20}, 0);
    // Band i covers MulDiv(i, 100, 16) .. MulDiv(i + 1, 100, 16) - 1 from x = 10.
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(s.px(10 + MulDiv(i, 100, 16), 5), g.BandColors()[size_t(i)]) << i;
        EXPECT_EQ(s.px(10 + MulDiv(i + 1, 100, 16) - 1, 5), g.BandColors()[size_t(i)]) << i;
    }
    EXPECT_EQ(s.px(9, 5), clWhite);
    EXPECT_EQ(s.px(110, 5), clWhite);

    // An ellipse's outer band reaches past its rectangle unless drawn off-screen.
    const std::vector<int32_t> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x000000};
    Surface spill(60, 60), kept(60, 60);
    GradientFill(*spill.canvas, {10, 10, 50, 50}, gstElliptic, 0, 0, colors);
    GradientFill(*kept.canvas, {10, 10, 50, 50}, gstElliptic, 0, kDrawOffscreen, colors);
    EXPECT_EQ(spill.px(5, 30), 0x000000);
    EXPECT_EQ(kept.px(5, 30), clWhite);
    EXPECT_EQ(kept.px(10, 10), 0x000000);
}

TEST(WLXGradientTest, ColorBetweenRoundsHalvesToEven)
{
    EXPECT_EQ(ColorBetween(0x000000, 0x0000FF, 1, 2), 0x000080);   // 127.5 -> 128
    EXPECT_EQ(ColorBetween(0x0000FF, 0x000000, 1, 2), 0x000080);   // 127.5 -> 128
    EXPECT_EQ(ColorBetween(0x000000, 0x000003, 1, 2), 0x000002);   // 1.5 -> 2
    EXPECT_EQ(ColorBetween(0x000000, 0x000005, 1, 2), 0x000002);   // 2.5 -> 2
    EXPECT_EQ(ColorBetween(0x112233, 0x445566, 0, 7), 0x112233);
}

TEST(WLXGradientTest, ColorListRoundTripsAndABrokenListKeepsTheOldColours)
{
    TWLXGradient g;
    EXPECT_FALSE(g.HasColorList());
    g.SetUserColors({0x0000FF, 70000, -1});
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer);
    g.WriteColorList(writer);
    // list tag, three integers in their smallest tags, end tag
    EXPECT_EQ(buffer.data().toHex(), QByteArray("0103ff00047011010002ff00"));

    TWLXGradient loaded;
    loaded.SetUserColors({1});
    int changes = 0;
    loaded.OnChange = [&](void*) { ++changes; };
    buffer.seek(0);
    TReader reader(buffer);
    loaded.ReadColorList(reader);
    EXPECT_EQ(loaded.UserColors(), g.UserColors());
    EXPECT_EQ(changes, 1);

    for (const char* broken : {"010301", "0106016100", "02"}) {
        QBuffer in;
        in.setData(QByteArray::fromHex(broken));
        in.open(QIODevice::ReadOnly);
        TReader r(in);
        EXPECT_THROW(loaded.ReadColorList(r), EFilerError) << broken;
        EXPECT_EQ(loaded.UserColors(), g.UserColors()) << broken;
    }
}

} // namespace
