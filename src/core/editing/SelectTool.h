#pragma once
// Select mode and moving: a click selects (Shift toggles), a press on an item starts a move of
// the selection by the grid, dragging connected wires along as red rubber-band lines, and a
// press on empty board drags a selection rectangle. Placing a paste uses the same move.

#include "core/editing/EditingTypes.h"

#include <QString>
#include <optional>
#include <vector>

class TBoardEditor;

class TSelectTool {
public:
    explicit TSelectTool(TBoardEditor& editor) : m_editor(editor) {}

    std::optional<TSelector> Selector;   // the selection rectangle while it is dragged
    std::vector<TGummibandPoint> RubberPoints;
    bool RubberBandActive = false;       // rubber-band lines are shown for the current drag
    bool Moved = false;                  // the current drag actually moved the selection
    bool DragStarted = true;             // no move of the current drag has happened yet

    // Mouse press on the screen point (x, y): hit items are selected (Shift toggles); the left
    // button starts a move, or a selection rectangle when nothing is hit.
    void SelectAt(int x, int y, uint8_t shift, int button);
    // Release of a selection rectangle: every item whose bounds meet it gets selected.
    void FinishSelector();
    // Moves the selection by the grid-rounded distance from the drag anchor to (x, y).
    void DragSelection(int x, int y);
    // Ends a move or a placement: the left button drops (wires are normalised), the right
    // button deletes the selection.
    void EndDrag(int button);
    void CollectRubberPoints();
    void AddRubberPoint(QPoint p);
    // The hint of the first item under the screen point; empty when hints are off or none.
    QString HintAt(int x, int y);

private:
    TBoardEditor& m_editor;
};
