#pragma once
// Zoom mode and the zoom commands: a zoom rectangle, zoom in and out at a point, the wheel,
// the whole board and the (selected) items fitted into the view.

#include "core/editing/EditingTypes.h"

#include <optional>

class TBoardEditor;

class TZoomTool {
public:
    explicit TZoomTool(TBoardEditor& editor) : m_editor(editor) {}

    std::optional<TSelector> Selector;  // the zoom rectangle while it is dragged

    // Left press in zoom mode: a zoom rectangle starts at the board point.
    void StartRect(QPoint boardPoint);
    // Left release in zoom mode: fits the zoom rectangle, or zooms in at the mouse for a
    // rectangle under 5 pixels.
    void FinishZoomRect(int x, int y);
    void ZoomToBoard();
    void ZoomToObjects(bool selectedOnly);
    void ZoomInAt(QPoint screenPoint);
    void ZoomOutAt(QPoint screenPoint);
    // Wheel zoom by 1.1 about the board point under the mouse (screen point).
    void WheelZoom(bool up, QPoint mouse);

private:
    TBoardEditor& m_editor;
};
