// Controls linked to image lists: button glyphs taken from a list, the parent panel's picture
// and the stream property that names the global lists.

#include "StreamData.h"
#include "widgets/ComponentStream.h"
#include "widgets/GlobalContainer.h"
#include "widgets/Panels.h"
#include "widgets/SpeedButton.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An image list of one item with two 8 x 8 images: red with a green bottom-left corner, blue.
std::unique_ptr<TWLXImageList> TwoImages()
{
    auto list = std::make_unique<TWLXImageList>();
    list->AddItem(std::make_unique<TWLXImageListItem>(8, 8));
    QImage red = SolidImage(8, 8, qRgb(255, 0, 0));
    red.setPixel(0, 7, qRgb(0, 255, 0));
    const QImage blue = SolidImage(8, 8, qRgb(0, 0, 255));
    list->Item(0)->Add(&red, nullptr);
    list->Item(0)->Add(&blue, nullptr);
    return list;
}

TEST(ImageLinkTest, ButtonGlyphsComeFromTheLinkedList)
{
    std::unique_ptr<TWLXImageList> list = TwoImages();
    TWLXSpeedButton button;
    EXPECT_TRUE(button.IsGlyphStored());
    button.SetImageList(list.get());
    EXPECT_FALSE(button.IsGlyphStored());
    ASSERT_EQ(button.Glyph().size(), QSize(8, 8));
    EXPECT_EQ(button.Glyph().pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(button.GlyphObject().TransparentColor(), 0x00FF00);

    button.SetImageIndexProp(0, 1);
    EXPECT_EQ(button.Glyph().pixel(4, 4), qRgb(0, 0, 255));
    // The list changes: so does the glyph.
    const QImage white = SolidImage(8, 8, qRgb(255, 255, 255));
    list->Item(0)->Replace(1, &white, nullptr);
    EXPECT_EQ(button.Glyph().pixel(4, 4), qRgb(255, 255, 255));
    // No such picture: no glyph.
    button.SetImageIndexProp(0, 5);
    EXPECT_TRUE(button.Glyph().isNull());
    button.SetImageIndexProp(0, 0);
    EXPECT_FALSE(button.Glyph().isNull());

    // A glyph of its own lets the list go.
    button.SetGlyph(SolidImage(16, 16, qRgb(1, 2, 3)));
    EXPECT_EQ(button.ImageList(), nullptr);
    EXPECT_TRUE(button.IsGlyphStored());
    list->Item(0)->Replace(0, &white, nullptr);
    EXPECT_EQ(button.Glyph().size(), QSize(16, 16));

    // A list that goes away takes its glyph along, and leaves no dangling link.
    button.SetImageList(list.get());
    list.reset();
    EXPECT_EQ(button.ImageList(), nullptr);
    EXPECT_TRUE(button.Glyph().isNull());
}

TEST(ImageLinkTest, ParentPanelShowsTheLinkedPictureToTransparentChildren)
{
    std::unique_ptr<TWLXImageList> list = TwoImages();
    QWidget window;
    window.resize(80, 60);
    auto* panel = new TWLXCustomParentPanel(&window);
    panel->setGeometry(0, 0, 80, 60);
    panel->Bevel().SetStyleOuter(TWLXBevelStyle::bvNone);
    panel->Bevel().SetStyleInner(TWLXBevelStyle::bvNone);
    auto* child = new TWLXCustomPanel(panel);
    child->setGeometry(20, 20, 30, 20);
    child->SetTransparent(true);
    EXPECT_EQ(panel->BackBitmap(), nullptr);

    panel->SetImageIndexProp(0, 1);
    panel->SetImageList(list.get());
    ASSERT_NE(panel->BackBitmap(), nullptr);
    EXPECT_EQ(panel->BackBitmap()->size(), QSize(80, 60));
    EXPECT_EQ(panel->BackBitmap()->pixel(70, 50), qRgb(0, 0, 255));  // stretched over the panel
    window.show();
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.pixel(35, 30), qRgb(0, 0, 255));  // under the transparent child

    // Resizing renders it anew; a transparent panel keeps no picture of its own.
    panel->resize(100, 70);
    EXPECT_EQ(panel->BackBitmap()->size(), QSize(100, 70));
    panel->SetTransparent(true);
    panel->SetImageIndexProp(0, 0);
    EXPECT_EQ(panel->BackBitmap(), nullptr);
}

TEST(ImageLinkTest, StreamsNameTheGlobalLists)
{
    TWLXSpeedButton button;
    button.SetImageList(&GlobalContainer().BitmapList);
    button.SetImageIndexProp(1, 3);
    const QByteArray global = Written([&](TWriter& w) {
        TWLXComponentWriter writer(w);
        button.ImageLink().Write(writer);
    });
    EXPECT_EQ(global.toHex(' '), (QByteArray("\x09ListIndex\x02\x03") + "\x08Internal" +
                                  "\x06\x08WLXBML30").toHex(' '));

    TWLXImageList own;
    own.Name = QStringLiteral("Glyphs");
    button.SetImageList(&own);
    const QByteArray named = Written([&](TWriter& w) {
        TWLXComponentWriter writer(w);
        button.ImageLink().Write(writer);
    });
    EXPECT_EQ(named.left(18), QByteArray("\x09ImageList\x07\x06Glyphs"));
    EXPECT_FALSE(named.contains("Internal"));

    struct Case {
        QByteArray stream;
        TWLXCustomImageList* linked;
    } cases[] = {
        {global, &GlobalContainer().BitmapList},
        {QByteArray("\x08Internal\x06\x08WLXIML30"), &GlobalContainer().ImageList},
        {QByteArray("\x08Internal\x06\x08WLXSLL30"), nullptr},
        {named, &own},
    };
    for (const Case& c : cases) {
        TWLXCustomPanel panel;
        ReadFrom(c.stream, [&](TReader& r) {
            TWLXComponentReader reader(r);
            QString property;
            while (!r.AtEnd()) {
                property = reader.ReadShortName();
                EXPECT_TRUE(panel.ImageLink().Read(property, reader, [&](const QString& name) {
                    return name == own.Name ? &own : nullptr;
                })) << property.toStdString();
            }
        });
        EXPECT_EQ(panel.ImageList(), c.linked);
    }
}

} // namespace
