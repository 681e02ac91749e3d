#include "shell/boardview/BoardView.h"

#include "core/board/Platine.h"
#include "core/editing/BoardEditor.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Area around the drawn board (when the view is wider than the board at a small zoom).
const QColor kOutsideBoard(160, 160, 160);

uint8_t ShiftState(Qt::KeyboardModifiers modifiers)
{
    uint8_t shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= kShiftKey;
    if (modifiers & Qt::ControlModifier)
        shift |= kCtrlKey;
    return shift;
}

// The board's button number, or -1 for a button the board does not use.
int ButtonNumber(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        return kLeftButton;
    if (button == Qt::RightButton)
        return kRightButton;
    return -1;
}

// Stand-ins for the program's own cursor pictures.
Qt::CursorShape CursorShape(int16_t number)
{
    switch (number) {
    case kCursorNone:
        return Qt::BlankCursor;
    case kCursorZoom:
    case kCursorSolder:
    case kCursorPin:
        return Qt::CrossCursor;
    case kCursorFinger:
    case kCursorInvert:
        return Qt::PointingHandCursor;
    case kCursorHand:
        return Qt::ClosedHandCursor;
    case kCursorText:
        return Qt::IBeamCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

TBoardView::TBoardView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_autoScroll.setInterval(20);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] { AutoScrollStep(); });
}

TBoardView::~TBoardView()
{
    RemoveHooks();
}

// --- Board and hooks -------------------------------------------------------------------------

void TBoardView::SetEditor(TBoardEditor* editor)
{
    if (editor == m_editor)
        return;
    RemoveHooks();
    m_editor = editor;
    m_board = editor ? &editor->Board : nullptr;
    m_cache = QImage();
    m_stale = QRegion();
    if (!m_board) {
        viewport()->update();
        return;
    }
    InstallHooks();
    m_editor->View.ViewWidth = viewport()->width();
    m_editor->View.ViewHeight = viewport()->height();
    m_board->Visible = isVisible();
    SyncScrollBars();
    ApplyCursor();
    InvalidateAll();
}

void TBoardView::InstallHooks()
{
    m_board->OnInvalidateRect = [this](const TRect& area) {
        InvalidateBoardRect(area.Left, area.Top, area.Right, area.Bottom);
    };
    m_board->OnRepaint = [this] {
        SyncScrollBars();
        InvalidateAll();
    };
    m_editor->View.OnMoveCursor = [this](QPoint screenPoint) {
        const TBoardViewState& v = m_editor->View;
        const QPoint device = screenPoint - QPoint(v.ViewOffsetX, v.ViewOffsetY);
        QCursor::setPos(viewport()->mapToGlobal(device));
    };
    m_board->OnLivePaint = [this](const std::function<void(TCanvas&)>& painter) {
        LivePaint(painter);
    };
}

void TBoardView::RemoveHooks()
{
    m_autoScroll.stop();
    if (!m_board)
        return;
    m_board->OnInvalidateRect = nullptr;
    m_board->OnRepaint = nullptr;
    m_editor->View.OnMoveCursor = nullptr;
    m_board->OnLivePaint = nullptr;
    m_board->Visible = false;
}

// --- Scrolling -------------------------------------------------------------------------------

void TBoardView::SyncScrollBars()
{
    if (!m_board)
        return;
    TBoardViewState& v = m_editor->View;
    m_syncing = true;
    const int w = viewport()->width();
    const int h = viewport()->height();
    horizontalScrollBar()->setRange(0, std::max(0, v.ControlWidth() - w));
    horizontalScrollBar()->setPageStep(std::max(1, w));
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, v.ControlHeight() - h));
    verticalScrollBar()->setPageStep(std::max(1, h));
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setValue(v.ViewOffsetX);
    verticalScrollBar()->setValue(v.ViewOffsetY);
    v.ViewOffsetX = horizontalScrollBar()->value();
    v.ViewOffsetY = verticalScrollBar()->value();
    m_syncing = false;
    viewport()->update();
}

void TBoardView::scrollContentsBy(int, int)
{
    if (m_syncing || !m_board)
        return;
    m_editor->View.ViewOffsetX = horizontalScrollBar()->value();
    m_editor->View.ViewOffsetY = verticalScrollBar()->value();
    if (m_editor->WireTool.Crosshair)
        m_editor->WireTool.Crosshair->Shown = false;
    viewport()->update();
}

void TBoardView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!m_board)
        return;
    m_editor->View.ViewWidth = viewport()->width();
    m_editor->View.ViewHeight = viewport()->height();
    SyncScrollBars();
}

void TBoardView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_board)
        m_board->Visible = true;
}

void TBoardView::hideEvent(QHideEvent* event)
{
    QAbstractScrollArea::hideEvent(event);
    if (m_board)
        m_board->Visible = false;
}

