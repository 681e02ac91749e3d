#include "widgets/Gradient.h"

#include "platform/Filer.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Types.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int Channel(int32_t rgb, int shift)
{
    return (rgb >> shift) & 0xFF;
}

int32_t Rgb(int r, int g, int b)
{
    auto c = [](int v) { return std::clamp(v, 0, 255); };
    return c(r) | (c(g) << 8) | (c(b) << 16);
}

} // namespace

void ColorRamp(std::vector<int32_t>& bands, int32_t c1, int32_t c2, int count, bool first)
{
    if (first)
        bands.clear();
    const int32_t a = ColorToRGB(c1);
    const int32_t b = ColorToRGB(c2);
    for (int k = first ? 0 : 1; k < count; ++k) {
        // A single band is the start colour (the ramp has no length to divide).
        auto ch = [&](int shift) {
            const int x = Channel(a, shift);
            return count > 1 ? x + MulDiv(k, Channel(b, shift) - x, count - 1) : x;
        };
        bands.push_back(Rgb(ch(0), ch(8), ch(16)));
    }
}

int32_t ColorBetween(int32_t c1, int32_t c2, int step, int steps)
{
    const int32_t a = ColorToRGB(c1);
    const int32_t b = ColorToRGB(c2);
    if (steps == 0)
        return a;
    auto ch = [&](int shift) {
        const int x = Channel(a, shift);
        return WLXRound(x + double(step) * (Channel(b, shift) - x) / steps);
    };
    return Rgb(ch(0), ch(8), ch(16));
}

void GradientFill(TCanvas& canvas, const TWLXRect& rect, TWLXGradientStyle style, int clipOffset,
                  unsigned flags, const std::vector<int32_t>& colors)
{
    QPainter* painter = canvas.Painter();
    if (colors.empty() || rect.IsEmpty() || !painter)
        return;
    using enum TWLXGradientStyle;
    const int W = rect.Width();
    const int H = rect.Height();
    const int n = int(colors.size());

    painter->save();
    if (flags & kDrawOffscreen) {
        // The off-screen picture holds only the rectangle.
        painter->setClipRect(canvas.LPtoDP(rect.ToQRect()), Qt::IntersectClip);
    } else if (flags & kDrawClip) {
        QRect clip = rect.ToQRect();
        if (clipOffset != 0)
            clip.translate(int16_t(clipOffset & 0xFFFF), int16_t((clipOffset >> 16) & 0xFFFF));
        painter->setClipRect(canvas.LPtoDP(clip), Qt::IntersectClip);
    }
    const TCanvasPen oldPen = canvas.Pen;
    const TCanvasBrush oldBrush = canvas.Brush;
    canvas.Pen.Style = Qt::NoPen;
    canvas.Brush.Style = Qt::SolidPattern;

    // Anchor rectangle, on the canvas.
    TWLXRect a;
    switch (style) {
    case gstHorizontal:
    case gstVertical:
        a = {0, 0, W, H};
        break;
    case gstSquare:
    case gstElliptic:
        a = {W / 2, H / 2, W / 2, H / 2};
        break;
    case gstTopLeft:
    case gstTopLeftDiagonal:
        a = {0, 0, 1, 1};
        break;
    case gstTopRight:
        a = {W, 1, W + 1, 0};
        break;
    case gstBottomLeft:
        a = {1, H, 0, H + 1};
        break;
    case gstBottomRight:
        a = {W, H, W + 1, H + 1};
        break;
    case gstTopRightDiagonal:
        a = {W, 0, W + 1, 0};
        break;
    }
    a = {a.Left + rect.Left, a.Top + rect.Top, a.Right + rect.Left, a.Bottom + rect.Top};

    if (style == gstHorizontal) {
        for (int i = 0; i < n; ++i) {
            canvas.Brush.Color = colors[i];
            canvas.FillRect(a.Left + MulDiv(i, W, n), a.Top, a.Left + MulDiv(i + 1, W, n), a.Bottom);
        }
    } else {
        for (int i = n - 1; i >= 0; --i) {
            canvas.Brush.Color = colors[i];
            const int w = MulDiv(i + 1, W, n);
            const int h = MulDiv(i + 1, H, n);
            const int d = 2 * h;
            const int e = 2 * w;
            switch (style) {
            case gstHorizontal:
                break;
            case gstVertical:
                canvas.FillRect(a.Left, a.Top + MulDiv(i, H, n), a.Right, a.Top + h);
                break;
            case gstSquare:
                canvas.Rectangle(a.Left - w / 2, a.Top - h / 2, a.Left + w / 2 + 2, a.Top + h / 2 + 2);
                break;
            case gstElliptic: {
                const int rx = WLXRound(w / 1.4);
                const int ry = WLXRound(h / 1.4);
                canvas.Ellipse(a.Left - rx, a.Top - ry, a.Left + rx, a.Top + ry);
                break;
            }
            case gstTopLeft:
                canvas.Rectangle(a.Left, a.Top, a.Right + w, a.Bottom + h);
                break;
            case gstTopRight:
                canvas.Rectangle(a.Left - w, a.Top + h, a.Right, a.Bottom);
                break;
            case gstBottomLeft:
                canvas.Rectangle(a.Left + w, a.Top - h, a.Right, a.Bottom);
                break;
            case gstBottomRight:
                canvas.Rectangle(a.Left - w, a.Top - h, a.Right, a.Bottom);
                break;
            case gstTopLeftDiagonal:
                canvas.Polygon({{a.Left, a.Top}, {a.Left + e, a.Top}, {a.Left, a.Bottom + d},
                                {a.Left - e, a.Bottom + d}});
                break;
            case gstTopRightDiagonal:
                canvas.Polygon({{a.Right, a.Top}, {a.Right - e, a.Top}, {a.Right, a.Bottom + d},
                                {a.Right + e, a.Bottom + d}});
                break;
            }
        }
    }
    canvas.Pen = oldPen;
    canvas.Brush = oldBrush;
    painter->restore();
}

