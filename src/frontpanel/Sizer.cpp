#include "frontpanel/Sizer.h"

#include "frontpanel/FP_Element.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Types.h"
#include "ui/Hotkey.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// The sizing outline, drawn over the page as a dotted rectangle; it lets the mouse through.
class TOutlineWidget : public QWidget {
public:
    explicit TOutlineWidget(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TCanvas canvas(&painter);
        canvas.Pen = TCanvasPen{clBlack, 1, Qt::DotLine, TPenMode::Copy};
        canvas.Brush.Style = Qt::NoBrush;
        canvas.Rectangle(0, 0, width(), height());
    }
};

int Grid()
{
    return std::max(1, FPState().FPGrid);
}

bool operator!=(const TRect& a, const TRect& b)
{
    return a.Left != b.Left || a.Top != b.Top || a.Right != b.Right || a.Bottom != b.Bottom;
}

} // namespace

TSizer::TSizer(QWidget* owner)
    : QWidget(owner)
    , Color(FPState().DesignPanelColor)
{
    setGeometry(0, 0, 0, 0);
    setMouseTracking(true);
}

TSizer::~TSizer()
{
    delete m_outlineWidget.data();
}

void TSizer::SetSizeable(bool sizeable)
{
    if (sizeable == m_sizeable)
        return;
    m_sizeable = sizeable;
    update();
}

// --- Handles --------------------------------------------------------------------------------

QRect TSizer::HandleRect(int i) const
{
    const int w = width();
    const int h = height();
    const int w2 = w / 2;
    const int h2 = h / 2;
    switch (i) {
    case 1: return QRect(QPoint(0, 0), QPoint(5, 5));
    case 2: return QRect(QPoint(0, h2 - 3), QPoint(5, h2 + 2));
    case 3: return QRect(QPoint(0, h - 6), QPoint(5, h - 1));
    case 4: return QRect(QPoint(w2 - 3, 0), QPoint(w2 + 2, 5));
    case 5: return QRect(QPoint(w2 - 3, h - 6), QPoint(w2 + 2, h - 1));
    case 6: return QRect(QPoint(w - 6, h2 - 3), QPoint(w - 1, h2 + 2));
    case 7: return QRect(QPoint(w - 6, 0), QPoint(w - 1, 5));
    case 8: return QRect(QPoint(w - 6, h - 6), QPoint(w - 1, h - 1));
    default: return QRect();
    }
}

bool TSizer::HandleActive(int i) const
{
    const bool horizontal = !Element || Element->GetBisteHSkalierbar();
    const bool vertical = !Element || Element->GetBisteVSkalierbar();
    switch (i) {
    case 1:
    case 3:
    case 7:
    case 8:
        return horizontal && vertical;
    case 2:
    case 6:
        return horizontal;
    case 4:
    case 5:
        return vertical;
    default:
        return false;
    }
}

int TSizer::HandleAt(QPoint p) const
{
    for (int i = 8; i >= 1; --i) {
        if (HandleRect(i).contains(p))
            return HandleActive(i) ? i : 0;
    }
    return 0;
}

