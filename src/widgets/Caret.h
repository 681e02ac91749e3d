#pragma once
// The caret of an own-drawn edit: its shape (a line as high as the font, a block, a bar under or
// over the character, a picture, or a block under the character), its blink rate and whether it
// shows. The owner draws it (DrawCaret) where it placed it; Qt has no system caret to hand it to.
// The blink rate is the owner's own: the desktop's cursor flash time is never changed.

#include "widgets/WLXObject.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>

class QPainter;
class QWidget;

// Stored in form data: keep the order.
enum class TWLXCaretStyles : uint8_t { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };
enum class TWLXCaretBitmap : uint8_t { cbBmpSize, cbTile, cbStretch };

class TWLXCaret : public TWLXObject {
public:
    explicit TWLXCaret(QWidget* owner);

    int BlinkRate = 0;                       // milliseconds; the desktop's flash time at creation
    TWLXCaretStyles Style = TWLXCaretStyles::csDefault;
    TWLXCaretBitmap CaretBmpMode = TWLXCaretBitmap::cbBmpSize;
    int Width() const { return m_word[0]; }
    int Height() const { return m_word[1]; }
    int ImageIndex() const { return m_word[2]; }
    int ListIndex() const { return m_word[3]; }
    int FontHeight() const { return m_word[4]; }
    // 0 Width, 1 Height, 2 ImageIndex, 3 ListIndex, 4 font height: stored only; the shape
    // follows at its next creation.
    void SetWordProp(int index, int value);
    const QImage& Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage& image) { m_bitmap = image; }

    // Copies the blink rate, the size and the style.
    void Assign(const TWLXCaret& source);

    // Makes the shape from the present settings.
    void CreateShape();
    void DestroyShape();
    // Nothing at design time or while disabled; the first Show creates the shape.
    void Show();
    void Hide();
    // Moves the caret while the owner has the focus.
    void SetPos(int x, int y);

    bool DesignMode = false;
    bool Enabled = true;
    bool Shown() const { return m_shown; }
    bool Created() const { return m_created; }
    QPoint Pos() const { return m_pos; }
    // Size of the shape made by the last CreateShape.
    QSize ShapeSize() const { return m_shape; }
    // The shape's picture for the bitmap styles (tiled or stretched to Width x Height).
    const QImage& ShapeImage() const { return m_shapeImage; }
    // Draws the caret at its position while shown and in the visible blink phase.
    void DrawCaret(QPainter& painter, bool visiblePhase) const;

private:
    QWidget* m_owner;
    int m_word[5] = {2, 10, 0, 0, 0};
    QImage m_bitmap;
    QImage m_shapeImage;
    QSize m_shape;
    QPoint m_pos;
    bool m_created = false;
    bool m_shown = false;
};
