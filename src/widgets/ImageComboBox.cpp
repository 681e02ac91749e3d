#include "widgets/ImageComboBox.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/EffectText.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

TWLXCustomImageComboBox::TWLXCustomImageComboBox(QWidget* parent)
    : TWLXCustomComboBox(parent)
{
    m_font3D.OnChange = [this](void*) { ImageListChange(&m_font3D); };
    m_layout.OnChange = [this](void*) { ImageListChange(&m_layout); };
    SetStyle(TWLXComboStyle::csOwnerDrawFixed);
}

TWLXCustomImageComboBox::~TWLXCustomImageComboBox()
{
    m_font3D.OnChange = nullptr;
    m_layout.OnChange = nullptr;
}

void TWLXCustomImageComboBox::SetOptions(uint8_t value)
{
    if (value == m_images.Options)
        return;
    m_images.Options = value;
    SetStyle((value & lboCalcHeight) ? TWLXComboStyle::csOwnerDrawVariable : TWLXComboStyle::csOwnerDrawFixed);
    if (!Loading)
        SetItemHeight(ItemHeight());
    update();
}

void TWLXCustomImageComboBox::SetMultiLine(bool value)
{
    if (value == m_multiLine)
        return;
    m_multiLine = value;
    update();
}

void TWLXCustomImageComboBox::SetImagesOnly(bool value)
{
    if (value == m_imagesOnly)
        return;
    m_imagesOnly = value;
    if (value)
        FillImageItems();
    else
        clear();
}

void TWLXCustomImageComboBox::Loaded()
{
    if (m_imagesOnly)
        FillImageItems();
}

void TWLXCustomImageComboBox::FillImageItems()
{
    if (Loading || !m_imagesOnly)
        return;
    const QSignalBlocker block(this);
    clear();
    // A single blank each: an empty item would be taken for no item.
    addItems(QStringList(m_images.ImageCount(), QStringLiteral(" ")));
}

void TWLXCustomImageComboBox::ImageListChange(void* sender)
{
    if (sender != &m_font3D && sender != &m_layout) {
        if (Options() & lboCalcHeight)
            SetItemHeight(ItemHeight());
        if (m_imagesOnly)
            FillImageItems();
    }
    update();
    if (view())
        view()->viewport()->update();
}

int TWLXCustomImageComboBox::ImageNumberOf(int index) const
{
    return m_images.ImageNumberOf(index, count(), itemText(index));
}

QString TWLXCustomImageComboBox::GetItemText(int index) const
{
    return m_imagesOnly ? QString() : m_images.DisplayText(itemText(index));
}

void TWLXCustomImageComboBox::MeasureItem(int index, int& height) const
{
    if (index < 0)
        return;
    int h = -1, w = -1;
    const int n = ImageNumberOf(index);
    if (!m_images.NoImages() && n >= 0) {
        if (m_images.ImageExists(n)) {
            h = m_images.ImageHeight(n) + 2;
            w = m_images.ImageWidth(n) + m_layout.Spacing() + 2;
        } else {
            w = 0;
        }
    }
    const QString text = GetItemText(index);
    if (m_multiLine && !text.isEmpty()) {
        TWLXRect r{0, 0, width() - w - 14, 0};
        MeasureText(text, const_cast<TWLX3DCaption*>(&m_font3D), r, DT_WORDBREAK | DT_EXPANDTABS, -1, true,
                    false, font());
        h = std::max(h, r.Bottom);
    }
    height = std::max(height, h);
}

int TWLXCustomImageComboBox::MeasuredHeight(int index) const
{
    int height = ItemHeight();
    if (Style() == TWLXComboStyle::csOwnerDrawVariable)
        MeasureItem(index, height);
    return height;
}

void TWLXCustomImageComboBox::PaintItem(QPainter& painter, const QRect& rect, int index, bool selected,
                                        bool focused) const
{
    TCanvas canvas(&painter);
    canvas.Font = font();
    canvas.FontColor = selected ? clHighlightText : QColorToTColor(palette().color(QPalette::Text));
    FillSolid(canvas, TWLXRect::From(rect), selected ? clHighlight : QColorToTColor(palette().color(QPalette::Base)));
    if (index >= 0 && index < count()) {
        const TWLXRect r = TWLXRect::From(rect);
        const TWLXRect target{r.Left + 1, r.Top, r.Right, r.Bottom - 1};
        const unsigned flags = layoutDirection() == Qt::RightToLeft ? DT_NOPREFIX | DT_RIGHT : DT_NOPREFIX;
        m_images.Draw(canvas, GetItemText(index), &m_font3D, target, ImageNumberOf(index), m_layout, flags,
                      m_multiLine, isEnabled() ? kTextEnabled : 0, font());
    }
    if (focused) {
        QPen pen(TColorToQColor(selected ? clHighlight : clWindow).rgb() ^ 0xFFFFFF);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void TWLXCustomImageComboBox::DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const
{
    PaintItem(painter, option.rect, index, option.state & QStyle::State_Selected,
              option.state & QStyle::State_HasFocus);
}

void TWLXCustomImageComboBox::paintEvent(QPaintEvent*)
{
    // The closed box shows the current item as the list draws it.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(field);
    PaintItem(painter, field, currentIndex(), hasFocus(), hasFocus());
    painter.restore();
}
