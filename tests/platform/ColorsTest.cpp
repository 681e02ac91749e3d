#include "platform/Colors.h"

#include <gtest/gtest.h>

TEST(Colors, IntegersConvertToTheirQColor)
{
    struct Case { int32_t color; QColor expected; };
    const Case cases[] = {
        {255, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},
        {0xFF0000, QColor(0, 0, 255)},
        {0x123456, QColor(0x56, 0x34, 0x12)},
        {clBlack, QColor(0, 0, 0)},
        {clTeal, QColor(0, 128, 128)},
        {0x02FF0000, QColor(0, 0, 255)},           // the high byte of a positive value is ignored
        {clBtnFace, QColor(236, 233, 216)},
        {clWindow, QColor(255, 255, 255)},
        {clWindowText, QColor(0, 0, 0)},
        {clHighlight, QColor(49, 106, 197)},
        {clBtnShadow, QColor(172, 168, 153)},
        {clInfoBk, QColor(255, 255, 225)},
        {clMenuBar, QColor(236, 233, 216)},
        {static_cast<int32_t>(0xFF0000FF), QColor(0, 0, 0)}, // no such system colour
    };
    for (const Case& c : cases) {
        const QColor q = TColorToQColor(c.color);
        EXPECT_EQ(q, c.expected) << std::hex << c.color;
        EXPECT_EQ(q.alpha(), 255) << std::hex << c.color;
    }
}

TEST(Colors, SystemColourTable)
{
    EXPECT_EQ(SysColorValue(15), 14215660);
    EXPECT_EQ(SysColorValue(5), 0xFFFFFF);
    EXPECT_EQ(SysColorValue(-1), 0);
    EXPECT_EQ(SysColorValue(31), 0);
    EXPECT_EQ(ColorToRGB(clBtnFace), 14215660);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(0x7F00FF00), 0x00FF00);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(Colors, NoneIsTransparentAndDefaultHasNoColour)
{
    const QColor none = TColorToQColor(clNone);
    EXPECT_TRUE(none.isValid());
    EXPECT_EQ(none.alpha(), 0);
    EXPECT_FALSE(TColorToQColor(clDefault).isValid());
    EXPECT_EQ(QColorToTColor(none), clNone);
    EXPECT_EQ(QColorToTColor(QColor()), clDefault);
}

TEST(Colors, QColorRoundTrip)
{
    for (int32_t c : {0, 255, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x0A0B0C, 16448250})
        EXPECT_EQ(QColorToTColor(TColorToQColor(c)), c) << std::hex << c;
    EXPECT_EQ(QColorToTColor(QColor(1, 2, 3)), 0x030201);
    // A system colour comes back as its RGB value; partial alpha is dropped.
    EXPECT_EQ(QColorToTColor(TColorToQColor(clBtnFace)), 14215660);
    EXPECT_EQ(QColorToTColor(QColor(10, 20, 30, 128)), 0x1E140A);
}
