#include "widgets/GlyphTextLayout.h"

#include "platform/Canvas.h"
#include "widgets/Bitmaps.h"
#include "widgets/EffectText.h"

#include <algorithm>
#include <cstdlib>

void TWLXGlyphTextLayout::SetAlignment(TWLXAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    Change();
}

void TWLXGlyphTextLayout::SetAlignText2Glyph(TWLXTextArrange value)
{
    if (value == m_arrange)
        return;
    m_arrange = value;
    Change();
}

void TWLXGlyphTextLayout::SetOffset(int index, int value)
{
    if (index < 0 || index > 1 || value == m_offset[index])
        return;
    m_offset[index] = value;
    Change();
}

void TWLXGlyphTextLayout::SetSpacing(int value)
{
    if (value == m_spacing)
        return;
    m_spacing = value;
    Change();
}

void TWLXGlyphTextLayout::Assign(const TWLXGlyphTextLayout& source)
{
    m_alignment = source.m_alignment;
    m_arrange = source.m_arrange;
    m_offset[0] = source.m_offset[0];
    m_offset[1] = source.m_offset[1];
    m_spacing = source.m_spacing;
    Change();
}

void TWLXButtonLayout::SetArrow(bool value)
{
    if (value == m_arrow)
        return;
    m_arrow = value;
    Change();
}

void TWLXButtonLayout::SetArrowColor(int32_t value)
{
    if (value == m_arrowColor)
        return;
    m_arrowColor = value;
    Change();
}

void TWLXButtonLayout::SetArrowIndent(int value)
{
    if (value == m_arrowIndent)
        return;
    m_arrowIndent = value;
    Change();
}

void TWLXButtonLayout::SetArrowPosition(TWLXArrowPosition value)
{
    if (value == m_arrowPosition)
        return;
    m_arrowPosition = value;
    Change();
}

void TWLXButtonLayout::SetArrowSize(int value)
{
    value = std::clamp(value, 2, 10);
    if (value == m_arrowSize)
        return;
    m_arrowSize = value;
    Change();
}

void TWLXButtonLayout::Assign(const TWLXButtonLayout& source)
{
    BeginUpdate();
    SetAlignment(source.Alignment());
    SetAlignText2Glyph(source.AlignText2Glyph());
    SetOffset(0, source.OffsetX());
    SetOffset(1, source.OffsetY());
    SetSpacing(source.Spacing());
    m_arrow = source.m_arrow;
    m_arrowColor = source.m_arrowColor;
    m_arrowIndent = source.m_arrowIndent;
    m_arrowPosition = source.m_arrowPosition;
    m_arrowSize = source.m_arrowSize;
    EndUpdate(true);
}

