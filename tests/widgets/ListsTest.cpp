// Bitmap, string and wave lists, the wave object and the global container.

#include "StreamData.h"
#include "platform/Filer.h"
#include "widgets/BmpFile.h"
#include "widgets/ComponentStream.h"
#include "widgets/Compression.h"
#include "widgets/GlobalContainer.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A wave file image: RIFF header, "fmt " chunk of 16 bytes (PCM, mono, 8000 Hz), 4 samples.
QByteArray WaveFile(const char* firstChunk = "fmt ")
{
    QByteArray out("RIFF");
    out += QByteArray("\x28\0\0\0", 4);
    out += "WAVE";
    out += firstChunk;
    out += QByteArray("\x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0", 20);
    out += "data";
    out += QByteArray("\x04\0\0\0\x80\x90\xa0\xb0", 8);
    return out;
}

TEST(ListsTest, ItemDataIsByteExact)
{
    TWLXStringListItem lines;
    lines.Items = {QStringLiteral("a"), QStringLiteral("bb"), QStringLiteral("ccc")};
    EXPECT_EQ(Written([&](TWriter& w) { lines.SaveData(w); }).toHex(' '),
              QByteArray("08 0c 00 00 00 61 0d 0a 62 62 0d 0a 63 63 63 0d 0a"));

    TWLXBitmapListItem emptyBitmap;
    emptyBitmap.PixelFormat = TWLXSavePixelFormat::spf4bit;
    EXPECT_EQ(Written([&](TWriter& w) { emptyBitmap.SaveData(w); }).toHex(' '), QByteArray("20"));
    TWLXWaveListItem emptyWave;
    emptyWave.Ident = 3;
    EXPECT_EQ(Written([&](TWriter& w) { emptyWave.SaveData(w); }).toHex(' '),
              QByteArray("04 03 00 00 00"));

    TWLXBitmapListItem bitmap;
    bitmap.SetBitmap(SolidImage(2, 1, qRgb(0x10, 0x20, 0x30)));
    bitmap.PixelFormat = TWLXSavePixelFormat::spfMono;
    const QByteArray bytes = Written([&](TWriter& w) { bitmap.SaveData(w); });
    EXPECT_EQ(uint8_t(bytes[0]), 0x18);
    EXPECT_EQ(bytes.mid(5), BitmapFileImage(bitmap.Bitmap(), 2));
}

TEST(ListsTest, ItemsRoundTrip)
{
    TWLXStringListItem lines;
    lines.Items = {QStringLiteral("Grüße"), QString(), QStringLiteral("end")};
    lines.Compressed = true;
    TWLXWaveListItem wave;
    wave.Wave.SetData(WaveFile());
    wave.Description = QStringLiteral("beep");
    TWLXBitmapListItem bitmap;
    bitmap.SetBitmap(SolidImage(3, 2, qRgb(1, 2, 3)));
    bitmap.PixelFormat = TWLXSavePixelFormat::spf8bit;
    bitmap.Compressed = true;

    TWLXStringListItem lines2;
    ReadFrom(Written([&](TWriter& w) { lines.SaveData(w); }), [&](TReader& r) { lines2.LoadData(r); });
    EXPECT_EQ(lines2.Items, lines.Items);
    TWLXWaveListItem wave2;
    ReadFrom(Written([&](TWriter& w) { wave.SaveData(w); }), [&](TReader& r) { wave2.LoadData(r); });
    EXPECT_EQ(wave2.Wave.Data(), WaveFile());
    EXPECT_EQ(wave2.Description, QStringLiteral("beep"));
    TWLXBitmapListItem bitmap2;
    ReadFrom(Written([&](TWriter& w) { bitmap.SaveData(w); }), [&](TReader& r) { bitmap2.LoadData(r); });
    EXPECT_EQ(bitmap2.PixelFormat, TWLXSavePixelFormat::spf8bit);
    EXPECT_EQ(bitmap2.Bitmap().pixel(2, 1), qRgb(1, 2, 3));

    // A header without data empties what the item held.
    ReadFrom(QByteArray(1, '\0'), [&](TReader& r) { lines2.LoadData(r); });
    ReadFrom(QByteArray(1, '\0'), [&](TReader& r) { wave2.LoadData(r); });
    ReadFrom(QByteArray(1, '\0'), [&](TReader& r) { bitmap2.LoadData(r); });
    EXPECT_TRUE(lines2.IsEmpty());
    EXPECT_TRUE(wave2.IsEmpty());
    EXPECT_TRUE(bitmap2.IsEmpty());
}

