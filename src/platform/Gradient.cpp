#include "platform/Gradient.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <QPainter>

#include <algorithm>

namespace {

bool g_loaded = false;

int Channel(int32_t rgb, int shift)
{
    return (rgb >> shift) & 0xFF;
}

// Channel value at step i of n + 1 steps from a to b (a at 0, b at n), rounded.
int Blend(int a, int b, int i, int n)
{
    return (a * (n - i) + b * i + n / 2) / n;
}

} // namespace

bool LoadGradientFill()
{
    g_loaded = true;
    return true;
}

void FreeGradientFill()
{
    g_loaded = false;
}

bool FillGradient(TCanvas& canvas, int left, int top, int right, int bottom, int32_t color1,
                  int32_t color2, bool horizontal, bool enabled)
{
    if (!g_loaded)
        g_loaded = LoadGradientFill();
    if (!enabled) {
        canvas.Brush.Color = color1;
        canvas.FillRect(left, top, right, bottom);
        return true;
    }
    QPainter* painter = canvas.Painter();
    if (!painter || right <= left || bottom <= top)
        return true;

    // Qt rectangle of the logical area, mapped to device pixels.
    const QRect device = canvas.LPtoDP(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    if (device.isEmpty())
        return true;
    const int32_t rgb1 = ColorToRGB(color1);
    const int32_t rgb2 = ColorToRGB(color2);
    const int steps = (horizontal ? device.width() : device.height()) - 1;

    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i <= steps; ++i) {
        QColor c;
        if (steps == 0)
            c = QColor(Channel(rgb1, 0), Channel(rgb1, 8), Channel(rgb1, 16));
        else
            c = QColor(Blend(Channel(rgb1, 0), Channel(rgb2, 0), i, steps),
                       Blend(Channel(rgb1, 8), Channel(rgb2, 8), i, steps),
                       Blend(Channel(rgb1, 16), Channel(rgb2, 16), i, steps));
        if (horizontal)
            painter->fillRect(QRect(device.left() + i, device.top(), 1, device.height()), c);
        else
            painter->fillRect(QRect(device.left(), device.top() + i, device.width(), 1), c);
    }
    painter->restore();
    return true;
}

int32_t ScaleColor(int32_t color, double factor)
{
    const int32_t rgb = ColorToRGB(color);
    int32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const int64_t scaled = RoundHalfEven(Extended(Channel(rgb, shift)) * Extended(factor));
        const int value = int(std::clamp<int64_t>(scaled, 0, 255));
        result |= value << shift;
    }
    return result;
}
