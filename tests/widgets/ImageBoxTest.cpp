#include "widgets/BitmapList.h"
#include "widgets/ImageComboBox.h"
#include "widgets/ImageListBox.h"

#include "widgets/SansFont.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>

namespace {

QImage Solid(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// An image list with one strip of `count` images, each w x h; image i is filled with colours[i].
struct Strip {
    TWLXImageList list;
    Strip(int w, int h, const std::vector<QRgb>& colours)
    {
        list.AddItem();
        list.Item(0)->SetWidth(w);
        list.Item(0)->SetHeight(h);
        for (QRgb c : colours) {
            const QImage image = Solid(w, h, c);
            list.Item(0)->Add(&image, nullptr);
        }
    }
};

} // namespace

// ---- the item convention -------------------------------------------------------------------

TEST(ImageListBoxTest, ItemStringsNameTextAndImage)
{
    Strip strip(16, 16, {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)});
    struct Case {
        const char* name;
        uint8_t options;
        int defaultItem;
        QString item;
        int index;
        QString shown;
        int image;
    } cases[] = {
        {"the number after the delimiter", lboCheckImageNr, -1, "Motor|3", 0, "Motor", 3},
        {"a delimiter at the end gives no image, default or not", lboCheckImageNr, 2, "Pump|", 0, "Pump", -1},
        {"no delimiter: the default image", lboCheckImageNr, 2, "Pump", 0, "Pump", 2},
        {"no delimiter and no default: none", lboCheckImageNr, -1, "Pump", 0, "Pump", -1},
        {"a number that is none", lboCheckImageNr, -1, "Valve|x2", 0, "Valve", -1},
        {"in list order the number is ignored but still cut", lboImageListOrder | lboCheckImageNr, -1,
         "Motor|3", 1, "Motor", 1},
        {"without cutting the whole string shows", lboImageListOrder, -1, "Motor|3", 1, "Motor|3", 1},
        {"in list order past the images: none", lboImageListOrder, -1, "x", 4, "x", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TWLXImageListBox box;
        box.Images().SetImageList(&strip.list);
        box.SetOptions(c.options);
        box.Images().SetDefaultItem(c.defaultItem);
        QStringList items;
        for (int i = 0; i <= c.index; ++i)
            items.append(i == c.index ? c.item : QStringLiteral("filler"));
        box.SetItems(items);
        EXPECT_EQ(box.ImageNumberOf(c.index), c.image);

        TWLXImageComboBox combo;
        combo.Images().SetImageList(&strip.list);
        combo.SetOptions(c.options);
        combo.Images().SetDefaultItem(c.defaultItem);
        for (const QString& s : items)
            combo.addItem(s);
        EXPECT_EQ(combo.ImageNumberOf(c.index), c.image);
        EXPECT_EQ(combo.GetItemText(c.index), c.shown);
    }
}

TEST(ImageListBoxTest, GlyphColumnsAndImagesOnly)
{
    Strip strip(48, 16, {qRgb(255, 0, 0)});
    TWLXImageListBox box;
    box.Images().SetImageList(&strip.list);
    box.SetItems({"a"});
    EXPECT_EQ(box.GetImageWidth(0), 48);
    box.Images().SetGlyphNumber(3);
    EXPECT_EQ(box.GetImageWidth(0), 16);
    box.Images().SetGlyphColumn(2);
    box.Images().SetGlyphNumber(2);
    EXPECT_EQ(box.Images().GlyphColumn(), 1);
    box.Images().SetGlyphNumber(0);
    EXPECT_EQ(box.Images().GlyphNumber(), 2);
    box.Images().SetGlyphColumn(2);
    EXPECT_EQ(box.Images().GlyphColumn(), 1);

    TWLXBitmapList bitmaps;
    for (int i = 0; i < 8; ++i) {
        bitmaps.AddItem();
        static_cast<TWLXBitmapListItem*>(bitmaps.Items(i))->SetBitmap(Solid(10, 10, qRgb(i * 30, 0, 0)));
    }
    TWLXImageListBox images;
    images.Images().SetImageList(&bitmaps);
    images.SetImagesOnly(true);
    EXPECT_EQ(images.Items(), QStringList(8, QString()));
    EXPECT_EQ(images.ImageNumberOf(7), 7);
    EXPECT_EQ(images.GetImageHeight(7), 10);
    // No editor over image items.
    images.SetEditOptions(lboAllowEdit);
    images.SetItemIndex(0);
    images.ShowEditor(false, -1);
    EXPECT_EQ(images.Editor(), nullptr);
    images.SetImagesOnly(false);
    EXPECT_EQ(images.Count(), 0);
}

TEST(ImageListBoxTest, PaintsTheChosenGlyphColumnBesideTheText)
{
    // Three glyphs side by side: red, green, blue.
    TWLXImageList list;
    list.AddItem();
    list.Item(0)->SetWidth(30);
    list.Item(0)->SetHeight(10);
    QImage glyphs(30, 10, QImage::Format_RGB32);
    for (int k = 0; k < 3; ++k)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                glyphs.setPixel(k * 10 + x, y, k == 0 ? qRgb(255, 0, 0) : k == 1 ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
    list.Item(0)->Add(&glyphs, nullptr);

    TWLXImageListBox box;
    box.setFont(Sans());
    box.resize(150, 60);
    box.Images().SetImageList(&list);
    box.SetItems({"Motor"});
    box.Images().SetGlyphNumber(3);
    box.Images().SetGlyphColumn(1);
    box.show();
    QApplication::processEvents();
    const QImage shot = box.viewport()->grab().toImage();
    const TWLXRect r = box.ItemRect(0);
    // The glyph sits at the text rectangle's left (margin 1), vertically as the layout says.
    bool green = false, red = false;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Left + 14; ++x) {
            green |= shot.pixel(x, y) == qRgb(0, 255, 0);
            red |= shot.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_TRUE(green);
    EXPECT_FALSE(red);
}

TEST(ImageListBoxTest, CalculatedHeightsFollowImageAndText)
{
    Strip strip(16, 32, {qRgb(255, 0, 0)});
    TWLXImageListBox box;
    box.setFont(Sans());
    box.Images().SetImageList(&strip.list);
    box.SetItems({"tall", "plain|"});
    box.SetOptions(lboCheckImageNr | lboImageListOrder | lboCalcHeight);
    EXPECT_TRUE(box.ItemAutoHeight());
    box.show();
    QApplication::processEvents();
    EXPECT_EQ(box.ItemRect(0).Height(), 32);
    EXPECT_EQ(box.ItemRect(1).Height(), box.ItemHeight());

    TWLXImageComboBox combo;
    combo.setFont(Sans());
    combo.Images().SetImageList(&strip.list);
    combo.addItem(QStringLiteral("tall"));
    combo.SetItemHeight(15);
    EXPECT_EQ(combo.MeasuredHeight(0), 15);
    combo.SetOptions(lboCheckImageNr | lboImageListOrder | lboCalcHeight);
    EXPECT_EQ(combo.Style(), TWLXComboStyle::csOwnerDrawVariable);
    EXPECT_EQ(combo.MeasuredHeight(0), 34);
    // The drop-down list lays the row out that high.
    EXPECT_EQ(combo.view()->sizeHintForRow(0), 34);
}

TEST(ImageComboBoxTest, ImagesOnlyAndListIndex)
{
    Strip strip(8, 8, {qRgb(1, 1, 1), qRgb(2, 2, 2), qRgb(3, 3, 3)});
    TWLXImageComboBox combo;
    combo.Images().SetImageList(&strip.list);
    combo.SetImagesOnly(true);
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), QStringLiteral(" "));
    EXPECT_EQ(combo.GetItemText(0), QString());
    combo.Images().SetListIndex(-1);
    EXPECT_EQ(combo.Images().ListIndex(), 0);
    combo.SetImagesOnly(false);
    EXPECT_EQ(combo.count(), 0);
    // A list that goes away leaves items without images.
    {
        Strip gone(8, 8, {qRgb(1, 1, 1)});
        combo.Images().SetImageList(&gone.list);
        combo.addItem(QStringLiteral("a"));
        EXPECT_EQ(combo.ImageNumberOf(0), 0);
    }
    EXPECT_EQ(combo.Images().ImageList(), nullptr);
    EXPECT_EQ(combo.ImageNumberOf(0), -1);
}

TEST(ImageComboBoxTest, ClosedBoxShowsTheCurrentItemsImage)
{
    Strip strip(12, 12, {qRgb(255, 0, 0), qRgb(0, 0, 255)});
    TWLXImageComboBox combo;
    combo.setFont(Sans());
    combo.resize(120, 24);
    combo.Images().SetImageList(&strip.list);
    combo.addItem(QStringLiteral("red"));
    combo.addItem(QStringLiteral("blue"));
    combo.SetItemIndex(1);
    combo.show();
    QApplication::processEvents();
    const QImage shot = combo.grab().toImage();
    bool blue = false, red = false;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < 40; ++x) {
            blue |= shot.pixel(x, y) == qRgb(0, 0, 255);
            red |= shot.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_TRUE(blue);
    EXPECT_FALSE(red);
}
