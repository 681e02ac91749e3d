#include "widgets/EffectText.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/Caption3D.h"
#include "widgets/Gradient.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QFont WithTracing(QFont font, int tracing)
{
    if (tracing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracing);
    return font;
}

int QtFlags(unsigned format)
{
    int f = 0;
    f |= (format & DT_RIGHT) ? Qt::AlignRight : (format & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
    f |= (format & DT_BOTTOM) ? Qt::AlignBottom : (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    if (format & DT_SINGLELINE)
        f |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        f |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        f |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX))
        f |= Qt::TextShowMnemonic;
    return f;
}

} // namespace

void DrawTextEx(TCanvas& canvas, const QString& text, TWLXRect& rect, unsigned format, int tracing)
{
    const QFont font = WithTracing(canvas.Font, tracing);
    const QFontMetrics fm(font);
    if (format & DT_CALCRECT) {
        const int width = (format & DT_WORDBREAK) ? std::max(1, rect.Width()) : 0x3FFFFFFF;
        const QRect need = fm.boundingRect(QRect(0, 0, width, 0x3FFFFFFF),
                                           QtFlags(format & ~unsigned(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)),
                                           text);
        rect.Right = rect.Left + need.width();
        rect.Bottom = rect.Top + need.height();
        return;
    }
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const QRect target = canvas.LPtoDP(rect.ToQRect());
    QString shown = text;
    if ((format & DT_SINGLELINE) && (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)))
        shown = fm.elidedText(text, (format & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight,
                              target.width(), (format & DT_EXPANDTABS) ? Qt::TextExpandTabs : 0);
    p->save();
    p->setFont(font);
    p->setPen(TColorToQColor(canvas.FontColor));
    p->drawText(target, QtFlags(format), shown);
    p->restore();
}

