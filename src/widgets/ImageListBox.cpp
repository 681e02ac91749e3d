#include "widgets/ImageListBox.h"

#include "platform/Canvas.h"
#include "widgets/ComponentStream.h"
#include "widgets/EffectText.h"

namespace {

bool TextBesideGlyph(TWLXTextArrange arrange)
{
    return arrange == TWLXTextArrange::taLeft || arrange == TWLXTextArrange::taLeftTop ||
           arrange == TWLXTextArrange::taRight || arrange == TWLXTextArrange::taRightTop;
}

} // namespace

TWLXCustomImageListBox::TWLXCustomImageListBox(QWidget* parent)
    : TWLXCustomListBox(parent)
{
    m_layout.OnChange = [this](void*) { ImageListChange(&m_layout); };
}

TWLXCustomImageListBox::~TWLXCustomImageListBox()
{
    m_layout.OnChange = nullptr;
}

void TWLXCustomImageListBox::SetOptions(uint8_t value)
{
    if (value == m_images.Options)
        return;
    m_images.Options = value;
    SetItemAutoHeight(value & lboCalcHeight);
    if (!Loading)
        Relayout();
}

void TWLXCustomImageListBox::SetImagesOnly(bool value)
{
    if (value == m_imagesOnly)
        return;
    m_imagesOnly = value;
    if (value)
        FillImageItems();
    else
        Clear();
}

void TWLXCustomImageListBox::Loaded()
{
    if (m_imagesOnly)
        FillImageItems();
}

void TWLXCustomImageListBox::FillImageItems()
{
    if (Loading || !m_imagesOnly)
        return;
    SetItems(QStringList(m_images.ImageCount(), QString()));
}

void TWLXCustomImageListBox::ImageListChange(void* sender)
{
    if (sender == &Font3D() || sender == &m_layout) {
        if (LargeTextOptions() == TWLXListBoxLargeTextOptions::lbltHorzScrollBar)
            RecalcMaxTextWidth();
        Relayout();
        return;
    }
    Relayout();
    if (m_imagesOnly)
        FillImageItems();
}

int TWLXCustomImageListBox::ImageNumberOf(int index) const
{
    return m_images.ImageNumberOf(index, Count(), Item(index));
}

int TWLXCustomImageListBox::GetImageWidth(int index) const
{
    return m_images.ImageWidth(ImageNumberOf(index));
}

int TWLXCustomImageListBox::GetImageHeight(int index) const
{
    return m_images.ImageHeight(ImageNumberOf(index));
}

QString TWLXCustomImageListBox::GetItemText(int index) const
{
    if (index < 0 || index >= Count())
        return QString();
    return TWLXImageItems::TextBefore(Item(index), m_images.Delimiter());
}

QString TWLXCustomImageListBox::ShownText(int index) const
{
    return (m_images.Options & lboCheckImageNr) ? GetItemText(index) : Item(index);
}

int TWLXCustomImageListBox::GetItemTextWidth(int index) const
{
    TWLXRect r{0, 0, 0, 0};
    MeasureText(Item(index), &const_cast<TWLXCustomImageListBox*>(this)->Font3D(), r, DT_EXPANDTABS, -1,
                false, false, font());
    int width = r.Width() + m_layout.OffsetX() + 2;
    if (!m_images.NoImages() && TextBesideGlyph(m_layout.AlignText2Glyph()))
        width += GetImageWidth(index) + m_layout.Spacing();
    return width;
}

void TWLXCustomImageListBox::DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned)
{
    const TWLXRect textRect = TextRect(rect);
    unsigned flags = BiDiFlags(DT_NOPREFIX);
    if (LargeTextOptions() == TWLXListBoxLargeTextOptions::lbltEndEllipsis)
        flags |= DT_END_ELLIPSIS;
    else if (LargeTextOptions() == TWLXListBoxLargeTextOptions::lbltPathEllipsis)
        flags |= DT_PATH_ELLIPSIS;
    unsigned state = isEnabled() ? kTextEnabled : 0;
    if (MultiLine() || (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)))
        state |= kTextClip;
    m_images.Draw(canvas, ShownText(index), &Font3D(), textRect, ImageNumberOf(index), m_layout, flags,
                  MultiLine(), state, canvas.Font);
}

void TWLXCustomImageListBox::MeasureItem(int index, int& height)
{
    if (index == -1) {
        TWLXCustomListBox::MeasureItem(index, height);
        return;
    }
    int h = -1;
    int stacked = 0;
    const int imageHeight = GetImageHeight(index);
    if (imageHeight > 0) {
        h = imageHeight;
        stacked = m_layout.Spacing() + imageHeight + m_layout.OffsetY() + 2;
    }
    const QString text = ShownText(index);
    if (!text.isEmpty()) {
        TWLXRect r{0, 0, viewport()->width() - GetImageWidth(index) - 4, 0};
        if (MultiLine())
            MeasureText(text, &Font3D(), r, DT_WORDBREAK | DT_EXPANDTABS, -1, true, false, font());
        else
            MeasureText(text, &Font3D(), r, DT_EXPANDTABS, -1, false, false, font());
        if (TextBesideGlyph(m_layout.AlignText2Glyph()))
            h = std::max(h, r.Bottom);
        else
            h = stacked + r.Bottom;
    }
    height = height < h ? h : ItemHeight();
}

bool TWLXCustomDerivedImageListBox::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name == QLatin1String("DefaultItem") || name == QLatin1String("Delimiter") ||
        name == QLatin1String("Options")) {
        reader.SkipValue();
        return true;
    }
    return false;
}
