#include "widgets/BitmapList.h"

#include "platform/Filer.h"
#include "widgets/Bitmaps.h"
#include "widgets/BmpFile.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/WLXBase.h"

#include <QFileInfo>

namespace {

std::function<QImage(int)>& ResourceLoader()
{
    static std::function<QImage(int)> loader;
    return loader;
}

const char* const kPrefixNames[] = {"ppWindows", "ppSystem", "ppProgram", "ppFixed"};

// The single picture file of an item: the folder, the first three characters of the list's
// file name, the identifier and ".bmp".
QString NumberedFile(const QString& folder, const QString& fileName, int ident)
{
    const QString base = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                                : folder + QLatin1Char('/');
    return base + QFileInfo(fileName).fileName().left(3) + QString::number(ident) +
           QStringLiteral(".bmp");
}

} // namespace

void SetBitmapResourceLoader(std::function<QImage(int ident)> loader)
{
    ResourceLoader() = std::move(loader);
}

// ---- item -----------------------------------------------------------------------------------

void TWLXBitmapListItem::SetBitmap(const QImage& bitmap)
{
    m_bitmap = bitmap;
    Change();
}

const QImage& TWLXBitmapListItem::GetBitmap()
{
    if (m_bitmap.isNull())
        LoadFromSource();
    return m_bitmap;
}

