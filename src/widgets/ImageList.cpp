#include "widgets/ImageList.h"

#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "widgets/Bitmaps.h"
#include "widgets/BmpFile.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/WLXErrors.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMaxStripWidth = 32768;
const char* const kFormatNames[] = {"spfDefault", "spfMono", "spf4bit", "spf8bit", "spf16bit"};

// Copies src of source into dest at `at` unchanged.
void Blit(QImage& dest, QPoint at, const QImage& source, const QRect& src)
{
    QPainter p(&dest);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, source, src);
}

// The masked compose of the platform: the mask ANDed onto the destination, then the image ORed.
void ComposeMasked(QPainter& p, QPoint at, const QImage& image, const QImage& mask, const QRect& src)
{
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(at, mask, src);
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(at, image, src);
    p.restore();
}

// The image where the mask is black, transparent where it is white.
QImage CutOut(const QImage& image, const QImage& mask, const QRect& src)
{
    QImage out = image.copy(src).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qGray(mask.pixel(src.x() + x, src.y() + y)) >= 128)
                out.setPixel(x, y, 0);
    return out;
}

} // namespace

uint8_t PixelFormatFlag(TWLXSavePixelFormat format)
{
    return format == TWLXSavePixelFormat::spfDefault ? 0 : uint8_t(0x08 << int(format));
}

TWLXSavePixelFormat PixelFormatOfFlags(uint8_t flags)
{
    for (int f = 4; f >= 1; --f)
        if (flags & (0x08 << f))
            return TWLXSavePixelFormat(f);
    return TWLXSavePixelFormat::spfDefault;
}

QString SavePixelFormatName(TWLXSavePixelFormat format)
{
    return QString::fromLatin1(kFormatNames[int(format)]);
}

bool SavePixelFormatFromName(const QString& name, TWLXSavePixelFormat* format)
{
    for (int i = 0; i < 5; ++i)
        if (name.compare(QLatin1String(kFormatNames[i]), Qt::CaseInsensitive) == 0) {
            *format = TWLXSavePixelFormat(i);
            return true;
        }
    return false;
}

// ---- custom image list ----------------------------------------------------------------------

void TWLXCustomImageList::Assign(const TWLXCustomContainer& source)
{
    TWLXUpdateScope update(*this);
    TWLXCustomContainer::Assign(source);
    DefaultPixelFormat = static_cast<const TWLXCustomImageList&>(source).DefaultPixelFormat;
}

void TWLXCustomImageList::WriteProperties(TWLXComponentWriter& writer) const
{
    TWLXCustomContainer::WriteProperties(writer);
    if (DefaultPixelFormat != TWLXSavePixelFormat::spfDefault)
        writer.WriteIdent(QStringLiteral("DefaultPixelFormat"), SavePixelFormatName(DefaultPixelFormat));
}

bool TWLXCustomImageList::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name == QLatin1String("DefaultPixelFormat")) {
        TWLXSavePixelFormat format;
        if (!SavePixelFormatFromName(reader.ReadIdent(), &format))
            throw EFilerError::invalidPropertyValue();
        DefaultPixelFormat = format;
        return true;
    }
    return TWLXCustomContainer::ReadProperty(name, reader);
}

// ---- image list item ------------------------------------------------------------------------

TWLXImageListItem::TWLXImageListItem(int width, int height)
{
    if (width < 1 || height < 1)
        throw EInvalidGraphicOperation(InvalidImageSizeText());
    m_width = width;
    m_height = height;
}

void TWLXImageListItem::SetWidth(int value)
{
    if (value < 1 || value == m_width)
        return;
    m_width = value;
    ClearImages();
    Change();
}

void TWLXImageListItem::SetHeight(int value)
{
    if (value < 1 || value == m_height)
        return;
    m_height = value;
    ClearImages();
    Change();
}

