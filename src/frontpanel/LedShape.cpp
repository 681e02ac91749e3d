#include "frontpanel/LedShape.h"

#include "platform/Canvas.h"

void DrawLEDShape(TCanvas& canvas, const TRect& r, int style, const QFont& font,
                  int32_t fontColor, const QString& text)
{
    const int L = r.Left;
    const int T = r.Top;
    const int Rt = r.Right;
    const int B = r.Bottom;
    switch (style) {
    case lsRound:
        canvas.Ellipse(L, T, Rt, B);
        break;
    case lsSquare:
        canvas.Rectangle(L, T, Rt, B);
        break;
    case lsTriangleUp:
        canvas.Polygon({QPoint(L, B - 1), QPoint(L + (Rt - L) / 2, T), QPoint(Rt, B - 1)});
        break;
    case lsTriangleDown:
        canvas.Polygon({QPoint(L, T), QPoint(L + (Rt - L) / 2, B), QPoint(Rt, T)});
        break;
    case lsTriangleLeft:
        canvas.Polygon({QPoint(Rt - 1, T), QPoint(L, T + (B - T) / 2), QPoint(Rt - 1, B)});
        break;
    case lsTriangleRight:
        canvas.Polygon({QPoint(L, T), QPoint(Rt, T + (B - T) / 2), QPoint(L, B)});
        break;
    default:
        break;
    }
    if (text.isEmpty())
        return;
    canvas.Font = font;
    canvas.FontColor = style == lsTextOnly ? canvas.Brush.Color : fontColor;
    const bool transparentText = canvas.TransparentText;
    canvas.Brush.Style = Qt::NoBrush;
    canvas.TransparentText = true;
    const int x = L + (Rt - L - canvas.TextWidth(text)) / 2;
    const int y = T + (B - T - canvas.TextHeight(text)) / 2;
    canvas.TextOut(x, y, text);
    canvas.Brush.Style = Qt::SolidPattern;
    canvas.TransparentText = transparentText;
}