TEST(ListsTest, BitmapListAsImageList)
{
    TWLXBitmapList list;
    list.AddItem();
    static_cast<TWLXBitmapListItem*>(list.Items(0))->SetBitmap(SolidImage(5, 4, qRgb(0, 0, 255)));
    list.AddItem();
    EXPECT_EQ(list.ImageCount(0), 1);
    EXPECT_EQ(list.ImageCount(1), 0);
    EXPECT_EQ(list.ImageCount(2), 0);
    EXPECT_TRUE(list.IsValidIndex(0, 17));
    EXPECT_FALSE(list.IsValidIndex(1, 0));
    EXPECT_EQ(list.GetImageSize(0, 0), 5);
    EXPECT_EQ(list.GetImageSize(0, 1), 4);
    EXPECT_EQ(list.GetImageSize(5, 1), 0);
    EXPECT_EQ(list.GetImageRect(0, 9), (TWLXRect{0, 0, 5, 4}));
    EXPECT_EQ(list.GetTransparentColor(0, 0), 0xFF0000);
    EXPECT_EQ(list.GetTransparentColor(4, 0), 0xFFFFFF);
    EXPECT_EQ(list.GetPixel({6, 0}, 0, 0), 0xFFFFFF);
    EXPECT_FALSE(list.IsMasked(0));
}

TEST(ListsTest, BitmapListLoadsPicturesByItsSource)
{
    QTemporaryDir dir;
    // Source 1: item number Ident of a container file.
    TWLXBitmapList stored;
    for (QRgb c : {qRgb(255, 0, 0), qRgb(0, 255, 0)}) {
        stored.AddItem();
        static_cast<TWLXBitmapListItem*>(stored.Items(stored.Count() - 1))->SetBitmap(SolidImage(2, 2, c));
    }
    ASSERT_TRUE(stored.SaveToFile(dir.filePath(QStringLiteral("pics.bmp"))));
    // Source 4: single files named by the list's file name and the identifier.
    ASSERT_TRUE(SolidImage(3, 3, qRgb(9, 8, 7)).save(dir.filePath(QStringLiteral("pic12.bmp")), "BMP"));
    int asked = 0;
    SetBitmapResourceLoader([&](int ident) {
        ++asked;
        return ident == 5 ? SolidImage(1, 1, qRgb(1, 1, 1)) : QImage();
    });
    struct Case {
        uint8_t source;
        QString fileName;
        uint16_t ident;
        QSize size;
        QRgb pixel;
    } cases[] = {
        {1, dir.filePath(QStringLiteral("pics.bmp")), 1, {2, 2}, qRgb(0, 255, 0)},
        {2, QString(), 5, {1, 1}, qRgb(1, 1, 1)},
        {4, dir.filePath(QStringLiteral("picture.x")), 12, {3, 3}, qRgb(9, 8, 7)},
        {3, dir.filePath(QStringLiteral("lib.so")), 1, {0, 0}, 0},
        {0, QString(), 1, {0, 0}, 0},
    };
    for (const Case& c : cases) {
        TWLXBitmapList list;
        list.Source = c.source;
        list.FilePrefix = TWLXPathPrefix::ppFixed;
        list.FileName = c.fileName;
        list.AddItem();
        list.Items(0)->Ident = c.ident;
        int changes = 0;
        list.OnChange = [&](void*) { ++changes; };
        QImage picture;
        list.GetBitmap(0, 0, &picture);
        EXPECT_EQ(picture.size(), c.size) << int(c.source);
        if (!picture.isNull()) {
            EXPECT_EQ(picture.pixel(0, 0), c.pixel) << int(c.source);
        }
        EXPECT_EQ(changes, 0) << int(c.source);
    }
    EXPECT_EQ(asked, 1);
    SetBitmapResourceLoader(nullptr);
}

