#include "widgets/SpinButton.h"

#include "platform/Canvas.h"
#include "widgets/Frames.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {
int Slot(TWLXSpinButton::Part part)
{
    switch (part) {
    case TWLXSpinButton::Up: return 0;
    case TWLXSpinButton::Down: return 1;
    case TWLXSpinButton::Left: return 2;
    default: return 3;
    }
}
constexpr TWLXSpinButton::Part kParts[] = {TWLXSpinButton::Up, TWLXSpinButton::Down,
                                           TWLXSpinButton::Left, TWLXSpinButton::Right};
} // namespace

TWLXSpinButton::TWLXSpinButton(QWidget* parent)
    : TWLXGraphicControl(parent)
{
    setMouseTracking(true);
    resize(20, 20);
}

void TWLXSpinButton::SetArrows(uint8_t value)
{
    if (value == m_arrows)
        return;
    m_arrows = value;
    update();
}

void TWLXSpinButton::SetDiagonal(bool value)
{
    if (value == m_diagonal)
        return;
    m_diagonal = value;
    if (!Loading)
        update();
}

uint8_t TWLXSpinButton::PartState(Part part) const
{
    return m_states[Slot(part)];
}

bool TWLXSpinButton::Stacked() const
{
    return m_arrows == (Up | Down) && Style == 0 && !m_diagonal;
}

QPolygon TWLXSpinButton::PartArea(Part part) const
{
    const int w = width(), h = height();
    if (!(m_arrows & part))
        return {};
    if (m_arrows == part)
        return QPolygon(QRect(0, 0, w, h));
    if (part == Up || part == Down) {
        if (!m_diagonal)
            return part == Up ? QPolygon(QRect(0, 0, w, h / 2)) : QPolygon(QRect(0, h / 2, w, h - h / 2));
        if (part == Up)
            return QPolygon({QPoint(0, h), QPoint(w, 0), QPoint(0, 0)});
        return QPolygon({QPoint(0, h), QPoint(w, h), QPoint(w, 0)});
    }
    // Left and right side by side.
    return part == Left ? QPolygon(QRect(0, 0, w / 2, h)) : QPolygon(QRect(w / 2, 0, w - w / 2, h));
}

uint8_t TWLXSpinButton::StateAt(Part part, QPoint p, bool leftDown) const
{
    if (!isEnabled())
        return DisabledPart;
    const QPolygon area = PartArea(part);
    if (area.isEmpty())
        return Normal;
    if (area.containsPoint(p, Qt::OddEvenFill) || (area.boundingRect().contains(p) && m_arrows == part))
        return leftDown ? PressedPart : HotPart;
    return Normal;
}

uint8_t TWLXSpinButton::Recompute(QPoint p, bool leftDown, bool stopAtFirst)
{
    uint8_t changed = 0;
    for (Part part : kParts) {
        const uint8_t s = StateAt(part, p, leftDown);
        if (s != m_states[Slot(part)]) {
            m_states[Slot(part)] = s;
            changed |= part;
            if (stopAtFirst)
                break;
        }
    }
    return changed;
}

void TWLXSpinButton::Fire(Part part)
{
    const TNotifyEvent* events[] = {&OnUp, &OnDown, &OnLeft, &OnRight};
    if (const TNotifyEvent& e = *events[Slot(part)])
        e(this);
}

void TWLXSpinButton::ResetHot()
{
    if (Recompute(QPoint(-1, -1), false, true))
        update();
}

void TWLXSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_leftDown = true;
    const uint8_t changed = Recompute(event->position().toPoint(), true, false);
    QPointer<TWLXSpinButton> self(this);
    for (Part part : kParts)
        if ((changed & part) && self)
            Fire(part);
    if (!self)
        return;
    m_timer = std::make_unique<TWLXTimer>(Interval + 200, UseGlobalTimer, true,
                                          [this](void*) { TimerTick(); });
    update();
}

