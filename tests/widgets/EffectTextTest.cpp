#include "Surface.h"
#include "widgets/Caption3D.h"
#include "widgets/EffectText.h"
#include "widgets/Gradient.h"

#include <gtest/gtest.h>

namespace {

using enum TWLXThreeDStyle;

TEST(AlignRectTest, PlacesTheInnerSizeByAlignment)
{
    using enum TWLXAlignment;
    const std::pair<TWLXAlignment, QPoint> cases[] = {
        {agTopLeft, {0, 0}}, {agTopCenter, {10, 0}}, {agTopRight, {20, 0}},
        {agCenterLeft, {0, 5}}, {agCenter, {10, 5}}, {agCenterRight, {20, 5}},
        {agBottomLeft, {0, 10}}, {agBottomCenter, {10, 10}}, {agBottomRight, {20, 10}}};
    for (auto [alignment, at] : cases) {
        const TWLXRect r = AlignRect(alignment, {0, 0, 10, 10}, {0, 0, 30, 20});
        EXPECT_EQ(r, (TWLXRect{at.x(), at.y(), at.x() + 10, at.y() + 10})) << int(alignment);
    }
    // div rounds toward zero for an inner rectangle larger than the outer one.
    EXPECT_EQ(AlignRect(agCenter, {0, 0, 13, 13}, {5, 5, 15, 15}), (TWLXRect{4, 4, 17, 17}));
}

// Bounding box of the pixels of one colour.
QRect Box(Surface& s, int32_t color)
{
    s.Done();
    QRect box;
    for (int y = 0; y < s.image.height(); ++y)
        for (int x = 0; x < s.image.width(); ++x)
            if (QColorToTColor(s.image.pixelColor(x, y)) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

QFont SharpFont()
{
    QFont f;
    f.setPixelSize(24);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// The text's copies land at the offsets of each effect: the text copy in the font colour,
// the light and shadow copies in theirs.
TEST(EffectTextTest, CopiesLandAtTheirOffsets)
{
    constexpr int32_t kText = 0x0000FF, kLight = 0x00FF00, kShadow = 0xFF0000;
    struct Case {
        TWLXThreeDStyle style;
        int light, shadow;
        QPoint lightAt, shadowAt;   // offsets from the text copy; (99, 99): no such copy
    };
    const QPoint none(99, 99);
    const Case cases[] = {
        {tdNone, 1, 1, none, none},
        {tdSunken, 2, 1, {2, 2}, none},
        {tdRaised, 2, 1, {-2, -2}, none},
        {tdShadow, 1, 3, none, {3, 3}},
        {tdSunkenShadow, 1, 2, {1, 1}, {-2, -2}},   // shadow at 0, light at 3, text at 2
        {tdRaisedShadow, 1, 2, {-1, -1}, {2, 2}},   // shadow at 3, light at 0, text at 1
    };
    for (const Case& c : cases) {
        TWLX3DCaption caption;
        caption.SetStyle(c.style);
        caption.SetLightDepth(c.light);
        caption.SetShadowDepth(c.shadow);
        caption.SetLightColor(kLight);
        caption.SetShadowColor(kShadow);
        Surface s(120, 60, clWhite);
        s.canvas->Font = SharpFont();
        s.canvas->FontColor = kText;
        DrawEffectText(*s.canvas, QStringLiteral("H"), &caption, nullptr, kTextEnabled, DT_LEFT | DT_SINGLELINE,
                       {20, 10, 110, 55});
        const QRect text = Box(s, kText);
        ASSERT_FALSE(text.isEmpty()) << int(c.style);
        // A copy further down and right shows its bottom-right corner, one further up and left
        // its top-left corner: compare there.
        auto offset = [&](const QRect& copy, QPoint expected) {
            return expected.x() > 0 ? copy.bottomRight() - text.bottomRight()
                                    : copy.topLeft() - text.topLeft();
        };
        if (c.lightAt != none)
            EXPECT_EQ(offset(Box(s, kLight), c.lightAt), c.lightAt) << int(c.style);
        else
            EXPECT_TRUE(Box(s, kLight).isEmpty()) << int(c.style);
        if (c.shadowAt != none)
            EXPECT_EQ(offset(Box(s, kShadow), c.shadowAt), c.shadowAt) << int(c.style);
        else
            EXPECT_TRUE(Box(s, kShadow).isEmpty()) << int(c.style);
    }
}

TEST(EffectTextTest, DisabledAutoTextIsSunkenGrey)
{
    TWLX3DCaption caption;   // dsAuto, tdNone
    Surface s(120, 60, clBlack);
    s.canvas->Font = SharpFont();
    s.canvas->FontColor = clRed;
    DrawEffectText(*s.canvas, QStringLiteral("H"), &caption, nullptr, kTextAutoSunken,
                   DT_LEFT | DT_SINGLELINE, {20, 10, 110, 55});
    const QRect grey = Box(s, Rgb(clGrayText));
    const QRect light = Box(s, Rgb(clBtnHighlight));
    ASSERT_FALSE(grey.isEmpty());
    EXPECT_EQ(light.bottomRight(), grey.bottomRight() + QPoint(1, 1));
    EXPECT_TRUE(Box(s, clRed).isEmpty());

    // Without flag 4 the disabled text is plain grey.
    Surface p(120, 60, clBlack);
    p.canvas->Font = SharpFont();
    DrawEffectText(*p.canvas, QStringLiteral("H"), &caption, nullptr, 0, DT_LEFT | DT_SINGLELINE, {20, 10, 110, 55});
    EXPECT_TRUE(Box(p, Rgb(clBtnHighlight)).isEmpty());
    EXPECT_FALSE(Box(p, Rgb(clGrayText)).isEmpty());
}

TEST(EffectTextTest, ExtrusionStepsFromTheLightToTheShadowColour)
{
    TWLX3DCaption caption;
    caption.SetStyle(tdExtrudeEnh);
    caption.SetShadowDepth(4);
    caption.SetLightColor(0xFFFFFF);
    caption.SetShadowColor(0x000000);
    caption.SetOrientation(TWLXThreeDOrientation::toBottomRight);
    Surface s(120, 60, 0x00FF00);
    s.canvas->Font = SharpFont();
    s.canvas->FontColor = clRed;
    DrawEffectText(*s.canvas, QStringLiteral("I"), &caption, nullptr, kTextEnabled, DT_LEFT | DT_SINGLELINE,
                   {20, 10, 110, 55});
    const QRect text = Box(s, clRed);
    // The rectangle moves right and down by D + 1, then each copy one back up and left: the
    // first copy (nearly light) is furthest out, the text covers the last copy.
    const QRect first = Box(s, ColorBetween(0x000000, 0xFFFFFF, 3, 4));
    const QRect second = Box(s, ColorBetween(0x000000, 0xFFFFFF, 2, 4));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(first.bottomRight() - text.bottomRight(), QPoint(3, 3));
    EXPECT_EQ(second.bottomRight() - text.bottomRight(), QPoint(2, 2));
    EXPECT_TRUE(Box(s, 0x000000).isEmpty());   // the last copy lies under the text
}

TEST(EffectTextTest, OutlineStrokesTheTextInItsColour)
{
    TWLX3DCaption caption;
    caption.SetStyle(tdOutline);
    caption.SetShadowDepth(2);
    Surface s(120, 60, clWhite);
    s.canvas->Font = SharpFont();
    s.canvas->FontColor = clRed;
    DrawEffectText(*s.canvas, QStringLiteral("O"), &caption, nullptr, kTextEnabled, DT_LEFT, {20, 10, 110, 55});
    s.Done();
    int red = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            red += qRed(s.image.pixel(x, y)) > 200 && qGreen(s.image.pixel(x, y)) < 100;
    EXPECT_GT(red, 20);
}

TEST(EffectCaptionTest, AngleDescriptionAndMeasuring)
{
    TWLXFxCaption fx;
    fx.SetAngle(360);
    EXPECT_EQ(fx.Angle(), 0);
    EXPECT_EQ(fx.DescriptionText(), QStringLiteral("{Disabled}"));
    fx.SetStyle(tdSunken);
    fx.SetAngle(45);
    EXPECT_EQ(fx.DescriptionText(), QStringLiteral("{sunken, rot: 45") + QChar(0xB0) + QStringLiteral("}"));
    TWLXFxCaption plain;
    plain.SetAngle(90);
    EXPECT_EQ(plain.DescriptionText(), QStringLiteral("{ rot: 90") + QChar(0xB0) + QStringLiteral("}"));
    TWLX3DCaption pc;
    pc.SetStyle(tdPColorRaised);
    EXPECT_EQ(pc.DescriptionText(), QStringLiteral("{}"));

    // An empty text measures as one blank plus the margins; the effect adds its depth.
    const QFont font = SharpFont();
    TWLXRect blank{0, 0, 200, 100}, empty{0, 0, 200, 100}, deep{0, 0, 200, 100};
    MeasureText(QStringLiteral(" "), nullptr, blank, DT_LEFT, 0, false, false, font);
    MeasureText(QString(), nullptr, empty, DT_LEFT, 0, false, false, font);
    EXPECT_EQ(empty, blank);
    EXPECT_GT(blank.Width(), 2);
    TWLX3DCaption shadow;
    shadow.SetStyle(tdShadow);
    shadow.SetShadowDepth(3);
    MeasureText(QString(), &shadow, deep, DT_LEFT, 2, false, false, font);
    EXPECT_EQ(deep.Width(), blank.Width() + 3 + 4);
    EXPECT_EQ(deep.Height(), blank.Height() + 3 + 4);

    // A turned caption gets the position of its text; a plain one goes back to (0, 0).
    TWLXFxCaption turned;
    turned.SetAngle(90);
    TWLXRect r{0, 0, 0, 0};
    MeasureText(QStringLiteral("Text"), &turned, r, DT_LEFT, 0, false, false, font);
    EXPECT_GT(r.Height(), r.Width());
    EXPECT_GT(turned.PosY(), 0);
    turned.SetAngle(0);
    MeasureText(QStringLiteral("Text"), &turned, r, DT_LEFT, 0, false, false, font);
    EXPECT_EQ(turned.PosY(), 0);
}

} // namespace