// --- Painting --------------------------------------------------------------------------------

bool TBoardView::CacheCurrent() const
{
    return !m_cache.isNull() && m_cache.size() == viewport()->size() && m_board
        && m_cacheZoom == m_editor->View.Zoom
        && m_cacheOffset == QPoint(m_editor->View.ViewOffsetX, m_editor->View.ViewOffsetY);
}

void TBoardView::InvalidateBoardRect(int left, int top, int right, int bottom)
{
    if (!m_board)
        return;
    const TBoardViewState& v = m_editor->View;
    const QPoint a = v.BoardToDevice(QPoint(left, top));
    const QPoint b = v.BoardToDevice(QPoint(right, bottom));
    const QRect area = QRect(a, b).normalized().adjusted(-2, -2, 2, 2) & viewport()->rect();
    if (area.isEmpty())
        return;
    m_stale += area;
    viewport()->update(area);
}

void TBoardView::InvalidateAll()
{
    m_stale = QRegion(viewport()->rect());
    viewport()->update();
}

// Paints the stale parts of the off-screen image from the board.
void TBoardView::RenderStale()
{
    if (!CacheCurrent()) {
        m_cache = QImage(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        m_cacheZoom = m_editor->View.Zoom;
        m_cacheOffset = QPoint(m_editor->View.ViewOffsetX, m_editor->View.ViewOffsetY);
        m_stale = QRegion(m_cache.rect());
    }
    if (m_stale.isEmpty() || m_cache.isNull())
        return;
    QPainter painter(&m_cache);
    painter.setClipRegion(m_stale);
    painter.fillRect(m_stale.boundingRect(), kOutsideBoard);
    painter.translate(-m_cacheOffset);
    TCanvas canvas(&painter);
    m_editor->View.SetMapping(canvas);
    m_board->Paint(canvas, m_editor->View.GridVisible);
    m_stale = QRegion();
}

void TBoardView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    if (!m_board || viewport()->width() <= 0 || viewport()->height() <= 0) {
        painter.fillRect(event->rect(), kOutsideBoard);
        return;
    }
    m_painting = true;
    if (!m_board->NoPaint)
        RenderStale();
    if (!m_cache.isNull())
        painter.drawImage(event->rect(), m_cache, event->rect());
    else
        painter.fillRect(event->rect(), kOutsideBoard);
    PaintOverlays(painter);
    m_painting = false;
}

void TBoardView::PaintOverlays(QPainter& painter)
{
    const TBoardEditor& e = *m_editor;
    const TBoardViewState& v = e.View;
    painter.save();
    painter.translate(-v.ViewOffsetX, -v.ViewOffsetY);
    TCanvas canvas(&painter);
    v.SetMapping(canvas);
    if (e.SelectTool.RubberBandActive && e.Dragging) {
        canvas.Pen = TCanvasPen{clRed, 3, Qt::SolidLine, TPenMode::Copy};
        for (const TGummibandPoint& p : e.SelectTool.RubberPoints) {
            canvas.MoveTo(p.AnchorX, p.AnchorY);
            canvas.LineTo(p.EndX, p.EndY);
        }
    }
    for (const auto* selector : {&e.SelectTool.Selector, &e.ZoomTool.Selector}) {
        if (!*selector || !(*selector)->Active)
            continue;
        const TRect r = (*selector)->Rect();
        canvas.Pen = TCanvasPen{clWhite, 1, Qt::DotLine, TPenMode::Xor};
        canvas.Brush.Style = Qt::NoBrush;
        canvas.Rectangle(r.Left - 1, r.Top - 1, r.Right + 2, r.Bottom + 2);
    }
    const auto& line = e.WireTool.TempLine;
    if (line && line->Shown) {
        canvas.Pen = TCanvasPen{clWhite, line->Width, Qt::SolidLine, TPenMode::Xor};
        canvas.MoveTo(line->Start.x(), line->Start.y());
        canvas.LineTo(line->End.x(), line->End.y());
    }
    const auto& crosshair = e.WireTool.Crosshair;
    if (crosshair && crosshair->Shown && e.Mode == kModeWiring) {
        const QRect clip =
            canvas.DPtoLP(QRect(QPoint(v.ViewOffsetX, v.ViewOffsetY), viewport()->size()));
        const QPoint p = crosshair->Position;
        canvas.Pen = TCanvasPen{clWhite, 1, Qt::SolidLine, TPenMode::Xor};
        canvas.MoveTo(0, p.y());
        canvas.LineTo(clip.left() + clip.width(), p.y());
        canvas.MoveTo(p.x(), 0);
        canvas.LineTo(p.x(), clip.top() + clip.height());
    }
    painter.restore();
}

