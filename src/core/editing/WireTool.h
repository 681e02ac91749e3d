#pragma once
// Wiring mode: wires are drawn leg by leg from grid point to grid point, each leg horizontal or
// vertical; the crosshair marks the grid point under the mouse.

#include "core/editing/EditingTypes.h"

#include <optional>

class TBoardEditor;

class TWireTool {
public:
    explicit TWireTool(TBoardEditor& editor) : m_editor(editor) {}

    std::optional<TTempline> TempLine;    // the leg being drawn
    std::optional<TFadenKreuz> Crosshair;
    QPoint WireStart;  // board units, while a wire is in progress
    QPoint WireEnd;
    bool StartedInSelectMode = false;  // the wire began with a press on a pin in select mode
    bool EndedByClick = false;         // the last left click finished the wire on a pin or wire

    // A click at the screen point (x, y): the left button starts a wire or ends a leg, the
    // right button ends the wire, or leaves wiring mode when none is in progress. A leg that
    // ends on a pin's connection point or on another wire finishes the wire there; a wire
    // that began at a pin in select mode then returns to select mode.
    void WireClick(int x, int y, int button);
    // Ends the wire in progress; the legs drawn so far stay.
    void EndWire();
    // Mouse move while a wire is drawn: the preview follows the orthogonal corner.
    void UpdateWirePreview(int x, int y);
    void MoveCrosshair(int x, int y);
    // The corner of a leg from start towards p: vertical when |dy| >= |dx|.
    static QPoint OrthogonalCorner(QPoint start, QPoint p);

private:
    TBoardEditor& m_editor;
};
