#pragma once
// Drawing pictures: one general procedure that places a source picture in a destination
// rectangle (at its origin, centred, stretched, fitted or tiled) and copies it plainly, through a
// mask or with one colour transparent; masks, filled pictures, and the disabled and four-tone
// forms of a glyph.

#include "widgets/Frames.h"

#include <QImage>
#include <QPoint>
#include <cstdint>

class TCanvas;

// Draw flags of the picture and fill procedures.
constexpr unsigned kBmpClip = 0x0001;
constexpr unsigned kBmpCenter = 0x0008;
constexpr unsigned kBmpStretch = 0x0010;
constexpr unsigned kBmpTile = 0x0020;
constexpr unsigned kBmpTransparent = 0x0040;      // pixels of the colour argument are not drawn
constexpr unsigned kBmpOwnTransparent = 0x0080;   // the picture's transparent colour shows the brush
constexpr unsigned kBmpMasked = 0x0100;           // a separate mask is given
constexpr unsigned kBmpKeepHeight = 0x0200;       // with stretch: keep the aspect, height given
constexpr unsigned kBmpKeepWidth = 0x0400;        // with stretch: keep the aspect, width given
constexpr unsigned kBmpPalette = 0x1000;          // true-colour here: no effect

// The picture's own transparent colour: its bottom-left pixel (0x00BBGGRR).
int32_t TransparentColorOf(const QImage& image);
// The picture in 32-bit ARGB with every pixel of the colour found at keyAt made transparent.
QImage WithoutKeyColor(const QImage& image, QPoint keyAt);

// The general procedure. `mask` is used with kBmpMasked: black where the picture shows.
// Returns the drawn rectangle (the target, or the whole destination when the target is empty).
TWLXRect DrawBitmapExt(TCanvas& canvas, const TWLXRect& dest, const QImage& source,
                       const QImage* mask, int32_t color, unsigned flags, const TWLXRect& sourceRect);
// kBmpClip clips to dest, shifted by the clip offset (x low, y high 16 bits) when not 0.
void DrawBitmapClipped(TCanvas& canvas, const TWLXRect& dest, const QImage& source,
                       const QImage* mask, int32_t color, int clipOffset, unsigned flags,
                       const TWLXRect& sourceRect);
TWLXRect DrawBitmap(TCanvas& canvas, const TWLXRect& dest, const QImage& bitmap, int32_t color, unsigned flags);
void DrawBitmapRect(TCanvas& canvas, const TWLXRect& dest, const QImage& bitmap, int32_t color,
                    int clipOffset, unsigned flags);
// The bitmap sized to the rectangle and filled with the colour.
void FillBitmap(QImage* bitmap, const TWLXRect& rect, int32_t color);
// The area as a picture whose pixels of `color` are black, and the mask of that colour (white
// where the colour was, black elsewhere).
void MakeImageAndMask(const QImage& area, int32_t color, QImage& mask, QImage& image);
void SplitImageMask(const QImage& bitmap, QImage& mask, QImage& image, int32_t color);
// The embossed disabled form of source drawn into dest at (x, y).
void DrawDisabledImage(QImage& dest, const QImage& source, int x, int y);
// The four-tone form shown by flat buttons when not hot.
void MakeGrayedImage(QImage& dest, const QImage& source);
