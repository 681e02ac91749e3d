#pragma once
// The bitmap list: an image list whose items are single pictures, selected by the list index
// alone. Its pictures come from the form stream, or are loaded when first asked for at run
// time from a container file, the program's bitmap resources or single files (Source 1, 2, 4;
// 3 only probes a library file).
//
// Item data: the item header with bit 3 set when a picture follows and the save format in bits
// 4..7, then the picture's bitmap file image as item data.

#include "widgets/ImageList.h"

#include <functional>

class TWLXBitmapListItem : public TWLXListItem {
public:
    QString ClassName() const override { return QStringLiteral("TWLXBitmapListItem"); }

    TWLXSavePixelFormat PixelFormat = TWLXSavePixelFormat::spfDefault;
    // The picture; an empty one is loaded by the list's Source the first time it is asked for.
    const QImage& GetBitmap();
    const QImage& Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage& bitmap);

    void ClearData() override { m_bitmap = QImage(); }
    bool IsEmpty() const override { return m_bitmap.isNull(); }
    uint8_t GetHeaderFlags() const override;
    void SaveData(TWriter& writer) const override;
    void LoadData(TReader& reader) override;
    void Assign(const TWLXListItem& source) override;

private:
    void LoadFromSource();
    QImage m_bitmap;
};

class TWLXBitmapList : public TWLXCustomImageList {
public:
    TWLXBitmapList() : TWLXCustomImageList(ctBitmapList) {}

    QString ClassName() const override { return QStringLiteral("TWLXBitmapList"); }
    std::unique_ptr<TWLXListItem> NewItem() const override;
    TWLXBitmapListItem* Item(int listIndex) const;

    // The image index is not used: one item is one picture.
    const QImage* GetStripBitmap(int listIndex) const override;
    TWLXRect GetImageRect(int listIndex, int imageIndex) const override;
    int GetImageSize(int listIndex, int kind) const override;
    int ImageCount(int listIndex) const override;
    bool IsValidIndex(int listIndex, int imageIndex) const override;
    void GetBitmap(int listIndex, int imageIndex, QImage* bitmap) const override;
    bool IsMasked(int listIndex) const override { return false; }
    int32_t GetTransparentColor(int listIndex, int imageIndex) const override;
    int32_t GetPixel(QPoint point, int listIndex, int imageIndex) const override;
    void Draw(TCanvas& canvas, int x, int y, int listIndex, int imageIndex) const override;
    TWLXRect DrawInRect(TCanvas& canvas, const TWLXRect& rect, unsigned flags, int listIndex,
                        int imageIndex) const override;
    void DrawClipped(TCanvas& canvas, const TWLXRect& rect, unsigned flags, int clipOffset,
                     int32_t color, int listIndex, int imageIndex) const override;

    void Assign(const TWLXCustomContainer& source) override;
    void WriteProperties(TWLXComponentWriter& writer) const override;
    bool ReadProperty(const QString& name, TWLXComponentReader& reader) override;

private:
    // The item's picture, loaded by Source when still empty.
    const QImage* Picture(int listIndex) const;
};

// The program's bitmap resources by number. The default finds none; the program or a test
// installs where they come from (an empty function restores the default).
void SetBitmapResourceLoader(std::function<QImage(int ident)> loader);
