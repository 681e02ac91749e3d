#include "Surface.h"
#include "widgets/BitmapEffect.h"
#include "widgets/FillObject.h"
#include "widgets/GraphicControl.h"

#include <gtest/gtest.h>

namespace {

using enum TWLXFillStyle;
using enum TWLXTileMode;

TEST(FillObjectTest, EmptyPictureFillsTheOwnerColourAndReportsFalse)
{
    TWLXFillObject fill;
    EXPECT_EQ(fill.Style(), sfNone);
    EXPECT_TRUE(fill.IsEmptyFill());
    fill.SetStyle(sfBitmap);
    EXPECT_TRUE(fill.IsEmptyFill());
    Surface s(20, 20);
    EXPECT_FALSE(fill.PaintFill(*s.canvas, {0, 0, 20, 20}, clRed));
    EXPECT_EQ(s.px(10, 10), clRed);
    fill.SetStyle(sfNone);
    Surface n(20, 20);
    EXPECT_FALSE(fill.PaintFill(*n.canvas, {0, 0, 20, 20}, clRed));
    EXPECT_EQ(n.px(10, 10), clWhite);
}

TEST(FillObjectTest, OffsetsNotifyOnlyForAnUnscaledPicture)
{
    TWLXFillObject fill;
    int changes = 0;
    fill.OnChange = [&](void*) { ++changes; };
    fill.SetStyle(sfBitmap);       // tiled
    changes = 0;
    fill.SetOffsetX(3);
    fill.SetAlignment(TWLXAlignment::agCenter);
    EXPECT_EQ(changes, 0);
    fill.SetTileMode(tmNone);
    fill.SetOffsetX(4);
    EXPECT_EQ(changes, 2);

    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::blue);
    fill.SetBitmap(img);
    fill.SetAlignment(TWLXAlignment::agBottomRight);
    fill.SetOffsetX(-2);
    fill.SetOffsetY(-1);
    Surface s(20, 20);
    EXPECT_TRUE(fill.PaintFill(*s.canvas, {0, 0, 20, 20}, clRed));
    // At the bottom right, moved 2 left and 1 up.
    EXPECT_EQ(s.px(14, 15), clBlue);
    EXPECT_EQ(s.px(17, 18), clBlue);
    EXPECT_EQ(s.px(18, 15), clRed);
    EXPECT_EQ(s.px(17, 19), clRed);
    EXPECT_EQ(s.px(10, 10), clRed);   // the rest filled with the owner colour
}

TEST(FillObjectTest, HatchShowsTheOwnerColourAndTransparency)
{
    TWLXFillObject fill;
    fill.SetStyle(sfBrush);
    fill.SetBrush({clBlue, Qt::CrossPattern});
    Surface s(20, 20);
    EXPECT_TRUE(fill.PaintFill(*s.canvas, {0, 0, 20, 20}, clRed));
    s.Done();
    int blue = 0, red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const int32_t c = QColorToTColor(s.image.pixelColor(x, y));
            blue += c == clBlue;
            red += c == clRed;
            ASSERT_TRUE(c == clBlue || c == clRed);
        }
    EXPECT_GT(blue, 0);
    EXPECT_GT(red, blue);

    struct Case {
        TWLXFillStyle style;
        TWLXTileMode tile;
        Qt::BrushStyle brush;
        bool fillInner, transparent;
    };
    const Case cases[] = {
        {sfNone, tmTile, Qt::SolidPattern, true, true},
        {sfBrush, tmTile, Qt::SolidPattern, false, false},
        {sfBrush, tmTile, Qt::CrossPattern, false, true},
        {sfBrush, tmTile, Qt::CrossPattern, true, false},
        {sfBitmap, tmCenter, Qt::SolidPattern, false, true},
        {sfBitmap, tmCenter, Qt::SolidPattern, true, false},
        {sfBitmap, tmStretch, Qt::SolidPattern, false, false},
        {sfGradient, tmNone, Qt::SolidPattern, false, false},
    };
    for (const Case& c : cases) {
        TWLXFillObject f;
        f.SetStyle(c.style);
        f.SetTileMode(c.tile);
        f.SetBrush({clBlue, c.brush});
        f.SetOptions(c.fillInner ? FillOptionBit(TWLXFillOption::foFillInner) : 0);
        EXPECT_EQ(f.IsTransparentFill(), c.transparent) << int(c.style) << " " << int(c.tile);
    }
}

