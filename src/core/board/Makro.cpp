#include "core/board/Makro.h"

#include "core/board/ItemDialogs.h"
#include "core/board/Platine.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

namespace {

constexpr int kMacroNameLength = 10;

// Lit rule of the pin lines: no source counts as high.
bool SourceHigh(const TBauteilPin* source)
{
    return !source || source->Value >= 2.5L;
}

const TBauteilPin* SourceAt(const std::vector<TBauteilPin*>& sources, size_t i)
{
    return i < sources.size() ? sources[i] : nullptr;
}

} // namespace

TMakro::TMakro()
{
    SetInputCount(1);
    SetOutputCount(1);
    Editable = true;
    HelpContext = 13010;
    SetPrefix(QStringLiteral("MCR"));
}

TMakro::~TMakro() = default;

void TMakro::SetMacroName(const QString& name)
{
    m_macroName = name.left(kMacroNameLength);
}

void TMakro::SetInnerBoard(std::unique_ptr<TPlatine> board)
{
    m_innerBoard = std::move(board);
    Board = m_innerBoard.get();
}

void TMakro::SetPinTotal(int32_t n)
{
    if (n % 2 != 0)
        ++n;
    PinTotal = n;
    SetInputCount(n / 2);
    SetOutputCount(n / 2);
}

void TMakro::SetPinName(int32_t k, const QString& name)
{
    const QString cut = name.left(10);
    if (k <= PinTotal / 2) {
        const int32_t i = k - 1;
        if (i >= 0 && i < int32_t(Inputs.size()))
            Inputs[size_t(i)]->SetName(cut);
    } else {
        const int32_t j = k - 1 - InputCount;
        if (j >= 0 && j < int32_t(Outputs.size()))
            Outputs[size_t(j)]->SetName(cut);
    }
}

void TMakro::TakePinsFromBoard(const TPlatine& inner)
{
    SetPinTotal(inner.MacroPinCount());
    for (int32_t k = 1; k <= PinTotal; ++k)
        SetPinName(k, inner.MacroPinLabel(k));
}

QString TMakro::GroupCaption() const
{
    return QStringLiteral("Makro ") + QString::number(Number) + QStringLiteral(": ") + m_macroName;
}

QString TMakro::GetTypeName() const
{
    if (!m_macroName.isEmpty())
        return m_macroName;
    return Ctx().CurrentLanguage == 0 ? QStringLiteral("Makro") : QStringLiteral("Macro");
}

QString TMakro::GetHint() const
{
    return GetTypeName() + QLatin1Char(' ') + QString::number(Number) + QLatin1Char('\r')
           + m_macroName;
}

int TMakro::EditProperties()
{
    QString name = m_macroName;
    const int result = EditDesignationDialog(GetTypeName(), HelpContext, name, kMacroNameLength, 64);
    SetMacroName(name);
    if (OnEdited)
        OnEdited(this);
    return result;
}

void TMakro::WriteData(TWriter& writer)
{
    TIOBauteil::WriteData(writer);
    writer.WriteString(m_macroName);
    if (OnWriteData)
        OnWriteData(this, writer);
}

void TMakro::ReadData(TReader& reader, uint8_t version)
{
    TIOBauteil::ReadData(reader, version);
    SetMacroName(reader.ReadString());
    if (OnReadData)
        OnReadData(this, reader, version);
}

