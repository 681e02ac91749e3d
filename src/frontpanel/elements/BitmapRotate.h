#pragma once
// Quarter and half turns of pictures. Each replaces the picture by the turned one and keeps
// its pixel format (an indexed picture keeps its colour table).

#include <QImage>

// A quarter turn counter-clockwise: the pixel in column x, row y of a W x H picture goes to
// column y, row W - 1 - x of the H x W result.
void RotateBitmapLeft(QImage& picture);
// A quarter turn clockwise.
void RotateBitmapRight(QImage& picture);
// A half turn.
void RotateBitmap180(QImage& picture);
// Turns by `quarters` quarter turns clockwise (0..3; other values are taken modulo 4).
void RotateBitmapQuarters(QImage& picture, int quarters);