namespace {

// Text at the rectangle's top-left turned counter-clockwise by angle degrees.
void DrawRotated(TCanvas& canvas, const QString& text, const TWLXRect& r, int angle, int tracing)
{
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const QFont font = WithTracing(canvas.Font, tracing);
    p->save();
    p->setFont(font);
    p->setPen(TColorToQColor(canvas.FontColor));
    p->translate(canvas.LPtoDP(QPoint(r.Left, r.Top)));
    p->rotate(-angle);
    p->drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    p->restore();
}

TWLXRect Moved(const TWLXRect& r, int dx, int dy)
{
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

} // namespace

void DrawEffectText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                    const TWLXRect* clip, unsigned state, unsigned format, const TWLXRect& rect)
{
    if (text.isEmpty() || rect.IsEmpty())
        return;
    QPainter* p = canvas.Painter();
    if (!caption) {
        TWLXRect r = rect;
        DrawTextEx(canvas, text, r, format);
        return;
    }
    using enum TWLXThreeDStyle;
    if (p)
        p->save();
    if (p && (state & kTextClip))
        p->setClipRect(canvas.LPtoDP((clip ? *clip : rect).ToQRect()), Qt::IntersectClip);

    TWLXThreeDStyle style = caption->Style();
    const bool enabled = state & kTextEnabled;
    int32_t textColor;
    if (enabled || caption->DisabledStyle() == TWLXDisabledStyle::dsNone) {
        textColor = (style == tdPColorSunken || style == tdPColorRaised) ? canvas.Brush.Color
                                                                          : canvas.FontColor;
    } else {
        textColor = clGrayText;
        if (caption->DisabledStyle() == TWLXDisabledStyle::ds3d ||
            (caption->DisabledStyle() == TWLXDisabledStyle::dsAuto && (state & kTextAutoSunken)))
            style = tdSunken;
    }
    const int angle = caption->Angle();
    const int tracing = caption->Tracing();
    TWLXRect r = rect;
    if (angle != 0) {
        const auto* fx = static_cast<const TWLXFxCaption*>(caption);
        r = Moved(r, fx->PosX(), fx->PosY());
    }
    auto copy = [&](int dx, int dy, int32_t color) {
        r = Moved(r, dx, dy);
        canvas.FontColor = color;
        if (angle != 0) {
            DrawRotated(canvas, text, r, angle, tracing);
        } else {
            TWLXRect box = r;
            DrawTextEx(canvas, text, box, format, tracing);
        }
    };
    const int L = caption->LightDepth();
    const int S = caption->ShadowDepth();
    const int32_t light = caption->LightColor();
    const int32_t shadow = caption->ShadowColor();
    const int32_t fontColor = canvas.FontColor;
    switch (style) {
    case tdSunken:
        r.Right -= L;
        copy(L, L, light);
        copy(-L, -L, textColor);
        break;
    case tdRaised:
        r.Right -= L;
        copy(0, 0, light);
        copy(L, L, textColor);
        break;
    case tdSunkenShadow:
    case tdPColorSunken:
        r.Right -= L + S;
        copy(0, 0, shadow);
        copy(L + S, L + S, light);
        copy(-L, -L, textColor);
        break;
    case tdRaisedShadow:
    case tdPColorRaised:
        r.Right -= L + S;
        copy(L + S, L + S, shadow);
        copy(-(L + S), -(L + S), light);
        copy(L, L, textColor);
        break;
    case tdShadow:
        r.Right -= S;
        copy(S, S, shadow);
        copy(-S, -S, textColor);
        break;
    case tdOutline:
        if (p) {
            const QFont font = WithTracing(canvas.Font, tracing);
            const QFontMetrics fm(font);
            const QPoint at = canvas.LPtoDP(QPoint(r.Left + S / 2, r.Top + S / 2));
            QPainterPath path;
            path.addText(0, fm.ascent(), font, text);
            p->save();
            p->translate(at);
            if (angle != 0)
                p->rotate(-angle);
            p->strokePath(path, QPen(TColorToQColor(textColor), std::max(1, S)));
            p->restore();
        }
        break;
    case tdExtrude:
    case tdExtrudeEnh: {
        const int D = S;
        int sx = 1, sy = 1;
        switch (caption->Orientation()) {
        case TWLXThreeDOrientation::toBottomLeft:
            r = Moved(r, 0, D + 1);
            sx = 1, sy = -1;
            break;
        case TWLXThreeDOrientation::toBottomRight:
            r = Moved(r, D + 1, D + 1);
            sx = -1, sy = -1;
            break;
        case TWLXThreeDOrientation::toTopLeft:
            sx = 1, sy = 1;
            break;
        case TWLXThreeDOrientation::toTopRight:
            r = Moved(r, D + 1, 0);
            sx = -1, sy = 1;
            break;
        }
        for (int i = 0; i < D; ++i)
            copy(sx, sy, style == tdExtrude ? shadow : ColorBetween(shadow, light, D - i - 1, D));
        copy(0, 0, textColor);
        break;
    }
    case tdNone:
        copy(0, 0, textColor);
        break;
    }
    canvas.FontColor = fontColor;
    if (p)
        p->restore();
}

TWLXRect RotatedBounds(const TWLXRect& rect, double angle)
{
    const double a = angle * M_PI / 180.0;
    const double w = rect.Width();
    const double h = rect.Height();
    const double c = std::fabs(std::cos(a));
    const double s = std::fabs(std::sin(a));
    return {0, 0, WLXRound(w * c + h * s), WLXRound(w * s + h * c)};
}

namespace {

// Right and bottom growth of the effect.
int EffectDepth(const TWLX3DCaption& c)
{
    using enum TWLXThreeDStyle;
    switch (c.Style()) {
    case tdSunken:
    case tdRaised:
        return c.LightDepth();
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised:
        return c.LightDepth() + c.ShadowDepth();
    case tdShadow:
    case tdOutline:
    case tdExtrude:
    case tdExtrudeEnh:
        return c.ShadowDepth();
    case tdNone:
        break;
    }
    return 0;
}

// How far a rotated text's position moves back for its effect.
int EffectShrink(const TWLX3DCaption& c)
{
    using enum TWLXThreeDStyle;
    int s = 0;
    switch (c.Style()) {
    case tdSunken:
    case tdRaised:
        s = c.LightDepth() / 2 - 1;
        break;
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised:
        s = (c.LightDepth() + c.ShadowDepth()) / 2 - 1;
        break;
    case tdShadow:
    case tdExtrude:
    case tdExtrudeEnh:
        s = c.ShadowDepth() / 2 - 1;
        break;
    default:
        break;
    }
    return std::max(0, s);
}

} // namespace

