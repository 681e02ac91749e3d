#pragma once
// What one view of a board shows: the zoom, the view offset and the size of the visible area,
// the cursor, the grid and the auto-scroll direction, with the board mapping and the
// coordinate conversions that follow from them. Each board tab of the main window has one.
// Widget-free: the board view widget reads and writes it.
//
// 254 board units show as round(16 x Zoom) pixels. "Screen" points are pixels of the whole
// board control (0, 0 at the board's origin); "device" points are pixels of the visible area,
// i.e. screen points less the view offset.

#include "core/editing/EditingTypes.h"
#include "core/model/Geometry.h"

#include <QPoint>
#include <cstdint>
#include <functional>

class TCanvas;
class TPlatine;

class TBoardViewState {
public:
    explicit TBoardViewState(const TPlatine& board) : m_board(board) {}

    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 20.0;

    double Zoom = 5.0;
    int32_t ViewOffsetX = 0;  // pixels
    int32_t ViewOffsetY = 0;
    int32_t ViewWidth = 0;    // size of the visible area in pixels, set by the view
    int32_t ViewHeight = 0;
    int16_t Cursor = kCursorDefault;  // cursor the view shows over the board
    int16_t SavedCursor = kCursorDefault;
    bool GridVisible = false;
    uint8_t AutoScrollDirection = 0;  // 0 none, 1 up, 2 down, 3 left, 4 right
    bool AutoScrollEnabled = false;
    // Moves the mouse cursor onto a screen point (installed by the view; empty: it stays).
    std::function<void(QPoint screenPoint)> OnMoveCursor;

    // Zoom := value clamped to 0.5 .. 20.0 (anything not >= 0.5 gives 0.5).
    void SetZoom(double value);
    void SetMapping(TCanvas& canvas) const;
    QPoint ScreenToBoard(QPoint p) const;
    QPoint BoardToScreen(QPoint p) const;
    QPoint BoardToDevice(QPoint p) const;
    // Board rectangle in screen pixels.
    TRect BoardRectToScreen(const TRect& r) const;
    // Size of the board control: board size x round(16 x Zoom) div 254 pixels.
    int32_t ControlWidth() const;
    int32_t ControlHeight() const;
    // Grid line spacing at the current zoom.
    int32_t GridSpacing() const;
    // Keeps the view offset inside the board control (what the scroll bars allow).
    void ClampViewOffset();
    // Moves the view offset so that the board point shows in the middle of the visible area.
    void CentreOn(QPoint boardPoint);
    // The screen point in the middle of the visible area.
    QPoint ViewCentre() const;

private:
    const TPlatine& m_board;
};