void TWLXBitmapListItem::LoadFromSource()
{
    TWLXCustomContainer* list = Owner();
    if (!list || list->Loading || list->Source == 0)
        return;
    // Loading on demand is no change the clients need to hear of.
    BeginUpdate();
    const QString fixedFolder = QFileInfo(list->FileName).path() + QLatin1Char('/');
    const bool fixed = list->FilePrefix == TWLXPathPrefix::ppFixed;
    try {
        switch (list->Source) {
        case 1: {
            TWLXBitmapListItem stored;
            LoadItemFromFile(PrefixFolder(list->FilePrefix, true) + list->FileName, ctBitmapList,
                             nullptr, stored, Ident);
            m_bitmap = stored.m_bitmap;
            break;
        }
        case 2:
            if (ResourceLoader())
                m_bitmap = ResourceLoader()(Ident);
            break;
        case 3:
            if (fixed || list->FilePrefix == TWLXPathPrefix::ppProgram)
                ProbeLibrary(NumberedFile(fixed ? fixedFolder : PrefixFolder(list->FilePrefix, false),
                                          list->FileName, Ident));
            else
                ProbeLibrary(list->FileName);
            break;
        case 4:
            m_bitmap = QImage(NumberedFile(fixed ? fixedFolder : PrefixFolder(list->FilePrefix, false),
                                           list->FileName, Ident));
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // A picture that cannot be found stays empty.
    }
    EndUpdate(false);
}

uint8_t TWLXBitmapListItem::GetHeaderFlags() const
{
    uint8_t flags = TWLXListItem::GetHeaderFlags();
    if (!IsEmpty())
        flags |= kItemHasData;
    return flags | PixelFormatFlag(PixelFormat);
}

void TWLXBitmapListItem::SaveData(TWriter& writer) const
{
    WriteHeader(writer);
    if (!IsEmpty())
        WriteItemData(writer, BitmapFileImage(m_bitmap, SaveColorCount(PixelFormat)), Compressed);
}

void TWLXBitmapListItem::LoadData(TReader& reader)
{
    const uint8_t flags = ReadHeader(reader);
    PixelFormat = PixelFormatOfFlags(flags);
    m_bitmap = (flags & kItemHasData)
                   ? ReadBitmapFileImage(ReadItemData(reader, Compressed, kMaxItemData))
                   : QImage();
}

void TWLXBitmapListItem::Assign(const TWLXListItem& source)
{
    TWLXListItem::Assign(source);
    if (auto* other = dynamic_cast<const TWLXBitmapListItem*>(&source)) {
        m_bitmap = const_cast<TWLXBitmapListItem*>(other)->GetBitmap();
        PixelFormat = other->PixelFormat;
    }
    Change();
}

// ---- list -----------------------------------------------------------------------------------

std::unique_ptr<TWLXListItem> TWLXBitmapList::NewItem() const
{
    return std::make_unique<TWLXBitmapListItem>();
}

TWLXBitmapListItem* TWLXBitmapList::Item(int listIndex) const
{
    return listIndex >= 0 && listIndex < Count() ? static_cast<TWLXBitmapListItem*>(Items(listIndex))
                                                 : nullptr;
}

const QImage* TWLXBitmapList::Picture(int listIndex) const
{
    TWLXBitmapListItem* item = Item(listIndex);
    return item ? &item->GetBitmap() : nullptr;
}

const QImage* TWLXBitmapList::GetStripBitmap(int listIndex) const
{
    return Picture(listIndex);
}

TWLXRect TWLXBitmapList::GetImageRect(int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    return picture ? TWLXRect{0, 0, picture->width(), picture->height()} : TWLXRect{};
}

int TWLXBitmapList::GetImageSize(int listIndex, int kind) const
{
    const QImage* picture = Picture(listIndex);
    if (!picture)
        return 0;
    return kind == 0 ? picture->width() : kind == 1 ? picture->height() : 0;
}

int TWLXBitmapList::ImageCount(int listIndex) const
{
    const QImage* picture = Picture(listIndex);
    return picture && !picture->isNull() ? 1 : 0;
}

bool TWLXBitmapList::IsValidIndex(int listIndex, int) const
{
    return ImageCount(listIndex) == 1;
}

void TWLXBitmapList::GetBitmap(int listIndex, int, QImage* bitmap) const
{
    const QImage* picture = Picture(listIndex);
    if (bitmap && picture && !picture->isNull())
        *bitmap = *picture;
}

int32_t TWLXBitmapList::GetTransparentColor(int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    return picture && !picture->isNull() ? TransparentColorOf(*picture) : 0xFFFFFF;
}

int32_t TWLXBitmapList::GetPixel(QPoint point, int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    if (!picture || !picture->rect().contains(point))
        return 0xFFFFFF;
    return QColorToTColor(picture->pixelColor(point));
}

void TWLXBitmapList::Draw(TCanvas& canvas, int x, int y, int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    if (picture && !picture->isNull())
        DrawBitmap(canvas, {x, y, x + picture->width(), y + picture->height()}, *picture, 0, 0);
}

TWLXRect TWLXBitmapList::DrawInRect(TCanvas& canvas, const TWLXRect& rect, unsigned flags,
                                    int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    if (!picture || picture->isNull())
        return {};
    return DrawBitmap(canvas, rect, *picture, TransparentColorOf(*picture), flags);
}

void TWLXBitmapList::DrawClipped(TCanvas& canvas, const TWLXRect& rect, unsigned flags,
                                 int clipOffset, int32_t color, int listIndex, int) const
{
    const QImage* picture = Picture(listIndex);
    if (picture && !picture->isNull())
        DrawBitmapRect(canvas, rect, *picture, color, clipOffset, flags);
}

void TWLXBitmapList::Assign(const TWLXCustomContainer& source)
{
    TWLXUpdateScope update(*this);
    TWLXCustomImageList::Assign(source);
    const auto& other = static_cast<const TWLXBitmapList&>(source);
    FilePrefix = other.FilePrefix;
    Source = other.Source;
    FileName = other.FileName;
}

void TWLXBitmapList::WriteProperties(TWLXComponentWriter& writer) const
{
    TWLXCustomImageList::WriteProperties(writer);
    if (!FileName.isEmpty())
        writer.WriteString(QStringLiteral("FileName"), FileName);
    if (FilePrefix != TWLXPathPrefix::ppProgram)
        writer.WriteIdent(QStringLiteral("FilePrefix"), QString::fromLatin1(kPrefixNames[int(FilePrefix)]));
    if (Source != 0)
        writer.WriteInteger(QStringLiteral("Source"), Source);
}

bool TWLXBitmapList::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name == QLatin1String("FileName")) {
        FileName = reader.ReadString();
    } else if (name == QLatin1String("FilePrefix")) {
        const QString ident = reader.ReadIdent();
        for (int i = 0; i < 4; ++i)
            if (ident.compare(QLatin1String(kPrefixNames[i]), Qt::CaseInsensitive) == 0)
                FilePrefix = TWLXPathPrefix(i);
    } else if (name == QLatin1String("Source")) {
        const int32_t value = reader.ReadInteger();
        if (value < 0 || value > 4)
            throw EFilerError::invalidPropertyValue();
        Source = uint8_t(value);
    } else {
        return TWLXCustomImageList::ReadProperty(name, reader);
    }
    return true;
}
