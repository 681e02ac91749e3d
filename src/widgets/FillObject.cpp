#include "widgets/FillObject.h"

#include "platform/Colors.h"
#include "widgets/Bitmaps.h"
#include "widgets/EffectText.h"

#include <QPainter>

using enum TWLXFillStyle;
using enum TWLXTileMode;

TWLXShapeFill::TWLXShapeFill()
{
    m_gradient.OnChange = [this](void* sender) { GetChange(sender); };
}

void TWLXShapeFill::SetBitmap(const QImage& bitmap)
{
    m_bitmap = bitmap;
    Change();
}

void TWLXShapeFill::SetListBitmap(const QImage& bitmap)
{
    m_listBitmap = bitmap;
    Change();
}

void TWLXShapeFill::SetStyle(TWLXFillStyle value)
{
    if (value == m_style)
        return;
    m_style = value;
    Change();
}

void TWLXShapeFill::SetTileMode(TWLXTileMode value)
{
    if (value == m_tileMode)
        return;
    m_tileMode = value;
    Change();
}

void TWLXShapeFill::CopyShape(const TWLXShapeFill& source)
{
    m_bitmap = source.m_bitmap;
    m_listBitmap = source.m_listBitmap;
    m_gradient.Assign(source.m_gradient);
    m_style = source.m_style;
    m_tileMode = source.m_tileMode;
}

void TWLXShapeFill::Assign(const TWLXShapeFill& source)
{
    BeginUpdate();
    CopyShape(source);
    EndUpdate(true);
}

bool TWLXShapeFill::IsEmptyFill() const
{
    return m_style == sfNone || (m_style == sfBitmap && m_bitmap.isNull()) ||
           (m_style == sfBitmapList && m_listBitmap.isNull());
}

QString TWLXShapeFill::DescriptionText() const
{
    static const char* const kNames[] = {"Disabled", "BitmapBrush", "Brush", "Bitmap",
                                         "BitmapList", "Gradient"};
    return QStringLiteral("{") + QString::fromLatin1(kNames[int(m_style)]) + QStringLiteral("}");
}

TWLXFillObject::TWLXFillObject()
    : m_options(FillOptionBit(TWLXFillOption::foFillInner) | FillOptionBit(TWLXFillOption::foGrUseBitmap))
{
    BeginUpdate();
    SetStyle(sfNone);
    EndUpdate(false);
}

bool TWLXFillObject::ShowsOffsets() const
{
    return (Style() == sfBitmap || Style() == sfBitmapList) && TileMode() == tmNone;
}

void TWLXFillObject::SetAlignment(TWLXAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    if (ShowsOffsets())
        Change();
}

void TWLXFillObject::SetOffset(int index, int value)
{
    if ((index != 0 && index != 1) || m_offset[index] == value)
        return;
    m_offset[index] = value;
    if (ShowsOffsets())
        Change();
}

void TWLXFillObject::SetBrush(const TCanvasBrush& brush)
{
    m_brush = brush;
    Change();
}

void TWLXFillObject::SetOptions(TWLXFillOptions value)
{
    if (value == m_options)
        return;
    m_options = value;
    Change();
}

void TWLXFillObject::Assign(const TWLXFillObject& source)
{
    BeginUpdate();
    m_brush = source.m_brush;
    m_options = source.m_options;
    const TWLXFillStyle style = source.Style();
    const TWLXTileMode tileMode = source.TileMode();
    CopyShape(source);
    SetStyle(style);
    SetTileMode(tileMode);
    EndUpdate(true);
}

bool TWLXFillObject::IsTransparentFill() const
{
    const bool fillInner = m_options & FillOptionBit(TWLXFillOption::foFillInner);
    switch (Style()) {
    case sfNone:
        return true;
    case sfBrush:
        return m_brush.Style != Qt::SolidPattern && !fillInner;
    case sfBitmap:
    case sfBitmapList:
        return (TileMode() == tmNone || TileMode() == tmCenter) && !fillInner;
    default:
        return false;
    }
}

bool TWLXFillObject::PaintFill(TCanvas& canvas, const TWLXRect& rect, int32_t color) const
{
    const bool fillInner = m_options & FillOptionBit(TWLXFillOption::foFillInner);
    auto fillInnerArea = [&] {
        if (fillInner)
            FillSolid(canvas, rect, color);
    };
    QPainter* p = canvas.Painter();
    switch (Style()) {
    case sfNone:
        return false;
    case sfBrushBitmap:
        if (!Bitmap().isNull() && p)
            p->fillRect(canvas.LPtoDP(rect.ToQRect()), QBrush(Bitmap()));
        return true;
    case sfBrush:
        if (m_brush.Style != Qt::SolidPattern && m_brush.Style != Qt::NoBrush)
            FillSolid(canvas, rect, color);   // the gaps of a hatch show the owner colour
        if (m_brush.Style != Qt::NoBrush && p)
            p->fillRect(canvas.LPtoDP(rect.ToQRect()),
                        QBrush(TColorToQColor(m_brush.Color), m_brush.Style));
        canvas.Brush = m_brush;
        return true;
    case sfBitmap:
    case sfBitmapList: {
        const QImage& source = Style() == sfBitmap ? Bitmap() : ListBitmap();
        if (source.isNull()) {
            fillInnerArea();
            return false;
        }
        const unsigned quick = (m_options & FillOptionBit(TWLXFillOption::foQuickDraw)) ? 0 : kBmpPalette;
        switch (TileMode()) {
        case tmNone: {
            fillInnerArea();
            TWLXRect at = AlignRect(m_alignment, {0, 0, source.width(), source.height()}, rect);
            at = {at.Left + m_offset[0], at.Top + m_offset[1], at.Right + m_offset[0], at.Bottom + m_offset[1]};
            DrawBitmap(canvas, at, source, 0, quick);
            break;
        }
        case tmCenter:
            fillInnerArea();
            DrawBitmap(canvas, rect, source, 0, quick | kBmpCenter);
            break;
        case tmStretch:
            DrawBitmap(canvas, rect, source, 0, quick | kBmpStretch);
            break;
        case tmTile:
            DrawBitmap(canvas, rect, source, 0, quick | kBmpTile);
            break;
        }
        return true;
    }
    case sfGradient: {
        unsigned flags = 0;
        if (m_options & FillOptionBit(TWLXFillOption::foGrUseBitmap))
            flags |= kDrawOffscreen;
        if (Gradient().PaletteRealize())
            flags |= kDrawPalette;
        Gradient().Paint(canvas, rect, flags);
        return true;
    }
    }
    return false;
}

bool TWLXFillObject::PaintFillClipped(TCanvas& canvas, const TWLXRect& rect, int offset, int32_t color) const
{
    QPainter* p = canvas.Painter();
    if ((Style() == sfGradient && (m_options & FillOptionBit(TWLXFillOption::foGrUseBitmap))) || !p)
        return PaintFill(canvas, rect, color);
    QRect clip = rect.ToQRect();
    if (offset != 0)
        clip.translate(int16_t(offset & 0xFFFF), int16_t((offset >> 16) & 0xFFFF));
    p->save();
    p->setClipRect(canvas.LPtoDP(clip), Qt::IntersectClip);
    const bool result = PaintFill(canvas, rect, color);
    p->restore();
    return result;
}
