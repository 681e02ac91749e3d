#include "frontpanel/elements/BitmapRotate.h"

namespace {

// Turns pixel by pixel so that every format, indexed ones included, keeps its pixel values.
QImage Turned(const QImage& source, bool left)
{
    const int w = source.width();
    const int h = source.height();
    QImage result(h, w, source.format());
    if (source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Mono
        || source.format() == QImage::Format_MonoLSB)
        result.setColorTable(source.colorTable());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int nx = left ? y : h - 1 - y;
            const int ny = left ? w - 1 - x : x;
            if (source.depth() <= 8)
                result.setPixel(nx, ny, uint(source.pixelIndex(x, y)));
            else
                result.setPixel(nx, ny, source.pixel(x, y));
        }
    return result;
}

} // namespace

void RotateBitmapLeft(QImage& picture)
{
    if (picture.isNull())
        return;
    picture = Turned(picture, true);
}

void RotateBitmap180(QImage& picture)
{
    if (picture.isNull())
        return;
    picture = picture.mirrored(true, true);
}

void RotateBitmapRight(QImage& picture)
{
    RotateBitmapLeft(picture);
    RotateBitmap180(picture);
}

void RotateBitmapQuarters(QImage& picture, int quarters)
{
    switch (((quarters % 4) + 4) % 4) {
    case 1:
        RotateBitmapRight(picture);
        break;
    case 2:
        RotateBitmap180(picture);
        break;
    case 3:
        RotateBitmapLeft(picture);
        break;
    default:
        break;
    }
}
