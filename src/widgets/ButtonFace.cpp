#include "widgets/ButtonFace.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QPainter>

bool IsPressedState(TWLXGraphicButtonState state)
{
    using S = TWLXGraphicButtonState;
    return state == S::Down || state == S::Held || state == S::DropDownOpen || state == S::DisabledDown;
}

bool IsDisabledState(TWLXGraphicButtonState state)
{
    return state == TWLXGraphicButtonState::Disabled || state == TWLXGraphicButtonState::DisabledDown;
}

void FillDither(TCanvas& canvas, const TWLXRect& rect, int32_t color)
{
    QPainter* p = canvas.Painter();
    if (!p || rect.IsEmpty())
        return;
    QImage pattern(8, 8, QImage::Format_RGB32);
    const QRgb a = TColorToQColor(ColorToRGB(color)).rgb();
    const QRgb b = TColorToQColor(ColorToRGB(clBtnHighlight)).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x + y) % 2 ? a : b);
    QBrush brush(pattern);
    p->save();
    p->setBrushOrigin(0, 0);
    p->fillRect(rect.ToQRect(), brush);
    p->restore();
}

namespace {

void Line(TCanvas& canvas, int32_t color, int x1, int y1, int x2, int y2)
{
    canvas.Pen = TCanvasPen{color, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void Shrink(TWLXRect& r, int d)
{
    r.Left += d;
    r.Top += d;
    r.Right -= d;
    r.Bottom -= d;
}

void SetCorners(TCanvas& canvas, const TWLXRect& r)
{
    for (const QPoint p : {QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Top),
                           QPoint(r.Left, r.Bottom - 1), QPoint(r.Right - 1, r.Bottom - 1)})
        FillSolid(canvas, {p.x(), p.y(), p.x() + 1, p.y() + 1}, clBtnFace);
}

void FocusRect(TCanvas& canvas, const TWLXRect& r)
{
    QPainter* p = canvas.Painter();
    if (!p || r.IsEmpty())
        return;
    p->save();
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    p->drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    p->restore();
}

} // namespace

bool DrawButtonFace(TCanvas& canvas, bool hot, int32_t color, unsigned flags,
                    TWLXGraphicButtonState state, TWLXUserButtonStyle style, TWLXRect& rect)
{
    using U = TWLXUserButtonStyle;
    if (style != U::ubsOffice && style != U::ubsOfficeTransp)
        return DrawClassicFace(canvas, hot, rect, color, flags, state, style);
    const bool pressed = IsPressedState(state);
    int32_t fill = pressed ? 0xF7DFD6 : color;
    if (hot)
        fill = state == TWLXGraphicButtonState::Down ? 0xE0A88D : 0xEFD3C6;
    if (fill != color) {
        FillSolid(canvas, rect, fill);
        FrameRect(canvas, rect, 0xC66931);
    } else if (style == U::ubsOffice) {
        FillSolid(canvas, rect, color);
    }
    TWLXRect focus = rect;
    Shrink(focus, 3);
    if (flags & kFaceFocused)
        FocusRect(canvas, focus);
    if (pressed) {
        rect.Left += 1; rect.Right += 1; rect.Top += 1; rect.Bottom += 1;
    }
    return false;
}

bool DrawClassicFace(TCanvas& canvas, bool hot, TWLXRect& rect, int32_t color, unsigned flags,
                     TWLXGraphicButtonState state, TWLXUserButtonStyle style)
{
    using U = TWLXUserButtonStyle;
    using S = TWLXGraphicButtonState;
    enum Look { A, B, C, D, E, F, G } look = C;
    switch (style) {
    case U::ubsWin31: look = A; break;
    case U::ubsWin40: look = (flags & kFaceRaisedEdge) ? B : C; break;
    case U::ubsDelphiFlat: case U::ubsFlat: case U::ubsFlatUnColored: case U::ubsNavigator:
    case U::ubsExplorer: case U::ubsExplorerColored: look = D; break;
    case U::ubsDelphi: look = E; break;
    case U::ubsIntegrated: case U::ubsCombo: look = F; break;
    case U::ubsWin40Ext: look = G; break;
    default: look = C; break;
    }
    const bool explorer = style == U::ubsExplorer || style == U::ubsExplorerColored;
    bool pressed;
    if (state == S::Down) {
        pressed = true;
        if (!explorer) {
            if (look == D && hot)
                FillSolid(canvas, rect, color);
            else
                FillDither(canvas, rect, color);
        }
    } else {
        pressed = IsPressedState(state);
        if (!explorer)
            FillSolid(canvas, rect, color);
    }
    const bool focused = flags & kFaceFocused;
    if (!pressed && (focused || (flags & kFaceDefault))) {
        FrameRect(canvas, rect, clWindowFrame);
        if (style == U::ubsWin31 && (flags & kFaceRoundCorners)) {
            SetCorners(canvas, rect);
            flags &= ~kFaceRoundCorners;
        }
        Shrink(rect, 1);
    }
    TWLXRect r = rect;
    TWLXRect e = rect;
    switch (look) {
    case A:
        DrawEdge(canvas, e, BDR_SUNKENOUTER, BF_SOFT | BF_LEFT | BF_TOP);
        DrawEdge(canvas, e, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        if (flags & kFaceRoundCorners)
            SetCorners(canvas, e);
        Shrink(e, 1);
        if (pressed) {
            DrawEdge(canvas, e, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
        } else {
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        }
        Shrink(r, 1);
        break;
    case B:
        if (!pressed)
            DrawBorderStyle(canvas, e, TWLXBorderStyle::lsRaisedspb, BF_RECT);
        else if (flags & kFaceSunkenPressed)
            DrawEdge(canvas, e, EDGE_SUNKEN, BF_RECT);
        else
            DrawBorderStyle(canvas, e, TWLXBorderStyle::lsLowered, BF_RECT);
        break;
    case C:
        if (pressed) {
            FrameRect(canvas, e, clBlack);
            FrameRect(canvas, {e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1}, clGray);
        } else if (focused) {
            DrawEdge(canvas, e, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_ADJUST | BF_RIGHT | BF_BOTTOM);
        } else {
            DrawBorderStyle(canvas, e, TWLXBorderStyle::lsRaisedspb, BF_RECT);
        }
        break;
    case D:
        if ((style == U::ubsNavigator || style == U::ubsDelphiFlat) && (pressed || hot)) {
            FrameRect(canvas, e, clBlack);
            Shrink(e, 1);
        }
        if (pressed)
            DrawEdge(canvas, e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        else if (hot)
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        else if (!explorer)
            FillSolid(canvas, e, color);
        break;
    case E:
        FrameRect(canvas, e, clBlack);
        if (pressed) {
            Line(canvas, clGray, e.Left + 1, e.Top + 1, e.Right - 1, e.Top + 1);
            Line(canvas, clGray, e.Left + 1, e.Top + 1, e.Left + 1, e.Bottom - 1);
        } else {
            TWLXRect in{e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1};
            DrawEdge(canvas, in, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        }
        break;
    case F:
        if (pressed) {
            FrameRect(canvas, e, clGray);
        } else {
            FrameRect(canvas, e, clBlack);
            Line(canvas, clBtnFace, e.Right - 2, e.Top, e.Left, e.Top);
            Line(canvas, clBtnFace, e.Left, e.Top, e.Left, e.Bottom - 1);
            FrameRect(canvas, {e.Left + 1, e.Top + 1, e.Right - 1, e.Bottom - 1}, clWhite);
            Line(canvas, clGray, e.Right - 2, e.Top + 1, e.Right - 2, e.Bottom - 2);
            Line(canvas, clGray, e.Right - 2, e.Bottom - 2, e.Left, e.Bottom - 2);
        }
        break;
    case G:
        if (pressed)
            DrawEdge(canvas, e, EDGE_SUNKEN, BF_RECT);
        else if (hot)
            DrawBorderStyle(canvas, e, TWLXBorderStyle::lsRaisedspb, BF_RECT);
        else
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        break;
    }
    if (focused) {
        TWLXRect f = r;
        Shrink(f, pressed ? 4 : 3);
        FocusRect(canvas, f);
    }
    Shrink(r, 3);
    if (pressed) {
        r.Left += 1; r.Right += 1; r.Top += 1; r.Bottom += 1;
    }
    rect = r;
    return true;
}
