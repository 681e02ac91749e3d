// Containers, their item headers, the container file and the component stream, shown with the
// image list, the simplest concrete container.

#include "StreamData.h"
#include "platform/Filer.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/ImageList.h"
#include "widgets/WLXErrors.h"

#include <QBuffer>
#include <QtEndian>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// An image list of two items: one image of red, then two of blue and green in 8 x 4.
void Fill(TWLXImageList& list)
{
    list.AddItem();
    auto* first = list.Item(0);
    const QImage red = SolidImage(16, 16, qRgb(255, 0, 0));
    first->Add(&red, nullptr);
    first->Description = QStringLiteral("first");
    auto second = std::make_unique<TWLXImageListItem>(8, 4);
    const QImage blue = SolidImage(8, 4, qRgb(0, 0, 255)), green = SolidImage(8, 4, qRgb(0, 255, 0));
    second->Add(&blue, nullptr);
    second->Add(&green, nullptr);
    second->Ident = 7;
    second->Compressed = true;
    list.AddItem(std::move(second));
}

TEST(ContainerTest, ItemHeaders)
{
    TWLXImageListItem item;
    item.Description = QStringLiteral("x");
    item.Ident = 7;
    const QByteArray header = Written([&](TWriter& w) { item.WriteHeader(w); });
    EXPECT_EQ(header.toHex(' '), QByteArray("06 01 78 07 00 00 00"));

    item.Description = QString(300, QLatin1Char('d'));
    item.Ident = 0;
    item.Compressed = true;
    const QByteArray longHeader = Written([&](TWriter& w) { item.WriteHeader(w); });
    EXPECT_EQ(longHeader.left(2).toHex(' '), QByteArray("03 ff"));
    EXPECT_EQ(longHeader.size(), 2 + 255);

    // Reading clears what the flags leave out.
    TWLXImageListItem read;
    read.Description = QStringLiteral("old");
    read.Ident = 9;
    ReadFrom(QByteArray(1, '\0'), [&](TReader& r) { EXPECT_EQ(read.ReadHeader(r), 0); });
    EXPECT_TRUE(read.Description.isEmpty());
    EXPECT_EQ(read.Ident, 0);
}

TEST(ContainerTest, StreamsWithAndWithoutIndex)
{
    TWLXImageList empty;
    EXPECT_EQ(Written([&](TWriter& w) { empty.SaveToStream(w, true); }).toHex(' '),
              QByteArray("00 00 00 00"));

    TWLXImageList list;
    Fill(list);
    const QByteArray plain = Written([&](TWriter& w) { list.SaveToStream(w, false); });
    const QByteArray indexed = Written([&](TWriter& w) { list.SaveToStream(w, true); });
    EXPECT_EQ(indexed.size(), plain.size() + 8);
    // The offsets point at the items' flag bytes.
    const int32_t second = qFromLittleEndian<int32_t>(indexed.constData() + 8);
    EXPECT_EQ(qFromLittleEndian<int32_t>(indexed.constData() + 4), 12);
    EXPECT_EQ(uint8_t(indexed[second]), 0x05);  // compressed, identifier

    for (bool withIndex : {false, true}) {
        TWLXImageList copy;
        ReadFrom(withIndex ? indexed : plain, [&](TReader& r) { copy.LoadFromStream(r, withIndex); });
        ASSERT_EQ(copy.Count(), 2);
        EXPECT_EQ(copy.Item(0)->Description, QStringLiteral("first"));
        EXPECT_EQ(copy.ImageCount(1), 2);
        EXPECT_EQ(copy.Item(1)->Ident, 7);
        EXPECT_EQ(copy.GetPixel({1, 1}, 1, 1), 0x00FF00);
    }
}

TEST(ContainerTest, AssignCopiesItemsAndRefusesOtherClasses)
{
    TWLXImageList source, target;
    Fill(source);
    source.DefaultCompressed = true;
    int changes = 0;
    target.OnChange = [&](void*) { ++changes; };
    target.AddItem();
    changes = 0;
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Count(), 2);
    EXPECT_TRUE(target.DefaultCompressed);
    EXPECT_EQ(target.GetPixel({0, 0}, 1, 0), 0xFF0000);

    class TOtherList : public TWLXImageList {
    public:
        QString ClassName() const override { return QStringLiteral("TOtherList"); }
    } other;
    EXPECT_THROW(target.Assign(other), EInvalidOperation);
    EXPECT_EQ(target.Count(), 2);
}

TEST(ContainerTest, ItemChangesReachTheListsClients)
{
    TWLXImageList list;
    Fill(list);
    TWLXChangeLink link;
    int told = 0;
    link.OnChange = [&](void*) { ++told; };
    list.AddLink(&link);
    const QImage white = SolidImage(16, 16, qRgb(255, 255, 255));
    list.Item(0)->Replace(0, &white, nullptr);
    EXPECT_EQ(told, 1);
}