TEST(FillObjectTest, ChangesOfTheGradientReachTheFillsOwner)
{
    TWLXFillObject fill;
    int changes = 0;
    fill.OnChange = [&](void*) { ++changes; };
    fill.Gradient().SetColor(clRed);
    fill.Gradient().SetStyle(TWLXGradientStyle::gstHorizontal);
    fill.Gradient().SetEndColor(clRed);
    EXPECT_EQ(changes, 3);
    TWLXFillObject copy;
    int copies = 0;
    copy.OnChange = [&](void*) { ++copies; };
    copy.Assign(fill);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(copy.Gradient().Style(), TWLXGradientStyle::gstHorizontal);
    EXPECT_EQ(copy.Gradient().BandColors(), fill.Gradient().BandColors());
}

TEST(FillObjectTest, GradientFillStaysInsideItsRectangleWhenClipped)
{
    TWLXFillObject fill;
    fill.SetStyle(sfGradient);
    fill.Gradient().SetStyle(TWLXGradientStyle::gstElliptic);
    fill.Gradient().SetColor(clRed);
    fill.Gradient().SetEndColor(clRed);
    Surface s(60, 60);
    EXPECT_TRUE(fill.PaintFillClipped(*s.canvas, {10, 10, 50, 50}, 0, clWhite));
    EXPECT_EQ(s.px(30, 30), clRed);
    EXPECT_EQ(s.px(5, 30), clWhite);
    EXPECT_EQ(fill.DescriptionText(), QStringLiteral("{Gradient}"));
}

TEST(FillControlTest, TransparencyFollowsTheFillAndEmptyControlsPaintTheBase)
{
    TWLXFill control;
    control.resize(20, 20);
    EXPECT_FALSE(control.Transparent());
    TWLXFillObject hatch;
    hatch.SetStyle(sfBrush);
    hatch.SetBrush({clBlue, Qt::DiagCrossPattern});
    hatch.SetOptions(0);
    control.SetFillObject(hatch);
    EXPECT_TRUE(control.Transparent());
    control.FillObject().SetStyle(sfGradient);
    EXPECT_FALSE(control.Transparent());

    // Gradient fill inside a raised bevel.
    control.Bevel().SetStyleOuter(TWLXBevelStyle::bvRaised);
    control.Bevel().SetLightColor(clYellow);
    control.FillObject().Gradient().SetColor(clRed);
    control.FillObject().Gradient().SetEndColor(clRed);
    Surface s(20, 20);
    control.Paint(*s.canvas);
    EXPECT_EQ(s.px(0, 10), clYellow);
    EXPECT_EQ(s.px(10, 10), clRed);

    TWLXFill empty;
    empty.resize(10, 10);
    empty.SetColor(clLime);
    Surface e(10, 10);
    empty.Paint(*e.canvas);
    EXPECT_EQ(e.px(5, 5), clLime);
}

TEST(FillControlTest, CaptionDrawsInItsFontColourInsideTheBevel)
{
    TWLXFill control;
    control.resize(60, 40);
    control.FillObject().SetStyle(sfBrush);
    control.FillObject().SetBrush({clWhite, Qt::SolidPattern});
    QFont font;
    font.setPixelSize(20);
    font.setStyleStrategy(QFont::NoAntialias);
    control.Caption().SetFont(font);
    control.Caption().SetFontColor(clRed);
    control.Caption().SetCaption(QStringLiteral("III"));
    Surface s(60, 40, clBlack);
    control.Paint(*s.canvas);
    s.Done();
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            red += QColorToTColor(s.image.pixelColor(x, y)) == clRed;
    EXPECT_GT(red, 10);
    EXPECT_EQ(control.Caption().DescriptionText(), QStringLiteral("{III}"));
}

