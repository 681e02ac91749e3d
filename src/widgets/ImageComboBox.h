#pragma once
// The image combo box: the library's combo box whose items show a picture from an image list
// beside (or around) their text, by position or by the number after the item's delimiter
// ("Motor|3"), placed by a glyph-and-text layout and written with a 3D caption. With
// lboCalcHeight each item is as high as its picture and text need.

#include "widgets/Caption3D.h"
#include "widgets/ComboBox.h"
#include "widgets/GlyphTextLayout.h"
#include "widgets/ImageItems.h"

class TWLXCustomImageComboBox : public TWLXCustomComboBox {
public:
    explicit TWLXCustomImageComboBox(QWidget* parent = nullptr);
    ~TWLXCustomImageComboBox() override;

    // The image list, list index, delimiter, default image and glyph columns.
    TWLXImageItems& Images() { return m_images; }
    const TWLXImageItems& Images() const { return m_images; }
    uint8_t Options() const { return m_images.Options; }
    // lboCalcHeight: the variable style, every item measured.
    void SetOptions(uint8_t value);
    TWLX3DCaption& Font3D() { return m_font3D; }
    void SetFont3D(const TWLX3DCaption& value) { m_font3D.Assign(value); }
    TWLXGlyphTextLayout& Layout() { return m_layout; }
    void SetLayout(const TWLXGlyphTextLayout& value) { m_layout.Assign(value); }
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool value);
    bool ImagesOnly() const { return m_imagesOnly; }
    void SetImagesOnly(bool value);
    bool Loading = false;

    int ImageNumberOf(int index) const;
    // Empty with ImagesOnly, else the text the item shows.
    QString GetItemText(int index) const;
    // The height the variable style gives the item.
    int MeasuredHeight(int index) const;
    // After reading form data: the image items of ImagesOnly.
    void Loaded();

protected:
    void DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const override;
    void MeasureItem(int index, int& height) const override;
    virtual void ImageListChange(void* sender);
    void FillImageItems();
    void paintEvent(QPaintEvent* event) override;

private:
    // The item's picture and text into rect.
    void PaintItem(QPainter& painter, const QRect& rect, int index, bool selected, bool focused) const;

    TWLXImageItems m_images{[this] { ImageListChange(nullptr); }, [this] { update(); }};
    TWLX3DCaption m_font3D;
    TWLXGlyphTextLayout m_layout;
    bool m_multiLine = false;
    bool m_imagesOnly = false;
};

class TWLXImageComboBox : public TWLXCustomImageComboBox {
public:
    using TWLXCustomImageComboBox::TWLXCustomImageComboBox;
};
