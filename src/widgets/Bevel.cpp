#include "widgets/Bevel.h"

#include "platform/Canvas.h"

#include <algorithm>

using enum TWLXBevelStyle;
using enum TWLXBevelMode;

void TWLXBevel::SetStyleInner(TWLXBevelStyle value)
{
    if (value == m_styleInner)
        return;
    if (m_styleInner == bvShadow)
        m_styleOuter = bvNone;
    m_styleInner = value;
    if (value == bvShadow)
        m_styleOuter = bvShadow;
    Change();
}

void TWLXBevel::SetStyleOuter(TWLXBevelStyle value)
{
    if (value == m_styleOuter)
        return;
    if (m_styleOuter == bvShadow)
        m_styleInner = bvNone;
    m_styleOuter = value;
    if (value == bvShadow)
        m_styleInner = bvShadow;
    Change();
}

namespace {
template <class T>
void Store(TWLXBevel& bevel, T& field, T value)
{
    if (field == value)
        return;
    field = value;
    bevel.Change();
}
} // namespace

void TWLXBevel::SetWidthInner(int value) { Store(*this, m_widthInner, std::clamp(value, 0, kBevelWidthMax)); }
void TWLXBevel::SetWidthOuter(int value) { Store(*this, m_widthOuter, std::clamp(value, 0, kBevelWidthMax)); }
void TWLXBevel::SetBorderSides(TWLXFrameSides value) { Store(*this, m_borderSides, TWLXFrameSides(value & kAllFrameSides)); }
void TWLXBevel::SetBorderWidth(int value) { Store(*this, m_borderWidth, std::clamp(value, 0, kBorderWidthMax)); }
void TWLXBevel::SetBorderInnerWidth(int value) { Store(*this, m_borderInnerWidth, std::clamp(value, 0, kBorderWidthMax)); }
void TWLXBevel::SetEdgeStyle(TWLXEdgeStyle value) { Store(*this, m_edgeStyle, value); }
void TWLXBevel::SetMode(TWLXBevelMode value) { Store(*this, m_mode, value); }

void TWLXBevel::SetColor(int index, int32_t value)
{
    if (index >= 0 && index < 3)
        Store(*this, m_colors[index], value);
}

void TWLXBevel::SetStandardStyle(TWLXBorderStyle value)
{
    if (value == m_standardStyle)
        return;
    m_standardStyle = value;
    if (m_mode == bmStandard)
        Change();
}

void TWLXBevel::Assign(const TWLXBevel& source)
{
    m_styleInner = source.m_styleInner;
    m_styleOuter = source.m_styleOuter;
    m_widthInner = source.m_widthInner;
    m_widthOuter = source.m_widthOuter;
    std::copy(std::begin(source.m_colors), std::end(source.m_colors), std::begin(m_colors));
    m_borderSides = source.m_borderSides;
    m_borderWidth = source.m_borderWidth;
    m_borderInnerWidth = source.m_borderInnerWidth;
    m_edgeStyle = source.m_edgeStyle;
    m_mode = source.m_mode;
    m_standardStyle = source.m_standardStyle;
    m_ownerBorder = source.m_ownerBorder;
    Change();
}

void TWLXBevel::Change()
{
    m_extentAll = BevelExtentOf();
    m_extentRightBottom = (m_mode == bmCustom && m_styleOuter == bvShadow)
                              ? m_widthInner + m_widthOuter + m_borderInnerWidth
                              : m_extentAll;
    TWLXObject::Change();
}

QString TWLXBevel::DescriptionText() const
{
    static const char* const kNames[] = {"Custom style", "Standard style", "Edged style",
                                         "Windows style"};
    return QStringLiteral("{") + QString::fromLatin1(kNames[int(m_mode)]) + QStringLiteral("}");
}

int TWLXBevel::BevelExtentOf() const
{
    auto isFrame = [](TWLXBevelStyle s) { return s == bvFrameLowered || s == bvFrameRaised; };
    switch (m_mode) {
    case bmCustom: {
        if (m_styleInner == bvShadow)
            return m_widthInner + m_borderInnerWidth;
        int e = m_borderWidth + m_borderInnerWidth;
        if (!(m_styleInner == bvNone && m_styleOuter == bvNone)) {
            if (m_styleOuter != bvNone)
                e += m_widthOuter + (isFrame(m_styleOuter) ? 1 : 0);
            if (m_styleInner != bvNone)
                e += m_widthInner + (isFrame(m_styleInner) ? 1 : 0);
        }
        return e;
    }
    case bmStandard:
        return BorderStyleWidth(m_standardStyle) + m_borderInnerWidth;
    case bmEdge:
        return (m_borderSides ? 2 : 0) + m_borderInnerWidth;
    case bmWindows:
        return m_ownerBorder ? 0 : m_borderInnerWidth + 2;
    }
    return 0;
}