QImage TWLXImageListItem::NewMask(int width) const
{
    if (width <= 0)
        return QImage();
    QImage mask(width, m_height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    return mask;
}

void TWLXImageListItem::SetMasked(bool value)
{
    if (value == m_masked)
        return;
    m_masked = value;
    m_maskStrip = value ? NewMask(m_strip.width()) : QImage();
    const size_t count = m_records.size();
    m_records.clear();
    for (size_t i = 0; i < count; ++i)
        m_records.push_back({int16_t(i * size_t(m_width)), uint8_t(value), 0});
    Change();
}

bool TWLXImageListItem::ImageHasMask(int index) const
{
    return index >= 0 && index < Count() && m_records[size_t(index)].hasMask;
}

int TWLXImageListItem::ImageOffset(int index) const
{
    return index >= 0 && index < Count() ? uint16_t(m_records[size_t(index)].offset) : -1;
}

bool TWLXImageListItem::CheckImageSize(const QImage* bitmap) const
{
    if (!bitmap || bitmap->isNull())
        return false;
    if (bitmap->height() == m_height && bitmap->width() % m_width == 0)
        return true;
    throw EInvalidGraphicOperation(InvalidImageSizeText());
}

void TWLXImageListItem::WidenStrips(int width)
{
    if (width > kMaxStripWidth)
        throw EInvalidGraphicOperation(TooManyImagesText());
    QImage strip(width, m_height, QImage::Format_RGB32);
    strip.fill(Qt::white);
    if (!m_strip.isNull())
        Blit(strip, QPoint(0, 0), m_strip, m_strip.rect());
    m_strip = strip;
    if (m_masked) {
        QImage mask = NewMask(width);
        if (!m_maskStrip.isNull())
            Blit(mask, QPoint(0, 0), m_maskStrip, m_maskStrip.rect());
        m_maskStrip = mask;
    }
}

int TWLXImageListItem::AllocImage()
{
    const int used = m_stripUsed + m_width;
    if (m_strip.width() < used)
        WidenStrips(m_strip.width() + std::max(AllocBy, 1) * m_width);
    m_stripUsed = used;
    m_records.push_back({int16_t(m_width * Count()), 0, 0});
    return Count() - 1;
}

int TWLXImageListItem::Add(const QImage* image, const QImage* mask)
{
    if (!image && !mask)
        return AllocImage();
    if (!CheckImageSize(image))
        return -1;
    if (m_masked && mask && !CheckImageSize(mask))
        return -1;
    const int index = AllocImage();
    Replace(index, image, mask);
    return index;
}

void TWLXImageListItem::Replace(int index, const QImage* image, const QImage* mask)
{
    if (index < 0 || index >= Count() || !CheckImageSize(image))
        return;
    if (m_masked && mask)
        CheckImageSize(mask);
    const int x = ImageOffset(index);
    Blit(m_strip, QPoint(x, 0), *image, QRect(0, 0, m_width, m_height));
    if (m_masked) {
        m_records[size_t(index)].hasMask = mask != nullptr;
        if (m_maskStrip.width() < m_strip.width())
            m_maskStrip = NewMask(m_strip.width());
        if (mask) {
            // Monochrome: white stays white (transparent), everything else is black.
            QImage mono = mask->copy(0, 0, m_width, m_height).convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < mono.height(); ++y)
                for (int mx = 0; mx < mono.width(); ++mx)
                    mono.setPixel(mx, y, (mono.pixel(mx, y) & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFF : 0xFF000000);
            Blit(m_maskStrip, QPoint(x, 0), mono, mono.rect());
        } else {
            QPainter p(&m_maskStrip);
            p.fillRect(QRect(x, 0, m_width, m_height), Qt::black);
        }
    }
    Change();
}

void TWLXImageListItem::ReplaceMasked(int index, const QImage& bitmap, int32_t transparentColor)
{
    if (!m_masked) {
        Replace(index, &bitmap, nullptr);
        return;
    }
    QImage mask, image;
    SplitImageMask(bitmap, mask, image, transparentColor);
    Replace(index, &image, &mask);
}

void TWLXImageListItem::ClearImages()
{
    m_strip = QImage();
    m_maskStrip = QImage();
    m_stripUsed = 0;
    m_records.clear();
}

void TWLXImageListItem::AddImagesFrom(const TWLXImageListItem& other)
{
    if (other.m_width != m_width || other.m_height != m_height)
        throw EInvalidGraphicOperation(InvalidImageSizeText());
    if (other.m_records.empty())
        return;
    TWLXUpdateScope update(*this);
    {
        const int needed = m_stripUsed + other.m_stripUsed;
        if (m_strip.width() < needed)
            WidenStrips(needed);
        const QRect used(0, 0, other.m_stripUsed, m_height);
        Blit(m_strip, QPoint(m_stripUsed, 0), other.m_strip, used);
        if (m_masked && other.m_masked)
            Blit(m_maskStrip, QPoint(m_stripUsed, 0), other.m_maskStrip, used);
        for (const TImageRecord& r : other.m_records)
            m_records.push_back({int16_t(m_width * Count()), r.hasMask, r.extra});
        m_stripUsed = needed;
    }
}

void TWLXImageListItem::Assign(const TWLXListItem& source)
{
    const auto* other = dynamic_cast<const TWLXImageListItem*>(&source);
    if (!other) {
        TWLXListItem::Assign(source);
        return;
    }
    if (other == this)
        return;
    TWLXListItem::Assign(source);
    PixelFormat = other->PixelFormat;
    AllocBy = other->AllocBy;
    BkColor = other->BkColor;
    BlendColor = other->BlendColor;
    DrawingStyle = other->DrawingStyle;
    ImageType = other->ImageType;
    ShareImages = other->ShareImages;
    m_width = other->m_width;
    m_height = other->m_height;
    m_masked = other->m_masked;
    ClearImages();
    AddImagesFrom(*other);
}

void TWLXImageListItem::Draw(TCanvas& canvas, int x, int y, int imageIndex) const
{
    QPainter* p = canvas.Painter();
    if (!p || imageIndex < 0 || imageIndex >= Count())
        return;
    const QPoint at = canvas.LPtoDP(QPoint(x, y));
    const QRect slot(ImageOffset(imageIndex), 0, m_width, m_height);
    if (!m_masked || ImageType == 1) {
        p->drawImage(at, m_masked ? m_maskStrip : m_strip, slot);
        return;
    }
    const bool checker = DrawingStyle <= 1 && BlendColor != clNone;
    if ((DrawingStyle == 2 && BkColor == clNone) || DrawingStyle == 3) {
        ComposeMasked(*p, at, m_strip, m_maskStrip, slot);
        return;
    }
    QImage off;
    if (BkColor == clNone) {
        off = CutOut(m_strip, m_maskStrip, slot);
    } else {
        off = QImage(m_width, m_height, QImage::Format_RGB32);
        off.fill(TColorToQColor(BkColor));
        QPainter op(&off);
        ComposeMasked(op, QPoint(0, 0), m_strip, m_maskStrip, slot);
    }
    if (checker) {
        const QRgb blend = TColorToQColor(BlendColor).rgba();
        for (int cy = 0; cy < m_height; ++cy)
            for (int cx = 0; cx < m_width; ++cx) {
                const bool set = DrawingStyle == 1 ? (cx + cy) % 2 == 1 : (cx % 2 == 0 || cy % 2 == 0);
                if (set)
                    off.setPixel(cx, cy, blend);
            }
    }
    p->drawImage(at, off);
}

uint8_t TWLXImageListItem::GetHeaderFlags() const
{
    return TWLXListItem::GetHeaderFlags() | PixelFormatFlag(PixelFormat);
}

void TWLXImageListItem::SaveData(TWriter& writer) const
{
    WriteHeader(writer);
    writer.WriteRawInt32(m_height);
    writer.WriteRawInt32(m_width);
    writer.WriteRawInt32(AllocBy);
    writer.WriteRawByte(m_masked ? 1 : 0);
    SaveImageData(writer);
}

void TWLXImageListItem::SaveImageData(TWriter& writer) const
{
    writer.WriteRawInt32(Count());
    if (m_records.empty())
        return;
    const QRect used(0, 0, Count() * m_width, m_height);
    WriteItemData(writer, BitmapFileImage(m_strip.copy(used), SaveColorCount(PixelFormat)), Compressed);
    if (m_masked)
        WriteItemData(writer, BitmapFileImage(m_maskStrip.copy(used), 2), Compressed);
}

void TWLXImageListItem::LoadData(TReader& reader)
{
    const uint8_t flags = ReadHeader(reader);
    PixelFormat = PixelFormatOfFlags(flags);
    const int32_t height = reader.ReadRawInt32();
    const int32_t width = reader.ReadRawInt32();
    const int32_t allocBy = reader.ReadRawInt32();
    const uint8_t masked = reader.ReadRawByte();
    if (height < 1 || height > kMaxStripWidth || width < 1 || width > kMaxStripWidth)
        throw EDamagedData();
    ClearImages();
    m_height = height;
    m_width = width;
    AllocBy = allocBy;
    m_masked = masked != 0;
    LoadImageData(reader);
}

void TWLXImageListItem::LoadImageData(TReader& reader)
{
    ClearImages();
    const int32_t n = reader.ReadRawInt32();
    if (n < 0 || int64_t(n) * m_width > kMaxStripWidth)
        throw EDamagedData();
    if (n == 0)
        return;
    const int used = n * m_width;
    auto readStrip = [&]() {
        const QImage strip = ReadBitmapFileImage(ReadItemData(reader, Compressed, kMaxItemData));
        if (strip.width() < used || strip.height() != m_height)
            throw EDamagedData();
        return strip.width() == used ? strip : strip.copy(0, 0, used, m_height);
    };
    QImage strip = readStrip();
    // A masked item whose mask is missing shows its images opaque.
    QImage mask = m_masked ? (reader.AtEnd() ? NewMask(used) : readStrip()) : QImage();
    m_strip = strip;
    m_maskStrip = mask;
    m_stripUsed = used;
    for (int i = 0; i < n; ++i)
        m_records.push_back({int16_t(i * m_width), uint8_t(m_masked), 0});
}

void TWLXImageListItem::WriteProperties(TWLXComponentWriter& writer) const
{
    if (AllocBy != 4)
        writer.WriteInteger(QStringLiteral("AllocBy"), AllocBy);
    if (!Description.isEmpty())
        writer.WriteString(QStringLiteral("Description"), Description);
    if (m_masked)
        writer.WriteBoolean(QStringLiteral("Masked"), true);
    if (m_height != 16)
        writer.WriteInteger(QStringLiteral("Height"), m_height);
    if (m_width != 16)
        writer.WriteInteger(QStringLiteral("Width"), m_width);
    TWLXListItem::WriteProperties(writer);
}

bool TWLXImageListItem::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name == QLatin1String("AllocBy"))
        AllocBy = reader.ReadInteger();
    else if (name == QLatin1String("Description"))
        Description = reader.ReadString();
    else if (name == QLatin1String("Masked"))
        SetMasked(reader.ReadBoolean());
    else if (name == QLatin1String("Height"))
        SetHeight(reader.ReadInteger());
    else if (name == QLatin1String("Width"))
        SetWidth(reader.ReadInteger());
    else if (name == QLatin1String("Bitmap")) {
        QBuffer buffer;
        buffer.setData(reader.ReadBinary(kMaxContainerFile));
        buffer.open(QIODevice::ReadOnly);
        TReader data(buffer);
        LoadImageData(data);
    } else
        return TWLXListItem::ReadProperty(name, reader);
    return true;
}