// ---- the settings object ---------------------------------------------------------------------

TWLXGradient::TWLXGradient()
{
    BuildBands();
}

void TWLXGradient::BuildBands()
{
    m_bandColors.clear();
    if (m_twoColors) {
        ColorRamp(m_bandColors, m_color, m_endColor, m_colorCount, true);
        return;
    }
    const int n = int(m_userColors.size());
    if (n < 2)
        return;
    ColorRamp(m_bandColors, m_userColors[0], m_userColors[1], m_colorCount / n, true);
    for (int i = 1; i <= n - 2; ++i)
        ColorRamp(m_bandColors, m_userColors[i], m_userColors[i + 1], m_colorCount / n, false);
}

void TWLXGradient::Change()
{
    BuildBands();
    TWLXObject::Change();
}

void TWLXGradient::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    BuildBands();
    Change();
}

void TWLXGradient::SetColorCount(int value)
{
    value = std::clamp(value, kColorCountMin, kColorCountMax);
    if (value == m_colorCount)
        return;
    m_colorCount = value;
    Change();
}

void TWLXGradient::SetStyle(TWLXGradientStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    Change();
}

void TWLXGradient::SetEndColor(int32_t value)
{
    if (value == m_endColor)
        return;
    m_endColor = value;
    Change();
}

void TWLXGradient::SetPaletteRealize(bool value)
{
    if (value == m_paletteRealize)
        return;
    m_paletteRealize = value;
    Change();
}

void TWLXGradient::SetTwoColors(bool value)
{
    if (value == m_twoColors)
        return;
    m_twoColors = value;
    Change();
}

void TWLXGradient::SetUserColors(const std::vector<int32_t>& colors)
{
    m_userColors = colors;
    Change();
}

namespace {
constexpr uint8_t kListEnd = 0;    // tag that closes a list
constexpr uint8_t kListBegin = 1;  // tag that opens a list
} // namespace

void TWLXGradient::WriteColorList(TWriter& writer) const
{
    writer.WriteRawByte(kListBegin);
    for (int32_t c : m_userColors)
        writer.WriteInteger(c);
    writer.WriteRawByte(kListEnd);
}

void TWLXGradient::ReadColorList(TReader& reader)
{
    if (reader.ReadRawByte() != kListBegin)
        throw EFilerError::invalidPropertyValue();
    std::vector<int32_t> colors;
    while (uint8_t(reader.NextValue()) != kListEnd)
        colors.push_back(reader.ReadInteger());
    reader.ReadRawByte();
    m_userColors = std::move(colors);
    Change();
}

void TWLXGradient::Assign(const TWLXGradient& source)
{
    BeginUpdate();
    m_colorCount = source.m_colorCount;
    m_color = source.m_color;
    m_style = source.m_style;
    m_endColor = source.m_endColor;
    m_paletteRealize = source.m_paletteRealize;
    m_twoColors = source.m_twoColors;
    m_userColors = source.m_userColors;
    EndUpdate(true);
}

QString TWLXGradient::DescriptionText() const
{
    static const char* const kNames[] = {"horizontal", "vertical", "square", "elliptic",
                                         "top left", "top right", "bottom left", "bottom right",
                                         "top left diag", "top right diag"};
    return QString::fromLatin1(kNames[int(m_style)]) + QStringLiteral(", Col: ") +
           QString::number(m_colorCount) +
           (m_twoColors ? QStringLiteral(", 2 col mode") : QStringLiteral(", mult. col mode"));
}

void TWLXGradient::Paint(TCanvas& canvas, const TWLXRect& rect, unsigned flags) const
{
    GradientFill(canvas, rect, m_style, 0, flags, m_bandColors);
}

// ---- two-colour fill -------------------------------------------------------------------------

namespace {
bool g_loaded = false;
}

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
    // One band per device pixel, painted in device pixels.
    const QRect device = canvas.LPtoDP(QRect(left, top, right - left, bottom - top));
    if (device.isEmpty())
        return true;
    const int n = horizontal ? device.width() : device.height();
    std::vector<int32_t> bands;
    bands.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        bands.push_back(ColorBetween(color1, color2, i, n - 1));
    TCanvas pixels(painter);
    GradientFill(pixels, TWLXRect::From(device),
                 horizontal ? TWLXGradientStyle::gstHorizontal : TWLXGradientStyle::gstVertical, 0,
                 0, bands);
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
