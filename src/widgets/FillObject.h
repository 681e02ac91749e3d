#pragma once
// How an area is covered: not at all, with a brush, a brush made from a picture, a picture
// (placed, centred, stretched or tiled), a picture from an image list, or a gradient.

#include "platform/Canvas.h"
#include "widgets/Frames.h"
#include "widgets/Gradient.h"
#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

#include <QImage>

class TWLXShapeFill : public TWLXObject {
public:
    TWLXShapeFill();

    const QImage& Bitmap() const { return m_bitmap; }
    const QImage& ListBitmap() const { return m_listBitmap; }
    TWLXGradient& Gradient() { return m_gradient; }
    const TWLXGradient& Gradient() const { return m_gradient; }
    TWLXFillStyle Style() const { return m_style; }
    TWLXTileMode TileMode() const { return m_tileMode; }

    void SetBitmap(const QImage& bitmap);
    void SetListBitmap(const QImage& bitmap);
    void SetGradient(const TWLXGradient& gradient) { m_gradient.Assign(gradient); }
    void SetStyle(TWLXFillStyle value);
    void SetTileMode(TWLXTileMode value);

    void Assign(const TWLXShapeFill& source);
    // sfNone, or a picture style without a picture.
    bool IsEmptyFill() const;
    QString DescriptionText() const override;

protected:
    void CopyShape(const TWLXShapeFill& source);

private:
    QImage m_bitmap;
    TWLXGradient m_gradient;
    TWLXFillStyle m_style = TWLXFillStyle::sfBrush;
    TWLXTileMode m_tileMode = TWLXTileMode::tmTile;
    QImage m_listBitmap;
};

class TWLXFillObject : public TWLXShapeFill {
public:
    TWLXFillObject();

    TWLXAlignment Alignment() const { return m_alignment; }
    int OffsetX() const { return m_offset[0]; }
    int OffsetY() const { return m_offset[1]; }
    const TCanvasBrush& Brush() const { return m_brush; }
    TWLXFillOptions Options() const { return m_options; }

    // Alignment and offsets notify only where they show: an unscaled picture fill.
    void SetAlignment(TWLXAlignment value);
    void SetOffset(int index, int value);   // 0 X, 1 Y
    void SetOffsetX(int v) { SetOffset(0, v); }
    void SetOffsetY(int v) { SetOffset(1, v); }
    void SetBrush(const TCanvasBrush& brush);
    void SetOptions(TWLXFillOptions value);

    void Assign(const TWLXFillObject& source);
    // True when the fill leaves parts of the area uncovered.
    bool IsTransparentFill() const;
    // Paints the fill into rect; color is the owner's background. False when nothing was
    // painted for the style.
    bool PaintFill(TCanvas& canvas, const TWLXRect& rect, int32_t color) const;
    // The same clipped to rect (shifted by offset: x low, y high 16 bits), except a gradient
    // drawn off-screen, which clips itself.
    bool PaintFillClipped(TCanvas& canvas, const TWLXRect& rect, int offset, int32_t color) const;

private:
    bool ShowsOffsets() const;
    TWLXAlignment m_alignment = TWLXAlignment::agTopLeft;
    int m_offset[2] = {0, 0};
    TCanvasBrush m_brush;
    TWLXFillOptions m_options;
};