void MeasureText(const QString& text, TWLX3DCaption* caption, TWLXRect& rect, unsigned format,
                 int margin, bool multiLine, bool showAccel, const QFont& font)
{
    const int tracing = caption ? caption->Tracing() : 0;
    auto* fx = dynamic_cast<TWLXFxCaption*>(caption);
    if (fx && fx->Angle() != 0) {
        const QFontMetrics fm(WithTracing(font, tracing));
        const int width = fm.horizontalAdvance(text);
        const int height = fm.height();
        const int depth = EffectDepth(*fx);
        TWLXRect r = RotatedBounds({0, 0, width + depth, height + depth}, fx->Angle());
        const double a = fx->Angle() * M_PI / 180.0;
        const double cx = r.Width() / 2.0;
        const double cy = r.Height() / 2.0;
        const int w2 = width / 2;
        const int h2 = height / 2;
        const int s = EffectShrink(*fx);
        fx->SetPos(0, WLXRound(cx - w2 * std::cos(a) - h2 * std::sin(a)) - s);
        fx->SetPos(1, WLXRound(w2 * std::sin(a) + cy - h2 * std::cos(a)) - s);
        rect = {rect.Left, rect.Top, rect.Left + r.Width(), rect.Top + r.Height()};
    } else {
        if (fx)
            fx->SetPosition(0, 0);
        TCanvas canvas;
        canvas.Font = font;
        const QString measured = (text.isEmpty() || (showAccel && text == QStringLiteral("&")))
                                     ? QStringLiteral(" ") : text;
        unsigned f = format | DT_CALCRECT | DT_EXPANDTABS;
        if (multiLine)
            f |= DT_WORDBREAK;
        if (!showAccel)
            f |= DT_NOPREFIX;
        DrawTextEx(canvas, measured, rect, f, tracing);
        if (caption) {
            rect.Right += EffectDepth(*caption);
            rect.Bottom += EffectDepth(*caption);
        }
    }
    rect.Right += 2 * (margin + 1);
    rect.Bottom += 2 * (margin + 1);
}

TWLXRect AlignRect(TWLXAlignment alignment, const TWLXRect& inner, const TWLXRect& outer)
{
    const int w = inner.Width(), h = inner.Height();
    const int ow = outer.Width(), oh = outer.Height();
    const int row = int(alignment) / 3;
    const int column = int(alignment) % 3;
    const int dy = row == 0 ? 0 : row == 1 ? (oh - h) / 2 : oh - h;
    const int dx = column == 0 ? 0 : column == 1 ? (ow - w) / 2 : ow - w;
    return {outer.Left + dx, outer.Top + dy, outer.Left + dx + w, outer.Top + dy + h};
}

TWLXRect DrawAlignedText(TWLXAlignment alignment, const QString& text, TWLX3DCaption* caption,
                         unsigned format, const QFont& font, const TWLXRect& rect)
{
    TWLXRect need = {rect.Left, rect.Top, rect.Right - 1, rect.Bottom};
    MeasureText(text, caption, need, format, 0, format & DT_WORDBREAK, !(format & DT_NOPREFIX), font);
    return AlignRect(alignment, need, rect);
}

bool IsTrueTypeFont(const QFont& font)
{
    return QFontDatabase::isSmoothlyScalable(QFontInfo(font).family(), QFontInfo(font).styleName());
}

int FontLineHeight(const QFont& font)
{
    return QFontMetrics(font).boundingRect(QStringLiteral("Wq")).height();
}
