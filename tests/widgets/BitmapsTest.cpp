#include "Surface.h"
#include "widgets/Bitmaps.h"

#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, int32_t color)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(TColorToQColor(color));
    return img;
}

TEST(DrawBitmapTest, PlacementByFlags)
{
    struct Case {
        const char* name;
        QSize image;
        TWLXRect dest;
        unsigned flags;
        TWLXRect drawn;
    };
    const Case cases[] = {
        {"origin", {16, 16}, {3, 4, 40, 40}, 0, {3, 4, 19, 20}},
        {"centred", {16, 16}, {0, 0, 21, 21}, kBmpCenter, {2, 2, 18, 18}},
        {"stretched", {10, 5}, {0, 0, 40, 40}, kBmpStretch, {0, 0, 40, 40}},
        {"fitted", {100, 50}, {0, 0, 40, 40}, 0x0610, {0, 0, 40, 20}},
        {"width kept", {100, 50}, {0, 0, 40, 60}, kBmpStretch | kBmpKeepWidth, {0, 0, 40, 20}},
        {"height kept", {100, 50}, {0, 0, 60, 10}, kBmpStretch | kBmpKeepHeight, {0, 0, 20, 10}},
    };
    for (const Case& c : cases) {
        Surface s(60, 60);
        const TWLXRect drawn = DrawBitmap(*s.canvas, c.dest, Solid(c.image.width(), c.image.height(), clRed), 0, c.flags);
        EXPECT_EQ(drawn, c.drawn) << c.name;
        EXPECT_EQ(s.px(c.drawn.Left, c.drawn.Top), clRed) << c.name;
        EXPECT_EQ(s.px(c.drawn.Right - 1, c.drawn.Bottom - 1), clRed) << c.name;
        if (c.drawn.Right < 60) {
            EXPECT_EQ(s.px(c.drawn.Right, c.drawn.Top), clWhite) << c.name;
        }
        if (c.drawn.Bottom < 60) {
            EXPECT_EQ(s.px(c.drawn.Left, c.drawn.Bottom), clWhite) << c.name;
        }
    }
}

TEST(DrawBitmapTest, TilesReachPastTheRectangleUnlessClipped)
{
    QImage tile = Solid(10, 10, clBlue);
    tile.setPixelColor(0, 0, TColorToQColor(clRed));
    for (bool clip : {false, true}) {
        Surface s(40, 40);
        DrawBitmapRect(*s.canvas, {0, 0, 25, 10}, tile, 0, 0, kBmpTile | (clip ? kBmpClip : 0u));
        EXPECT_EQ(s.px(20, 0), clRed) << clip;      // the third column starts at 20
        EXPECT_EQ(s.px(24, 5), clBlue) << clip;
        EXPECT_EQ(s.px(27, 5), clip ? clWhite : clBlue) << clip;
        EXPECT_EQ(s.px(5, 15), clip ? clWhite : clBlue) << clip;   // the second row
        EXPECT_EQ(s.px(35, 5), clip ? clWhite : clBlue) << clip;   // 25 div 10 + 2 columns
        EXPECT_EQ(s.px(5, 35), clWhite) << clip;    // 10 div 10 + 2 rows
    }
}

TEST(DrawBitmapTest, TransparentColourAndMask)
{
    QImage img = Solid(4, 4, clBlue);
    img.setPixelColor(1, 1, TColorToQColor(clRed));
    // A colour that no pixel has: a plain copy.
    Surface plain(4, 4, clWhite), keyed(4, 4, clWhite), none(4, 4, clWhite);
    DrawBitmap(*plain.canvas, {0, 0, 4, 4}, img, 0, 0);
    DrawBitmap(*none.canvas, {0, 0, 4, 4}, img, clLime, kBmpTransparent);
    plain.Done();
    none.Done();
    EXPECT_EQ(none.image, plain.image);
    // The red pixel is left out.
    DrawBitmap(*keyed.canvas, {0, 0, 4, 4}, img, clRed, kBmpTransparent);
    EXPECT_EQ(keyed.px(1, 1), clWhite);
    EXPECT_EQ(keyed.px(2, 2), clBlue);

    // The picture's own transparent colour (bottom-left) shows the colour argument.
    Surface own(4, 4, clWhite);
    QImage corner = Solid(4, 4, clGreen);
    corner.setPixelColor(2, 2, TColorToQColor(clRed));
    DrawBitmap(*own.canvas, {0, 0, 4, 4}, corner, clYellow, kBmpOwnTransparent);
    EXPECT_EQ(own.px(0, 0), clYellow);
    EXPECT_EQ(own.px(2, 2), clRed);

    QImage mask, image;
    MakeImageAndMask(img, clRed, mask, image);
    EXPECT_EQ(QColorToTColor(mask.pixelColor(1, 1)), clWhite);
    EXPECT_EQ(QColorToTColor(mask.pixelColor(0, 0)), clBlack);
    EXPECT_EQ(QColorToTColor(image.pixelColor(1, 1)), clBlack);
    EXPECT_EQ(QColorToTColor(image.pixelColor(0, 0)), clBlue);
}

TEST(GlyphFormsTest, GrayedGlyphBecomesOneToneAndDisabledIsEmbossed)
{
    // A dark glyph on white: mean brightness 90, t = -110; 90 > t + 50 -> button shadow.
    QImage glyph = Solid(8, 8, clWhite);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            glyph.setPixelColor(x, y, TColorToQColor(0x1E1E1E));
    QImage grey;
    MakeGrayedImage(grey, glyph);
    EXPECT_EQ(QColorToTColor(grey.pixelColor(3, 3)), Rgb(clBtnShadow));
    EXPECT_EQ(QColorToTColor(grey.pixelColor(5, 5)), Rgb(clBtnShadow));
    EXPECT_EQ(QColorToTColor(grey.pixelColor(0, 0)), clWhite);

    QImage disabled;
    DrawDisabledImage(disabled, glyph, 0, 0);
    EXPECT_EQ(QColorToTColor(disabled.pixelColor(2, 2)), Rgb(clBtnShadow));
    EXPECT_EQ(QColorToTColor(disabled.pixelColor(6, 6)), Rgb(clBtnHighlight));   // one right and down
    EXPECT_EQ(QColorToTColor(disabled.pixelColor(0, 0)), clWhite);
}

} // namespace
