#include "components/core/SimulationStop.h"

#include "core/board/Platine.h"
#include "components/core/CoreComponents.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QStringList>

std::function<void()> OnStopRequested;
std::function<void()> OnRuntimeCloseRequested;

namespace {
void UseArial(TCanvas& canvas, int height)
{
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    canvas.SetFontHeight(height);
    canvas.TransparentText = true;
}

} // namespace

// --- TBTStop -------------------------------------------------------------------------------

const TComponentDescription TBTStop::Description{
    .Name = "TBTStop", .Prefix = {"Stp"}, .HelpContext = 18570, .TypeName = {"Simulation\rStop"},
    .Inputs = {1}, .InputNames = "|Stp", .Category = TPaletteCategory::Diverses};

TBTStop::TBTStop()
{
    Describe(Description);
}

void TBTStop::Calculate()
{
    // The level is recorded first: the request may run a whole end of run before it returns.
    if (!InputFell(0, LastInput))
        return;
    if (Ctx().RuntimeMode) {
        if (OnRuntimeCloseRequested)
            OnRuntimeCloseRequested();
    } else if (OnStopRequested) {
        OnStopRequested();
    }
}

void TBTStop::SimReset()
{
    TGrundBT::SimReset();
    LastInput = false;
}

void TBTStop::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawMarkText(canvas, cx - 40, cy - 34, 35, QStringLiteral("STOP"));
}

// --- TBTTestpunkt --------------------------------------------------------------------------

const TComponentDescription TBTTestpunkt::Description{
    .Name = "TBTTestpunkt", .Prefix = {"TP"}, .HelpContext = 18531, .TypeName = {"Test"},
    .Inputs = {1}, .InputNames = "-", .Category = TPaletteCategory::PlusMasseTest};

TBTTestpunkt::TBTTestpunkt()
{
    Describe(Description);
}

void TBTTestpunkt::Calculate()
{
    Value = GetInputValue(0);
}

void TBTTestpunkt::SimReset()
{
    // Forces the first painting of a run.
    LastDrawn = Value - 1.0L;
    TGrundBT::SimReset();
}

TRect TBTTestpunkt::GetBounds() const
{
    return NarrowedBounds(TGrundBT::GetBounds());
}

QString TBTTestpunkt::DisplayText() const
{
    if (ShowStates && Ctx().SimRunning)
        return LocalizeDecimal(QString::number(double(Value), 'g', 3));
    return QStringLiteral("TEST");
}

