#pragma once
// The editing state of one board tab: its view state, the editing mode and the tools, and the
// routing of mouse presses, releases, moves, double clicks and the wheel to the tool of the
// mode. Widget-free, so that editing runs without a window; the board view widget turns its
// mouse events into these calls. Points (x, y) are screen pixels of the whole board control.

#include "core/editing/BoardViewState.h"
#include "core/editing/EditingTypes.h"
#include "core/editing/PlacingTool.h"
#include "core/editing/SelectTool.h"
#include "core/editing/TextTool.h"
#include "core/editing/WireTool.h"
#include "core/editing/ZoomTool.h"

#include <QPoint>
#include <cstdint>

class TPlatine;

class TBoardEditor {
public:
    explicit TBoardEditor(TPlatine& board);
    TBoardEditor(const TBoardEditor&) = delete;
    TBoardEditor& operator=(const TBoardEditor&) = delete;

    TPlatine& Board;
    TBoardViewState View;

    uint8_t Mode = kModeSelect;
    uint8_t SavedMode = kModeSelect;  // mode to return to after placing
    bool Dragging = false;            // a move, a placement or a wire is in progress
    QPoint DragAnchor;                // screen pixels while moving or placing
    bool IgnoreNextPress = false;     // a double click opened a dialog: swallow the next press
    bool OutsideFrame = false;        // a zoom frame started where no board is drawn

    TSelectTool SelectTool;
    TPlacingTool PlacingTool;
    TWireTool WireTool;
    TZoomTool ZoomTool;
    TTextTool TextTool;

    // Mouse operations of the view (button kLeftButton or kRightButton).
    void Press(int button, uint8_t shift, int x, int y);
    void Release(int button, uint8_t shift, int x, int y);
    void Move(uint8_t shift, int x, int y, QPoint devicePoint);
    void DoubleClick();
    // Whether a screen point lies beside or below the drawn board (the view is larger than the
    // board at a small zoom). There, in every mode, the left button drags a zoom frame and the
    // right button zooms out about the point.
    bool OutsideBoard(int x, int y) const;
    // The wheel in select or zoom mode; false when the mode ignores it.
    bool Wheel(bool up, QPoint mouse);

    // A mode change the editor makes itself: fires the board's OnModeChange.
    void ChangeMode(uint8_t mode);
    // Zoom or view offset changed by the editor itself: fires the board's OnChange.
    void NotifyChange();

    void UpdateCursor(int x, int y);
    // Holds the mouse for a drag: auto-scroll is enabled.
    void ConfineCursor();
    // Ends a drag's hold on the mouse: no auto-scroll.
    void ReleaseCursor();
    // Auto-scroll direction from a point of the visible area (device pixels).
    void UpdateAutoScroll(QPoint devicePoint);
    void AutoScrollTick();
};
