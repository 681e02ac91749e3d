#include "widgets/ImageItems.h"

#include "platform/Canvas.h"
#include "widgets/BitmapList.h"
#include "widgets/GlyphTextLayout.h"

TWLXImageItems::TWLXImageItems(std::function<void()> changed, std::function<void()> repaint)
    : m_link([this] {
        if (m_changed)
            m_changed();
    })
    , m_changed(std::move(changed))
    , m_repaint(std::move(repaint))
{
}

void TWLXImageItems::SetDelimiter(QChar value)
{
    if (value == m_delimiter)
        return;
    m_delimiter = value;
    if (m_repaint)
        m_repaint();
}

void TWLXImageItems::SetDefaultItem(int value)
{
    if (value == m_defaultItem)
        return;
    m_defaultItem = value;
    if (m_repaint)
        m_repaint();
}

void TWLXImageItems::SetImageList(TWLXCustomImageList* list)
{
    if (list != m_link.List())
        m_link.SetList(list);
}

void TWLXImageItems::SetGlyphNumber(int value)
{
    if (value <= 0 || value > 255 || value == m_glyphNumber)
        return;
    m_glyphNumber = value;
    if (m_glyphColumn >= value)
        m_glyphColumn = value - 1;
    if (ImageList() && m_changed)
        m_changed();
}

void TWLXImageItems::SetGlyphColumn(int value)
{
    if (value < 0 || value >= m_glyphNumber || value == m_glyphColumn)
        return;
    m_glyphColumn = value;
    if (ImageList() && m_changed)
        m_changed();
}

bool TWLXImageItems::NoImages() const
{
    return !ImageList() || ImageList()->Count() == 0;
}

int TWLXImageItems::ImageCount() const
{
    if (NoImages())
        return 0;
    if (dynamic_cast<const TWLXBitmapList*>(ImageList()))
        return ImageList()->Count();
    return ImageList()->ImageCount(ListIndex());
}

QString TWLXImageItems::TextBefore(const QString& item, QChar delimiter)
{
    const qsizetype at = item.indexOf(delimiter);
    return at < 0 ? item : item.left(at);
}

QString TWLXImageItems::DisplayText(const QString& item) const
{
    return (Options & lboCheckImageNr) ? TextBefore(item, m_delimiter) : item;
}

int TWLXImageItems::ImageNumberOf(int index, int count, const QString& item) const
{
    if (NoImages())
        return -1;
    if (Options & lboImageListOrder)
        return index >= 0 && index < count && index < ImageCount() ? index : -1;
    const qsizetype at = item.indexOf(m_delimiter);
    if (at < 0)
        return m_defaultItem;
    bool ok = false;
    const int n = item.mid(at + 1, 255).toInt(&ok);
    return ok ? n : -1;
}

void TWLXImageItems::Address(int n, int* listIndex, int* imageIndex) const
{
    if (dynamic_cast<const TWLXBitmapList*>(ImageList())) {
        *listIndex = n;
        *imageIndex = 0;
    } else {
        *listIndex = ListIndex();
        *imageIndex = n;
    }
}

bool TWLXImageItems::ImageExists(int n) const
{
    if (n < 0 || NoImages())
        return false;
    int list = 0, image = 0;
    Address(n, &list, &image);
    return ImageList()->IsValidIndex(list, image);
}

int TWLXImageItems::ImageWidth(int n) const
{
    if (!ImageExists(n))
        return 0;
    int list = 0, image = 0;
    Address(n, &list, &image);
    const int w = ImageList()->GetImageSize(list, 0);
    return m_glyphNumber > 1 ? w / m_glyphNumber : w;
}

int TWLXImageItems::ImageHeight(int n) const
{
    if (!ImageExists(n))
        return 0;
    int list = 0, image = 0;
    Address(n, &list, &image);
    return ImageList()->GetImageSize(list, 1);
}

void TWLXImageItems::Draw(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                          const TWLXRect& dest, int n, const TWLXGlyphTextLayout& layout, unsigned format,
                          bool multiLine, unsigned state, const QFont& font) const
{
    if (!ImageExists(n)) {
        DrawGlyphText(canvas, text, caption, dest, nullptr, {}, nullptr, 0, false, layout, format, false,
                      multiLine, state, nullptr, font);
        return;
    }
    int list = 0, image = 0;
    Address(n, &list, &image);
    const QImage* strip = ImageList()->GetStripBitmap(list);
    TWLXRect source = ImageList()->GetImageRect(list, image);
    if (m_glyphNumber > 1) {
        // One column of the glyphs side by side; the whole image when it would reach outside.
        const int w = source.Width() / m_glyphNumber;
        const int left = source.Left + w * m_glyphColumn;
        if (w > 0 && left + w <= source.Right)
            source = {left, source.Top, left + w, source.Bottom};
    }
    const QImage* mask = nullptr;
    if (const auto* images = dynamic_cast<const TWLXImageList*>(ImageList()))
        if (ImageList()->IsMasked(list) && images->Item(list)->ImageHasMask(image))
            mask = &images->Item(list)->MaskStrip();
    const bool transparent = (Options & lboTransparentImages) || mask;
    DrawGlyphText(canvas, text, caption, dest, strip, source, mask, ImageList()->GetTransparentColor(list, image),
                  transparent, layout, format, false, multiLine, state, nullptr, font);
}
