#include "core/editing/PlacingTool.h"

#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"

#include <QBuffer>
#include <QIODevice>

void TPlacingTool::PasteFromStream(QIODevice& stream, uint8_t version)
{
    TBoardEditor& e = m_editor;
    TPlatine& board = e.Board;
    if (e.Mode == kModePlacing || stream.size() < 3)
        return;
    e.SavedMode = e.Mode;
    e.Mode = kModePlacing;
    e.View.SavedCursor = e.View.Cursor;
    e.View.Cursor = kCursorHand;
    try {
        board.PasteFromStream(stream, version);
    } catch (...) {
        // What was read stays on the board, selected; the board is not left placing.
        e.Mode = e.SavedMode;
        e.View.Cursor = e.View.SavedCursor;
        board.Repaint();
        throw;
    }
    const TRect b = board.GetItemsBounds(true);
    e.DragAnchor = e.View.BoardToScreen(
        QPoint(b.Left + (b.Right - b.Left) / 2, b.Top + (b.Bottom - b.Top) / 2));
    e.ConfineCursor();
    e.Dragging = true;
    if (PlacingFromPalette)
        e.View.AutoScrollEnabled = false;
    if (e.View.OnMoveCursor)
        e.View.OnMoveCursor(e.View.ViewCentre());
}

void TPlacingTool::DuplicateSelection(uint8_t version)
{
    TPlatine& board = m_editor.Board;
    board.CopySelection(m_editor.View.Zoom);
    if (board.ClipboardStream)
        PasteFromStream(*board.ClipboardStream, version);
}
