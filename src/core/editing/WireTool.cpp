#include "core/editing/WireTool.h"

#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"

#include <cstdlib>

QPoint TWireTool::OrthogonalCorner(QPoint start, QPoint p)
{
    if (std::abs(start.y() - p.y()) >= std::abs(start.x() - p.x()))
        return QPoint(start.x(), p.y());
    return QPoint(p.x(), start.y());
}

void TWireTool::WireClick(int x, int y, int button)
{
    TBoardEditor& e = m_editor;
    TPlatine& board = e.Board;
    const QPoint p = e.View.ScreenToBoard(QPoint(x, y));
    if (!e.Dragging) {
        if (button == kLeftButton) {
            board.SelectAll(false);
            e.Dragging = true;
            e.ConfineCursor();
            WireStart = board.SnapToGrid(p);
            TempLine = TTempline{};
            TempLine->Start = WireStart;
            TempLine->End = WireStart;
        } else if (button == kRightButton) {
            if (Crosshair)
                Crosshair->Shown = false;
            e.ChangeMode(kModeSelect);
        }
        return;
    }
    if (button == kLeftButton) {
        if (Crosshair)
            Crosshair->Shown = false;
        if (TempLine)
            TempLine->Shown = false;
        const QPoint corner = board.SnapToGrid(OrthogonalCorner(WireStart, p));
        // A click on the leg's own start adds no zero-length piece of wire.
        if (corner != WireStart) {
            // The leg reaches where the user clicked and something is there to connect to.
            const bool connects = corner == board.SnapToGrid(p)
                && (board.WireEndAt(corner) || board.WireAt(corner));
            board.AddWire(WireStart, corner);
            if (connects) {
                EndWire();
                EndedByClick = true;
                if (Crosshair)
                    Crosshair->Shown = true;
                if (StartedInSelectMode) {
                    if (Crosshair)
                        Crosshair->Shown = false;
                    e.ChangeMode(kModeSelect);
                    e.View.Cursor = kCursorDefault;
                }
                return;
            }
        }
        WireStart = corner;
        WireEnd = corner;
        if (TempLine) {
            TempLine->Start = corner;
            TempLine->End = corner;
        }
        if (Crosshair)
            Crosshair->Shown = true;
    } else if (button == kRightButton) {
        EndWire();
        if (Crosshair)
            Crosshair->Shown = false;
    }
}

void TWireTool::EndWire()
{
    TempLine.reset();
    m_editor.Dragging = false;
    m_editor.ReleaseCursor();
}

void TWireTool::UpdateWirePreview(int x, int y)
{
    if (!m_editor.Dragging || !TempLine)
        return;
    const QPoint p = m_editor.View.ScreenToBoard(QPoint(x, y));
    WireEnd = m_editor.Board.SnapToGrid(OrthogonalCorner(WireStart, p));
    if (TempLine->Shown && TempLine->Start == WireStart && TempLine->End == WireEnd)
        return;
    TempLine->Start = WireStart;
    TempLine->End = WireEnd;
    TempLine->Shown = true;
}

void TWireTool::MoveCrosshair(int x, int y)
{
    if (!Crosshair)
        Crosshair = TFadenKreuz{};
    const QPoint p = m_editor.Board.SnapToGrid(m_editor.View.ScreenToBoard(QPoint(x, y)));
    if (p == Crosshair->Position && Crosshair->Shown)
        return;
    Crosshair->Position = p;
    Crosshair->Shown = true;
}
