#include "StreamData.h"
#include "Surface.h"
#include "platform/Filer.h"
#include "widgets/BmpFile.h"
#include "widgets/Compression.h"
#include "widgets/ImageList.h"
#include "widgets/WLXErrors.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Saved(const TWLXImageListItem& item)
{
    return Written([&](TWriter& w) { item.SaveData(w); });
}

void Load(TWLXImageListItem& item, const QByteArray& bytes)
{
    ReadFrom(bytes, [&](TReader& r) { item.LoadData(r); });
}

template <class E, class F>
QString ErrorOf(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("no error");
}

TEST(ImageListTest, StripGrowsByAllocByUpToItsLimit)
{
    TWLXImageListItem item;
    const struct {
        int images;
        int stripWidth;
    } steps[] = {{1, 64}, {4, 64}, {5, 128}, {9, 192}};
    int added = 0;
    for (const auto& step : steps) {
        while (added < step.images) {
            EXPECT_EQ(item.AllocImage(), added);
            ++added;
        }
        EXPECT_EQ(item.Strip().width(), step.stripWidth) << step.images;
        EXPECT_EQ(item.StripUsed(), step.images * 16);
        EXPECT_EQ(item.ImageOffset(step.images - 1), (step.images - 1) * 16);
    }
    while (added < 2048)
        item.AllocImage(), ++added;
    EXPECT_EQ(item.Strip().width(), 32768);
    EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([&] { item.AllocImage(); }),
              QStringLiteral("Zu viele Bilder"));
    EXPECT_EQ(item.Count(), 2048);
    EXPECT_EQ(item.StripUsed(), 32768);
}

TEST(ImageListTest, SizesAreChecked)
{
    TWLXImageListItem item(16, 15);
    const QImage tall = SolidImage(16, 16, qRgb(1, 2, 3));
    EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([&] { item.Add(&tall, nullptr); }),
              QStringLiteral("Ungültige Bildgröße"));
    EXPECT_EQ(ErrorOf<EInvalidGraphicOperation>([] { TWLXImageListItem(0, 5); }),
              QStringLiteral("Ungültige Bildgröße"));
    EXPECT_FALSE(item.CheckImageSize(nullptr));
    const QImage two = SolidImage(32, 15, qRgb(1, 2, 3));
    EXPECT_TRUE(item.CheckImageSize(&two));

    TWLXImageListItem other(8, 8);
    other.AllocImage();
    EXPECT_THROW(item.AddImagesFrom(other), EInvalidGraphicOperation);

    // A new size clears the images; a size below 1 is ignored.
    item.Add(&two, nullptr);
    item.SetWidth(0);
    EXPECT_EQ(item.Count(), 1);
    item.SetWidth(8);
    EXPECT_EQ(item.Count(), 0);
}

TEST(ImageListTest, ListQueries)
{
    TWLXImageList list;
    list.AddItem();
    const QImage red = SolidImage(16, 16, qRgb(255, 0, 0));
    QImage marked = SolidImage(16, 16, qRgb(0, 0, 255));
    marked.setPixel(0, 15, qRgb(0, 255, 0));
    list.Item(0)->Add(&red, nullptr);
    list.Item(0)->Add(&marked, nullptr);
    EXPECT_EQ(list.ImageCount(0), 2);
    EXPECT_EQ(list.ImageCount(1), -1);
    EXPECT_EQ(list.GetImageSize(0, 0), 16);
    EXPECT_EQ(list.GetImageSize(1, 0), 0);
    EXPECT_EQ(list.GetImageSize(0, 2), 0);
    EXPECT_TRUE(list.IsValidIndex(0, 1));
    EXPECT_FALSE(list.IsValidIndex(0, 2));
    EXPECT_FALSE(list.IsValidIndex(0, -1));
    EXPECT_EQ(list.GetImageRect(0, 1), (TWLXRect{16, 0, 32, 16}));
    EXPECT_EQ(list.GetTransparentColor(0, 1), 0x00FF00);
    EXPECT_EQ(list.GetTransparentColor(3, 0), 0xFFFFFF);
    EXPECT_EQ(list.GetPixel({3, 3}, 0, 1), 0xFF0000);
    QImage copy;
    list.GetBitmap(0, 1, &copy);
    EXPECT_EQ(copy.size(), QSize(16, 16));
    EXPECT_EQ(copy.pixel(5, 5), qRgb(0, 0, 255));
}

TEST(ImageListTest, MaskedImages)
{
    TWLXImageListItem item(4, 4);
    item.SetMasked(true);
    // Green is transparent: a 2 x 2 red square in its middle stays.
    QImage picture = SolidImage(4, 4, qRgb(0, 255, 0));
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 3; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    item.ReplaceMasked(item.Add(nullptr, nullptr), picture, 0x00FF00);
    EXPECT_TRUE(item.ImageHasMask(0));

    Surface s(12, 12, clBlue);
    item.Draw(*s.canvas, 4, 4, 0);
    EXPECT_EQ(s.px(5, 5), 0x0000FF);   // red (TColor order)
    EXPECT_EQ(s.px(4, 4), clBlue);     // the paper shows through
    EXPECT_EQ(s.px(0, 0), clBlue);

    // Without a mask the slot becomes opaque.
    const QImage yellow = SolidImage(4, 4, qRgb(255, 255, 0));
    item.Replace(0, &yellow, nullptr);
    EXPECT_FALSE(item.ImageHasMask(0));
    Surface opaque(12, 12, clBlue);
    item.Draw(*opaque.canvas, 4, 4, 0);
    EXPECT_EQ(opaque.px(4, 4), 0x00FFFF);
    EXPECT_EQ(opaque.px(7, 7), 0x00FFFF);
}

