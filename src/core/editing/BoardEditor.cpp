#include "core/editing/BoardEditor.h"

#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "platform/Types.h"

TBoardEditor::TBoardEditor(TPlatine& board)
    : Board(board),
      View(board),
      SelectTool(*this),
      PlacingTool(*this),
      WireTool(*this),
      ZoomTool(*this),
      TextTool(*this)
{
}

void TBoardEditor::ChangeMode(uint8_t mode)
{
    Mode = mode;
    if (Board.OnModeChange)
        Board.OnModeChange(&Board);
}

void TBoardEditor::NotifyChange()
{
    if (Board.OnChange)
        Board.OnChange(&Board);
}

// --- Mouse -----------------------------------------------------------------------------------

bool TBoardEditor::OutsideBoard(int x, int y) const
{
    return x >= View.ControlWidth() || y >= View.ControlHeight();
}

void TBoardEditor::Press(int button, uint8_t shift, int x, int y)
{
    if (IgnoreNextPress) {
        IgnoreNextPress = false;
        return;
    }
    if (OutsideBoard(x, y) && !Dragging && Mode != kModePlacing) {
        if (button == kLeftButton) {
            SelectTool.Selector.reset();
            ZoomTool.StartRect(View.ScreenToBoard(QPoint(x, y)));
            OutsideFrame = true;
        } else if (button == kRightButton) {
            ZoomTool.ZoomOutAt(QPoint(x, y));
            Board.Repaint();
        }
        return;
    }
    if (button == kRightButton) {
        SelectTool.Selector.reset();
        ZoomTool.Selector.reset();
        if (Mode == kModeSelect)
            SelectTool.SelectAt(x, y, shift, kRightButton);
        else if (Mode == kModeText)
            Mode = kModeSelect;
    }
    const QPoint p = View.ScreenToBoard(QPoint(x, y));
    WireTool.EndedByClick = false;
    if (button == kLeftButton) {
        const bool fromSelect = Mode == kModeSelect && Board.WireEndAt(p);
        if (fromSelect)
            ChangeMode(kModeWiring);
        if (Mode == kModeWiring && !Dragging)
            WireTool.StartedInSelectMode = fromSelect;
        if (Mode == kModeSelect) {
            if (TSegment* pinSegment = Board.PinSegmentAt(p))
                Board.TogglePinInversion(pinSegment);
        }
        switch (Mode) {
        case kModeZoom:
            ZoomTool.StartRect(p);
            break;
        case kModeSelect:
            SelectTool.SelectAt(x, y, shift, kLeftButton);
            break;
        case kModeWiring:
            WireTool.WireClick(x, y, kLeftButton);
            break;
        case kModeText:
            TextTool.PlaceText(p);
            break;
        default:
            break;
        }
    } else if (button == kRightButton) {
        switch (Mode) {
        case kModeSelect:
            if (Board.OnPopupRequest)
                Board.OnPopupRequest(&Board);
            break;
        case kModeWiring:
            WireTool.WireClick(x, y, kRightButton);
            break;
        case kModePlacing:
            SelectTool.EndDrag(kRightButton);
            break;
        case kModeZoom:
            ZoomTool.ZoomOutAt(QPoint(x, y));
            Board.Repaint();
            break;
        default:
            break;
        }
    }
}

void TBoardEditor::Release(int button, uint8_t, int x, int y)
{
    if (button == kLeftButton && OutsideFrame) {
        OutsideFrame = false;
        ZoomTool.FinishZoomRect(x, y);
    } else if (button == kLeftButton) {
        if (Mode == kModeZoom) {
            ZoomTool.FinishZoomRect(x, y);
        } else if (Mode == kModeSelect || Mode == kModePlacing) {
            SelectTool.FinishSelector();
            if (Dragging)
                SelectTool.EndDrag(kLeftButton);
        }
    }
    if (Board.OnAktTools)
        Board.OnAktTools(&Board);
}

