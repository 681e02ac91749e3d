#include "components/digital/Gates.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/SettingsDialog.h"

// --- TBTGate -------------------------------------------------------------------------------

TBTGate::TBTGate(const TComponentDescription& description)
{
    Describe(description);
    SetElementClass(QString());
    Editable = description.Inputs.Default > 1; // the inverter has no settings
}

void TBTGate::NameInputs()
{
    for (auto& pin : Inputs)
        pin->SetName(QString());
}

int TBTGate::EditProperties()
{
    return EditInputCount(*this);
}

void TBTGate::DrawNegationStroke(TCanvas& canvas) const
{
    const int cy = CenterY();
    canvas.Pen.Color = MarkColor();
    canvas.Pen.Width = 3;
    canvas.Pen.Style = Qt::SolidLine;
    if (Mirrored) {
        const int e = Body.Left;
        canvas.MoveTo(e - 17, cy);
        canvas.LineTo(e, cy - 16);
    } else {
        const int e = Body.Right;
        canvas.MoveTo(e + 16, cy);
        canvas.LineTo(e, cy - 16);
    }
}

void TBTGate::DrawOrMark(TCanvas& canvas) const
{
    const int cx = CenterX();
    const int cy = CenterY();
    DrawMarkText(canvas, cx - 5, cy - 30, 60, QStringLiteral("1"));
    DrawMarkText(canvas, cx - 28, cy - 28, 40, QStringLiteral(">"));
    DrawMarkText(canvas, cx - 28, cy - 10, 40, QStringLiteral("="));
}

// --- TBTInverter ---------------------------------------------------------------------------

const TComponentDescription TBTInverter::Description{
    .Name = "TBTInverter", .Prefix = {"INV"}, .HelpContext = 18230, .TypeName = {"Inverter", "Inverter", "Inverseur"},
    .Inputs = {1}, .Outputs = {1}, .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTInverter::TBTInverter() : TBTGate(Description) {}

void TBTInverter::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 10, CenterY() - 34, 48, QStringLiteral("1"));
    DrawNegationStroke(canvas);
}

void TBTInverter::Calculate()
{
    SetOutputDigital(0, !GetInputDigital(0));
}

int TBTInverter::EditProperties()
{
    return TGrundBT::EditProperties();
}

// --- Multi-input gates -----------------------------------------------------------------------

const TComponentDescription TBTAnd::Description{
    .Name = "TBTAnd", .Prefix = {"AND"}, .HelpContext = 18235, .TypeName = {"AND"},
    .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTAnd::TBTAnd() : TBTGate(Description) {}

void TBTAnd::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 20, CenterY() - 30, 60, QStringLiteral("&"));
}

void TBTAnd::Calculate()
{
    SetOutputDigital(0, HighInputCount() == InputCount);
}

const TComponentDescription TBTNand::Description{
    .Name = "TBTNand", .Prefix = {"NAND"}, .HelpContext = 18240, .TypeName = {"NAND"},
    .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTNand::TBTNand() : TBTGate(Description) {}

void TBTNand::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 20, CenterY() - 30, 60, QStringLiteral("&"));
    DrawNegationStroke(canvas);
}

void TBTNand::Calculate()
{
    SetOutputDigital(0, HighInputCount() != InputCount);
}

const TComponentDescription TBTOr::Description{
    .Name = "TBTOr", .Prefix = {"OR"}, .HelpContext = 18245, .TypeName = {"OR"},
    .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTOr::TBTOr() : TBTGate(Description) {}

void TBTOr::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawOrMark(canvas);
}

void TBTOr::Calculate()
{
    SetOutputDigital(0, HighInputCount() > 0);
}

const TComponentDescription TBTNor::Description{
    .Name = "TBTNor", .Prefix = {"NOR"}, .HelpContext = 18250, .TypeName = {"NOR"},
    .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTNor::TBTNor() : TBTGate(Description) {}

void TBTNor::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawOrMark(canvas);
    DrawNegationStroke(canvas);
}

void TBTNor::Calculate()
{
    SetOutputDigital(0, HighInputCount() == 0);
}

const TComponentDescription TBTExor::Description{
    .Name = "TBTExor", .Prefix = {"EXOR"}, .HelpContext = 18255, .TypeName = {"EXOR"},
    .Inputs = {2, 1, 256}, .Outputs = {1},
    .OutputNames = "-", .Category = TPaletteCategory::Gatter};

TBTExor::TBTExor() : TBTGate(Description) {}

void TBTExor::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    const int cx = CenterX();
    const int cy = CenterY();
    DrawMarkText(canvas, cx - 5, cy - 30, 60, QStringLiteral("1"));
    DrawMarkText(canvas, cx - 28, cy - 20, 40, QStringLiteral("="));
}

void TBTExor::Calculate()
{
    SetOutputDigital(0, (HighInputCount() & 1) != 0);
}
