#include "widgets/LEDLabel.h"

#include "platform/Canvas.h"
#include "widgets/Bitmaps.h"

#include <QPainter>

TWLXLEDCustomLabel::TWLXLEDCustomLabel(QWidget* parent)
    : TWLXGraphicControl(parent)
{
    m_led.OnChange = [this](void* sender) { RedrawRequest(sender); };
    SetColor(0);
}

void TWLXLEDCustomLabel::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    RedrawRequest(this);
}

void TWLXLEDCustomLabel::SetDigits(int value)
{
    if (value == 0 || value == m_digits)
        return;
    m_digits = std::clamp(value, 1, 255);
    RedrawRequest(this);
}

void TWLXLEDCustomLabel::SetStyle(TWLXLEDStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    RedrawRequest(this);
}

void TWLXLEDCustomLabel::SetValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    if (m_style == TWLXLEDStyle::lsInteger)
        repaint();
}

void TWLXLEDCustomLabel::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    RedrawRequest(this);
}

QString TWLXLEDCustomLabel::GetDisplayText() const
{
    if (m_style != TWLXLEDStyle::lsInteger)
        return m_caption;
    QString text = QString::number(m_value);
    if (text.size() > m_digits)
        return QString(m_digits, QLatin1Char('-'));
    // Zeros go between the sign and the digits.
    const bool negative = m_value < 0;
    QString digits = negative ? text.mid(1) : text;
    while (digits.size() + (negative ? 1 : 0) < m_digits)
        digits.prepend(QLatin1Char('0'));
    return negative ? QLatin1Char('-') + digits : digits;
}

void TWLXLEDCustomLabel::RedrawRequest(void* changed)
{
    if (m_autoSize) {
        const QRect need = m_led.MeasureDigits(GetDisplayText(), BevelExtent());
        resize(need.width(), need.height());
    }
    TWLXGraphicControl::RedrawRequest(changed);
}

void TWLXLEDCustomLabel::Paint(TCanvas& canvas)
{
    if (Loading)
        return;
    const TWLXRect inner = Bevel().PaintBevel(canvas, ClientRect(), Transparent());
    if (inner.IsEmpty() || !canvas.Painter())
        return;
    QImage picture(inner.Width(), inner.Height(), QImage::Format_RGB32);
    picture.fill(TColorToQColor(ColorToRGB(Color())));
    {
        QPainter p(&picture);
        TCanvas pc(&p);
        m_led.BeginUpdate();
        m_led.SetBackColor(Color());
        m_led.EndUpdate(false);
        m_led.DrawDigits(pc, QRect(0, 0, inner.Width(), inner.Height()), true, isEnabled(), GetDisplayText());
    }
    DrawBitmap(canvas, {inner.Left, inner.Top, inner.Right, inner.Bottom}, picture, Color(),
               Transparent() ? kBmpTransparent : 0u);
}
