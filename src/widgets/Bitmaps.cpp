#include "widgets/Bitmaps.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/WLXTypes.h"

#include <QPainter>

#include <cmath>

int32_t TransparentColorOf(const QImage& image)
{
    if (image.isNull())
        return clNone;
    return QColorToTColor(image.pixelColor(0, image.height() - 1)) & 0xFFFFFF;
}

void MakeImageAndMask(const QImage& area, int32_t color, QImage& mask, QImage& image)
{
    const QRgb key = TColorToQColor(ColorToRGB(color)).rgb() | 0xFF000000u;
    image = area.convertToFormat(QImage::Format_RGB32);
    mask = QImage(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* in = reinterpret_cast<QRgb*>(image.scanLine(y));
        QRgb* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool transparent = (in[x] | 0xFF000000u) == key;
            m[x] = transparent ? 0xFFFFFFFFu : 0xFF000000u;
            if (transparent)
                in[x] = 0xFF000000u;
        }
    }
}

void SplitImageMask(const QImage& bitmap, QImage& mask, QImage& image, int32_t color)
{
    MakeImageAndMask(bitmap, color, mask, image);
}

QImage WithoutKeyColor(const QImage& image, QPoint keyAt)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull() || !out.rect().contains(keyAt))
        return out;
    const QRgb key = out.pixel(keyAt);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    return out;
}

namespace {

// The picture with the mask's white pixels left out (the AND/OR pair of a masked copy).
QImage Masked(const QImage& image, const QImage& mask)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height() && y < mask.height(); ++y) {
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width() && x < mask.width(); ++x)
            if (qGray(mask.pixel(x, y)) >= 128)
                o[x] = 0;
    }
    return out;
}

void Copy(QPainter& p, const QRect& target, const QImage& source, const QImage* mask, int32_t color,
          unsigned flags, const QRect& sourceRect, int32_t brush)
{
    if (flags & kBmpOwnTransparent) {
        // The picture's transparent colour becomes the brush.
        QImage img = source.copy(sourceRect).convertToFormat(QImage::Format_RGB32);
        const QRgb key = TColorToQColor(TransparentColorOf(source)).rgb();
        const QRgb fill = TColorToQColor(ColorToRGB(color)).rgb();
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] | 0xFF000000u) == (key | 0xFF000000u))
                    line[x] = fill;
        }
        p.drawImage(target, img);
    } else if ((flags & kBmpMasked) && mask) {
        p.drawImage(target, Masked(source.copy(sourceRect), mask->copy(sourceRect)));
    } else if (flags & kBmpTransparent) {
        QImage m, img;
        MakeImageAndMask(source.copy(sourceRect), color, m, img);
        p.drawImage(target, Masked(img, m));
    } else {
        p.drawImage(target, source, sourceRect);
    }
    Q_UNUSED(brush);
}

} // namespace

TWLXRect DrawBitmapExt(TCanvas& canvas, const TWLXRect& dest, const QImage& source,
                       const QImage* mask, int32_t color, unsigned flags, const TWLXRect& sourceRect)
{
    QPainter* p = canvas.Painter();
    if (dest.IsEmpty() || !p || source.isNull())
        return {};
    const int sw = sourceRect.Width();
    const int sh = sourceRect.Height();
    const QRect src = sourceRect.ToQRect();
    TWLXRect target{dest.Left, dest.Top, dest.Left + sw, dest.Top + sh};
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (flags & kBmpCenter) {
        target = {dest.Left + (dest.Width() - sw) / 2, dest.Top + (dest.Height() - sh) / 2, 0, 0};
        target.Right = target.Left + sw;
        target.Bottom = target.Top + sh;
    } else if (flags & kBmpStretch) {
        target = dest;
        const unsigned keep = flags & (kBmpKeepHeight | kBmpKeepWidth);
        if (sw > 0 && sh > 0) {
            if (keep == (kBmpKeepHeight | kBmpKeepWidth)) {
                const double scale = std::min(double(dest.Width()) / sw, double(dest.Height()) / sh);
                target.Right = dest.Left + WLXRound(sw * scale);
                target.Bottom = dest.Top + WLXRound(sh * scale);
            } else if (keep == kBmpKeepWidth) {
                target.Bottom = dest.Top + WLXRound(double(dest.Width()) / sw * sh);
            } else if (keep == kBmpKeepHeight) {
                target.Right = dest.Left + WLXRound(double(dest.Height()) / sh * sw);
            }
        }
    } else if (flags & kBmpTile) {
        if (sw > 0 && sh > 0) {
            const int columns = dest.Width() / sw + 2;
            const int rows = dest.Height() / sh + 2;
            for (int row = 0; row < rows; ++row)
                for (int column = 0; column < columns; ++column) {
                    const QRect tile(dest.Left + column * sw, dest.Top + row * sh, sw, sh);
                    Copy(*p, canvas.LPtoDP(tile), source, mask, color, flags, src, canvas.Brush.Color);
                }
        }
        p->restore();
        return dest;
    }
    if (!target.IsEmpty())
        Copy(*p, canvas.LPtoDP(target.ToQRect()), source, mask, color, flags, src, canvas.Brush.Color);
    p->restore();
    return target.IsEmpty() ? dest : target;
}

