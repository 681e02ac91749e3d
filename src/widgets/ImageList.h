#pragma once
// Image lists: the picture source of every control of the library that shows pictures. A
// control names a picture by its list index (the item) and its image index (the picture inside
// the item). TWLXCustomImageList is what the controls draw through; TWLXImageList keeps each
// item as a strip of equally sized images with an optional monochrome mask (black opaque,
// white transparent), the bitmap list is the other kind.
//
// Item data: the item header with the save format in bits 4..7 (0x10 mono, 0x20 4 bits, 0x40
// 8 bits, 0x80 16 bits), Int32 Height, Int32 Width, Int32 AllocBy, byte Masked, Int32 image
// count n and, for n > 0, the strip (n x Width wide) and the mask when masked, each a bitmap
// file image as item data (compressed or with its length).

#include "platform/Colors.h"
#include "widgets/Container.h"
#include "widgets/Frames.h"

#include <QImage>
#include <QPoint>

class TCanvas;

class TWLXCustomImageList : public TWLXCustomContainer {
public:
    using TWLXCustomContainer::TWLXCustomContainer;

    TWLXSavePixelFormat DefaultPixelFormat = TWLXSavePixelFormat::spfDefault;

    // The strip that holds the item's images (null when there is no such item).
    virtual const QImage* GetStripBitmap(int listIndex) const = 0;
    // The image's rectangle inside the strip.
    virtual TWLXRect GetImageRect(int listIndex, int imageIndex) const = 0;
    // Kind 0 the width, 1 the height of the item's images; 0 for other kinds or no such item.
    virtual int GetImageSize(int listIndex, int kind) const = 0;
    virtual int ImageCount(int listIndex) const = 0;
    virtual bool IsValidIndex(int listIndex, int imageIndex) const = 0;
    // Copies the image into bitmap (sized to it); nothing without a bitmap.
    virtual void GetBitmap(int listIndex, int imageIndex, QImage* bitmap) const = 0;
    virtual bool IsMasked(int listIndex) const = 0;
    virtual int32_t GetTransparentColor(int listIndex, int imageIndex) const = 0;
    virtual int32_t GetPixel(QPoint point, int listIndex, int imageIndex) const = 0;
    // Draws the image with its top-left corner at (x, y).
    virtual void Draw(TCanvas& canvas, int x, int y, int listIndex, int imageIndex) const = 0;
    // Through the general picture procedure (flags of widgets/Bitmaps.h); gives the drawn
    // rectangle.
    virtual TWLXRect DrawInRect(TCanvas& canvas, const TWLXRect& rect, unsigned flags,
                                int listIndex, int imageIndex) const = 0;
    virtual void DrawClipped(TCanvas& canvas, const TWLXRect& rect, unsigned flags, int clipOffset,
                             int32_t color, int listIndex, int imageIndex) const = 0;

    void Assign(const TWLXCustomContainer& source) override;
    void WriteProperties(TWLXComponentWriter& writer) const override;
    bool ReadProperty(const QString& name, TWLXComponentReader& reader) override;
};

// One strip of equally sized images.
class TWLXImageListItem : public TWLXListItem {
public:
    TWLXImageListItem() = default;
    // An item without a list; a size below 1 raises "Ungültige Bildgröße".
    TWLXImageListItem(int width, int height);

    QString ClassName() const override { return QStringLiteral("TWLXImageListItem"); }

    int AllocBy = 4;
    TWLXSavePixelFormat PixelFormat = TWLXSavePixelFormat::spfDefault;
    int32_t BkColor = clNone;     // background under masked images
    int32_t BlendColor = clNone;  // colour of the selection checker
    // 0 focus, 1 selected, 2 normal, 3 transparent.
    uint8_t DrawingStyle = 2;
    // 0 the image, 1 its mask.
    uint8_t ImageType = 0;
    bool ShareImages = false;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // A new positive size clears the images.
    void SetWidth(int value);
    void SetHeight(int value);
    bool Masked() const { return m_masked; }
    void SetMasked(bool value);

    int Count() const { return int(m_records.size()); }
    int StripUsed() const { return m_stripUsed; }
    const QImage& Strip() const { return m_strip; }
    const QImage& MaskStrip() const { return m_maskStrip; }
    bool ImageHasMask(int index) const;
    int ImageOffset(int index) const;

