#include "components/digital/Gates.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/SettingsDialog.h"


namespace {
// Most pins a stored record may declare on one side (as the component record allows).
constexpr int32_t MaxStoredPins = 256;
} // namespace

// --- TBTGate -------------------------------------------------------------------------------

TBTGate::TBTGate(int32_t defaultInputs, const char* prefix, int32_t helpContext)
{
    SetInputCount(defaultInputs);
    SetOutputCount(1);
    SetElementClass(QString());
    SetPrefix(QString::fromLatin1(prefix));
    Editable = defaultInputs > 1; // the inverter has no settings
    HelpContext = helpContext;
}

void TBTGate::NameInputs()
{
    for (auto& pin : Inputs)
        pin->SetName(QString());
}

void TBTGate::NameOutputs()
{
    if (!Outputs.empty())
        Outputs[0]->SetName(QString());
}

void TBTGate::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    TReader::CheckCount(InputCount, 1, MaxStoredPins, "InputCount");
    TReader::CheckCount(OutputCount, 1, 1, "OutputCount");
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

TBTInverter::TBTInverter() : TBTGate(1, "INV", 18230) {}

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

QString TBTInverter::GetTypeName() const
{
    return Lang3Q("Inverter", "Inverter", "Inverseur");
}

int TBTInverter::EditProperties()
{
    return TGrundBT::EditProperties();
}

void TBTInverter::ReadData(TReader& reader, uint8_t version)
{
    TBTGate::ReadData(reader, version);
    TReader::CheckCount(InputCount, 1, 1, "InputCount");
}

// --- Multi-input gates -----------------------------------------------------------------------

TBTAnd::TBTAnd() : TBTGate(2, "AND", 18235) {}

void TBTAnd::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 20, CenterY() - 30, 60, QStringLiteral("&"));
}

void TBTAnd::Calculate()
{
    SetOutputDigital(0, HighInputCount() == InputCount);
}

QString TBTAnd::GetTypeName() const
{
    return QStringLiteral("AND");
}

TBTNand::TBTNand() : TBTGate(2, "NAND", 18240) {}

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

QString TBTNand::GetTypeName() const
{
    return QStringLiteral("NAND");
}

TBTOr::TBTOr() : TBTGate(2, "OR", 18245) {}

void TBTOr::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawOrMark(canvas);
}

void TBTOr::Calculate()
{
    SetOutputDigital(0, HighInputCount() > 0);
}

QString TBTOr::GetTypeName() const
{
    return QStringLiteral("OR");
}

TBTNor::TBTNor() : TBTGate(2, "NOR", 18250) {}

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

QString TBTNor::GetTypeName() const
{
    return QStringLiteral("NOR");
}

TBTExor::TBTExor() : TBTGate(2, "EXOR", 18255) {}

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

QString TBTExor::GetTypeName() const
{
    return QStringLiteral("EXOR");
}
