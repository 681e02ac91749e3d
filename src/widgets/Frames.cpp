#include "widgets/Frames.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <utility>

void FillSolid(TCanvas& canvas, const TWLXRect& r, int32_t color)
{
    if (r.IsEmpty())
        return;
    canvas.Brush.Color = color;
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.FillRect(r.Left, r.Top, r.Right, r.Bottom);
}

void FrameRect(TCanvas& canvas, const TWLXRect& r, int32_t color)
{
    if (r.IsEmpty())
        return;
    FillSolid(canvas, {r.Left, r.Top, r.Right, r.Top + 1}, color);
    FillSolid(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, color);
    FillSolid(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, color);
    FillSolid(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, color);
}

namespace {

// One ring of an edge: top-left colour on the left column and top row (each ending one pixel
// before the far corner), bottom-right colour on the right column and bottom row.
void DrawRing(TCanvas& canvas, const TWLXRect& r, unsigned sides, int32_t topLeft, int32_t bottomRight)
{
    if (sides & BF_LEFT)
        FillSolid(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    if (sides & BF_TOP)
        FillSolid(canvas, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    if (sides & BF_RIGHT)
        FillSolid(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    if (sides & BF_BOTTOM)
        FillSolid(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
}

void Shrink(TWLXRect& r, unsigned sides)
{
    if (sides & BF_LEFT)
        ++r.Left;
    if (sides & BF_TOP)
        ++r.Top;
    if (sides & BF_RIGHT)
        --r.Right;
    if (sides & BF_BOTTOM)
        --r.Bottom;
}

} // namespace

void DrawEdge(TCanvas& canvas, TWLXRect& rect, unsigned edge, unsigned flags)
{
    const unsigned sides = flags & BF_RECT;
    const bool soft = flags & BF_SOFT;
    TWLXRect r = rect;
    const unsigned outer = edge & 3;
    const unsigned inner = edge & 12;
    if (outer == BDR_RAISEDOUTER)
        DrawRing(canvas, r, sides, soft ? clBtnHighlight : cl3DLight, cl3DDkShadow);
    else if (outer == BDR_SUNKENOUTER)
        DrawRing(canvas, r, sides, soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight);
    if (outer == BDR_RAISEDOUTER || outer == BDR_SUNKENOUTER)
        Shrink(r, sides);
    if (inner == BDR_RAISEDINNER)
        DrawRing(canvas, r, sides, soft ? cl3DLight : clBtnHighlight, clBtnShadow);
    else if (inner == BDR_SUNKENINNER)
        DrawRing(canvas, r, sides, soft ? clBtnShadow : cl3DDkShadow, cl3DLight);
    if (inner == BDR_RAISEDINNER || inner == BDR_SUNKENINNER)
        Shrink(r, sides);
    if (flags & BF_ADJUST)
        rect = r;
}

bool DrawBevel(TCanvas& canvas, TWLXRect& rect, TWLXBevelStyle style, int width, int32_t shadow,
               int32_t light)
{
    using enum TWLXBevelStyle;
    if (width <= 0 || style == bvNone || style == bvShadow)
        return false;
    int32_t first = shadow;
    int32_t second = light;
    if (style == bvLowered || style == bvFrameLowered)
        std::swap(first, second);
    else if (style == bvNormal)
        first = second = 0;
    TWLXRect& r = rect;
    if (style == bvFrameLowered || style == bvFrameRaised) {
        for (int i = 0; i < width; ++i) {
            FrameRect(canvas, {r.Left + i + 1, r.Top + i + 1, r.Right, r.Bottom}, first);
            FrameRect(canvas, {r.Left, r.Top, r.Right - i - 1, r.Bottom - i - 1}, second);
        }
        r = {r.Left + width + 1, r.Top + width + 1, r.Right - width - 1, r.Bottom - width - 1};
        return true;
    }
    if (width == 1) {
        // The two polylines, each without its last point.
        FillSolid(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, second);
        FillSolid(canvas, {r.Left, r.Top, r.Right - 1, r.Top + 1}, second);
        FillSolid(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom - 1}, first);
        FillSolid(canvas, {r.Left + 1, r.Bottom - 1, r.Right, r.Bottom}, first);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        return true;
    }
    const int b = r.Bottom - 1;
    const TWLXRect in{r.Left + width, r.Top + width, r.Right - width, b - width};
    const TCanvasPen oldPen = canvas.Pen;
    canvas.Pen.Style = Qt::NoPen;
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.Brush.Color = first;
    canvas.Polygon({{r.Left, r.Bottom}, {in.Left, in.Bottom}, {in.Right, in.Bottom},
                    {in.Right, in.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}});
    canvas.Brush.Color = second;
    canvas.Polygon({{r.Left, b}, {in.Left, in.Bottom}, {in.Left, in.Top}, {in.Right - 1, in.Top},
                    {r.Right - 1, r.Top}, {r.Left, r.Top}});
    canvas.Pen = oldPen;
    r = {r.Left + width, r.Top + width, r.Right - width, r.Bottom - width};
    return true;
}

bool DrawShadowBevel(TCanvas& canvas, TWLXRect& rect, int32_t light, bool transparent, int count,
                     int w, int32_t border, int32_t shadow)
{
    TWLXRect& r = rect;
    FillSolid(canvas, {r.Right - w, r.Top + w, r.Right, r.Bottom}, shadow);
    FillSolid(canvas, {r.Left + w, r.Bottom - w, r.Right, r.Bottom}, shadow);
    if (!transparent) {
        FillSolid(canvas, {r.Right - w, r.Top, r.Right, r.Top + w}, border);
        FillSolid(canvas, {r.Left, r.Bottom - w, r.Left + w, r.Bottom}, border);
    }
    r = {r.Left, r.Top, r.Right - w, r.Bottom - w};
    for (int i = 0; i < count; ++i) {
        FrameRect(canvas, r, light);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    return true;
}

bool DrawBorderStyle(TCanvas& canvas, TWLXRect& rect, TWLXBorderStyle style, unsigned extra)
{
    using enum TWLXBorderStyle;
    const unsigned x = extra | BF_ADJUST;
    TWLXRect& r = rect;
    switch (style) {
    case lsNone:
        break;
    case lsSingle:
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_SOFT | BF_LEFT | BF_TOP | x);
        DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        break;
    case lsLowered:
        DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_SOFT | x);
        break;
    case lsRaised:
        DrawEdge(canvas, r, EDGE_RAISED, BF_RECT | BF_SOFT | x);
        break;
    case lsRaisedspb:
    case lsRaisedExt:
        DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | x);
        DrawEdge(canvas, r, BDR_RAISEDINNER, 0x200C);
        if (style == lsRaisedExt) {
            ++r.Left;
            ++r.Top;
        }
        break;
    case lsLoweredspb:
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        DrawEdge(canvas, r, BDR_SUNKENINNER, BF_LEFT | BF_TOP | x);
        break;
    case lsLoweredExt:
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        DrawEdge(canvas, r, BDR_SUNKENINNER, 0x2003);
        --r.Right;
        --r.Bottom;
        break;
    case lsFrameInset:
        DrawEdge(canvas, r, EDGE_ETCHED, BF_RECT | x);
        break;
    case lsFrameOffset:
        DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | x);
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        break;
    case lsWindowBorder:
        DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM | x);
        ++r.Left;
        ++r.Top;
        DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | x);
        break;
    case lsSingleRaised:
        DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | x);
        break;
    case lsSingleLowered:
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        break;
    case lsDoubleRaised:
        DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | x);
        DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RECT | x);
        break;
    case lsDoubleLowered:
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT | x);
        break;
    }
    return true;
}