void TSizer::SetHandleCursor(int handle)
{
    switch (handle) {
    case 1:
    case 8:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case 3:
    case 7:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case 2:
    case 6:
        setCursor(Qt::SizeHorCursor);
        break;
    case 4:
    case 5:
        setCursor(Qt::SizeVerCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

// --- Painting -------------------------------------------------------------------------------

void TSizer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    Paint(canvas);
}

void TSizer::Paint(TCanvas& canvas)
{
    canvas.Brush = TCanvasBrush{Color, Qt::SolidPattern};
    canvas.FillRect(rect());

    const TFrontPanelState& fp = FPState();
    const int g = fp.FPGrid;
    if (fp.FPGridVisible && g > 1 && !Ctx().RuntimeMode && !Ctx().SimRunning) {
        const int ox = -(x() % g);
        const int oy = -(y() % g);
        canvas.Pen = TCanvasPen{fp.FPGridColor, 0, Qt::SolidLine, TPenMode::Copy};
        for (int i = 0; i <= width() / g + 1; ++i) {
            canvas.MoveTo(i * g + ox, 0);
            canvas.LineTo(i * g + ox, height());
        }
        for (int i = 0; i <= height() / g + 1; ++i) {
            canvas.MoveTo(0, i * g + oy);
            canvas.LineTo(width(), i * g + oy);
        }
    }

    if (Moving)
        return;
    canvas.Pen = TCanvasPen{clBlack, 1, Qt::SolidLine, TPenMode::Copy};
    for (int i = 1; i <= 8; ++i) {
        const bool black = m_sizeable && HandleActive(i);
        canvas.Brush = TCanvasBrush{black ? clBlack : clGray, Qt::SolidPattern};
        const QRect r = HandleRect(i);
        canvas.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
}

// --- Outline --------------------------------------------------------------------------------

TRect TSizer::ComputeOutline(QPoint p, bool pageGrid) const
{
    const int dx = p.x() - m_sizingStart.x();
    const int dy = p.y() - m_sizingStart.y();
    const int W = width();
    const int H = height();
    const int f2 = Element ? 2 * Element->FrameWidth() : 0;
    const Extended q = Element ? Element->AspectRatio() : 0.0L;
    const bool vertical = std::abs(dy) >= std::abs(dx);
    auto round = [](Extended v) { return static_cast<int>(RoundHalfEven(v)); };
    int L = 5;
    int T = 5;
    int R = W - 5;
    int B = H - 5;
    // The other dimension from the one the pointer sets.
    auto heightFromWidth = [&]() { return round((R - L - f2) / q); };
    auto widthFromHeight = [&]() { return round(q * (B - T - f2)); };

    const int h = m_sizingHandle;
    if (q <= 0.0L) {
        switch (h) {
        case 1: L = dx + 5; T = dy + 5; break;
        case 2: L = dx + 5; break;
        case 3: L = dx + 5; B = H + dy - 5; break;
        case 4: T = dy + 5; break;
        case 5: B = H + dy - 5; break;
        case 6: R = W + dx - 5; break;
        case 7:
            T = dy + 5;
            if (!vertical)
                R = W + dx - 5;
            break;
        case 8:
            B = H + dy - 5;
            if (!vertical)
                R = W + dx - 5;
            break;
        default: break;
        }
    } else {
        switch (h) {
        case 1:
            if (!vertical) {
                L = dx + 5;
                T = H - 5 - f2 - heightFromWidth();
            } else {
                T = dy + 5;
                L = W - 5 - f2 - widthFromHeight();
            }
            break;
        case 2:
            L = dx + 5;
            B = 5 + f2 + heightFromWidth();
            break;
        case 3:
            if (!vertical) {
                L = dx + 5;
                B = 5 + f2 + heightFromWidth();
            } else {
                B = H + dy - 5;
                L = W - 5 - f2 - widthFromHeight();
            }
            break;
        case 4:
            T = dy + 5;
            R = 5 + f2 + widthFromHeight();
            break;
        case 5:
            B = H + dy - 5;
            R = 5 + f2 + widthFromHeight();
            break;
        case 6:
            R = W + dx - 5;
            B = 5 + f2 + heightFromWidth();
            break;
        case 7:
            if (!vertical) {
                R = W + dx - 5;
                T = H - 5 - f2 - heightFromWidth();
            } else {
                T = dy + 5;
                R = 5 + f2 + widthFromHeight();
            }
            break;
        case 8:
            if (!vertical) {
                R = W + dx - 5;
                B = 5 + f2 + heightFromWidth();
            } else {
                B = H + dy - 5;
                R = 5 + f2 + widthFromHeight();
            }
            break;
        default: break;
        }
    }

    if (pageGrid && h != 0) {
        // Snap the moving right and bottom edges to the page's grid.
        const int g = Grid();
        const int ox = x();
        const int oy = y();
        L += ox;
        R += ox;
        T += oy;
        B += oy;
        const bool snapRight = h == 6 || ((h == 7 || h == 8) && !vertical);
        const bool snapBottom = h == 3 || h == 5 || h == 8;
        if (snapRight)
            R = (R / g) * g + 1;
        if (snapBottom)
            B = (B / g) * g + 1;
        if (q > 0.0L) {
            // The other dimension follows the snapped one, measured on the outline itself.
            const bool heightFollows = h == 2 || h == 6 || (h == 3 && !vertical) ||
                                       (h == 7 && !vertical) || (h == 8 && !vertical);
            const bool widthFollows = (h == 1 && vertical) || (h == 3 && vertical) || h == 4 ||
                                      h == 5 || (h == 7 && vertical) || (h == 8 && vertical);
            if (heightFollows) {
                const int height = round((R - L) / q);
                if (h == 7)
                    T = B - height;
                else
                    B = T + height;
            } else if (widthFollows) {
                const int width = round(q * (B - T));
                if (h == 1 || h == 3)
                    L = R - width;
                else
                    R = L + width;
            }
        }
        L -= ox;
        R -= ox;
        T -= oy;
        B -= oy;
    }
    return TRect{L, T, R, B};
}

void TSizer::DrawOutline(const TRect& outline)
{
    if (m_outlineDrawn && !(outline != m_outline))
        return;
    EraseOutline();
    m_outline = outline;
    m_outlineDrawn = true;
    QWidget* host = parentWidget() ? parentWidget() : this;
    if (!m_outlineWidget)
        m_outlineWidget = new TOutlineWidget(host);
    const TRect n = outline.Normalized();
    // The dotted rectangle runs one pixel inside the outline.
    QPoint topLeft(n.Left + 1, n.Top + 1);
    if (host != this)
        topLeft = mapToParent(topLeft);
    m_outlineWidget->setGeometry(topLeft.x(), topLeft.y(), std::max(0, n.Width() - 2),
                                 std::max(0, n.Height() - 2));
    m_outlineWidget->show();
    m_outlineWidget->raise();
}

void TSizer::EraseOutline()
{
    if (!m_outlineDrawn)
        return;
    m_outlineDrawn = false;
    if (m_outlineWidget)
        m_outlineWidget->hide();
}

// --- Mouse ----------------------------------------------------------------------------------

QPoint TSizer::Confined(QPoint p) const
{
    // The pointer stays 7 pixels inside the page while the frame is dragged or sized.
    QWidget* page = parentWidget();
    if (!m_confined || !page || page->width() <= 14 || page->height() <= 14)
        return p;
    QPoint pp = mapToParent(p);
    pp.setX(std::clamp(pp.x(), 7, page->width() - 7));
    pp.setY(std::clamp(pp.y(), 7, page->height() - 7));
    return mapFromParent(pp);
}

void TSizer::SnapToGrid(QPoint& p) const
{
    const int g = Grid();
    p = QPoint((p.x() / g) * g, (p.y() / g) * g);
}

void TSizer::ForwardMouseMove(QPoint p)
{
    QWidget* page = parentWidget();
    if (!page)
        return;
    const QPointF local = mapToParent(p);
    QMouseEvent move(QEvent::MouseMove, local, page->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &move);
}

void TSizer::FrameMouseDown(Qt::MouseButton button, uint8_t shift, QPoint p)
{
    if (button == Qt::RightButton)
        return;
    if (m_doubleClicked) {
        m_doubleClicked = false;
        return;
    }
    const TFrontPanelState& fp = FPState();
    if (fp.GetProjectModified && fp.GetProjectModified() && fp.OnDeleteSelection)
        fp.OnDeleteSelection();
    if (OnSelectUnderCursor && OnSelectUnderCursor(this, Element) == 1)
        return;
    m_confined = true;
    const int handle = HandleAt(p);
    if (handle != 0 && m_sizeable) {
        m_sizingHandle = handle;
        update();
        if (!(shift & hsCtrl))
            SnapToGrid(p);
        m_sizingStart = p;
        m_pageGridSizing = false;
        DrawOutline(ComputeOutline(p, false));
        return;
    }
    m_moveStart = p;
    if (shift & hsShift) {
        m_confined = false;
        if (OnDeselectElement)
            OnDeselectElement(this, Element);
        return;
    }
    Moving = true;
    if (OnSetMoving)
        OnSetMoving(this);
    update();
}

void TSizer::FrameMouseMove(uint8_t shift, QPoint p)
{
    p = Confined(p);
    const int handle = HandleAt(p);
    m_pointerOnHandle = handle != 0;
    ForwardMouseMove(p);

    if (m_sizingHandle == 0) {
        if (handle != 0 && !Moving) {
            SetHandleCursor(m_sizeable ? handle : 0);
            return;
        }
        unsetCursor();
        if (!Moving) {
            m_moveStart = p;
            if (!(shift & hsLeft))
                return;
            Moving = true;
            m_confined = true;
            if (OnSetMoving)
                OnSetMoving(this);
        }
        const int g = Grid();
        int dx = p.x() - m_moveStart.x();
        int dy = p.y() - m_moveStart.y();
        if (!(shift & hsCtrl)) {
            dx = (dx / g) * g;
            dy = (dy / g) * g;
            if (shift & hsShift) {
                dx += (x() + 6) % g;
                dy += (y() + 6) % g;
            }
        }
        Offset = QPoint(dx, dy);
        if (OnChange)
            OnChange(this);
        if (shift & (hsCtrl | hsShift))
            update();
        return;
    }

    // Sizing.
    if (!m_sizeable) {
        unsetCursor();
        return;
    }
    SetHandleCursor(m_sizingHandle);
    if (!(shift & hsCtrl))
        SnapToGrid(p);
    m_pageGridSizing = (shift & hsShift) != 0;
    DrawOutline(ComputeOutline(p, m_pageGridSizing));
}

void TSizer::FrameMouseUp(Qt::MouseButton button, uint8_t, QPoint)
{
    if (button == Qt::RightButton)
        return;
    m_confined = false;
    const TRect outline = m_outline.Normalized();
    const bool wasSizing = m_sizingHandle != 0 && m_outlineDrawn;
    if (m_sizeable)
        EraseOutline();
    Moving = false;
    if (OnResetMoving)
        OnResetMoving(this);
    unsetCursor();
    update();
    if (OnChange)
        OnChange(this);

    if (m_sizingHandle == 0)
        return;
    m_sizingHandle = 0;
    if (!wasSizing)
        return;
    move(x() + outline.Left - 5, y() + outline.Top - 5);
    resize(outline.Width() + 8, outline.Height() + 8);
    if (Element) {
        const QSize wanted(std::max(0, width() - 10), std::max(0, height() - 10));
        Element->setGeometry(6, 6, wanted.width(), wanted.height());
        Element->ApplyAspectRatio();
        // The frame keeps its 6-pixel margin on every side, also where the element refused
        // part of the size.
        resize(Element->width() + 12, Element->height() + 12);
    }
    if (MachTransparent)
        MachTransparent(this);
    if (FPState().SetProjectModified)
        FPState().SetProjectModified(true);
}

void TSizer::DblClick()
{
    m_doubleClicked = true;
    if (!Element)
        return;
    Element->EditProperties();
    if (Element->AspectRatio() > 0.0L)
        Element->ApplyAspectRatio();
    resize(Element->width() + 12, Element->height() + 12);
}

void TSizer::mousePressEvent(QMouseEvent* event)
{
    FrameMouseDown(event->button(), ShiftStateByte(event->modifiers(), event->buttons()),
                   event->position().toPoint());
}

void TSizer::mouseMoveEvent(QMouseEvent* event)
{
    FrameMouseMove(ShiftStateByte(event->modifiers(), event->buttons()),
                   event->position().toPoint());
}

void TSizer::mouseReleaseEvent(QMouseEvent* event)
{
    FrameMouseUp(event->button(), ShiftStateByte(event->modifiers(), event->buttons()),
                 event->position().toPoint());
}

void TSizer::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    DblClick();
    FrameMouseDown(event->button(),
                   ShiftStateByte(event->modifiers(), event->buttons()) | hsDouble,
                   event->position().toPoint());
}