TEST(CaptionTest, TurnedCaptionNeedsAnOutlineFont)
{
    TWLXCaption caption;
    caption.FontFX().SetAngle(90);
    EXPECT_EQ(caption.FontFX().Angle(), 90);   // the default font is an outline font
}

TEST(AlphaTest, BlendsPictureAndFillByStrength)
{
    TWLXAlphaObject alpha;
    EXPECT_DOUBLE_EQ(alpha.Strength(), 0.6);
    EXPECT_EQ(alpha.DescriptionText(), QStringLiteral("{Disabled}"));
    alpha.FillObject().SetStyle(sfBrush);
    alpha.FillObject().SetBrush({0x646464, Qt::SolidPattern});
    EXPECT_EQ(alpha.DescriptionText(), QStringLiteral("{Enabled (brush), strength: 0.600}"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(200, 0, 255));
    alpha.Apply(picture);
    // fill + round((picture - fill) x 0.6): 100 + 60, 100 - 60, 100 + 93.
    EXPECT_EQ(picture.pixelColor(2, 2), QColor(160, 40, 193));

    // The strength keeps what is given; 0 shows only the fill.
    alpha.SetStrength(0.0);
    picture.fill(QColor(200, 0, 255));
    alpha.Apply(picture);
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(100, 100, 100));
    alpha.SetStrength(0.8);
    EXPECT_DOUBLE_EQ(alpha.Strength(), 0.8);

    TWLXBitmapEffectObject effects;
    effects.SetFlag(0, true);
    EXPECT_FALSE(effects.FlipVertical());
    EXPECT_FALSE(effects.IsActive());
    EXPECT_EQ(effects.DescriptionText(), QStringLiteral("{Disabled}"));
}

TEST(AlphaTest, BlendRefusesOtherPixelFormats)
{
    const QImage good(2, 2, QImage::Format_RGB888);
    QImage target(2, 2, QImage::Format_RGB888);
    const QImage mono(2, 2, QImage::Format_Mono);
    struct Case {
        const QImage* s1;
        const QImage* s2;
        const char* text;
    };
    for (const Case& c : {Case{&mono, &good, "Wrong PixelFormat in Source 1 bitmap!"},
                          Case{&good, &mono, "Wrong PixelFormat in Source 2 bitmap!"}}) {
        try {
            BlendBitmaps(*c.s1, *c.s2, QRect(0, 0, 2, 2), QPoint(), 0.5, target, QPoint());
            ADD_FAILURE() << c.text;
        } catch (const EWLXWrongPixelFormat& e) {
            EXPECT_STREQ(e.what(), c.text);
        }
    }
}

} // namespace

TEST(FillControlTest, BrushPatternStartsAtTheControlsCorner)
{
    // A two-pixel pattern (black, white): wherever the control sits on its parent, its own
    // first column is black.
    QImage pattern(2, 1, QImage::Format_RGB32);
    pattern.setPixelColor(0, 0, Qt::black);
    pattern.setPixelColor(1, 0, Qt::white);
    for (int left : {0, 3}) {
        TWLXFill control;
        control.setGeometry(left, 0, 10, 4);
        control.FillObject().SetBitmap(pattern);
        control.FillObject().SetStyle(sfBrushBitmap);
        Surface s(10, 4, clRed);
        control.Paint(*s.canvas);
        EXPECT_EQ(s.px(0, 1), clBlack) << left;
        EXPECT_EQ(s.px(1, 1), clWhite) << left;
    }
}