int BorderStyleWidth(TWLXBorderStyle style)
{
    using enum TWLXBorderStyle;
    switch (style) {
    case lsNone:
        return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered:
        return 1;
    default:
        return 2;
    }
}

unsigned EdgeStyleValue(TWLXEdgeStyle style)
{
    static constexpr unsigned kValues[] = {BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER,
                                           BDR_SUNKENOUTER, EDGE_BUMP, EDGE_ETCHED, EDGE_RAISED,
                                           EDGE_SUNKEN};
    return kValues[unsigned(style) & 7];
}

int BorderKind(bool ctl3D, bool singleBorder, bool flat)
{
    if (!singleBorder)
        return 0;
    return (!ctl3D || flat) ? 1 : 2;
}

namespace {

void DrawArrowOnce(TCanvas& canvas, int x, int y, bool down, int32_t color, int size)
{
    if (down) {
        for (int i = 0; i <= size - 2; ++i)
            FillSolid(canvas, {x + i, y + i, x + 2 * size - i - 1, y + i + 1}, color);
        FillSolid(canvas, {x + size - 1, y + size - 1, x + size, y + size}, color);
    } else {
        const int c = x + size / 2;
        for (int i = 0; i < size; ++i)
            FillSolid(canvas, {c - i, y + i, c + i + 1, y + i + 1}, color);
    }
}

} // namespace

void DrawDropArrow(TCanvas& canvas, int x, int y, bool enabled, bool down, int32_t color, int size)
{
    if (size < 2 || size > 15)
        return;
    if (!enabled) {
        DrawArrowOnce(canvas, x + 1, y + 1, down, clBtnHighlight, size);
        DrawArrowOnce(canvas, x, y, down, clGrayText, size);
    } else {
        DrawArrowOnce(canvas, x, y, down, color, size);
    }
}
