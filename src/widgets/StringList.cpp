#include "widgets/StringList.h"

#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "widgets/Compression.h"

#include <QRegularExpression>

// ---- string list ----------------------------------------------------------------------------

uint8_t TWLXStringListItem::GetHeaderFlags() const
{
    return TWLXListItem::GetHeaderFlags() | (IsEmpty() ? 0 : kItemHasData);
}

void TWLXStringListItem::SaveData(TWriter& writer) const
{
    WriteHeader(writer);
    if (IsEmpty())
        return;
    QString text;
    for (const QString& line : Items)
        text += line + QStringLiteral("\r\n");
    WriteItemData(writer, ToCp1252(text), Compressed);
}

void TWLXStringListItem::LoadData(TReader& reader)
{
    const uint8_t flags = ReadHeader(reader);
    Items.clear();
    if (!(flags & kItemHasData))
        return;
    const QString text = FromCp1252(ReadItemData(reader, Compressed, kMaxItemData));
    // Lines end with CR LF, LF or CR; a break at the end adds no empty line.
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\n|\r"));
    Items = text.split(kBreak);
    if (!text.isEmpty() && Items.size() > 1 && Items.last().isEmpty())
        Items.removeLast();
    if (text.isEmpty())
        Items.clear();
}

void TWLXStringListItem::Assign(const TWLXListItem& source)
{
    TWLXListItem::Assign(source);
    if (auto* other = dynamic_cast<const TWLXStringListItem*>(&source))
        Items = other->Items;
    Change();
}

QString TWLXStringList::ClassName() const
{
    return QStringLiteral("TWLXStringList");
}

std::unique_ptr<TWLXListItem> TWLXStringList::NewItem() const
{
    return std::make_unique<TWLXStringListItem>();
}

TWLXStringListItem* TWLXStringList::Item(int index) const
{
    return index >= 0 && index < Count() ? static_cast<TWLXStringListItem*>(Items(index)) : nullptr;
}

// ---- wave list ------------------------------------------------------------------------------

uint8_t TWLXWaveListItem::GetHeaderFlags() const
{
    return TWLXListItem::GetHeaderFlags() | (IsEmpty() ? 0 : kItemHasData);
}

void TWLXWaveListItem::SaveData(TWriter& writer) const
{
    WriteHeader(writer);
    if (!IsEmpty())
        Wave.WriteItem(writer, Compressed);
}

void TWLXWaveListItem::LoadData(TReader& reader)
{
    const uint8_t flags = ReadHeader(reader);
    if (flags & kItemHasData)
        Wave.ReadItem(reader, Compressed);
    else
        Wave.Clear();
}

void TWLXWaveListItem::Assign(const TWLXListItem& source)
{
    TWLXListItem::Assign(source);
    if (auto* other = dynamic_cast<const TWLXWaveListItem*>(&source))
        Wave.Assign(other->Wave);
    Change();
}

QString TWLXWaveList::ClassName() const
{
    return QStringLiteral("TWLXWaveList");
}

std::unique_ptr<TWLXListItem> TWLXWaveList::NewItem() const
{
    return std::make_unique<TWLXWaveListItem>();
}

TWLXWaveListItem* TWLXWaveList::Item(int index) const
{
    return index >= 0 && index < Count() ? static_cast<TWLXWaveListItem*>(Items(index)) : nullptr;
}
