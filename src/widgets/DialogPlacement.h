#pragma once
// Placing a window relative to the screen, its work area, the main window or the active
// window, at one of nine positions, kept inside the desktop.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

class QWidget;

enum class TWLXDlgPosition : uint8_t {
    bpTopLeft, bpTopCenter, bpTopRight, bpCenterLeft, bpCenter, bpCenterRight, bpBottomLeft,
    bpBottomCenter, bpBottomRight, bpCustom
};
enum class TWLXDlgPosRel : uint8_t { brScreen, brScreenWorkArea, brMainForm, brActiveWindow };

// The rectangle a position refers to; the whole screen when there is no such window.
QRect ReferenceRect(TWLXDlgPosRel rel);
// The top-left corner of a window of the size at the position in reference, pulled back so that
// it ends inside the desktop and never starts at a negative coordinate.
QPoint PlacedPosition(QSize window, const QRect& reference, TWLXDlgPosition position, QSize desktop);
// Moves the window there (its size, stacking and activation stay).
void PlaceWindow(QWidget* window, const QRect& reference, TWLXDlgPosition position);
