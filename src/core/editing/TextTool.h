#pragma once
// Text mode: the next left click places a text label.

#include <QPoint>

class TBauteil;
class TBoardEditor;

class TTextTool {
public:
    explicit TTextTool(TBoardEditor& editor) : m_editor(editor) {}

    // A new text label at the grid point, selected, its dialog shown; back to select mode.
    TBauteil* PlaceText(QPoint boardPoint);

private:
    TBoardEditor& m_editor;
};