void TMakro::Paint(TCanvas& canvas)
{
    const bool mono = MonochromePrint;
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.SetFontHeight(26);
    canvas.Font.setItalic(true);
    canvas.Font.setBold(false);

    // Pin stubs and names. Not mirrored: inputs left, outputs right; mirrored: outputs left
    // (from the last to the first), inputs right.
    auto drawPin = [&](const TBauteilPin& pin, bool left) {
        int32_t lineColor = pin.Connected ? clBlack : clSilver;
        int32_t nameColor = pin.Connected ? clMaroon : clSilver;
        if (Selected)
            lineColor = nameColor = clRed;
        if (mono)
            lineColor = nameColor = clBlack;
        canvas.Pen = TCanvasPen{lineColor, 3, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(pin.X, pin.Y);
        canvas.LineTo(left ? pin.X + 40 : pin.X - 40, pin.Y);
        canvas.Brush.Style = Qt::NoBrush;
        canvas.TransparentText = true;
        canvas.FontColor = nameColor;
        const QString& name = pin.Name();
        const int x = left ? Body.Left - canvas.TextWidth(name) - 6 : Body.Right + 6;
        canvas.TextOut(x, pin.Y - 26, name);
    };
    if (!Mirrored) {
        for (const auto& pin : Inputs)
            drawPin(*pin, true);
        for (const auto& pin : Outputs)
            drawPin(*pin, false);
    } else {
        for (auto it = Outputs.rbegin(); it != Outputs.rend(); ++it)
            drawPin(**it, true);
        for (const auto& pin : Inputs)
            drawPin(*pin, false);
    }

    canvas.Font.setItalic(false);
    if (ShowLineStates)
        RepaintPinLines(canvas);

    // Body: a rectangle with a notch in the middle of the top edge (bottom edge when mirrored).
    canvas.Pen = TCanvasPen{clBlack, 8, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{mono ? clWhite : clBlack, Qt::SolidPattern};
    const int32_t l = Body.Left;
    const int32_t t = Body.Top;
    const int32_t r = Body.Right;
    const int32_t b = Body.Bottom;
    const int32_t cx = l + (r - l) / 2;
    if (!Mirrored) {
        canvas.Polygon({QPoint(l, t), QPoint(cx - 20, t), QPoint(cx - 20, t + 20),
                        QPoint(cx + 20, t + 20), QPoint(cx + 20, t), QPoint(r, t),
                        QPoint(r, b - 1), QPoint(l, b - 1), QPoint(l, t)});
    } else {
        canvas.Polygon({QPoint(l, b), QPoint(cx - 20, b), QPoint(cx - 20, b - 20),
                        QPoint(cx + 20, b - 20), QPoint(cx + 20, b), QPoint(r, b),
                        QPoint(r, t), QPoint(l, t), QPoint(l, b)});
    }
    DrawSymbolCaption(canvas, MacroName(), mono ? clBlack : clWhite);

    if (!Prefix().isEmpty()) {
        const QString designator = Designator().left(20);
        canvas.Font.setFamily(QStringLiteral("ARIAL"));
        canvas.SetFontHeight(26);
        canvas.Font.setItalic(true);
        canvas.FontColor = mono ? clBlack : clSilver;
        canvas.TransparentText = true;
        canvas.Brush.Style = Qt::NoBrush;
        const int x = Body.Left + (Body.Width() - canvas.TextWidth(designator)) / 2;
        canvas.TextOut(x, Body.Bottom - 30, designator);
        canvas.Font.setItalic(false);
    }
}

void TMakro::RepaintPinLines(TCanvas& canvas)
{
    for (size_t i = 0; i < Inputs.size(); ++i)
        DrawPinStub(canvas, *Inputs[i], true, SourceHigh(SourceAt(InputSources, i)));
    for (size_t j = 0; j < Outputs.size(); ++j)
        DrawPinStub(canvas, *Outputs[j], false, SourceHigh(SourceAt(OutputSources, j)));
}

void TMakro::PaintPinStates(TCanvas& canvas)
{
    const bool running = Ctx().SimRunning;
    for (size_t i = 0; i < Inputs.size(); ++i)
        DrawStateArrow(canvas, *Inputs[i], true,
                       running && SourceHigh(SourceAt(InputSources, i)));
    for (size_t j = 0; j < Outputs.size(); ++j) {
        const TBauteilPin* source = SourceAt(OutputSources, j);
        DrawStateArrow(canvas, *Outputs[j], false, running && source && source->Value >= 2.5L);
    }
}