void TBoardView::LivePaint(const std::function<void(TCanvas&)>& painter)
{
    if (!m_board)
        return;
    // The painter also brings the items' live state up to date, so it always runs: into the
    // shown picture when there is one, else on a canvas that only maps (the next paint then
    // draws the items in their new state anyway).
    if (!CacheCurrent() || m_painting) {
        TCanvas canvas;
        m_editor->View.SetMapping(canvas);
        painter(canvas);
        viewport()->update();
        return;
    }
    {
        QPainter cachePainter(&m_cache);
        cachePainter.translate(-m_cacheOffset);
        TCanvas canvas(&cachePainter);
        m_editor->View.SetMapping(canvas);
        painter(canvas);
    }
    if (isVisible())
        viewport()->repaint();
}

// --- Mouse -----------------------------------------------------------------------------------

QPoint TBoardView::ScreenPoint(QPoint devicePoint) const
{
    return devicePoint + QPoint(m_editor->View.ViewOffsetX, m_editor->View.ViewOffsetY);
}

void TBoardView::mousePressEvent(QMouseEvent* event)
{
    const int button = ButtonNumber(event->button());
    if (!m_board || button < 0)
        return;
    const QPoint p = ScreenPoint(event->position().toPoint());
    m_editor->Press(button, ShiftState(event->modifiers()), p.x(), p.y());
    UpdateAutoScrollTimer();
    ApplyCursor();
    viewport()->update();
}

void TBoardView::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = ButtonNumber(event->button());
    if (!m_board || button < 0)
        return;
    // A palette press hands the mouse to the board until the button is released.
    if (QWidget::mouseGrabber() == viewport())
        viewport()->releaseMouse();
    // Items being placed are dropped only over the board: the release of a click on the
    // palette leaves them at the mouse, and the next click on the board puts them there.
    if (m_editor->Mode == kModePlacing && button == kLeftButton
        && !viewport()->rect().contains(event->position().toPoint()))
        return;
    const QPoint p = ScreenPoint(event->position().toPoint());
    m_editor->Release(button, ShiftState(event->modifiers()), p.x(), p.y());
    UpdateAutoScrollTimer();
    ApplyCursor();
    viewport()->update();
}

void TBoardView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_board)
        return;
    const QPoint device = event->position().toPoint();
    const QPoint p = ScreenPoint(device);
    m_editor->Move(ShiftState(event->modifiers()), p.x(), p.y(), device);
    UpdateAutoScrollTimer();
    ApplyCursor();
    viewport()->update();
    if (OnHover)
        OnHover(p, device);
    // Item hints only in select mode, and none while the mouse aims at a pin's wire end: the
    // box would cover the pins around it.
    const bool hint = m_editor->Mode == kModeSelect && m_editor->View.Cursor != kCursorPin
                      && m_editor->View.Cursor != kCursorInvert;
    ShowHint(hint ? m_editor->SelectTool.HintAt(p.x(), p.y()) : QString(),
             event->globalPosition().toPoint());
}

bool TBoardView::viewportEvent(QEvent* event)
{
    // The mouse left the board: its item hint and the crosshair go.
    if (event->type() == QEvent::Leave && m_board) {
        ShowHint(QString(), QPoint());
        if (m_editor->WireTool.Crosshair && m_editor->WireTool.Crosshair->Shown) {
            m_editor->WireTool.Crosshair->Shown = false;
            viewport()->update();
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TBoardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_board)
        return;
    if (event->button() == Qt::LeftButton)
        m_editor->DoubleClick();
    // The press that comes with the double click (swallowed after a settings dialog).
    mousePressEvent(event);
}

void TBoardView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    if (!m_board || delta == 0)
        return;
    if (!m_editor->Wheel(delta > 0, ScreenPoint(event->position().toPoint())))
        return;
    SyncScrollBars();
    InvalidateAll();
}

void TBoardView::UpdateAutoScrollTimer()
{
    const bool wanted = m_editor && m_editor->View.AutoScrollEnabled
        && m_editor->View.AutoScrollDirection != 0;
    if (wanted && !m_autoScroll.isActive())
        m_autoScroll.start();
    else if (!wanted)
        m_autoScroll.stop();
}

void TBoardView::AutoScrollStep()
{
    if (!m_board) {
        m_autoScroll.stop();
        return;
    }
    m_editor->AutoScrollTick();
    SyncScrollBars();
    UpdateAutoScrollTimer();
}

void TBoardView::ApplyCursor()
{
    if (m_editor)
        viewport()->setCursor(CursorShape(m_editor->View.Cursor));
}

void TBoardView::ShowHint(const QString& text, QPoint globalPos)
{
    if (text.isEmpty() && m_hint.isEmpty())
        return;  // nothing shown, nothing to hide
    if (OnHint) {
        m_hint = text;
        OnHint(text);  // every move: the hint follows the mouse
        return;
    }
    if (text == m_hint)
        return;
    m_hint = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                           viewport());
}
