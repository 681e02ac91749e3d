#include "widgets/Caret.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>
#include <QWidget>

TWLXCaret::TWLXCaret(QWidget* owner)
    : m_owner(owner)
{
    BlinkRate = QGuiApplication::styleHints()->cursorFlashTime();
}

void TWLXCaret::SetWordProp(int index, int value)
{
    if (index >= 0 && index < 5)
        m_word[index] = value & 0xFFFF;
}

void TWLXCaret::Assign(const TWLXCaret& source)
{
    BlinkRate = source.BlinkRate;
    m_word[0] = source.m_word[0];
    m_word[1] = source.m_word[1];
    Style = source.Style;
}

void TWLXCaret::CreateShape()
{
    m_shapeImage = QImage();
    switch (Style) {
    case TWLXCaretStyles::csDefault: m_shape = QSize(1, FontHeight()); break;
    case TWLXCaretStyles::csBlock:
    case TWLXCaretStyles::csUnderBlock: m_shape = QSize(Width(), Height()); break;
    case TWLXCaretStyles::csUnder:
    case TWLXCaretStyles::csOver: m_shape = QSize(Width(), 1); break;
    case TWLXCaretStyles::csBitmap:
        if (CaretBmpMode == TWLXCaretBitmap::cbBmpSize || m_bitmap.isNull()) {
            m_shapeImage = m_bitmap;
            m_shape = m_bitmap.size();
        } else {
            m_shape = QSize(Width(), Height());
            m_shapeImage = QImage(m_shape, QImage::Format_RGB32);
            m_shapeImage.fill(Qt::black);
            QPainter p(&m_shapeImage);
            if (CaretBmpMode == TWLXCaretBitmap::cbTile)
                p.drawTiledPixmap(m_shapeImage.rect(), QPixmap::fromImage(m_bitmap));
            else
                p.drawImage(m_shapeImage.rect(), m_bitmap);
        }
        break;
    }
    m_created = true;
}

void TWLXCaret::DestroyShape()
{
    m_shape = QSize();
    m_shapeImage = QImage();
    m_created = false;
}

void TWLXCaret::Show()
{
    if (DesignMode || !Enabled)
        return;
    m_shown = true;
    if (!m_created)
        CreateShape();
    if (m_owner)
        m_owner->update();
}

void TWLXCaret::Hide()
{
    m_shown = false;
    if (m_owner)
        m_owner->update();
}

void TWLXCaret::SetPos(int x, int y)
{
    if (!m_owner || !m_owner->hasFocus())
        return;
    m_pos = QPoint(x, y);
    m_owner->update();
}

void TWLXCaret::DrawCaret(QPainter& painter, bool visiblePhase) const
{
    if (!m_shown || !visiblePhase || m_shape.isEmpty())
        return;
    const QRect r(m_pos, m_shape);
    if (!m_shapeImage.isNull()) {
        painter.drawImage(r.topLeft(), m_shapeImage);
        return;
    }
    // An inverted area, as the system caret shows.
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(r, Qt::white);
    painter.setCompositionMode(mode);
}