void TWLXSpinButton::TimerTick()
{
    if (m_timer)
        m_timer->SetInterval(Interval);
    if (!m_leftDown)
        return;
    QPointer<TWLXSpinButton> self(this);
    try {
        for (Part part : {Up, Down, Right, Left})
            if (self && m_states[Slot(part)] == PressedPart)
                Fire(part);
    } catch (...) {
        if (self)
            m_timer.reset();
        throw;
    }
}

void TWLXSpinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (Recompute(event->position().toPoint(), event->buttons() & Qt::LeftButton, true))
        update();
}

void TWLXSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_leftDown = false;
    m_timer.reset();
}

void TWLXSpinButton::leaveEvent(QEvent* event)
{
    TWLXGraphicControl::leaveEvent(event);
    ResetHot();
}

void TWLXSpinButton::changeEvent(QEvent* event)
{
    TWLXGraphicControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        for (uint8_t& s : m_states)
            s = isEnabled() ? Normal : DisabledPart;
        update();
    }
}

void TWLXSpinButton::PaintPart(TCanvas& canvas, Part part)
{
    const QPolygon area = PartArea(part);
    if (area.isEmpty())
        return;
    QPainter* p = canvas.Painter();
    const uint8_t state = m_states[Slot(part)];
    const bool pressed = state == PressedPart;
    const QRect box = area.boundingRect();
    p->save();
    p->setClipRegion(QRegion(area));
    TWLXRect r = TWLXRect::From(box);
    FillSolid(canvas, r, Color());
    if (Stacked()) {
        if (pressed) {
            DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT);
            DrawEdge(canvas, r, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
        } else {
            DrawEdge(canvas, r, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
            DrawEdge(canvas, r, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        }
    } else {
        TWLXRect f{0, 0, width() - (Style == 0 ? 0 : 0), height()};
        if (m_arrows == part || (m_arrows & (Left | Right)))
            f = TWLXRect::From(box);
        DrawBorderStyle(canvas, f, pressed ? TWLXBorderStyle::lsLowered : FrameStyle, BF_RECT);
    }
    const int32_t arrowColor = state == HotPart ? HotColor : state == DisabledPart ? clGray : clBlack;
    const bool enabled = state != DisabledPart;
    const int w = box.width(), h = box.height();
    const int shift = pressed ? 1 : 0;
    if (part == Up || part == Down) {
        int x, y;
        if (m_diagonal && m_arrows == (Up | Down)) {
            x = part == Up ? WLXRound(width() / 4.0 - 2) : WLXRound(3 * width() / 4.0 - 2);
            y = part == Up ? WLXRound(height() / 4.0 - 2) : WLXRound(3 * height() / 4.0 - 2);
        } else {
            x = box.left() + WLXRound(w / 2.0 - (part == Up ? 2 : 3));
            y = box.top() + WLXRound(h / 2.0 - 2);
        }
        DrawDropArrow(canvas, x + shift, y + shift, enabled, part == Down, arrowColor, 3);
    } else {
        const int tx = box.left() + (part == Left ? WLXRound(w / 2.0 - 2) : WLXRound(w / 2.0)) + shift;
        const int ty = box.top() + WLXRound(h / 2.0 - 1) + shift;
        const int bx = part == Left ? tx + 2 : tx - 2;
        canvas.Pen = TCanvasPen{arrowColor, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{arrowColor, Qt::SolidPattern};
        canvas.Polygon({QPoint(tx, ty), QPoint(bx, ty - 2), QPoint(bx, ty + 2)});
    }
    p->restore();
    if (m_diagonal && m_arrows == (Up | Down) && part == Down) {
        // The dividing line.
        canvas.Pen = TCanvasPen{clGray, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(width(), -1);
        canvas.LineTo(-1, height());
    }
}

void TWLXSpinButton::Paint(TCanvas& canvas)
{
    if (Loading || !canvas.Painter())
        return;
    for (Part part : kParts)
        if (m_arrows & part)
            PaintPart(canvas, part);
}