    // False without a bitmap; true when it is Height high and a multiple of Width wide;
    // otherwise raises "Ungültige Bildgröße".
    bool CheckImageSize(const QImage* bitmap) const;
    // One more image slot (the strip widens by AllocBy images when full; past 32768 pixels
    // "Zu viele Bilder"); gives its index.
    int AllocImage();
    // Without image and mask a new empty slot; -1 when the image (or with Masked the mask) is
    // missing; else a new slot holding them.
    int Add(const QImage* image, const QImage* mask);
    // The image (and mask) into slot index; without a mask a masked slot becomes opaque.
    void Replace(int index, const QImage* image, const QImage* mask);
    // With Masked, the picture split into image and mask by the colour.
    void ReplaceMasked(int index, const QImage& bitmap, int32_t transparentColor);
    void ClearImages();
    // Appends the other item's images (same size, else "Ungültige Bildgröße").
    void AddImagesFrom(const TWLXImageListItem& other);
    void Assign(const TWLXListItem& source) override;

    void Draw(TCanvas& canvas, int x, int y, int imageIndex) const;

    void ClearData() override { ClearImages(); }
    bool IsEmpty() const override { return m_records.empty(); }
    uint8_t GetHeaderFlags() const override;
    void SaveData(TWriter& writer) const override;
    void LoadData(TReader& reader) override;
    // The image data part alone (count, strip, mask), as the older "Bitmap" property holds it.
    void SaveImageData(TWriter& writer) const;
    void LoadImageData(TReader& reader);

    void WriteProperties(TWLXComponentWriter& writer) const override;
    bool ReadProperty(const QString& name, TWLXComponentReader& reader) override;

private:
    struct TImageRecord {
        int16_t offset;
        uint8_t hasMask;
        uint8_t extra;
    };
    // Widens both strips to at least width; "Zu viele Bilder" past the limit.
    void WidenStrips(int width);
    QImage NewMask(int width) const;
    int m_width = 16;
    int m_height = 16;
    bool m_masked = false;
    QImage m_strip;
    QImage m_maskStrip;
    std::vector<TImageRecord> m_records;
    int m_stripUsed = 0;
};

class TWLXImageList : public TWLXCustomImageList {
public:
    TWLXImageList() : TWLXCustomImageList(ctImageList) {}

    QString ClassName() const override { return QStringLiteral("TWLXImageList"); }
    std::unique_ptr<TWLXListItem> NewItem() const override;
    TWLXImageListItem* Item(int listIndex) const;

    const QImage* GetStripBitmap(int listIndex) const override;
    TWLXRect GetImageRect(int listIndex, int imageIndex) const override;
    int GetImageSize(int listIndex, int kind) const override;
    int ImageCount(int listIndex) const override;
    bool IsValidIndex(int listIndex, int imageIndex) const override;
    void GetBitmap(int listIndex, int imageIndex, QImage* bitmap) const override;
    bool IsMasked(int listIndex) const override;
    int32_t GetTransparentColor(int listIndex, int imageIndex) const override;
    int32_t GetPixel(QPoint point, int listIndex, int imageIndex) const override;
    void Draw(TCanvas& canvas, int x, int y, int listIndex, int imageIndex) const override;
    TWLXRect DrawInRect(TCanvas& canvas, const TWLXRect& rect, unsigned flags, int listIndex,
                        int imageIndex) const override;
    void DrawClipped(TCanvas& canvas, const TWLXRect& rect, unsigned flags, int clipOffset,
                     int32_t color, int listIndex, int imageIndex) const override;

private:
    // The item and the image's slot when both exist.
    const TWLXImageListItem* Slot(int listIndex, int imageIndex, TWLXRect* rect) const;
};

// The save format in bits 4..7 of an item's flag byte: 0x10 mono, 0x20 4 bits, 0x40 8 bits,
// 0x80 16 bits, none for the picture's own format.
uint8_t PixelFormatFlag(TWLXSavePixelFormat format);
TWLXSavePixelFormat PixelFormatOfFlags(uint8_t flags);
// Names of the save formats in streams ("spfDefault" ...); false for an unknown name.
QString SavePixelFormatName(TWLXSavePixelFormat format);
bool SavePixelFormatFromName(const QString& name, TWLXSavePixelFormat* format);
