#pragma once
// Placing: pasted items (from the clipboard stream, a duplicate, or a palette drop) follow the
// mouse until a left release drops them or a right press removes them again.

#include <cstdint>

class QIODevice;
class TBoardEditor;

class TPlacingTool {
public:
    explicit TPlacingTool(TBoardEditor& editor) : m_editor(editor) {}

    bool PlacingFromPalette = false;  // set before a palette drop is pasted

    // Reads the stream's circuit onto the board and lets it follow the mouse. Nothing happens
    // while placing or for a stream under 3 bytes.
    void PasteFromStream(QIODevice& stream, uint8_t version);
    // Copies the selection to the clipboard stream and pastes it at once.
    void DuplicateSelection(uint8_t version);

private:
    TBoardEditor& m_editor;
};