namespace {

void Move(TWLXRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

TWLXRect UnionOf(const TWLXRect& a, const TWLXRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

TWLXRect Grown(TWLXRect r, int d)
{
    return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d};
}

} // namespace

TWLXGlyphTextPlacement PlaceGlyphText(const TWLXRect& textSize, const TWLXRect& glyphSize,
                                      const TWLXRect& dest, const TWLXGlyphTextLayout& layout,
                                      bool multiLine, unsigned stateFlags)
{
    using A = TWLXTextArrange;
    TWLXGlyphTextPlacement out;
    TWLXRect t{0, 0, textSize.Width(), textSize.Height()};
    TWLXRect g{0, 0, glyphSize.Width(), glyphSize.Height()};
    const bool hasText = !t.IsEmpty();
    const bool hasGlyph = !g.IsEmpty();
    const int s = hasText && hasGlyph ? layout.Spacing() : 0;

    const auto* button = dynamic_cast<const TWLXButtonLayout*>(&layout);
    const bool arrow = button && button->Arrow();
    const int a = arrow ? 2 * button->ArrowSize() - 1 : 0;
    const TWLXArrowPosition ap = arrow ? button->ArrowPosition() : TWLXArrowPosition::apRightText;
    if (arrow) {
        if (ap == TWLXArrowPosition::apRightText || ap == TWLXArrowPosition::apLeftText)
            t.Right += a + button->ArrowIndent();
        else
            g.Right += a + button->ArrowIndent();
    }

    const A arrange = layout.AlignText2Glyph();
    const bool sideBySide = arrange == A::taLeft || arrange == A::taLeftTop ||
                            arrange == A::taRight || arrange == A::taRightTop;
    int dxText = 0, dyText = 0, dxGlyph = 0, dyGlyph = 0;
    TWLXRect block;
    if (sideBySide) {
        block = {0, 0, t.Width() + s + g.Width(), std::max(t.Height(), g.Height())};
        const int d = std::abs(t.Height() - g.Height()) / 2;
        (t.Height() < g.Height() ? dyText : dyGlyph) = d;
    } else {
        block = {0, 0, std::max(t.Width(), g.Width()), t.Height() + s + g.Height()};
        const int d = std::abs(t.Width() - g.Width()) / 2;
        (t.Width() < g.Width() ? dxText : dxGlyph) = d;
    }
    QPoint tp, gp;
    switch (arrange) {
    case A::taLeft: tp = {0, dyText}; gp = {t.Width() + s, dyGlyph}; break;
    case A::taLeftTop: tp = {0, dyText}; gp = {t.Width() + s, 0}; break;
    case A::taRight: tp = {g.Width() + s, dyText}; gp = {0, dyGlyph}; break;
    case A::taRightTop: tp = {g.Width() + s, dyText}; gp = {0, 1}; break;
    case A::taTop: tp = {dxText, 0}; gp = {dxGlyph, t.Height() + s}; break;
    case A::taTopLeft: tp = {dxText, 0}; gp = {0, t.Height() + s}; break;
    case A::taBottom: tp = {dxText, g.Height() + s}; gp = {dxGlyph, 0}; break;
    case A::taBottomLeft: tp = {dxText, g.Height() + s}; gp = {0, 0}; break;
    }
    Move(t, tp.x(), tp.y());
    Move(g, gp.x(), gp.y());
    if (!(stateFlags & kGtNoPlace)) {
        const TWLXRect placed = AlignRect(layout.Alignment(), block, dest);
        Move(t, placed.Left + 1, placed.Top + 1);
        Move(g, placed.Left, placed.Top);
    }
    if (arrow && ap == TWLXArrowPosition::apLeftText)
        Move(t, button->ArrowIndent() + a, 0);

    static const unsigned kAlignFlags[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    out.Format = multiLine ? DT_WORDBREAK | DT_EXPANDTABS | kAlignFlags[int(layout.Alignment())]
                           : DT_EXPANDTABS;
    Move(t, layout.OffsetX(), layout.OffsetY());
    Move(g, layout.OffsetX(), layout.OffsetY());
    if (stateFlags & kGtCutText) {
        t.Right = std::min(t.Right, dest.Right);
        t.Bottom = std::min(t.Bottom, dest.Bottom);
    }
    if (arrow) {
        out.HasArrow = true;
        const int size = button->ArrowSize();
        const int indent = button->ArrowIndent();
        const TWLXRect& n = (ap == TWLXArrowPosition::apRightText || ap == TWLXArrowPosition::apLeftText) ? t : g;
        out.ArrowY = n.Top + n.Height() / 2 - size / 2;
        switch (ap) {
        case TWLXArrowPosition::apRightText:
            out.ArrowX = multiLine ? t.Right - size - 1 : t.Right - a - 1;
            break;
        case TWLXArrowPosition::apLeftText: out.ArrowX = t.Left - indent - a; break;
        case TWLXArrowPosition::apRightGlyph: out.ArrowX = g.Right - a; break;
        case TWLXArrowPosition::apLeftGlyph:
            Move(g, indent + a, 0);
            out.ArrowX = g.Left - indent - a;
            break;
        }
    }
    out.Rects.Text = t;
    out.Rects.Glyph = g;
    out.Rects.Union = UnionOf(hasText || arrow ? t : TWLXRect{}, hasGlyph || arrow ? g : TWLXRect{});
    return out;
}

TWLXRect DrawGlyphText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                       const TWLXRect& dest, const QImage* glyph, const TWLXRect& glyphSource,
                       const QImage* mask, int32_t transparentColor, bool masked,
                       const TWLXGlyphTextLayout& layout, unsigned format, bool showAccel,
                       bool multiLine, unsigned stateFlags, TWLXGlyphTextRects* rects,
                       const QFont& font)
{
    const bool measureOnly = stateFlags & kGtMeasure;
    if (measureOnly)
        stateFlags |= kGtFocusUnion;
    TWLXRect glyphSize;
    if ((glyph && !glyph->isNull()) || (stateFlags & kGtGlyphArea))
        glyphSize = {0, 0, glyphSource.Width(), glyphSource.Height()};
    // An empty caption takes no room, so that a glyph alone stands centred.
    TWLXRect textSize;
    if (!text.isEmpty()) {
        const int s = glyphSize.IsEmpty() ? 0 : layout.Spacing();
        textSize = {0, 0, std::abs(dest.Width() - s - glyphSize.Width()), 0};
        MeasureText(text, const_cast<TWLX3DCaption*>(caption), textSize, format, 0, multiLine,
                    showAccel, font);
        textSize = {0, 0, textSize.Width(), textSize.Height()};
    }
    const TWLXGlyphTextPlacement place =
        PlaceGlyphText(textSize, glyphSize, dest, layout, multiLine, stateFlags);
    const TWLXRect& t = place.Rects.Text;
    const TWLXRect& g = place.Rects.Glyph;
    if (!measureOnly) {
        canvas.Brush.Style = Qt::NoBrush;
        unsigned f = format | place.Format;
        if (!showAccel)
            f |= DT_NOPREFIX;
        if (!multiLine)
            f |= DT_SINGLELINE;
        DrawEffectText(canvas, text, caption, nullptr, stateFlags & 0x0E, f, t);
        if (place.HasArrow) {
            const auto& b = static_cast<const TWLXButtonLayout&>(layout);
            DrawDropArrow(canvas, place.ArrowX, place.ArrowY, stateFlags & kTextEnabled, true,
                          b.ArrowColor(), b.ArrowSize());
        }
        if (glyph && !glyph->isNull()) {
            const TWLXRect target{g.Left, g.Top, g.Left + glyphSource.Width(), g.Top + glyphSource.Height()};
            unsigned flags = 0;
            if (masked)
                flags = mask ? kBmpMasked : kBmpTransparent;
            DrawBitmapExt(canvas, target, *glyph, mask, transparentColor, flags, glyphSource);
        }
    }
    if (rects)
        *rects = place.Rects;
    if (stateFlags & kGtFocusText)
        return Grown(t, 1);
    if (stateFlags & kGtFocusGlyph)
        return g;
    if (stateFlags & kGtFocusUnion)
        return Grown(place.Rects.Union, 1);
    return measureOnly ? dest : Grown(dest, -1);
}

TWLXRect DrawGlyphBitmapText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                             const TWLXRect& dest, const QImage* glyph, const QImage* mask,
                             const TWLXGlyphTextLayout& layout, unsigned format, bool showAccel,
                             bool multiLine, unsigned stateFlags, TWLXGlyphTextRects* rects,
                             const QFont& font)
{
    const bool none = !glyph || glyph->isNull() || glyph->width() == 0;
    const TWLXRect source = none ? TWLXRect{} : TWLXRect{0, 0, glyph->width(), glyph->height()};
    return DrawGlyphText(canvas, text, caption, dest, none ? nullptr : glyph, source, mask,
                         none ? 0 : TransparentColorOf(*glyph), !none, layout, format, showAccel,
                         multiLine, stateFlags, rects, font);
}
