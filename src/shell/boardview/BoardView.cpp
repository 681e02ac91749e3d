#include "shell/boardview/BoardView.h"

#include "core/board/Platine.h"
#include "core/board/Segment.h"
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

void TBoardView::SetBoard(TPlatine* board)
{
    if (board == m_board)
        return;
    RemoveHooks();
    m_board = board;
    m_cache = QImage();
    m_stale = QRegion();
    if (!m_board) {
        viewport()->update();
        return;
    }
    InstallHooks();
    m_board->ViewWidth = viewport()->width();
    m_board->ViewHeight = viewport()->height();
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
    m_board->OnMoveCursor = [this](QPoint screenPoint) {
        const QPoint device = screenPoint - QPoint(m_board->ViewOffsetX, m_board->ViewOffsetY);
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
    m_board->OnMoveCursor = nullptr;
    m_board->OnLivePaint = nullptr;
    m_board->Visible = false;
}

// --- Scrolling -------------------------------------------------------------------------------

void TBoardView::SyncScrollBars()
{
    if (!m_board)
        return;
    m_syncing = true;
    const int w = viewport()->width();
    const int h = viewport()->height();
    horizontalScrollBar()->setRange(0, std::max(0, m_board->ControlWidth() - w));
    horizontalScrollBar()->setPageStep(std::max(1, w));
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, m_board->ControlHeight() - h));
    verticalScrollBar()->setPageStep(std::max(1, h));
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setValue(m_board->ViewOffsetX);
    verticalScrollBar()->setValue(m_board->ViewOffsetY);
    m_board->ViewOffsetX = horizontalScrollBar()->value();
    m_board->ViewOffsetY = verticalScrollBar()->value();
    m_syncing = false;
    viewport()->update();
}

void TBoardView::scrollContentsBy(int, int)
{
    if (m_syncing || !m_board)
        return;
    m_board->ViewOffsetX = horizontalScrollBar()->value();
    m_board->ViewOffsetY = verticalScrollBar()->value();
    if (m_board->Crosshair)
        m_board->Crosshair->Shown = false;
    viewport()->update();
}

void TBoardView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!m_board)
        return;
    m_board->ViewWidth = viewport()->width();
    m_board->ViewHeight = viewport()->height();
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
        && m_cacheZoom == m_board->Zoom
        && m_cacheOffset == QPoint(m_board->ViewOffsetX, m_board->ViewOffsetY);
}

void TBoardView::InvalidateBoardRect(int left, int top, int right, int bottom)
{
    if (!m_board)
        return;
    const QPoint offset(m_board->ViewOffsetX, m_board->ViewOffsetY);
    const QPoint a = m_board->BoardToScreen(QPoint(left, top)) - offset;
    const QPoint b = m_board->BoardToScreen(QPoint(right, bottom)) - offset;
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
        m_cacheZoom = m_board->Zoom;
        m_cacheOffset = QPoint(m_board->ViewOffsetX, m_board->ViewOffsetY);
        m_stale = QRegion(m_cache.rect());
    }
    if (m_stale.isEmpty() || m_cache.isNull())
        return;
    QPainter painter(&m_cache);
    painter.setClipRegion(m_stale);
    painter.fillRect(m_stale.boundingRect(), kOutsideBoard);
    painter.translate(-m_cacheOffset);
    TCanvas canvas(&painter);
    m_board->Paint(canvas);
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
    TPlatine& b = *m_board;
    painter.save();
    painter.translate(-b.ViewOffsetX, -b.ViewOffsetY);
    TCanvas canvas(&painter);
    b.SetMapping(canvas);
    if (b.RubberBandActive && b.Dragging)
        b.PaintRubberBand(canvas);
    if (b.Selector && b.Selector->Active) {
        const TRect r = b.Selector->Rect();
        canvas.Pen = TCanvasPen{clWhite, 1, Qt::DotLine, TPenMode::Xor};
        canvas.Brush.Style = Qt::NoBrush;
        canvas.Rectangle(r.Left - 1, r.Top - 1, r.Right + 2, r.Bottom + 2);
    }
    if (b.TempLine && b.TempLine->Shown) {
        canvas.Pen = TCanvasPen{clWhite, b.TempLine->Width, Qt::SolidLine, TPenMode::Xor};
        canvas.MoveTo(b.TempLine->Start.x(), b.TempLine->Start.y());
        canvas.LineTo(b.TempLine->End.x(), b.TempLine->End.y());
    }
    if (b.Crosshair && b.Crosshair->Shown) {
        const QRect clip = canvas.DPtoLP(QRect(QPoint(b.ViewOffsetX, b.ViewOffsetY), viewport()->size()));
        const QPoint p = b.Crosshair->Position;
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
        m_board->SetMapping(canvas);
        painter(canvas);
        viewport()->update();
        return;
    }
    {
        QPainter cachePainter(&m_cache);
        cachePainter.translate(-m_cacheOffset);
        TCanvas canvas(&cachePainter);
        m_board->SetMapping(canvas);
        painter(canvas);
    }
    if (isVisible())
        viewport()->repaint();
}

// --- Mouse -----------------------------------------------------------------------------------

QPoint TBoardView::ScreenPoint(QPoint devicePoint) const
{
    return devicePoint + QPoint(m_board->ViewOffsetX, m_board->ViewOffsetY);
}