TWLXRect TWLXBevel::GetInnerRect(const TWLXRect& r) const
{
    if (m_mode == bmCustom && m_styleOuter == bvShadow) {
        const int lt = m_widthInner + m_borderInnerWidth;
        const int rb = m_widthInner + m_widthOuter + m_borderInnerWidth;
        return {r.Left + lt, r.Top + lt, r.Right - rb, r.Bottom - rb};
    }
    const int e = m_extentAll;
    return {r.Left + e, r.Top + e, r.Right - e, r.Bottom - e};
}

namespace {

// A border of n pixels in `color`: n one-pixel frames, or only the room when transparent.
void PaintBorder(TCanvas& canvas, TWLXRect& r, int n, int32_t color, bool transparent)
{
    for (int i = 0; i < n; ++i) {
        if (!transparent)
            FrameRect(canvas, r, color);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

} // namespace

TWLXRect TWLXBevel::PaintBevel(TCanvas& canvas, const TWLXRect& rect, bool transparent) const
{
    if (m_extentAll == 0)
        return rect;
    TWLXRect r = rect;
    switch (m_mode) {
    case bmCustom:
        if (m_styleOuter == bvShadow) {
            DrawShadowBevel(canvas, r, LightColor(), transparent, m_widthInner, m_widthOuter,
                            BorderColor(), ShadowColor());
        } else {
            DrawBevel(canvas, r, m_styleOuter, m_widthOuter, ShadowColor(), LightColor());
            PaintBorder(canvas, r, m_borderWidth, BorderColor(), transparent);
            DrawBevel(canvas, r, m_styleInner, m_widthInner, ShadowColor(), LightColor());
        }
        break;
    case bmStandard:
        DrawBorderStyle(canvas, r, m_standardStyle, 0);
        break;
    case bmEdge:
        if (m_borderSides) {
            using enum TWLXFrameSide;
            unsigned flags = 0;
            TWLXRect inner = r;
            if (m_borderSides & FrameSideBit(fsBottom)) {
                flags |= BF_BOTTOM;
                inner.Bottom -= 2;
            }
            if (m_borderSides & FrameSideBit(fsTop)) {
                flags |= BF_TOP;
                inner.Top += 2;
            }
            if (m_borderSides & FrameSideBit(fsRight)) {
                flags |= BF_RIGHT;
                inner.Right -= 2;
            }
            if (m_borderSides & FrameSideBit(fsLeft)) {
                flags |= BF_LEFT;
                inner.Left += 2;
            }
            const int32_t brush = canvas.Brush.Color;
            TWLXRect edge = r;
            DrawEdge(canvas, edge, EdgeStyleValue(m_edgeStyle), flags);
            if (!transparent) {
                // The 2-pixel strips along the sides without an edge take the canvas brush.
                if (!(flags & BF_LEFT))
                    FillSolid(canvas, {r.Left, r.Top, r.Left + 2, r.Bottom}, brush);
                if (!(flags & BF_TOP))
                    FillSolid(canvas, {r.Left, r.Top, r.Right, r.Top + 2}, brush);
                if (!(flags & BF_RIGHT))
                    FillSolid(canvas, {r.Right - 2, r.Top, r.Right, r.Bottom}, brush);
                if (!(flags & BF_BOTTOM))
                    FillSolid(canvas, {r.Left, r.Bottom - 2, r.Right, r.Bottom}, brush);
            }
            r = inner;
        }
        break;
    case bmWindows:
        if (!m_ownerBorder)
            DrawBorderStyle(canvas, r, TWLXBorderStyle::lsLoweredExt, 0);
        break;
    }
    PaintBorder(canvas, r, m_borderInnerWidth, BorderColor(), transparent);
    return r;
}

TWLXScrollBoxBevel::TWLXScrollBoxBevel()
{
    SetOwnerBorder(true);
    SetMode(TWLXBevelMode::bmWindows);
}
