#include "core/board/BtPin.h"

#include "core/board/ItemDialogs.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"

namespace {
constexpr int kPinNameLength = 5;
} // namespace

TBTPin::TBTPin()
{
    SetInputCount(1);
    SetOutputCount(0);
    SetElementClass(QString());
    SetPrefix(QStringLiteral("Pin"));
    Editable = true;
    HelpContext = 18520;
}

void TBTPin::SetPinName(const QString& name)
{
    m_pinName = name.left(kPinNameLength);
}

void TBTPin::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.SetFontHeight(26);
    canvas.FontColor = Selected ? clRed : SymbolColor;
    canvas.TransparentText = true;
    canvas.Brush.Style = Qt::NoBrush;
    const int x = Body.Left + (Body.Width() - canvas.TextWidth(m_pinName)) / 2;
    canvas.TextOut(x, Body.Top + Body.Height() / 2 - 24, m_pinName);
}

void TBTPin::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteString(m_pinName);
}

void TBTPin::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    SetPinName(reader.ReadString());
}

int TBTPin::EditProperties()
{
    QString name = m_pinName;
    const int result = EditDesignationDialog(GetTypeName(), HelpContext, name, kPinNameLength, 64);
    SetPinName(name);
    if (OnNameChanged)
        OnNameChanged(this);
    return result;
}

QString TBTPin::GetHint() const
{
    QString hint = TGrundBT::GetHint();
    if (!m_pinName.isEmpty())
        hint += QLatin1Char('\r') + m_pinName;
    return hint;
}

void TBTPin::Calculate() {}

void TBTPin::NameInputs()
{
    for (auto& pin : Inputs)
        pin->SetName(QString());
}

void TBTPin::NameOutputs() {}

QString TBTPin::GetTypeName() const
{
    return Lang3Q("Pin (Makros)", "Macro pin", "Broche macro");
}

void TBTPin::PaintPinStates(TCanvas&) {}