void DrawBitmapClipped(TCanvas& canvas, const TWLXRect& dest, const QImage& source,
                       const QImage* mask, int32_t color, int clipOffset, unsigned flags,
                       const TWLXRect& sourceRect)
{
    QPainter* p = canvas.Painter();
    if (!(flags & kBmpClip) || !p) {
        DrawBitmapExt(canvas, dest, source, mask, color, flags, sourceRect);
        return;
    }
    QRect clip = dest.ToQRect();
    if (clipOffset != 0)
        clip.translate(int16_t(clipOffset & 0xFFFF), int16_t((clipOffset >> 16) & 0xFFFF));
    p->save();
    p->setClipRect(canvas.LPtoDP(clip), Qt::IntersectClip);
    DrawBitmapExt(canvas, dest, source, mask, color, flags, sourceRect);
    p->restore();
}

TWLXRect DrawBitmap(TCanvas& canvas, const TWLXRect& dest, const QImage& bitmap, int32_t color, unsigned flags)
{
    return DrawBitmapExt(canvas, dest, bitmap, nullptr, color, flags,
                         {0, 0, bitmap.width(), bitmap.height()});
}

void DrawBitmapRect(TCanvas& canvas, const TWLXRect& dest, const QImage& bitmap, int32_t color,
                    int clipOffset, unsigned flags)
{
    DrawBitmapClipped(canvas, dest, bitmap, nullptr, color, clipOffset, flags,
                      {0, 0, bitmap.width(), bitmap.height()});
}

void FillBitmap(QImage* bitmap, const TWLXRect& rect, int32_t color)
{
    if (!bitmap || rect.IsEmpty())
        return;
    *bitmap = QImage(rect.Width(), rect.Height(), QImage::Format_RGB32);
    bitmap->fill(TColorToQColor(ColorToRGB(color)));
}

void DrawDisabledImage(QImage& dest, const QImage& source, int x, int y)
{
    if (source.isNull())
        return;
    if (dest.isNull())
        dest = QImage(source.size(), QImage::Format_RGB32);
    const int32_t key = TransparentColorOf(source);
    dest.fill(TColorToQColor(key));
    // Mask: black where the source is dark (the monochrome conversion of the class library:
    // pixels of the background colour become white, all others black).
    const QRgb keyRgb = TColorToQColor(key).rgb() | 0xFF000000u;
    auto emboss = [&](int ox, int oy, int32_t color) {
        const QColor c = TColorToQColor(ColorToRGB(color));
        for (int sy = 0; sy < source.height(); ++sy)
            for (int sx = 0; sx < source.width(); ++sx) {
                if ((source.pixel(sx, sy) | 0xFF000000u) == keyRgb)
                    continue;
                const int dx = sx + ox, dy = sy + oy;
                if (dx >= 0 && dy >= 0 && dx < dest.width() && dy < dest.height())
                    dest.setPixelColor(dx, dy, c);
            }
    };
    emboss(x + 1, y + 1, clBtnHighlight);
    emboss(x, y, clBtnShadow);
}

void MakeGrayedImage(QImage& dest, const QImage& source)
{
    dest = source.convertToFormat(QImage::Format_RGB32);
    if (dest.isNull())
        return;
    const QRgb background = dest.pixel(0, 0);
    auto brightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
    double sum = 0;
    int count = 0;
    for (int y = 0; y < dest.height(); ++y)
        for (int x = 0; x < dest.width(); ++x)
            if (dest.pixel(x, y) != background) {
                sum += brightness(dest.pixel(x, y));
                ++count;
            }
    const double mean = count ? sum / count : 0;
    const int t = WLXRound(mean) - 200;
    const QRgb white = 0xFFFFFFFFu;
    const QRgb highlight = TColorToQColor(ColorToRGB(clBtnHighlight)).rgb();
    const QRgb shadow = TColorToQColor(ColorToRGB(clBtnShadow)).rgb();
    for (int y = 0; y < dest.height(); ++y)
        for (int x = 0; x < dest.width(); ++x) {
            const QRgb c = dest.pixel(x, y);
            if (c == background)
                continue;
            const int v = brightness(c);
            dest.setPixel(x, y, v > t + 550 ? white : v > t + 250 ? highlight : v > t + 50 ? shadow : 0xFF000000u);
        }
}
