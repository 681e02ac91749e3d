#pragma once
// The bitmap file image in which the library's containers keep pictures: the 14-byte file
// header ("BM", file size, 0, offset of the bits), a 40-byte info header (one plane, no
// compression, resolution and colour counts 0), a colour table for depths below 24 bits, and the
// rows from the bottom up, each padded to 4 bytes.
//
// The depth follows the colour count asked for: 2 colours 1 bit, 16 colours 4 bits, 256 colours
// 8 bits, any other count (the picture's own format) 24 bits; a monochrome picture is always
// saved with 1 bit. A picture with no more colours than the table holds keeps them exactly (in the order
// they first occur, row by row from the top); a richer one is mapped to the nearest colour of a
// fixed table. To 1 bit, white stays white and every other colour becomes black.
//
// Reading takes uncompressed files of 1, 4, 8, 24 and 32 bits (rows bottom-up or top-down) and
// refuses anything else, or any size that does not fit the data, with EDamagedData.

#include "widgets/WLXTypes.h"

#include <QByteArray>
#include <QImage>

// The colour count that a save format stands for (-1: the picture's own format).
int SaveColorCount(TWLXSavePixelFormat format);

// The file image of a picture; a null picture raises EInvalidGraphic "Bitmap ist ungültig".
QByteArray BitmapFileImage(const QImage& image, int colorCount);
// The picture of a file image, in 32-bit RGB.
QImage ReadBitmapFileImage(const QByteArray& data);

// The largest picture a file image may describe, in pixels.
constexpr qint64 kMaxBitmapPixels = 16 * 1024 * 1024;