void TBTTestpunkt::Paint(TCanvas& canvas)
{
    for (auto& pin : Inputs)
        DrawPin(canvas, *pin, true);
    canvas.Pen = TCanvasPen{MarkColor(), 3, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    const TRect r = NarrowedBounds(TGrundBT::GetBounds());
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    const bool live = ShowStates && Ctx().SimRunning;
    UseArial(canvas, 25);
    canvas.FontColor = live ? clRed : clGray;
    const QString text = DisplayText();
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.TextOut(cx - canvas.TextWidth(text) / 2, cy - 12, text);
}

void TBTTestpunkt::PaintPinStates(TCanvas& canvas)
{
    if (!ShowStates || !Ctx().SimRunning)
        return;
    if (Value == LastDrawn)
        return;
    LastDrawn = Value;
    Paint(canvas);
    TGrundBT::PaintPinStates(canvas);
}

// --- TBTRangeCheck -------------------------------------------------------------------------

const TComponentDescription TBTRangeCheck::Description{
    .Name = "TBTRangeCheck", .Prefix = {"RGC"}, .HelpContext = 18416,
    .TypeName = {"Bereichsprüfung", "Range check", "Testeur de limites"}, .Inputs = {3},
    .Outputs = {3}, .InputNames = "XH X XL", .OutputNames = "OL OK OH",
    .Category = TPaletteCategory::Vergleicher};

TBTRangeCheck::TBTRangeCheck()
{
    Describe(Description);
}

void TBTRangeCheck::Calculate()
{
    const Extended xh = GetInputValue(0);
    const Extended x = GetInputValue(1);
    const Extended xl = GetInputValue(2);
    SetOutputDigital(0, x < xl);
    SetOutputDigital(1, xl <= x && x < xh);
    SetOutputDigital(2, x >= xh);
}

void TBTRangeCheck::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    canvas.Brush = TCanvasBrush{clSilver, Qt::SolidPattern};
    canvas.FillRect(cx - 30, cy - 14, cx + 30, cy + 6);

    auto line = [&canvas](int32_t colour, int width, int x1, int y1, int x2, int y2) {
        canvas.Pen = TCanvasPen{colour, width, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    line(clBlue, 2, cx - 28, cy + 24, cx - 10, cy + 6);
    line(clGreen, 2, cx - 10, cy + 6, cx + 10, cy - 14);
    line(clRed, 2, cx + 10, cy - 14, cx + 28, cy - 32);
    // Dimension arrows onto the band's edges.
    line(clBlack, 1, cx, cy - 32, cx, cy - 14);
    line(clBlack, 1, cx - 3, cy - 18, cx, cy - 14);
    line(clBlack, 1, cx + 3, cy - 18, cx, cy - 14);
    line(clBlack, 1, cx, cy + 24, cx, cy + 6);
    line(clBlack, 1, cx - 3, cy + 10, cx, cy + 6);
    line(clBlack, 1, cx + 3, cy + 10, cx, cy + 6);

    canvas.Pen = TCanvasPen{clBlack, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Rectangle(cx - 30, cy - 34, cx + 30, cy + 26);
}

// --- TBTJumpTarget -------------------------------------------------------------------------

const TComponentDescription TBTJumpTarget::Description{
    .Name = "TBTJumpTarget", .Prefix = {"JMPT"}, .HelpContext = 18532,
    .TypeName = {"Sprung (Ziel)", "Jump (Target)", "Saut (Cible)"}, .Outputs = {1},
    .OutputNames = "$", .Category = TPaletteCategory::Diverses};

TBTJumpTarget::TBTJumpTarget()
{
    Describe(Description);
    Editable = true;
    SetLabel(QStringLiteral("?"));
}

void TBTJumpTarget::Calculate()
{
    if (Source)
        SetOutputText(0, Source->JumpText);
}

void TBTJumpTarget::SimReset()
{
    TGrundBT::SimReset();
    Source = nullptr;
    if (!Board)
        return;
    Board->CollectJumps();
    const QString label = GetLabel();
    for (TIOBauteil* jump : Board->Jumps) {
        auto* j = dynamic_cast<TBTJump*>(jump);
        if (j && j->GetLabel() == label)
            Source = j;
    }
}

QString TBTJumpTarget::GetTypeName() const
{
    return Translate(QStringLiteral("Sprung")) + QStringLiteral(" (") + Translate(QStringLiteral("Ziel"))
        + QLatin1Char(')');
}

TRect TBTJumpTarget::GetBounds() const
{
    return NarrowedBounds(TGrundBT::GetBounds());
}

int TBTJumpTarget::EditProperties()
{
    QStringList labels;
    if (Board) {
        Board->CollectJumps();
        for (TIOBauteil* jump : Board->Jumps)
            labels << jump->GetLabel();
    }
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = 18532;
    int32_t index = int32_t(labels.indexOf(GetLabel()));
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Sprung")), index, labels, 100);
    const int result = dlg.Execute();
    if (result == mrOk)
        SetLabel(index >= 0 && index < labels.size() ? labels[index] : QStringLiteral("?"));
    return result;
}

void TBTJumpTarget::Paint(TCanvas& canvas)
{
    if (!Outputs.empty()) {
        // The pin without its name.
        TBauteilPin& pin = *Outputs[0];
        const QString name = pin.Name();
        pin.SetName(QString());
        DrawPin(canvas, pin, false);
        pin.SetName(name);
    }
    canvas.Pen = TCanvasPen{MarkColor(), 3, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush.Style = Qt::NoBrush;
    UseArial(canvas, 25);
    canvas.FontColor = clBlack;
    PaintJumpArrow(canvas, *this);
}
