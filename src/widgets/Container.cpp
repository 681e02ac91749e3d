#include "widgets/Container.h"

#include "platform/Context.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/WLXErrors.h"

#include <QBuffer>

namespace {

const char* const kSignatures[] = {"WLXIML30", "WLXBML30", "WLXWVL30", "WLXSLL30", "WLXGLL50",
                                   "WLXRTL50"};
const char* const kExtensions[] = {"iml", "bmp", "wav", "txt", "*", "rtf"};
constexpr int kSignatureSize = 9;

// Sets a component's loading flag for a scope.
class TLoadingScope {
public:
    explicit TLoadingScope(TWLXCustomComponent& c) : m_c(c), m_was(c.Loading) { c.Loading = true; }
    ~TLoadingScope() { m_c.Loading = m_was; }

private:
    TWLXCustomComponent& m_c;
    bool m_was;
};

QByteArray ReadFileOrThrow(const QString& fileName)
{
    QByteArray bytes;
    QString error;
    if (!ReadWholeFile(fileName, kMaxContainerFile, &bytes, &error))
        throw EWLXError(error);
    return bytes;
}

// The type, count and offsets of a container file's bytes.
TWLXContainerType ReadIndex(const QByteArray& bytes, int* count, std::vector<int32_t>* offsets)
{
    *count = -1;
    const QByteArray signature = bytes.left(kSignatureSize);
    int type = ctUnknown;
    for (int t = 0; t < int(ctUnknown); ++t)
        if (signature == ContainerSignature(t))
            type = t;
    if (type == ctUnknown)
        return ctUnknown;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(kSignatureSize);
    TReader reader(buffer);
    const int32_t n = reader.ReadRawInt32();
    // Every item takes at least its flag byte after the table.
    if (n < 0 || int64_t(n) * 5 > reader.BytesLeft())
        throw EDamagedData();
    *count = n;
    if (offsets) {
        offsets->clear();
        const int64_t dataStart = kSignatureSize + 4 + int64_t(n) * 4;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t at = reader.ReadRawInt32();
            if (at < dataStart || at >= bytes.size())
                throw EDamagedData();
            offsets->push_back(at);
        }
    }
    return TWLXContainerType(type);
}

} // namespace

// ---- item -----------------------------------------------------------------------------------

uint8_t TWLXListItem::GetHeaderFlags() const
{
    uint8_t flags = 0;
    if (Compressed)
        flags |= kItemCompressed;
    if (!Description.isEmpty())
        flags |= kItemHasDescription;
    if (Ident != 0)
        flags |= kItemHasIdent;
    return flags;
}

void TWLXListItem::Assign(const TWLXListItem& source)
{
    Description = source.Description;
    Ident = source.Ident;
    Compressed = source.Compressed;
}

void TWLXListItem::WriteHeader(TWriter& writer) const
{
    const uint8_t flags = GetHeaderFlags();
    writer.WriteRawByte(flags);
    if (flags & kItemHasDescription)
        TWLXComponentWriter::WriteShortName(writer, Description);
    if (flags & kItemHasIdent)
        writer.WriteRawInt32(Ident);
}

uint8_t TWLXListItem::ReadHeader(TReader& reader)
{
    const uint8_t flags = reader.ReadRawByte();
    Compressed = flags & kItemCompressed;
    Description = (flags & kItemHasDescription) ? TWLXComponentReader::ReadShortName(reader)
                                                : QString();
    Ident = (flags & kItemHasIdent) ? uint16_t(reader.ReadRawInt32()) : 0;
    return flags;
}

void TWLXListItem::Change()
{
    TWLXCustomComponent::Change();
    if (m_owner && !InUpdate())
        m_owner->ItemChanged(this);
}

void TWLXListItem::WriteComponent(TWLXComponentWriter& writer) const
{
    writer.BeginComponent(ClassName(), QString());
    WriteProperties(writer);
    writer.EndProperties();
    writer.EndComponent();
}

void TWLXListItem::WriteProperties(TWLXComponentWriter& writer) const
{
    writer.WriteBinary(QStringLiteral("Internal"), [this](TWriter& w) { SaveData(w); });
}

bool TWLXListItem::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name != QLatin1String("Internal"))
        return false;
    QBuffer buffer;
    buffer.setData(reader.ReadBinary(kMaxContainerFile));
    buffer.open(QIODevice::ReadOnly);
    TReader data(buffer);
    LoadData(data);
    return true;
}

// ---- container ------------------------------------------------------------------------------

TWLXCustomContainer::~TWLXCustomContainer()
{
    // Clients hear nothing more from a container that goes away.
    OnChange = nullptr;
    BeginUpdate();
    m_items.clear();
}

void TWLXCustomContainer::ItemChanged(TWLXListItem* item)
{
    if (InUpdate() || Loading)
        return;
    if (OnChange)
        OnChange(item);
    const std::vector<TWLXChangeLink*> links = Links();
    for (TWLXChangeLink* link : links)
        link->Change();
}

int TWLXCustomContainer::AddItem(std::unique_ptr<TWLXListItem> item)
{
    if (!item)
        item = NewItem();
    item->m_owner = this;
    m_items.push_back(std::move(item));
    Change();
    return Count() - 1;
}

void TWLXCustomContainer::Clear()
{
    m_items.clear();
    Change();
}

void TWLXCustomContainer::AddItemsFrom(const TWLXCustomContainer& other)
{
    TWLXUpdateScope update(*this);
    for (const auto& source : other.m_items) {
        std::unique_ptr<TWLXListItem> item = NewItem();
        item->m_owner = this;
        item->Assign(*source);
        m_items.push_back(std::move(item));
    }
}

