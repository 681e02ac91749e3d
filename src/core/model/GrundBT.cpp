// The standard block symbol: a body with a gradient, pin stubs with their names outside the
// body, inversion circles, the designator under the body and, during a run, the signal state
// of every pin.
#include "core/model/GrundBT.h"

#include "core/model/FrontPanelHooks.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "widgets/Gradient.h"

namespace {

constexpr int32_t kDarkRed = 128;

void UseSymbolFont(TCanvas& canvas)
{
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.SetFontHeight(26);
    canvas.Font.setItalic(true);
    canvas.Font.setBold(false);
}

} // namespace

TGrundBT::TGrundBT() = default;

bool TGrundBT::PinOnLeft(bool isInput) const
{
    return isInput != Mirrored;
}

void TGrundBT::Paint(TCanvas& canvas)
{
    canvas.Pen = TCanvasPen{Selected ? clRed : clBlack, 3, Qt::SolidLine, TPenMode::Copy};
    UseSymbolFont(canvas);
    canvas.TransparentText = true;
    for (auto& pin : Inputs)
        DrawPin(canvas, *pin, true);
    for (auto& pin : Outputs)
        DrawPin(canvas, *pin, false);

    canvas.Font.setItalic(false);
    if (ShowLineStates)
        RepaintPins(canvas);

    canvas.Pen = TCanvasPen{Selected ? clRed : clGray, 3, Qt::SolidLine, TPenMode::Copy};
    FillGradient(canvas, Body.Left, Body.Top, Body.Right, Body.Bottom, BodyColor1, BodyColor2,
                 true, Ctx().ColorSymbols);
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Rectangle(Body.Left, Body.Top, Body.Right, Body.Bottom);

    if (!Prefix().isEmpty()) {
        const QString designator = Designator().left(20);
        UseSymbolFont(canvas);
        canvas.FontColor = MonochromePrint ? clBlack : clGray;
        canvas.TransparentText = true;
        const int x = Body.Left + (Body.Width() - canvas.TextWidth(designator)) / 2;
        canvas.TextOut(x, Body.Bottom - 30, designator);
        canvas.Font.setItalic(false);
    }

    for (size_t i = 0; i < Inputs.size(); ++i)
        DrawInversionMark(canvas, int(i), true);
    for (size_t j = 0; j < Outputs.size(); ++j)
        DrawInversionMark(canvas, int(j), false);

    if (ShowStates)
        PaintPinStates(canvas);
}

