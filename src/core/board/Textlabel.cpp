#include "core/board/Textlabel.h"

#include "core/board/ItemDialogs.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"

#include <cstdlib>

namespace {
constexpr int kFontNameLength = 31;
constexpr int kCaptionLength = 50;
} // namespace

TText::TText()
{
    X = 0;
    Y = 0;
    Font.setFamily(QStringLiteral("Arial"));
    Font.setBold(false);
    Font.setItalic(false);
    Font.setUnderline(false);
    Font.setStrikeOut(false);
    m_caption = QStringLiteral("Text");
    Editable = true;
    HelpContext = 9000;
}

void TText::SetCaption(const QString& caption)
{
    m_caption = caption.left(kCaptionLength);
}

uint8_t TText::FontStyleBits() const
{
    return uint8_t((Font.bold() ? 1 : 0) | (Font.italic() ? 2 : 0) | (Font.underline() ? 4 : 0)
                   | (Font.strikeOut() ? 8 : 0));
}

void TText::SetFontStyleBits(uint8_t bits)
{
    Font.setBold(bits & 1);
    Font.setItalic(bits & 2);
    Font.setUnderline(bits & 4);
    Font.setStrikeOut(bits & 8);
}

void TText::Paint(TCanvas& canvas)
{
    canvas.Font = Font;
    canvas.SetFontHeight(FontHeight);
    canvas.FontColor = FontColor;
    canvas.TransparentText = true;
    canvas.Brush.Style = Qt::NoBrush;
    Width = static_cast<int16_t>(canvas.TextWidth(m_caption) + 30);
    Height = static_cast<int16_t>(canvas.TextHeight(m_caption));
    if (Selected) {
        canvas.Pen = TCanvasPen{clRed, 2, Qt::SolidLine, TPenMode::Copy};
        canvas.Rectangle(X + 2, Y + 2, X + Width - 2, Y + Height - 2);
        canvas.FontColor = clRed;
    }
    canvas.TextOut(X + 10, Y, m_caption);
}

bool TText::HitTest(QPoint devicePoint, TCanvas& canvas)
{
    const TRect b = GetBounds();
    const QPoint a = canvas.LPtoDP(QPoint(b.Left, b.Top));
    const QPoint c = canvas.LPtoDP(QPoint(b.Right, b.Bottom));
    return TRect{a.x(), a.y(), c.x(), c.y()}.Normalized().Contains(devicePoint);
}

QPoint* TText::HitEndPoint(QPoint)
{
    return nullptr;
}

void TText::MoveBy(int32_t dx, int32_t dy)
{
    X += dx;
    Y += dy;
}

TRect TText::GetBounds() const
{
    return TRect{X, Y, X + Width, Y + Height};
}

void TText::WriteData(TWriter& writer)
{
    TBauteil::WriteData(writer);
    writer.WriteRawShortString(Font.family(), kFontNameLength);
    writer.WriteRawInt16(static_cast<int16_t>(FontHeight));
    writer.WriteRawByte(FontStyleBits());
    writer.WriteRawInt32(FontColor);
    writer.WriteRawInt16(static_cast<int16_t>(X));
    writer.WriteRawInt16(static_cast<int16_t>(Y));
    writer.WriteRawShortString(m_caption, kCaptionLength);
}

void TText::ReadData(TReader& reader, uint8_t version)
{
    TBauteil::ReadData(reader, version);
    Font.setFamily(reader.ReadRawShortString(kFontNameLength));
    FontHeight = reader.ReadRawInt16();
    SetFontStyleBits(reader.ReadRawByte());
    FontColor = reader.ReadRawInt32();
    X = reader.ReadRawInt16();
    Y = reader.ReadRawInt16();
    m_caption = reader.ReadRawShortString(kCaptionLength);
}

int TText::EditProperties()
{
    // The dialog shows the height's magnitude as the size and stores the size back as height.
    TTextLabelDialogValues values;
    values.Text = m_caption;
    values.FontName = Font.family();
    values.StyleBits = FontStyleBits();
    values.Color = FontColor;
    values.Size = std::abs(FontHeight);
    const int result = EditTextLabelDialog(values);
    // The dialog edits a copy of the font; its other values apply only on OK.
    if (result == 1) {
        Font.setFamily(values.FontName);
        SetFontStyleBits(values.StyleBits);
        FontColor = values.Color;
        SetCaption(values.Text);
    }
    FontHeight = values.Size;
    if (OnNeuZeichnen)
        OnNeuZeichnen(this);
    return result;
}

QString TText::GetHint() const
{
    QString hint = QStringLiteral("Text");
    if (!m_caption.isEmpty())
        hint += QStringLiteral("\r\"") + m_caption + QLatin1Char('"');
    return hint;
}
