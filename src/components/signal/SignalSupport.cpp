#include "components/signal/SignalSupport.h"

#include "components/analog/Integrators.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "platform/Locale.h"
#include "platform/ValueText.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QPoint>

namespace SignalSupport {

void MakeBlock(TIOBauteil& c, bool editable)
{
    c.SetElementClass(QString());
    c.Editable = editable;
}

void DrawCentredMark(const TGrundBT& c, TCanvas& canvas, int cx, int y, int height,
                     const QString& text)
{
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    canvas.SetFontHeight(height);
    c.DrawMarkText(canvas, cx - canvas.TextWidth(text) / 2, y, height, text);
    canvas.Brush.Style = Qt::SolidPattern;
}

void MarkPen(const TGrundBT& c, TCanvas& canvas, int width)
{
    canvas.Pen.Color = c.MarkColor();
    canvas.Pen.Width = width;
    canvas.Pen.Style = Qt::SolidLine;
    canvas.Brush.Style = Qt::NoBrush;
}

void PaintSpeaker(const TGrundBT& c, TCanvas& canvas)
{
    MarkPen(c, canvas, 2);
    const int cx = c.CenterX();
    const int cy = c.CenterY() - 14;
    canvas.Rectangle(cx - 20, cy - 10, cx - 6, cy + 10);
    canvas.Polyline({QPoint(cx - 6, cy - 10), QPoint(cx + 14, cy - 26), QPoint(cx + 14, cy + 26),
                     QPoint(cx - 6, cy + 10)});
    canvas.Brush.Style = Qt::SolidPattern;
}

QString ShortValueText(Extended value)
{
    return GeneralText(value, 3, 3, 1, LocaleDecimalSeparator());
}

int ShowDialog(TIOBauteil& c, const QString& caption,
               const std::function<void(TPropScrollbox&)>& addRows)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(caption);
    dlg.HelpContext = c.HelpContext;
    addRows(*dlg.PropScrollbox);
    return dlg.Execute();
}

} // namespace SignalSupport

// --- TBTSettingBlock -------------------------------------------------------------------------

TBTSettingBlock::TBTSettingBlock(const TComponentDescription& description, Extended initial,
                                 TStored stored)
    : Setting(initial), m_stored(stored)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, true);
}

void TBTSettingBlock::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    if (m_stored == TStored::Raw80)
        writer.WriteRawExtended(Setting);
    else
        writer.WriteFloat(Setting);
}

void TBTSettingBlock::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Setting = m_stored == TStored::Raw80 ? reader.ReadRawExtended() : reader.ReadFloat();
}

int TBTSettingBlock::EditProperties()
{
    QString text = ValueToText(Setting);
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddEditProp(SettingCaption(), text, 0, 64);
    });
    Setting = TextToValue(text);
    return result;
}

QString TBTSettingBlock::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\r= ") + ValueToText(Setting);
}

void TBTSettingBlock::SimReset()
{
    SetOutputValue(0, 0.0L);
}