TEST(ImageListTest, DrawingStyles)
{
    TWLXImageListItem item(4, 4);
    item.SetMasked(true);
    QImage picture = SolidImage(4, 4, qRgb(255, 0, 0));
    picture.setPixel(0, 0, qRgb(0, 255, 0));
    item.ReplaceMasked(item.Add(nullptr, nullptr), picture, 0x00FF00);
    item.BkColor = 0x00FFFF;
    item.BlendColor = 0x000000;
    struct Case {
        uint8_t style;
        int32_t at00, at01, at11, at12;  // pixels of the image, relative to (10, 10)
    } cases[] = {
        // Selected: every pixel whose x + y is odd gets the checker.
        {1, 0x00FFFF, 0x000000, 0x0000FF, 0x000000},
        // Focus: every pixel with x or y even.
        {0, 0x000000, 0x000000, 0x0000FF, 0x000000},
        // Normal with a background colour: no checker.
        {2, 0x00FFFF, 0x0000FF, 0x0000FF, 0x0000FF},
        // Transparent: straight onto the paper.
        {3, 0xFFFFFF, 0x0000FF, 0x0000FF, 0x0000FF},
    };
    for (const Case& c : cases) {
        item.DrawingStyle = c.style;
        Surface s(20, 20, clWhite);
        item.Draw(*s.canvas, 10, 10, 0);
        EXPECT_EQ(s.px(10, 10), c.at00) << int(c.style);
        EXPECT_EQ(s.px(10, 11), c.at01) << int(c.style);
        EXPECT_EQ(s.px(11, 11), c.at11) << int(c.style);
        EXPECT_EQ(s.px(11, 12), c.at12) << int(c.style);
        EXPECT_EQ(s.px(9, 9), clWhite) << int(c.style);
    }
}

TEST(ImageListTest, ItemDataIsByteExact)
{
    TWLXImageListItem item(2, 1);
    item.AllocBy = 2;
    const QImage a = SolidImage(2, 1, qRgb(0x10, 0x20, 0x30));
    item.Add(&a, nullptr);
    const QByteArray bytes = Saved(item);
    const QByteArray expected = QByteArray::fromHex(
        "00" "01000000" "02000000" "02000000" "00"     // header, Height, Width, AllocBy, Masked
        "01000000"                                     // one image
        "3e000000"                                     // its strip's file image: 62 bytes
        "424d" "3e000000" "00000000" "36000000"        // "BM", size, reserved, offset 54
        "28000000" "02000000" "01000000" "0100" "1800" // info: 2 x 1, one plane, 24 bits
        "00000000" "08000000" "00000000" "00000000" "00000000" "00000000"
        "302010" "302010" "0000");                     // one row, padded to 8 bytes
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));
}

TEST(ImageListTest, SavingTrimsTheStripToItsImages)
{
    TWLXImageListItem item;
    for (int i = 0; i < 3; ++i) {
        const QImage image = SolidImage(16, 16, qRgb(i * 80, 0, 0));
        item.Add(&image, nullptr);
    }
    EXPECT_EQ(item.Strip().width(), 64);
    const QByteArray bytes = Saved(item);
    // Past header (1), sizes (12), Masked (1), count (4) and data length (4): the file image.
    const QImage strip = ReadBitmapFileImage(bytes.mid(22));
    EXPECT_EQ(strip.size(), QSize(48, 16));
}