void TBoardEditor::Move(uint8_t shift, int x, int y, QPoint devicePoint)
{
    const QPoint p = View.ScreenToBoard(QPoint(x, y));
    UpdateCursor(x, y);
    for (auto* selector : {&SelectTool.Selector, &ZoomTool.Selector}) {
        if (!*selector)
            continue;
        (*selector)->Square = (shift & kShiftKey) != 0;
        (*selector)->Centred = (shift & kCtrlKey) != 0;
        (*selector)->DragTo(p);
    }
    if (Dragging) {
        if (Mode == kModeSelect || Mode == kModePlacing)
            SelectTool.DragSelection(x, y);
        else if (Mode == kModeWiring)
            WireTool.UpdateWirePreview(x, y);
    }
    if (Mode == kModeWiring)
        WireTool.MoveCrosshair(x, y);
    UpdateAutoScroll(devicePoint);
}

void TBoardEditor::DoubleClick()
{
    // A double click ends a wire: the first click of it finished the wire on a pin or wire,
    // or the wire ends where it stands. The press that comes with it starts no new one.
    if (WireTool.EndedByClick || (Mode == kModeWiring && Dragging)) {
        if (Dragging)
            WireTool.EndWire();
        WireTool.EndedByClick = false;
        IgnoreNextPress = true;
        return;
    }
    if (Mode == kModeSelect && Board.CanEditProperties()) {
        IgnoreNextPress = true;
        Board.EditSelectedProperties();
    }
}

bool TBoardEditor::Wheel(bool up, QPoint mouse)
{
    if (Mode != kModeZoom && Mode != kModeSelect)
        return false;
    ZoomTool.WheelZoom(up, mouse);
    return true;
}

void TBoardEditor::UpdateCursor(int x, int y)
{
    if (Mode == kModeSelect) {
        const QPoint p = View.ScreenToBoard(QPoint(x, y));
        int16_t cursor = kCursorDefault;
        if (Board.WireEndAt(p))
            cursor = kCursorPin;
        if (Board.PinSegmentAt(p))
            cursor = kCursorInvert;
        View.Cursor = cursor;
    } else if (Mode == kModeWiring) {
        View.Cursor = kCursorNone;
    }
}

// --- Auto-scroll -----------------------------------------------------------------------------

void TBoardEditor::ConfineCursor()
{
    // The mouse is held by the view while a button is down; the cursor itself is not clipped.
    View.AutoScrollEnabled = true;
}

void TBoardEditor::ReleaseCursor()
{
    View.AutoScrollEnabled = false;
    View.AutoScrollDirection = 0;
}

void TBoardEditor::UpdateAutoScroll(QPoint devicePoint)
{
    uint8_t direction = 0;
    if (View.ViewWidth > 0 && View.ViewHeight > 0) {
        if (devicePoint.x() >= View.ViewWidth - 20)
            direction = 4;
        if (devicePoint.x() < 20)
            direction = 3;
        if (devicePoint.y() >= View.ViewHeight - 20)
            direction = 2;
        if (devicePoint.y() < 20)
            direction = 1;
    }
    View.AutoScrollDirection = direction;
    if (direction == 0)
        return;
    if (WireTool.Crosshair)
        WireTool.Crosshair->Shown = false;
    if (WireTool.TempLine)
        WireTool.TempLine->Shown = false;
}

void TBoardEditor::AutoScrollTick()
{
    if (!View.AutoScrollEnabled || View.AutoScrollDirection == 0)
        return;
    const int step = int(RoundHalfEven(Extended(2) * Extended(View.Zoom)));
    switch (View.AutoScrollDirection) {
    case 1:
        View.ViewOffsetY -= step;
        break;
    case 2:
        View.ViewOffsetY += step;
        break;
    case 3:
        View.ViewOffsetX -= step;
        break;
    case 4:
        View.ViewOffsetX += step;
        break;
    default:
        break;
    }
    View.ClampViewOffset();
    if (WireTool.TempLine)
        WireTool.TempLine->Shown = false;
    NotifyChange();
    Board.Repaint();
}