void TBoardView::mousePressEvent(QMouseEvent* event)
{
    const int button = ButtonNumber(event->button());
    if (!m_board || button < 0)
        return;
    const QPoint p = ScreenPoint(event->position().toPoint());
    Press(button, ShiftState(event->modifiers()), p.x(), p.y());
    UpdateAutoScrollTimer();
    ApplyCursor();
    viewport()->update();
}

void TBoardView::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = ButtonNumber(event->button());
    if (!m_board || button < 0)
        return;
    const QPoint p = ScreenPoint(event->position().toPoint());
    Release(button, ShiftState(event->modifiers()), p.x(), p.y());
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
    Move(ShiftState(event->modifiers()), p.x(), p.y(), device);
    UpdateAutoScrollTimer();
    ApplyCursor();
    viewport()->update();
    if (m_board->Mode == kModeSelect)
        ShowHint(m_board->HintAt(p.x(), p.y()), event->globalPosition().toPoint());
}

void TBoardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_board)
        return;
    if (event->button() == Qt::LeftButton)
        DoubleClick();
    // The press that comes with the double click (swallowed after a settings dialog).
    mousePressEvent(event);
}

void TBoardView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (!m_board || (m_board->Mode != kModeZoom && m_board->Mode != kModeSelect))
        return;
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    m_board->WheelZoom(delta > 0, ScreenPoint(event->position().toPoint()));
    SyncScrollBars();
    InvalidateAll();
}

void TBoardView::Press(int button, uint8_t shift, int x, int y)
{
    TPlatine& b = *m_board;
    if (b.IgnoreNextPress) {
        b.IgnoreNextPress = false;
        return;
    }
    if (button == kRightButton) {
        b.Selector.reset();
        if (b.Mode == kModeSelect)
            b.SelectAt(x, y, shift, kRightButton);
        else if (b.Mode == kModeText)
            b.Mode = kModeSelect;
    }
    const QPoint p = b.ScreenToBoard(QPoint(x, y));
    if (button == kLeftButton) {
        if (b.Mode == kModeSelect && b.WireEndAt(p)) {
            b.Mode = kModeWiring;
            if (b.OnModeChange)
                b.OnModeChange(&b);
        }
        if (b.Mode == kModeSelect) {
            if (TSegment* pinSegment = b.PinSegmentAt(p))
                b.TogglePinInversion(pinSegment);
        }
        switch (b.Mode) {
        case kModeZoom:
            b.Selector = TSelector{};
            b.Selector->StartAt(p);
            break;
        case kModeSelect:
            b.SelectAt(x, y, shift, kLeftButton);
            break;
        case kModeWiring:
            b.WireClick(x, y, kLeftButton);
            break;
        case kModeText:
            b.PlaceText(p);
            break;
        default:
            break;
        }
    } else if (button == kRightButton) {
        switch (b.Mode) {
        case kModeSelect:
            if (b.OnPopupRequest)
                b.OnPopupRequest(&b);
            break;
        case kModeWiring:
            b.WireClick(x, y, kRightButton);
            break;
        case kModePlacing:
            b.EndDrag(kRightButton);
            break;
        case kModeZoom:
            b.ZoomOutAt(QPoint(x, y));
            SyncScrollBars();
            b.Repaint();
            break;
        default:
            break;
        }
    }
}

void TBoardView::Release(int button, uint8_t, int x, int y)
{
    TPlatine& b = *m_board;
    if (button == kLeftButton) {
        if (b.Mode == kModeZoom) {
            b.FinishZoomRect(x, y);
            SyncScrollBars();
        } else if (b.Mode == kModeSelect || b.Mode == kModePlacing) {
            b.FinishSelector();
            if (b.Dragging)
                b.EndDrag(kLeftButton);
        }
    }
    if (b.OnAktTools)
        b.OnAktTools(&b);
}

void TBoardView::Move(uint8_t shift, int x, int y, QPoint devicePoint)
{
    TPlatine& b = *m_board;
    const QPoint p = b.ScreenToBoard(QPoint(x, y));
    b.UpdateCursor(x, y);
    if (b.Selector) {
        b.Selector->Square = (shift & kShiftKey) != 0;
        b.Selector->Centred = (shift & kCtrlKey) != 0;
        b.Selector->DragTo(p);
    }
    if (b.Dragging) {
        if (b.Mode == kModeSelect || b.Mode == kModePlacing)
            b.DragSelection(x, y);
        else if (b.Mode == kModeWiring)
            b.UpdateWirePreview(x, y);
    }
    if (b.Mode == kModeWiring)
        b.MoveCrosshair(x, y);
    b.UpdateAutoScroll(devicePoint);
}

void TBoardView::DoubleClick()
{
    TPlatine& b = *m_board;
    if (b.Mode == kModeSelect && b.CanEditProperties()) {
        b.IgnoreNextPress = true;
        b.EditSelectedProperties();
    }
}

void TBoardView::UpdateAutoScrollTimer()
{
    const bool wanted = m_board && m_board->AutoScrollEnabled && m_board->AutoScrollDirection != 0;
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
    m_board->AutoScrollTick();
    SyncScrollBars();
    UpdateAutoScrollTimer();
}

void TBoardView::ApplyCursor()
{
    if (m_board)
        viewport()->setCursor(CursorShape(m_board->Cursor));
}

void TBoardView::ShowHint(const QString& text, QPoint globalPos)
{
    if (text == m_hint)
        return;
    m_hint = text;
    if (OnHint) {
        OnHint(text);
        return;
    }
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                           viewport());
}