TEST(ListsTest, ListsInComponentStreams)
{
    TWLXStringList list;
    list.Name = QStringLiteral("Texts");
    list.AddItem();
    list.Item(0)->Items = {QStringLiteral("x")};
    const QByteArray stream = Written([&](TWriter& w) {
        TWLXComponentWriter writer(w);
        list.WriteComponent(writer);
    });
    EXPECT_EQ(stream.toHex(' '),
              (QByteArray("\x0eTWLXStringList\x05Texts") + QByteArray(1, '\0') +
               "\x12TWLXStringListItem" + QByteArray(1, '\0') + "\x08Internal\x0a" +
               QByteArray("\x08\0\0\0\x08\x03\0\0\0x\r\n", 12) + QByteArray(3, '\0'))
                  .toHex(' '));
    TWLXStringList copy;
    ReadFrom(stream, [&](TReader& r) {
        TWLXComponentReader reader(r);
        copy.ReadComponent(reader);
    });
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Item(0)->Items, QStringList{QStringLiteral("x")});
}

TEST(ListsTest, GlobalListNames)
{
    TWLXContainer& global = GlobalContainer();
    TWLXImageList mine;
    EXPECT_TRUE(IsGlobalList(&global.BitmapList));
    EXPECT_TRUE(IsGlobalList(&global.ImageList));
    EXPECT_FALSE(IsGlobalList(&mine));
    EXPECT_FALSE(IsGlobalList(nullptr));
    EXPECT_EQ(GlobalListName(&global.BitmapList), QStringLiteral("WLXBML30"));
    EXPECT_EQ(GlobalListName(&global.ImageList), QStringLiteral("WLXIML30"));
    EXPECT_TRUE(GlobalListName(&mine).isEmpty());
    EXPECT_EQ(GlobalListByName(QStringLiteral("WLXBML30")), &global.BitmapList);
    EXPECT_EQ(GlobalListByName(QStringLiteral("WLXIML30")), &global.ImageList);
    EXPECT_EQ(GlobalListByName(QStringLiteral("WLXSLL30")), nullptr);

    // While designing, another container's lists are copied into the global ones.
    TWLXContainer design;
    design.DesignMode = true;
    design.StringList.AddItem();
    EXPECT_EQ(global.StringList.Count(), 1);
    global.StringList.Clear();
}

TEST(WaveTest, OnlyWaveDataIsTaken)
{
    TWLXWave wave;
    wave.SetData(WaveFile());
    const QByteArray listFirst = WaveFile("LIST");
    const QByteArray shortHeader = WaveFile().left(30);
    for (const QByteArray& bad : {listFirst, shortHeader, QByteArray("RIFX")}) {
        EXPECT_THROW(ReadFrom(bad, [&](TReader& r) { wave.LoadFromStream(r); }), EInvalidWave);
        EXPECT_EQ(wave.Data(), WaveFile());
    }
    TWaveInfo info;
    ASSERT_TRUE(CheckWaveData(WaveFile(), &info));
    EXPECT_TRUE(info.Pcm);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.SampleRate, 8000u);
    EXPECT_EQ(info.BlockAlign, 1);

    ReadFrom(QByteArray(), [&](TReader& r) { wave.LoadFromStream(r); });
    EXPECT_TRUE(wave.IsEmpty());
    EXPECT_EQ(Written([&](TWriter& w) { wave.WriteData(w); }).toHex(' '), QByteArray("00 00 00 00"));

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("x.wav"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(listFirst);
    file.close();
    try {
        wave.LoadFromFile(name);
        ADD_FAILURE();
    } catch (const EInvalidWave& e) {
        EXPECT_EQ(QString::fromStdString(e.what()),
                  QStringLiteral("TWLXWave: Datei %1 kann nicht geöffnet werden").arg(name));
    }
}

TEST(WaveTest, DataPropertyAndAssign)
{
    TWLXWave wave, copy;
    wave.SetData(WaveFile());
    const QByteArray data = Written([&](TWriter& w) { wave.WriteData(w); });
    EXPECT_EQ(qFromLittleEndian<int32_t>(data.constData()), WaveFile().size());
    ReadFrom(data, [&](TReader& r) { copy.ReadData(r); });
    EXPECT_EQ(copy.Data(), WaveFile());

    int changes = 0;
    copy.OnChange = [&](void*) { ++changes; };
    copy.Assign(TWLXWave());
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(changes, 1);
}

} // namespace