TEST(ContainerTest, ContainerFiles)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("pictures.iml"));
    TWLXImageList list;
    Fill(list);
    ASSERT_TRUE(list.SaveToFile(name));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.left(13).toHex(' '), QByteArray("08 57 4c 58 49 4d 4c 33 30 02 00 00 00"));

    int count = 0;
    std::vector<int32_t> offsets;
    EXPECT_EQ(ReadContainerIndex(name, &count, &offsets), ctImageList);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(offsets.size(), 2u);
    EXPECT_EQ(offsets[0], 9 + 4 + 8);

    TWLXImageListItem item;
    EXPECT_TRUE(LoadItemFromFile(name, ctImageList, nullptr, item, 1));
    EXPECT_EQ(item.Count(), 2);
    EXPECT_EQ(item.Width(), 8);
    try {
        LoadItemFromFile(name, ctBitmapList, nullptr, item, 0);
        ADD_FAILURE();
    } catch (const EWLXError& e) {
        EXPECT_EQ(QString::fromStdString(e.what()),
                  QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(name));
    }

    // Unknown signatures and damaged indexes.
    auto write = [&](const QByteArray& data) {
        QFile f(name);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(data);
    };
    write(QByteArray("\x08WLXXXX30\x01\0\0\0\x0f\0\0\0", 17));
    offsets = {5};
    EXPECT_EQ(ReadContainerIndex(name, &count, &offsets), ctUnknown);
    EXPECT_EQ(count, -1);
    const QByteArray damaged[] = {
        ContainerSignature(ctImageList) + QByteArray("\x7f\0\0\0", 4),           // count past the end
        ContainerSignature(ctImageList) + QByteArray("\x01\0\0\0\xff\0\0\0\x00", 9),  // offset past the end
        ContainerSignature(ctImageList) + QByteArray("\x01\0\0\0\x02\0\0\0\x00", 9),  // offset inside the index
    };
    for (const QByteArray& d : damaged) {
        write(d);
        EXPECT_THROW(ReadContainerIndex(name, &count, &offsets), EDamagedData);
    }
    EXPECT_THROW(ReadContainerIndex(dir.filePath(QStringLiteral("missing.iml")), &count, &offsets),
                 EWLXError);
}

TEST(ContainerTest, FileExtensions)
{
    const char* expected[] = {".iml", ".bmp", ".wav", ".txt", ".*", ".rtf"};
    for (int type = 0; type < 6; ++type)
        EXPECT_EQ(ContainerFileExtension(type, true), QString::fromLatin1(expected[type]));
    EXPECT_EQ(ContainerFileExtension(2, false), QStringLiteral("wav"));
    EXPECT_TRUE(ContainerFileExtension(9, true).isEmpty());
    EXPECT_TRUE(ContainerFileExtension(-1, false).isEmpty());
}

TEST(ContainerTest, ComponentStreams)
{
    TWLXImageList list;
    list.Name = QStringLiteral("Pics");
    list.DefaultPixelFormat = TWLXSavePixelFormat::spf8bit;
    list.AddItem();
    const QByteArray stream = Written([&](TWriter& w) {
        TWLXComponentWriter writer(w);
        writer.WriteSignature();
        list.WriteComponent(writer);
    });
    const QByteArray expected =
        QByteArray("TPF0") + "\x0dTWLXImageList" + "\x04Pics" +
        "\x12" "DefaultPixelFormat" + "\x07\x07spf8bit" + QByteArray(1, '\0') +
        "\x11TWLXImageListItem" + QByteArray(1, '\0') +
        "\x08Internal" + "\x0a" + QByteArray("\x12\0\0\0", 4) +
        // Header, Height, Width, AllocBy, Masked, no images.
        QByteArray("\x00\x10\0\0\0\x10\0\0\0\x04\0\0\0\x00\0\0\0\0", 18) +
        QByteArray(3, '\0');
    EXPECT_EQ(stream.toHex(' '), expected.toHex(' '));

    // Read back, with a property and a child of unknown kinds passed over.
    TWLXImageList copy;
    ReadFrom(stream, [&](TReader& r) {
        TWLXComponentReader reader(r);
        reader.ReadSignature();
        copy.ReadComponent(reader);
    });
    EXPECT_EQ(copy.Name, QStringLiteral("Pics"));
    EXPECT_EQ(copy.DefaultPixelFormat, TWLXSavePixelFormat::spf8bit);
    EXPECT_EQ(copy.Count(), 1);

    QByteArray extra = stream;
    const int childAt = int(stream.indexOf("\x11TWLXImageListItem"));
    extra.insert(childAt - 1, QByteArray("\x03" "Tag" "\x02\x05", 6));
    extra.insert(extra.size() - 1, QByteArray("\x06TOther\x00\x00\x00", 10));
    TWLXImageList tolerant;
    ReadFrom(extra, [&](TReader& r) {
        TWLXComponentReader reader(r);
        reader.ReadSignature();
        tolerant.ReadComponent(reader);
    });
    EXPECT_EQ(tolerant.Count(), 1);

    for (int cut = 4; cut < stream.size(); cut += 7) {
        TWLXImageList cutShort;
        ReadFrom(stream.left(cut), [&](TReader& r) {
            TWLXComponentReader reader(r);
            reader.ReadSignature();
            EXPECT_THROW(cutShort.ReadComponent(reader), EFilerError) << cut;
        });
    }
}

} // namespace
