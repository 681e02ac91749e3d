#include "core/editing/SelectTool.h"

#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/board/Segment.h"
#include "core/editing/BoardEditor.h"
#include "platform/Canvas.h"
#include "platform/Types.h"

#include <algorithm>

namespace {

TRect LineRect(const TGummibandPoint& p)
{
    return TRect{p.AnchorX, p.AnchorY, p.EndX, p.EndY}.Normalized().Inflated(4);
}

} // namespace

void TSelectTool::SelectAt(int x, int y, uint8_t shift, int button)
{
    TBoardEditor& e = m_editor;
    TPlatine& board = e.Board;
    TCanvas canvas;
    e.View.SetMapping(canvas);
    const QPoint point(x, y);
    const std::vector<TBauteil*> hits = board.ItemsAt(point, canvas);
    for (TBauteil* item : hits) {
        if (shift & kShiftKey) {
            board.SelectObject(item, !item->Selected);
        } else if (!item->Selected) {
            board.SelectAll(false);
            board.SelectObject(item, true);
        }
        if (button == kLeftButton) {
            e.DragAnchor = point;
            e.Dragging = true;
            CollectRubberPoints();
            RubberBandActive = !RubberPoints.empty();
            e.ConfineCursor();
        }
    }
    if (hits.empty() && button == kLeftButton) {
        if (!(shift & kShiftKey))
            board.SelectAll(false);
        Selector = TSelector{};
        Selector->StartAt(e.View.ScreenToBoard(point));
    }
}

void TSelectTool::FinishSelector()
{
    if (!Selector)
        return;
    const TRect area = Selector->Rect();
    Selector.reset();
    m_editor.Board.SelectItemsIn(area);
}

void TSelectTool::CollectRubberPoints()
{
    RubberPoints.clear();
    std::vector<TSegment*> selected, unselected;
    for (const auto& item : m_editor.Board.Items) {
        if (auto* s = dynamic_cast<TSegment*>(item.get()))
            (s->Selected ? selected : unselected).push_back(s);
    }
    for (const TSegment* s : selected) {
        for (const TSegment* u : unselected) {
            for (const QPoint end : {QPoint(s->X1, s->Y1), QPoint(s->X2, s->Y2)}) {
                if (end == QPoint(u->X1, u->Y1) || end == QPoint(u->X2, u->Y2))
                    AddRubberPoint(end);
            }
        }
    }
}

void TSelectTool::AddRubberPoint(QPoint p)
{
    for (const TGummibandPoint& existing : RubberPoints) {
        if (existing.AnchorX == p.x() && existing.AnchorY == p.y())
            return;
    }
    RubberPoints.push_back(TGummibandPoint{p.x(), p.y(), p.x(), p.y()});
}

void TSelectTool::DragSelection(int x, int y)
{
    TBoardEditor& e = m_editor;
    TPlatine& board = e.Board;
    const QPoint mouse = e.View.ScreenToBoard(QPoint(x, y));
    const QPoint anchor = e.View.ScreenToBoard(e.DragAnchor);
    const int32_t g = board.GridStep > 0 ? board.GridStep : 1;
    auto toGrid = [g](int d) { return int(RoundHalfEven(Extended(d) / Extended(g))) * g; };
    const QPoint delta(toGrid(mouse.x() - anchor.x()), toGrid(mouse.y() - anchor.y()));

    // A move that would push the selection past an edge of the board is refused. Only the
    // direction of the move counts, so that items whose bounds already reach past an edge
    // (a wire drawn along it) can still be moved inwards.
    const TRect bounds = board.GetItemsBounds(true);
    if ((delta.x() < 0 && bounds.Left + delta.x() < 0)
        || (delta.y() < 0 && bounds.Top + delta.y() < 0)
        || (delta.x() > 0 && bounds.Right + delta.x() > board.BoardWidth)
        || (delta.y() > 0 && bounds.Bottom + delta.y() > board.BoardHeight))
        return;
    if (delta.isNull())
        return;

    Moved = true;
    if (DragStarted) {
        DragStarted = false;
        board.DetachSelectedWires();
    }
    board.MoveSelectionBy(delta, bounds);
    if (RubberBandActive) {
        for (TGummibandPoint& p : RubberPoints) {
            const TRect before = LineRect(p);
            p.EndX += delta.x();
            p.EndY += delta.y();
            if (!board.NoPaint && board.OnInvalidateRect)
                board.OnInvalidateRect(before.United(LineRect(p)));
        }
        if (!RubberPoints.empty() && !IsStraight(RubberPoints.front()))
            RubberBandActive = false;
    }
    e.DragAnchor = e.View.BoardToScreen(anchor + delta);
}

void TSelectTool::EndDrag(int button)
{
    TBoardEditor& e = m_editor;
    TPlatine& board = e.Board;
    if (RubberBandActive && Moved) {
        for (const TGummibandPoint& p : RubberPoints) {
            // A line that ends where it starts connects nothing.
            if (!IsStraight(p) || (p.AnchorX == p.EndX && p.AnchorY == p.EndY))
                continue;
            TSegment* segment =
                board.AddSegment(QPoint(p.AnchorX, p.AnchorY), QPoint(p.EndX, p.EndY));
            segment->Selected = true;
        }
        board.NormaliseSelectedWires();
    }
    RubberBandActive = false;
    if (button == kLeftButton)
        board.NormaliseSelectedWires();
    else if (button == kRightButton)
        board.DeleteSelection();
    Moved = false;
    bool editHardware = false;
    if (e.Mode == kModePlacing) {
        e.Mode = e.SavedMode;
        e.View.Cursor = e.View.SavedCursor;
        if (e.PlacingTool.PlacingFromPalette && button == kLeftButton && !board.Items.empty()
            && IsHardwareComponent(*board.Items.back()))
            editHardware = true;
    }
    e.Dragging = false;
    e.ReleaseCursor();
    DragStarted = true;
    e.PlacingTool.PlacingFromPalette = false;
    if (editHardware)
        board.EditSelectedProperties();
}

QString TSelectTool::HintAt(int x, int y)
{
    if (!ShowComponentHints)
        return QString();
    TCanvas canvas;
    m_editor.View.SetMapping(canvas);
    const std::vector<TBauteil*> hits = m_editor.Board.ItemsAt(QPoint(x, y), canvas, true);
    return hits.empty() ? QString() : hits.front()->GetHint();
}
