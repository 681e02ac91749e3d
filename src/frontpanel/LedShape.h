#pragma once
// The shape of one LED, shared by the LED element and the LED bar: a circle, a square, a
// triangle pointing up, down, left or right, or only a text, drawn with the canvas's current
// pen and brush.

#include "core/model/Geometry.h"

#include <QFont>
#include <QString>
#include <cstdint>

class TCanvas;

// LED shapes (the stored style numbers).
enum TLEDStyle : uint8_t {
    lsRound = 0,
    lsSquare = 1,
    lsTriangleUp = 2,
    lsTriangleDown = 3,
    lsTriangleLeft = 4,
    lsTriangleRight = 5,
    lsTextOnly = 6,
};

// Draws the shape of `style` inside r (right and bottom exclusive) with the canvas's pen and
// brush, then the text centred in r in `font` and `fontColor`; the text-only style draws no
// shape and its text in the brush colour. An empty text draws no text.
void DrawLEDShape(TCanvas& canvas, const TRect& r, int style, const QFont& font,
                  int32_t fontColor, const QString& text);