// ---- image list -----------------------------------------------------------------------------

std::unique_ptr<TWLXListItem> TWLXImageList::NewItem() const
{
    return std::make_unique<TWLXImageListItem>();
}

TWLXImageListItem* TWLXImageList::Item(int listIndex) const
{
    return listIndex >= 0 && listIndex < Count() ? static_cast<TWLXImageListItem*>(Items(listIndex))
                                                 : nullptr;
}

const TWLXImageListItem* TWLXImageList::Slot(int listIndex, int imageIndex, TWLXRect* rect) const
{
    const TWLXImageListItem* item = Item(listIndex);
    if (!item || imageIndex < 0 || imageIndex >= item->Count())
        return nullptr;
    const int x = item->ImageOffset(imageIndex);
    *rect = {x, 0, x + item->Width(), item->Height()};
    return item;
}

const QImage* TWLXImageList::GetStripBitmap(int listIndex) const
{
    const TWLXImageListItem* item = Item(listIndex);
    return item ? &item->Strip() : nullptr;
}

TWLXRect TWLXImageList::GetImageRect(int listIndex, int imageIndex) const
{
    TWLXRect rect;
    Slot(listIndex, imageIndex, &rect);
    return rect;
}

int TWLXImageList::GetImageSize(int listIndex, int kind) const
{
    const TWLXImageListItem* item = Item(listIndex);
    if (!item)
        return 0;
    return kind == 0 ? item->Width() : kind == 1 ? item->Height() : 0;
}

