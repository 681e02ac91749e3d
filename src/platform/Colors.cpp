#include "platform/Colors.h"

#include <iterator>

namespace {

constexpr int32_t Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

// The classic default desktop scheme (blue theme), slots 0..30.
constexpr int32_t kSysColors[31] = {
    Rgb(212, 208, 200), //  0 scroll bar
    Rgb(0, 78, 152),    //  1 desktop background
    Rgb(0, 84, 227),    //  2 active caption
    Rgb(122, 150, 223), //  3 inactive caption
    Rgb(255, 255, 255), //  4 menu
    Rgb(255, 255, 255), //  5 window
    Rgb(0, 0, 0),       //  6 window frame
    Rgb(0, 0, 0),       //  7 menu text
    Rgb(0, 0, 0),       //  8 window text
    Rgb(255, 255, 255), //  9 caption text
    Rgb(212, 208, 200), // 10 active border
    Rgb(212, 208, 200), // 11 inactive border
    Rgb(128, 128, 128), // 12 application workspace
    Rgb(49, 106, 197),  // 13 highlight
    Rgb(255, 255, 255), // 14 highlight text
    Rgb(236, 233, 216), // 15 button face
    Rgb(172, 168, 153), // 16 button shadow
    Rgb(172, 168, 153), // 17 grey text
    Rgb(0, 0, 0),       // 18 button text
    Rgb(216, 228, 248), // 19 inactive caption text
    Rgb(255, 255, 255), // 20 button highlight
    Rgb(113, 111, 100), // 21 3-D dark shadow
    Rgb(241, 239, 226), // 22 3-D light
    Rgb(0, 0, 0),       // 23 tool-tip text
    Rgb(255, 255, 225), // 24 tool-tip background
    Rgb(0, 0, 0),       // 25 unused slot
    Rgb(0, 0, 128),     // 26 hot-track
    Rgb(61, 149, 255),  // 27 active caption gradient
    Rgb(157, 185, 235), // 28 inactive caption gradient
    Rgb(49, 106, 197),  // 29 menu highlight
    Rgb(236, 233, 216), // 30 menu bar
};

} // namespace

int32_t SysColorValue(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kSysColors)))
        return 0;
    return kSysColors[index];
}

int32_t ColorToRGB(int32_t color)
{
    if (color < 0)
        return SysColorValue(color & 0xFF);
    if (color == clNone || color == clDefault)
        return color;
    return color & 0xFFFFFF;
}

QColor TColorToQColor(int32_t color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QColor();
    const int32_t rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

int32_t QColorToTColor(const QColor& color)
{
    if (!color.isValid())
        return clDefault;
    if (color.alpha() == 0)
        return clNone;
    const QRgb c = color.rgb();
    return Rgb(qRed(c), qGreen(c), qBlue(c));
}
