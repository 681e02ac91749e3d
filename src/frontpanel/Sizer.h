#pragma once
// The selection frame around a selected front-panel element while its page is in edit mode.
// The page makes the frame the element's parent (the element at (6, 6), the frame 12 pixels
// wider and higher). The frame paints eight grab handles, moves the whole selection when it is
// dragged (it reports an offset; the page moves every selected frame), sizes a single element
// by a handle with grid snapping and the element's aspect ratio, and opens the element's
// properties on a double-click.

#include "core/model/Geometry.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>

class TCanvas;
class TFP_Element;

class TSizer : public QWidget {
public:
    using TNotifyEvent = std::function<void(TSizer* Sender)>;

    explicit TSizer(QWidget* owner = nullptr);
    ~TSizer() override;

    // Events the page sets.
    TNotifyEvent OnChange;        // the frame was dragged: Offset holds (dx, dy)
    TNotifyEvent OnSetMoving;     // a drag of the frame begins
    TNotifyEvent OnResetMoving;   // the mouse was released
    TNotifyEvent MachTransparent; // a sizing ended: refresh transparency
    // Messages to the page. At every mouse-down: "select the element under the cursor instead
    // of the sender's one"; the page answers 1 when it did (the frame then stops handling the
    // press). A Shift-click: "deselect this element". The page may free the frame inside these
    // calls only with deleteLater(), as it is still running the frame's mouse handler.
    std::function<int(TSizer* Sender, TFP_Element* element)> OnSelectUnderCursor;
    std::function<void(TSizer* Sender, TFP_Element* element)> OnDeselectElement;
    // Mouse moves over the frame are also sent to the parent page as plain mouse-move events
    // (no buttons) in page coordinates, so that it keeps its hover hint.

    TFP_Element* Element = nullptr;  // the element inside the frame (set by the page)
    int32_t Color;                   // fill colour (DesignPanelColor; the page sets its own)
    bool Moving = false;             // being dragged; the page also marks frames it moves along
    QPoint Offset;                   // the drag's offset, read by the page in OnChange

    bool GetSizeable() const { return m_sizeable; }
    void SetSizeable(bool sizeable);  // repaints on a change

    // Handle i (1..8) as its corners (x1, y1)-(x2, y2), both inclusive, for the current size.
    QRect HandleRect(int i) const;
    // Whether handle i may be used for the element (its width / height may change).
    bool HandleActive(int i) const;
    // The highest-numbered handle under the point, 0 when none or when that handle is not
    // active.
    int HandleAt(QPoint p) const;

    int SizingHandle() const { return m_sizingHandle; }
    // The outline for the pointer at p (frame coordinates) while sizing with the current
    // handle; with pageGrid the moving right and bottom edges snap to the page's grid.
    TRect ComputeOutline(QPoint p, bool pageGrid) const;
    // The outline shown now (frame coordinates) and whether it is shown.
    TRect Outline() const { return m_outline; }
    bool OutlineDrawn() const { return m_outlineDrawn; }

    // The mouse handlers; `shift` is the shift-state byte of Hotkey.h (hsShift, hsCtrl,
    // hsLeft ...), p in frame coordinates.
    void FrameMouseDown(Qt::MouseButton button, uint8_t shift, QPoint p);
    void FrameMouseMove(uint8_t shift, QPoint p);
    void FrameMouseUp(Qt::MouseButton button, uint8_t shift, QPoint p);
    // Double-click: the element's properties; the next mouse-down is ignored.
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Paint(TCanvas& canvas);
    void DrawOutline(const TRect& outline);
    void EraseOutline();
    QPoint Confined(QPoint p) const;
    void SnapToGrid(QPoint& p) const;
    void ForwardMouseMove(QPoint p);
    void SetHandleCursor(int handle);

    bool m_sizeable = true;
    bool m_confined = false;
    bool m_doubleClicked = false;
    bool m_pointerOnHandle = false;
    bool m_pageGridSizing = false;
    int m_sizingHandle = 0;
    QPoint m_moveStart;
    QPoint m_sizingStart;
    TRect m_outline;
    bool m_outlineDrawn = false;
    QPointer<QWidget> m_outlineWidget;
};
