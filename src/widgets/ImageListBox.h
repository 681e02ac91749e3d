#pragma once
// The image list box: the library's list box with a picture before (or around) each item's text,
// taken from an image list by the item's position or by the number after the item's delimiter
// ("Motor|3"), and placed by a glyph-and-text layout. With ImagesOnly it holds one empty item per
// image and shows the pictures alone.
//
// TWLXCustomDerivedImageListBox is the plain list box under the font list box; its form data may
// still carry three image-box properties, which it reads and drops.

#include "widgets/GlyphTextLayout.h"
#include "widgets/ImageItems.h"
#include "widgets/ListBox.h"

class TWLXComponentReader;

class TWLXCustomImageListBox : public TWLXCustomListBox {
public:
    explicit TWLXCustomImageListBox(QWidget* parent = nullptr);
    ~TWLXCustomImageListBox() override;

    // The image list, list index, delimiter, default image and glyph columns.
    TWLXImageItems& Images() { return m_images; }
    const TWLXImageItems& Images() const { return m_images; }
    uint8_t Options() const { return m_images.Options; }
    // lboCalcHeight measures every item (ItemAutoHeight).
    void SetOptions(uint8_t value);
    TWLXGlyphTextLayout& Layout() { return m_layout; }
    void SetLayout(const TWLXGlyphTextLayout& value) { m_layout.Assign(value); }
    bool ImagesOnly() const { return m_imagesOnly; }
    void SetImagesOnly(bool value);

    int ImageNumberOf(int index) const;
    int GetImageWidth(int index) const;
    int GetImageHeight(int index) const;
    // The part of the item before the first delimiter; empty past the end.
    QString GetItemText(int index) const override;
    int GetItemTextWidth(int index) const override;
    // After reading form data: the image items of ImagesOnly.
    void Loaded();

protected:
    bool CanShowEditor() const override { return !m_imagesOnly && !VirtualMode(); }
    void DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state) override;
    void MeasureItem(int index, int& height) override;
    void Font3DChanged() override { ImageListChange(&Font3D()); }
    virtual void ImageListChange(void* sender);
    void FillImageItems();
    // The text drawn for the item.
    QString ShownText(int index) const;

private:
    TWLXImageItems m_images{[this] { ImageListChange(nullptr); }, [this] { Invalidate(); }};
    TWLXGlyphTextLayout m_layout;
    bool m_imagesOnly = false;
};

class TWLXImageListBox : public TWLXCustomImageListBox {
public:
    using TWLXCustomImageListBox::TWLXCustomImageListBox;
};

class TWLXCustomDerivedImageListBox : public TWLXCustomListBox {
public:
    using TWLXCustomListBox::TWLXCustomListBox;
    // "DefaultItem", "Delimiter" and "Options" of older form data are read and dropped.
    bool ReadProperty(const QString& name, TWLXComponentReader& reader);
};
