#include "ui/ScrollBoxEx.h"

#include "ui/Hotkey.h"

#include <QAbstractSlider>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

// Keys that a dialog would use for navigation unless the control takes them.
bool IsSpecialKey(uint16_t vk)
{
    switch (vk) {
    case 0x03: // cancel
    case 0x09: // tab
    case 0x0D: // return
    case 0x1B: // escape
    case 0x25: // left
    case 0x26: // up
    case 0x27: // right
    case 0x28: // down
        return true;
    default:
        return false;
    }
}

} // namespace

TScrollBoxEx::TScrollBoxEx(QWidget* parent)
    : QScrollArea(parent)
{
    ConnectBar(horizontalScrollBar(), true);
    ConnectBar(verticalScrollBar(), false);
    SetSmoothScrolling(true);
}

void TScrollBoxEx::SetSmoothScrolling(bool on)
{
    m_smoothScrolling = on;
    horizontalScrollBar()->setTracking(on);
    verticalScrollBar()->setTracking(on);
}

void TScrollBoxEx::ConnectBar(QScrollBar* bar, bool horz)
{
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, bar, horz](int action) { BarAction(bar, horz, action); });
    // Dragging the thumb: a track notification for every move.
    connect(bar, &QAbstractSlider::sliderMoved, this, [this, bar, horz](int position) {
        if (OnScroll)
            OnScroll(this, SB_THUMBTRACK, horz);
        if (m_smoothScrolling)
            bar->setValue(position);
    });
    // Letting go of the thumb: the bar takes its final position, then the end notifications.
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, horz]() {
        bar->setValue(bar->sliderPosition());
        if (OnScroll) {
            OnScroll(this, SB_THUMBPOSITION, horz);
            OnScroll(this, SB_ENDSCROLL, horz);
        }
    });
}

bool TScrollBoxEx::LeftButtonDown()
{
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

// Runs while the bar has computed the action's new position but not yet taken it.
void TScrollBoxEx::BarAction(QScrollBar* bar, bool horz, int action)
{
    uint16_t code = SB_ENDSCROLL;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
        if (bar->isSliderDown())
            return; // the thumb drag is reported through sliderMoved
        // The wheel: a move by whole lines.
        code = bar->sliderPosition() < bar->value() ? SB_LINEUP : SB_LINEDOWN;
        break;
    default: return;
    }

    if (WillsteZoom && !LeftButtonDown()) {
        bar->setSliderPosition(bar->value()); // the content stays where it is
        ZoomMessage(code);
        // Without a mouse on the bar there is no separate end of the scroll.
        ZoomMessage(SB_ENDSCROLL);
        return;
    }

    bar->setValue(bar->sliderPosition());
    if (OnScroll)
        OnScroll(this, code, horz);
}

void TScrollBoxEx::ZoomMessage(uint16_t code)
{
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP: m_pendingZoom = 1; break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: m_pendingZoom = 2; break;
    case SB_ENDSCROLL: {
        const int pending = m_pendingZoom;
        m_pendingZoom = 0;
        if (pending == 2 && OnZoomDown)
            OnZoomDown(this);
        else if (pending == 1 && OnZoomUp)
            OnZoomUp(this);
        break;
    }
    default: break;
    }
}

bool TScrollBoxEx::WantSpecialKey(uint16_t charCode)
{
    bool wanted = false;
    if (OnWantSpecialKey)
        OnWantSpecialKey(this, charCode, wanted);
    return wanted;
}

bool TScrollBoxEx::DispatchKeyDown(QKeyEvent* e)
{
    if (!OnKeyDown)
        return false;
    uint16_t key = VirtualKeyFromKeyEvent(*e);
    OnKeyDown(this, key, ShiftStateByte(e->modifiers(), QGuiApplication::mouseButtons()));
    return key == 0;
}

bool TScrollBoxEx::event(QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        const uint16_t vk = VirtualKeyFromKeyEvent(*ke);
        if (IsSpecialKey(vk) && WantSpecialKey(vk)) {
            // The owner takes the key: it reaches the key handlers, not the navigation.
            DispatchKeyDown(ke);
            if (OnKeyPress && !ke->text().isEmpty()) {
                QChar c = ke->text().at(0);
                OnKeyPress(this, c);
            }
            ke->accept();
            return true;
        }
    }
    return QScrollArea::event(e);
}

void TScrollBoxEx::keyPressEvent(QKeyEvent* e)
{
    if (DispatchKeyDown(e)) {
        e->accept();
        return;
    }
    if (OnKeyPress && !e->text().isEmpty()) {
        QChar c = e->text().at(0);
        OnKeyPress(this, c);
        if (c.isNull()) {
            e->accept();
            return;
        }
    }
    QScrollArea::keyPressEvent(e);
}

void TScrollBoxEx::keyReleaseEvent(QKeyEvent* e)
{
    if (OnKeyUp) {
        uint16_t key = VirtualKeyFromKeyEvent(*e);
        OnKeyUp(this, key, ShiftStateByte(e->modifiers(), QGuiApplication::mouseButtons()));
        if (key == 0) {
            e->accept();
            return;
        }
    }
    QScrollArea::keyReleaseEvent(e);
}