void TGrundBT::DrawPin(TCanvas& canvas, TBauteilPin& pin, bool isInput)
{
    const int32_t c = Selected ? clRed : clBlack;
    canvas.Pen = TCanvasPen{c, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.FontColor = Selected ? clRed : (pin.Connected ? kDarkRed : clSilver);
    canvas.Brush = TCanvasBrush{pin.Connected ? c : clGray, Qt::SolidPattern};
    if (!pin.Connected)
        canvas.Pen.Color = clSilver;
    if (MonochromePrint) {
        canvas.Pen.Color = clBlack;
        canvas.Brush.Color = clBlack;
        canvas.FontColor = clBlack;
    }
    canvas.MoveTo(pin.X, pin.Y);
    if (PinOnLeft(isInput)) {
        canvas.LineTo(pin.X + pin.Length, pin.Y);
        canvas.Brush.Style = Qt::NoBrush;
        DrawPinLabel(canvas, Body.Left - canvas.TextWidth(pin.Name()) - 6, pin.Name(), pin.Y - 26);
    } else {
        canvas.LineTo(pin.X - pin.Length, pin.Y);
        canvas.Brush.Style = Qt::NoBrush;
        DrawPinLabel(canvas, Body.Right + 6, pin.Name(), pin.Y - 26);
    }
}

void TGrundBT::DrawPinLabel(TCanvas& canvas, int x, const QString& name, int y)
{
    QString text = name;
    const int slashWidth = canvas.TextWidth(QStringLiteral("/"));
    if (text.startsWith(QLatin1Char('/'))) {
        text = text.mid(1, 10);
        if (x < Body.Left)
            x += slashWidth;
        // Overline: the active-low mark.
        const TCanvasPen saved = canvas.Pen;
        canvas.Pen = TCanvasPen{canvas.FontColor, 2, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(x + 3, y - 1);
        canvas.LineTo(x + canvas.TextWidth(text) - 1, y - 1);
        canvas.Pen = saved;
    }
    if (text.startsWith(QLatin1Char('|'))) {
        text = text.mid(1, 10);
        int m;
        if (x < Body.Left) {
            m = x + slashWidth + canvas.TextWidth(text) - 7;
            x += slashWidth - 12;
        } else {
            m = x + 4;
            x += 12;
        }
        // A small downward arrow beside the name: the edge mark.
        const int h = canvas.TextHeight(text) - 16;
        const TCanvasPen savedPen = canvas.Pen;
        const TCanvasBrush savedBrush = canvas.Brush;
        canvas.Pen = TCanvasPen{canvas.FontColor, 2, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{canvas.FontColor, Qt::SolidPattern};
        canvas.MoveTo(m + 3, y + 7);
        canvas.LineTo(m + 3, y + h + 7);
        canvas.Polygon({QPoint(m - 1, y + h + 5), QPoint(m + 3, y + h + 9), QPoint(m + 7, y + h + 5)});
        canvas.Pen = savedPen;
        canvas.Brush = savedBrush;
    }
    canvas.TextOut(x, y, text);
}

void TGrundBT::DrawInversionMark(TCanvas& canvas, int index, bool isInput)
{
    const auto& pins = isInput ? Inputs : Outputs;
    if (index < 0 || size_t(index) >= pins.size() || !pins[size_t(index)]->Inverted())
        return;
    canvas.Pen = TCanvasPen{clRed, 2, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clWhite, Qt::SolidPattern};
    const int x = isInput == Mirrored ? Body.Right : Body.Left;
    const int y = pins[size_t(index)]->Y;
    canvas.Ellipse(x - 10, y - 10, x + 10, y + 10);
}

void TGrundBT::DrawPinLine(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit)
{
    DrawPinStub(canvas, pin, isInput, lit);
}

bool TGrundBT::InputLit(const TBauteilPin& pin) const
{
    if (!Ctx().SimRunning)
        return false;
    if (pin.Source())
        return pin.Source()->Value >= 2.5L;
    return UnconnectedInputLit();
}

void TGrundBT::RepaintPins(TCanvas& canvas)
{
    for (auto& pin : Inputs)
        DrawPinLine(canvas, *pin, true, InputLit(*pin));
    for (auto& pin : Outputs)
        DrawPinLine(canvas, *pin, false, pin->Value >= 2.5L);
}

void TGrundBT::PaintPinStates(TCanvas& canvas)
{
    const bool running = Ctx().SimRunning;
    for (auto& pin : Inputs)
        DrawPinArrow(canvas, *pin, true, InputLit(*pin));
    for (auto& pin : Outputs)
        DrawPinArrow(canvas, *pin, false, running && pin->Value >= 2.5L);
}

void TGrundBT::DrawPinArrow(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit)
{
    DrawStateArrow(canvas, pin, isInput, lit);
}

void TGrundBT::DrawClockMarker(TCanvas& canvas, int inputIndex)
{
    if (inputIndex < 0 || size_t(inputIndex) >= Inputs.size())
        return;
    canvas.Pen = TCanvasPen{Selected ? clRed : clBlack, 3, Qt::SolidLine, TPenMode::Copy};
    const int x = Mirrored ? Body.Right : Body.Left;
    const int d = Mirrored ? -20 : 20;
    const int y = Inputs[size_t(inputIndex)]->Y;
    canvas.MoveTo(x, y - 10);
    canvas.LineTo(x + d, y);
    canvas.LineTo(x, y + 10);
}

TBTFront::TBTFront()
{
    BodyColor1 = 15395562;
    BodyColor2 = 13279392;
    HelpContext = 17900;
}

QString TBTFront::GetHint() const
{
    QString hint = TGrundBT::GetHint();
    if (Link) {
        const QString text = FrontPanelHooks().ElementHint(*Link);
        if (!text.isEmpty())
            hint += QStringLiteral("\r\"") + text + QLatin1Char('"');
    }
    return hint;
}

int32_t TGrundBT::MarkColor() const
{
    return Selected ? clRed : SymbolColor;
}

void TGrundBT::DrawMarkText(TCanvas& canvas, int x, int y, int fontHeight,
                            const QString& text) const
{
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    canvas.SetFontHeight(fontHeight);
    canvas.FontColor = MarkColor();
    canvas.TransparentText = true;
    canvas.TextOut(x, y, text);
}