void TWLXCustomContainer::Assign(const TWLXCustomContainer& source)
{
    if (&source == this)
        return;
    if (source.ClassName() != ClassName())
        throw EInvalidOperation(Lang3Q("%1 kann nicht zu %2 zugewiesen werden",
                                       "Cannot assign a %1 to a %2",
                                       "Impossible d'affecter %1 à %2")
                                    .arg(source.ClassName(), ClassName()));
    TWLXUpdateScope update(*this);
    m_items.clear();
    DefaultCompressed = source.DefaultCompressed;
    AddItemsFrom(source);
}

void TWLXCustomContainer::SaveToStream(TWriter& writer, bool indexed) const
{
    QIODevice& device = writer.Device();
    writer.WriteRawInt32(Count());
    if (!indexed || m_items.empty()) {
        for (const auto& item : m_items)
            item->SaveData(writer);
        return;
    }
    const qint64 tableAt = device.pos();
    for (int i = 0; i < Count(); ++i)
        writer.WriteRawInt32(0);
    std::vector<qint64> positions;
    for (const auto& item : m_items) {
        positions.push_back(device.pos());
        item->SaveData(writer);
    }
    const qint64 end = device.pos();
    device.seek(tableAt);
    for (qint64 at : positions)
        writer.WriteRawInt32(int32_t(at));
    device.seek(end);
}

void TWLXCustomContainer::LoadFromStream(TReader& reader, bool indexed)
{
    TWLXUpdateScope update(*this);
    m_items.clear();
    const int32_t n = reader.ReadRawInt32();
    // Every item takes at least its flag byte (and its offset when indexed).
    if (n < 0 || int64_t(n) * (indexed ? 5 : 1) > reader.BytesLeft())
        throw EDamagedData();
    if (indexed && n > 0)
        reader.ReadBytes(int64_t(n) * 4);
    for (int32_t i = 0; i < n; ++i) {
        std::unique_ptr<TWLXListItem> item = NewItem();
        item->m_owner = this;
        TWLXListItem& added = *item;
        m_items.push_back(std::move(item));
        added.LoadData(reader);
    }
}

bool TWLXCustomContainer::SaveToFile(const QString& fileName, QString* error) const
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TWriter writer(buffer, true);
    writer.WriteBuffer(ContainerSignature(m_type).constData(), kSignatureSize);
    SaveToStream(writer, true);
    return WriteWholeFile(fileName, buffer.data(), error);
}

void TWLXCustomContainer::WriteComponent(TWLXComponentWriter& writer) const
{
    writer.BeginComponent(ClassName(), Name);
    WriteProperties(writer);
    writer.EndProperties();
    for (const auto& item : m_items)
        item->WriteComponent(writer);
    writer.EndComponent();
}

void TWLXCustomContainer::ReadComponent(TWLXComponentReader& reader)
{
    QString className, name, property;
    reader.ReadComponentHeader(&className, &name);
    if (className != ClassName())
        throw EDamagedData();
    TWLXUpdateScope update(*this);
    TLoadingScope loading(*this);
    Name = name;
    m_items.clear();
    while (reader.NextProperty(&property))
        if (!ReadProperty(property, reader))
            reader.SkipValue();
    const QString itemClass = NewItem()->ClassName();
    while (!reader.AtListEnd()) {
        reader.ReadComponentHeader(&className, &name);
        std::unique_ptr<TWLXListItem> item = className == itemClass ? NewItem() : nullptr;
        if (item)
            item->m_owner = this;
        while (reader.NextProperty(&property))
            if (!item || !item->ReadProperty(property, reader))
                reader.SkipValue();
        while (!reader.AtListEnd())
            reader.SkipComponent();
        if (item)
            m_items.push_back(std::move(item));
    }
}

void TWLXCustomContainer::WriteProperties(TWLXComponentWriter& writer) const
{
    if (DefaultCompressed)
        writer.WriteBoolean(QStringLiteral("DefaultCompressed"), true);
}

bool TWLXCustomContainer::ReadProperty(const QString& name, TWLXComponentReader& reader)
{
    if (name == QLatin1String("DefaultCompressed")) {
        DefaultCompressed = reader.ReadBoolean();
        return true;
    }
    return false;
}

// ---- container files ------------------------------------------------------------------------

QString ContainerFileExtension(int type, bool withDot)
{
    if (type < 0 || type >= int(ctUnknown))
        return QString();
    const QString ext = QString::fromLatin1(kExtensions[type]);
    return withDot ? QLatin1Char('.') + ext : ext;
}

QByteArray ContainerSignature(int type)
{
    if (type < 0 || type >= int(ctUnknown))
        return QByteArray();
    return QByteArray(1, char(8)) + QByteArray(kSignatures[type]);
}

TWLXContainerType ReadContainerIndex(const QString& fileName, int* count,
                                     std::vector<int32_t>* offsets)
{
    return ReadIndex(ReadFileOrThrow(fileName), count, offsets);
}

bool LoadItemFromFile(const QString& fileName, TWLXContainerType expectedType,
                      const std::vector<int32_t>* offsets, TWLXListItem& item, int index)
{
    const QByteArray bytes = ReadFileOrThrow(fileName);
    std::vector<int32_t> own;
    if (!offsets) {
        int count = -1;
        if (ReadIndex(bytes, &count, &own) != expectedType)
            throw EWLXError(CannotOpenFileText(fileName));
        offsets = &own;
    }
    if (index < 0 || index >= int(offsets->size()))
        throw EDamagedData();
    const int32_t at = (*offsets)[size_t(index)];
    if (at < 0 || at >= bytes.size())
        throw EDamagedData();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(at);
    TReader reader(buffer, true);
    item.LoadData(reader);
    return true;
}

bool ProbeLibrary(const QString& fileName)
{
    QString error;
    return LoadDynamicLibrary(fileName, &error) != nullptr;
}
