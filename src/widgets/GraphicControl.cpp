#include "widgets/GraphicControl.h"

#include "platform/Canvas.h"
#include "widgets/EffectText.h"

#include <QPainter>

TWLXGraphicControl::TWLXGraphicControl(QWidget* parent)
    : QWidget(parent)
{
    m_bevel.OnChange = [this](void* sender) { RedrawRequest(sender); };
}

void TWLXGraphicControl::SetBevel(const TWLXBevel& bevel)
{
    m_bevel.Assign(bevel);
}

void TWLXGraphicControl::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    ColorChanged();
    update();
}

void TWLXGraphicControl::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    update();
}

void TWLXGraphicControl::PaintBase(TCanvas& canvas)
{
    if (!m_transparent)
        FillSolid(canvas, ClientRect(), m_color);
}

void TWLXGraphicControl::Paint(TCanvas& canvas)
{
    if (Loading)
        return;
    if (!IsEmpty() || m_bevel.ExtentAll() != 0)
        m_bevel.PaintBevel(canvas, ClientRect(), m_transparent);
    else
        PaintBase(canvas);
}

void TWLXGraphicControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas canvas(&p);
    Paint(canvas);
}

// ---- caption ---------------------------------------------------------------------------------

TWLXCaption::TWLXCaption()
{
    m_fontFX.OnChange = [this](void* sender) { FontChanged(sender); };
}

void TWLXCaption::FontChanged(void* sender)
{
    if (m_fontFX.Angle() != 0 && !IsTrueTypeFont(m_font)) {
        if (sender == &m_font) {
            m_fontFX.BeginUpdate();
            m_fontFX.SetAngle(0);
            m_fontFX.EndUpdate(false);
        } else {
            m_font.setFamily(QStringLiteral("Arial"));
        }
    }
    GetChange(sender);
}

void TWLXCaption::SetAlignment(TWLXAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    Change();
}

void TWLXCaption::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    Change();
}

void TWLXCaption::SetFont(const QFont& font)
{
    m_font = font;
    FontChanged(&m_font);
}

void TWLXCaption::SetFontColor(int32_t value)
{
    if (value == m_fontColor)
        return;
    m_fontColor = value;
    FontChanged(&m_font);
}

void TWLXCaption::SetMultiLine(bool value)
{
    if (value == m_multiLine)
        return;
    m_multiLine = value;
    Change();
}

void TWLXCaption::Assign(const TWLXCaption& source)
{
    BeginUpdate();
    m_font = source.m_font;
    m_fontColor = source.m_fontColor;
    m_fontFX.Assign(source.m_fontFX);
    m_alignment = source.m_alignment;
    m_caption = source.m_caption;
    m_multiLine = source.m_multiLine;
    EndUpdate(true);
}

QString TWLXCaption::DescriptionText() const
{
    return QStringLiteral("{") + m_caption + QStringLiteral("}");
}

void TWLXCaption::Draw(TCanvas& canvas, const QString& text, int origin, int32_t color,
                       unsigned flags, const TWLXRect& rect)
{
    TWLXRect reference = rect;
    if ((flags & kTextClip) && origin != 0) {
        const int dx = int16_t(origin & 0xFFFF), dy = int16_t((origin >> 16) & 0xFFFF);
        reference = {rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
    }
    static constexpr unsigned kAlign[] = {0x0, 0x1, 0x2, 0x4, 0x5, 0x6, 0x8, 0x9, 0xA};
    unsigned format = kAlign[int(m_alignment)] | DT_WORDBREAK | DT_EXPANDTABS;
    if (!(flags & 0x10))
        format |= DT_NOPREFIX;
    TWLXRect textRect = rect;
    if (m_fontFX.Angle() != 0 && m_alignment != TWLXAlignment::agTopLeft) {
        format |= DT_SINGLELINE;
        textRect = DrawAlignedText(m_alignment, text, &m_fontFX, format, m_font, rect);
    } else if (m_multiLine) {
        if (int(m_alignment) >= int(TWLXAlignment::agCenterLeft))
            textRect = DrawAlignedText(m_alignment, text, &m_fontFX, format, m_font, rect);
    } else {
        format |= DT_SINGLELINE;
    }
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Brush.Color = color;
    canvas.Font = m_font;
    canvas.FontColor = m_fontColor;
    DrawEffectText(canvas, text, &m_fontFX, &reference, flags, format, textRect);
}

// ---- fill control ----------------------------------------------------------------------------

TWLXFill::TWLXFill(QWidget* parent)
    : TWLXGraphicControl(parent)
{
    SetColor(clWindow);
    m_caption.OnChange = [this](void* sender) { RedrawRequest(sender); };
    m_fill.OnChange = [this](void* sender) { RedrawRequest(&m_fill); };
}

bool TWLXFill::IsEmpty() const
{
    return m_fill.Style() == TWLXFillStyle::sfNone && BevelExtent() == 0 &&
           m_caption.Caption().isEmpty();
}

void TWLXFill::RedrawRequest(void* changed)
{
    if (changed == &m_fill)
        SetTransparent(m_fill.IsTransparentFill());
    TWLXGraphicControl::RedrawRequest(changed);
}

void TWLXFill::Paint(TCanvas& canvas)
{
    if (Loading)
        return;
    if (IsEmpty()) {
        TWLXGraphicControl::Paint(canvas);
        return;
    }
    try {
        const TWLXRect inner = Bevel().PaintBevel(canvas, ClientRect(), Transparent());
        m_fill.PaintFill(canvas, inner, Color());
        const int origin = (x() & 0xFFFF) | (y() << 16);
        m_caption.Draw(canvas, m_caption.Caption(), origin, canvas.Brush.Color,
                       kTextClip | (isEnabled() ? kTextEnabled : 0u), inner);
    } catch (...) {
        // A failing paint leaves the control as far as it got.
    }
}
