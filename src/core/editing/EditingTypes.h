#pragma once
// Plain types of board editing: the editing modes, mouse buttons and shift bits, the cursor
// numbers a board view shows, and the transient marks a view draws over the board while the
// user edits (selection or zoom rectangle, the wire leg being drawn, the crosshair, the
// rubber-band lines of a drag). Widget-free; coordinates are board units.

#include "core/model/Geometry.h"

#include <QPoint>
#include <cstdint>

// Editing modes of a board view.
enum : uint8_t { kModeZoom = 0, kModeSelect = 1, kModeWiring = 2, kModePlacing = 3, kModeText = 4 };

// Mouse buttons and shift-state bits of the editing operations.
enum : int { kLeftButton = 0, kRightButton = 1 };
enum : uint8_t { kShiftKey = 1, kCtrlKey = 4 };

// Cursor numbers an editor asks its view for.
enum : int16_t {
    kCursorNone = -1,
    kCursorDefault = 0,
    kCursorZoom = 1,       // "LUPE"
    kCursorFinger = 2,     // "Finger"
    kCursorSolder = 3,     // "LOETEN"
    kCursorHand = 4,       // "HAND"
    kCursorPin = 14,       // "ANSCHLUSS"
    kCursorText = 15,      // "TEXT"
    kCursorInvert = 16,    // "INVERT"
};

// A rubber-band line while a selection is dragged: from a fixed anchor to a moving end.
struct TGummibandPoint {
    int32_t AnchorX = 0;
    int32_t AnchorY = 0;
    int32_t EndX = 0;
    int32_t EndY = 0;
};

// True when the rubber-band line runs horizontally or vertically.
inline bool IsStraight(const TGummibandPoint& p)
{
    return p.AnchorX == p.EndX || p.AnchorY == p.EndY;
}

// The selection or zoom rectangle while it is dragged.
struct TSelector {
    QPoint Start;
    QPoint Corner;        // the dragged corner
    QPoint Opposite;      // the other corner: Start, or mirrored through Start when centred
    bool Active = false;
    bool Square = false;  // Shift held: a square
    bool Centred = false; // Ctrl held: Start is the centre
    void StartAt(QPoint p);
    void DragTo(QPoint p);
    void Finish() { Active = false; }
    // The rectangle between the two corners, edges in order.
    TRect Rect() const;
};

// The wire leg being drawn.
struct TTempline {
    QPoint Start;
    QPoint End;
    int Width = 5;
    int32_t Color = 0xC0C0C0;
    bool Shown = false;
};

// The crosshair of wiring mode at a grid point.
struct TFadenKreuz {
    QPoint Position;
    int32_t Color = 0xC0C0C0;
    bool Shown = false;
};
