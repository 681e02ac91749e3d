#include "core/editing/ZoomTool.h"

#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "core/model/Bauteil.h"

#include <algorithm>

void TZoomTool::StartRect(QPoint boardPoint)
{
    Selector = TSelector{};
    Selector->StartAt(boardPoint);
}

void TZoomTool::ZoomToBoard()
{
    TBoardViewState& v = m_editor.View;
    const TPlatine& board = m_editor.Board;
    v.SetZoom(std::min(double(v.ViewWidth) * 15.0 / double(board.BoardWidth),
                       double(v.ViewHeight) * 15.0 / double(board.BoardHeight)));
    v.ViewOffsetX = 0;
    v.ViewOffsetY = 0;
    m_editor.Board.Repaint();
    m_editor.NotifyChange();
}

void TZoomTool::ZoomToObjects(bool selectedOnly)
{
    TBoardViewState& v = m_editor.View;
    TPlatine& board = m_editor.Board;
    const bool any = std::any_of(board.Items.begin(), board.Items.end(),
                                 [selectedOnly](const auto& item) {
                                     return !selectedOnly || item->Selected;
                                 });
    if (!any)
        return;
    const TRect b = v.BoardRectToScreen(board.GetItemsBounds(selectedOnly));
    const QPoint centre(b.Left + (b.Right - b.Left) / 2, b.Top + (b.Bottom - b.Top) / 2);
    const QPoint p = v.ScreenToBoard(centre);
    const double w = std::max(1, b.Width());
    const double h = std::max(1, b.Height());
    v.SetZoom(std::min(double(v.ViewWidth - 30) / w * v.Zoom,
                       double(v.ViewHeight - 30) / h * v.Zoom));
    v.CentreOn(p);
    board.Repaint();
    m_editor.NotifyChange();
}

void TZoomTool::ZoomInAt(QPoint screenPoint)
{
    TBoardViewState& v = m_editor.View;
    const QPoint b = v.ScreenToBoard(screenPoint);
    v.SetZoom(v.Zoom * 1.4);
    v.CentreOn(b);
    m_editor.NotifyChange();
}

void TZoomTool::ZoomOutAt(QPoint screenPoint)
{
    TBoardViewState& v = m_editor.View;
    const QPoint b = v.ScreenToBoard(screenPoint);
    v.SetZoom(v.Zoom / 1.4);
    v.CentreOn(b);
    m_editor.NotifyChange();
}

void TZoomTool::FinishZoomRect(int x, int y)
{
    TBoardViewState& v = m_editor.View;
    if (Selector) {
        const TRect r = v.BoardRectToScreen(Selector->Rect()).Normalized();
        QPoint b;
        if (r.Width() < 5 || r.Height() < 5) {
            b = v.ScreenToBoard(QPoint(x, y));
            v.SetZoom(v.Zoom * 1.4);
        } else {
            b = v.ScreenToBoard(QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
            v.SetZoom(std::min(double(v.ViewWidth) / r.Width() * v.Zoom,
                               double(v.ViewHeight) / r.Height() * v.Zoom));
        }
        v.CentreOn(b);
        Selector.reset();
    }
    m_editor.NotifyChange();
    m_editor.Board.Repaint();
}

void TZoomTool::WheelZoom(bool up, QPoint mouse)
{
    TBoardViewState& v = m_editor.View;
    const QPoint b = v.ScreenToBoard(mouse);
    v.SetZoom(up ? v.Zoom * 1.1 : v.Zoom / 1.1);
    v.CentreOn(b);
    m_editor.NotifyChange();
    m_editor.Board.Repaint();
    if (v.OnMoveCursor)
        v.OnMoveCursor(v.BoardToScreen(b));
}
