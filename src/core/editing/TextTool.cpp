#include "core/editing/TextTool.h"

#include "core/board/Platine.h"
#include "core/board/Textlabel.h"
#include "core/editing/BoardEditor.h"

TBauteil* TTextTool::PlaceText(QPoint boardPoint)
{
    TPlatine& board = m_editor.Board;
    TBauteil* text = board.AppendItem(NewObject<TText>());
    board.BindItem(text);
    const QPoint p = board.SnapToGrid(boardPoint);
    text->X = p.x();
    text->Y = p.y();
    board.SelectAll(false);
    board.SelectObject(text, true);
    text->EditProperties();
    m_editor.ChangeMode(kModeSelect);
    return text;
}