TEST(ImageListTest, ItemsRoundTripInEveryFormat)
{
    QImage picture(6, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            picture.setPixel(x, y, x < 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(200, 10, 10));
    struct Case {
        TWLXSavePixelFormat format;
        bool compressed;
        bool masked;
        QRgb atCentre;  // what (1, 1) reads back
    } cases[] = {
        {TWLXSavePixelFormat::spfDefault, false, false, qRgb(200, 10, 10)},
        {TWLXSavePixelFormat::spfDefault, true, true, qRgb(200, 10, 10)},
        {TWLXSavePixelFormat::spfMono, true, false, qRgb(0, 0, 0)},
        {TWLXSavePixelFormat::spf4bit, false, true, qRgb(200, 10, 10)},
        {TWLXSavePixelFormat::spf8bit, true, false, qRgb(200, 10, 10)},
        {TWLXSavePixelFormat::spf16bit, false, false, qRgb(200, 10, 10)},
    };
    for (const Case& c : cases) {
        TWLXImageListItem item(3, 3);
        item.SetMasked(c.masked);
        item.PixelFormat = c.format;
        item.Compressed = c.compressed;
        item.Description = QStringLiteral("glyphs");
        // White is transparent: the first image is opaque, the second clear.
        item.ReplaceMasked(item.Add(nullptr, nullptr), picture.copy(0, 0, 3, 3), 0xFFFFFF);
        item.ReplaceMasked(item.Add(nullptr, nullptr), picture.copy(3, 0, 3, 3), 0xFFFFFF);
        TWLXImageListItem copy;
        Load(copy, Saved(item));
        const int f = int(c.format);
        ASSERT_EQ(copy.Count(), 2) << f;
        EXPECT_EQ(copy.PixelFormat, c.format) << f;
        EXPECT_EQ(copy.Compressed, c.compressed) << f;
        EXPECT_EQ(copy.Masked(), c.masked) << f;
        EXPECT_EQ(copy.Description, QStringLiteral("glyphs")) << f;
        EXPECT_EQ(copy.Strip().pixel(1, 1), c.atCentre) << f;
        if (c.masked) {
            EXPECT_EQ(copy.MaskStrip().pixel(0, 0), qRgb(0, 0, 0)) << f;        // black: opaque
            EXPECT_EQ(copy.MaskStrip().pixel(4, 0), qRgb(255, 255, 255)) << f;  // transparent
        }
    }
}

TEST(ImageListTest, DamagedItemDataIsRefused)
{
    TWLXImageListItem item;
    const QImage image = SolidImage(16, 16, qRgb(9, 9, 9));
    item.Add(&image, nullptr);
    const QByteArray good = Saved(item);
    auto patched = [&](int at, QByteArray with) {
        QByteArray bytes = good;
        bytes.replace(at, with.size(), with);
        return bytes;
    };
    const QByteArray cases[] = {
        patched(1, QByteArray::fromHex("00000000")),  // height 0
        patched(5, QByteArray::fromHex("ffffffff")),  // negative width
        patched(14, QByteArray::fromHex("01080000")), // 2049 images of 16 pixels
        patched(14, QByteArray::fromHex("02000000")), // more images than the strip holds
        patched(22, QByteArray("XM")),                // not a bitmap file image
        good.left(good.size() - 1),
    };
    for (const QByteArray& bytes : cases) {
        TWLXImageListItem copy;
        EXPECT_THROW(Load(copy, bytes), EFilerError);
    }
}

TEST(BmpFileTest, DepthsAndTables)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    struct Case {
        int colors;
        int bits;
        int tableEntries;
        int rowBytes;
    } cases[] = {{2, 1, 2, 4}, {16, 4, 16, 4}, {256, 8, 256, 4}, {65536, 24, 0, 12}, {-1, 24, 0, 12}};
    for (const Case& c : cases) {
        const QByteArray file = BitmapFileImage(image, c.colors);
        EXPECT_EQ(qFromLittleEndian<int16_t>(file.constData() + 28), c.bits) << c.colors;
        EXPECT_EQ(qFromLittleEndian<int32_t>(file.constData() + 10), 54 + 4 * c.tableEntries);
        EXPECT_EQ(file.size(), 54 + 4 * c.tableEntries + 2 * c.rowBytes) << c.colors;
        const QImage back = ReadBitmapFileImage(file);
        EXPECT_EQ(back.pixel(1, 1), qRgb(255, 255, 255)) << c.colors;
        EXPECT_EQ(back.pixel(0, 0), c.bits == 1 ? qRgb(0, 0, 0) : qRgb(255, 0, 0)) << c.colors;
    }
    // A small table holds the colours in the order found from the top row: red, then white.
    const QByteArray four = BitmapFileImage(image, 16);
    EXPECT_EQ(four.mid(54, 4).toHex(), QByteArray("0000ff00"));
    EXPECT_EQ(four.mid(58, 4).toHex(), QByteArray("ffffff00"));

    EXPECT_EQ(ErrorOf<EWLXError>([] { BitmapFileImage(QImage(), -1); }),
              QStringLiteral("Bitmap ist ungültig"));
}

TEST(BmpFileTest, DamagedFilesAreRefused)
{
    const QByteArray good = BitmapFileImage(SolidImage(2, 2, qRgb(1, 2, 3)), -1);
    auto patched = [&](int at, QByteArray with) {
        QByteArray bytes = good;
        bytes.replace(at, with.size(), with);
        return bytes;
    };
    const QByteArray cases[] = {
        good.left(53),
        patched(0, "XX"),
        patched(18, QByteArray::fromHex("00000000")),  // width 0
        patched(22, QByteArray::fromHex("00400000")),  // too high for the data
        patched(28, QByteArray::fromHex("1000")),      // 16 bits
        patched(30, QByteArray::fromHex("01000000")),  // compressed
        patched(10, QByteArray::fromHex("ff000000")),  // bits past the end
        good.left(good.size() - 1),
    };
    for (const QByteArray& bytes : cases)
        EXPECT_THROW(ReadBitmapFileImage(bytes), EDamagedData);
}

} // namespace
