#pragma once
// Frames of the widget library: bevels, the drop-shadow bevel, the standard border styles, the
// platform-style edges and the small drop-down triangle. Each procedure draws into a rectangle
// (right and bottom exclusive, pixels) and, where it says so, shrinks the rectangle by what it
// drew.

#include "widgets/WLXTypes.h"

#include <QRect>
#include <cstdint>

class TCanvas;

// Edge kinds and side flags of DrawEdge.
constexpr unsigned BDR_RAISEDOUTER = 1, BDR_SUNKENOUTER = 2, BDR_RAISEDINNER = 4,
                   BDR_SUNKENINNER = 8;
constexpr unsigned EDGE_RAISED = 5, EDGE_ETCHED = 6, EDGE_BUMP = 9, EDGE_SUNKEN = 10;
constexpr unsigned BF_LEFT = 1, BF_TOP = 2, BF_RIGHT = 4, BF_BOTTOM = 8, BF_RECT = 15,
                   BF_ADJUST = 0x2000, BF_SOFT = 0x1000;

// Draws the outer and inner ring of `edge` on the sides in `flags`: each ring is one pixel,
// light at the top and left and dark at the right and bottom for a raised ring, the other way
// round for a sunken one. With BF_ADJUST the rectangle shrinks by the rings drawn on each side.
struct TWLXRect;
void DrawEdge(TCanvas& canvas, TWLXRect& rect, unsigned edge, unsigned flags);

// Rectangles here are GDI-style: QRect(QPoint(left, top), QPoint(right, bottom)) would be off by
// one, so the procedures take left/top/right/bottom in a small struct.
struct TWLXRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TWLXRect From(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    bool operator==(const TWLXRect&) const = default;
};

bool DrawBevel(TCanvas& canvas, TWLXRect& rect, TWLXBevelStyle style, int width, int32_t shadow,
               int32_t light);
bool DrawShadowBevel(TCanvas& canvas, TWLXRect& rect, int32_t light, bool transparent, int count,
                     int w, int32_t border, int32_t shadow);
bool DrawBorderStyle(TCanvas& canvas, TWLXRect& rect, TWLXBorderStyle style, unsigned extra);
int BorderStyleWidth(TWLXBorderStyle style);
// The platform's edge kind of an edge style.
unsigned EdgeStyleValue(TWLXEdgeStyle style);
// 0: no border; 1: flat one-pixel border; 2: 3-D border.
int BorderKind(bool ctl3D, bool singleBorder, bool flat);
void DrawDropArrow(TCanvas& canvas, int x, int y, bool enabled, bool down, int32_t color, int size);

// One-pixel frame of the rectangle in `color` (the brush frame of the class library).
void FrameRect(TCanvas& canvas, const TWLXRect& r, int32_t color);
// Fills the rectangle solid in `color` (no pen).
void FillSolid(TCanvas& canvas, const TWLXRect& r, int32_t color);