int TWLXImageList::ImageCount(int listIndex) const
{
    const TWLXImageListItem* item = Item(listIndex);
    return item ? item->Count() : -1;
}

bool TWLXImageList::IsValidIndex(int listIndex, int imageIndex) const
{
    TWLXRect rect;
    return Slot(listIndex, imageIndex, &rect) != nullptr;
}

void TWLXImageList::GetBitmap(int listIndex, int imageIndex, QImage* bitmap) const
{
    TWLXRect rect;
    const TWLXImageListItem* item = Slot(listIndex, imageIndex, &rect);
    if (bitmap && item)
        *bitmap = item->Strip().copy(rect.ToQRect());
}

bool TWLXImageList::IsMasked(int listIndex) const
{
    const TWLXImageListItem* item = Item(listIndex);
    return item && item->Masked();
}

int32_t TWLXImageList::GetTransparentColor(int listIndex, int imageIndex) const
{
    TWLXRect rect;
    const TWLXImageListItem* item = Slot(listIndex, imageIndex, &rect);
    if (!item)
        return 0xFFFFFF;
    return QColorToTColor(item->Strip().pixelColor(rect.Left, rect.Bottom - 1));
}

int32_t TWLXImageList::GetPixel(QPoint point, int listIndex, int imageIndex) const
{
    TWLXRect rect;
    const TWLXImageListItem* item = Slot(listIndex, imageIndex, &rect);
    const QPoint at(rect.Left + point.x(), point.y());
    if (!item || !item->Strip().rect().contains(at))
        return 0xFFFFFF;
    return QColorToTColor(item->Strip().pixelColor(at));
}

void TWLXImageList::Draw(TCanvas& canvas, int x, int y, int listIndex, int imageIndex) const
{
    if (const TWLXImageListItem* item = Item(listIndex))
        item->Draw(canvas, x, y, imageIndex);
}

TWLXRect TWLXImageList::DrawInRect(TCanvas& canvas, const TWLXRect& rect, unsigned flags,
                                   int listIndex, int imageIndex) const
{
    TWLXRect slot;
    const TWLXImageListItem* item = Slot(listIndex, imageIndex, &slot);
    if (!item)
        return {};
    if (item->Masked())
        return DrawBitmapExt(canvas, rect, item->Strip(), &item->MaskStrip(), 0, flags | kBmpMasked, slot);
    return DrawBitmapExt(canvas, rect, item->Strip(), nullptr,
                         GetTransparentColor(listIndex, imageIndex), flags, slot);
}

void TWLXImageList::DrawClipped(TCanvas& canvas, const TWLXRect& rect, unsigned flags,
                                int clipOffset, int32_t color, int listIndex, int imageIndex) const
{
    TWLXRect slot;
    const TWLXImageListItem* item = Slot(listIndex, imageIndex, &slot);
    if (!item)
        return;
    if (item->Masked())
        DrawBitmapClipped(canvas, rect, item->Strip(), &item->MaskStrip(), 0, clipOffset,
                          flags | kBmpMasked, slot);
    else
        DrawBitmapClipped(canvas, rect, item->Strip(), nullptr, color, clipOffset, flags, slot);
}
