#include "widgets/ScrollBar.h"

#include "platform/Canvas.h"
#include "widgets/ButtonFace.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

// ---- thumb -------------------------------------------------------------------------------

TWLXScrollBarThumb::TWLXScrollBarThumb(TWLXScrollBar* bar)
    : TWLXCustomPanelFill(bar)
    , m_bar(bar)
{
    Bevel().SetMode(TWLXBevelMode::bmStandard);
    Bevel().SetStandardStyle(TWLXBorderStyle::lsRaised);
    FillObject().SetStyle(TWLXFillStyle::sfNone);
    setFocusPolicy(Qt::NoFocus);
}

void TWLXScrollBarThumb::mousePressEvent(QMouseEvent* event)
{
    m_bar->FocusBar();
    m_pressed = true;
    update();
    if (event->button() == Qt::LeftButton && m_bar->AllowMousePos)
        m_bar->DragStart(mapTo(m_bar, event->position().toPoint()));
}

void TWLXScrollBarThumb::mouseMoveEvent(QMouseEvent* event)
{
    m_bar->DragMove(mapTo(m_bar, event->position().toPoint()), event->buttons() & Qt::LeftButton);
}

void TWLXScrollBarThumb::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bar->m_dragging = false;
    m_pressed = false;
    update();
    m_bar->DoScroll(scPosition);
}

// ---- bar ---------------------------------------------------------------------------------

TWLXScrollBar::TWLXScrollBar(QWidget* parent)
    : TWLXCustomBevelPanel(parent)
    , m_thumb(nullptr)
    , m_first(new TWLXSpinButton(this))
    , m_second(new TWLXSpinButton(this))
{
    setFocusPolicy(Qt::StrongFocus);
    m_back.SetStyle(TWLXFillStyle::sfBrushBitmap);
    m_back.OnChange = [this](void* sender) { ChangeNotify(sender); };
    for (TWLXSpinButton* b : {m_first, m_second})
        b->Style = 1;
    m_first->OnUp = m_first->OnLeft = [this](void*) { LineUp(); };
    m_second->OnDown = m_second->OnRight = [this](void*) { LineDown(); };
    m_thumb = new TWLXScrollBarThumb(this);
    Bevel().SetMode(TWLXBevelMode::bmStandard);
    Bevel().SetStandardStyle(TWLXBorderStyle::lsSingleLowered);
    m_thumbBevel.SetStyleOuter(TWLXBevelStyle::bvRaised);
    resize(width(), 16);
    Layout();
}

int TWLXScrollBar::GetIntegerProp(int index) const
{
    const int values[] = {m_max, m_min, m_position, m_buttonWidth, m_thumbLength, m_barWidth};
    return index >= 0 && index < 6 ? values[index] : 0;
}

void TWLXScrollBar::SetIntegerProp(int index, int value)
{
    if (index < 0 || index > 5 || GetIntegerProp(index) == value)
        return;
    switch (index) {
    case 0:
        m_max = std::max(value, m_min);
        if (m_max < m_position)
            SetIntegerProp(2, m_max);
        break;
    case 1:
        m_min = std::min(value, m_max);
        if (m_min > m_position)
            SetIntegerProp(2, m_min);
        break;
    case 2: m_position = std::max(std::min(value, m_max), m_min); break;
    case 3: m_buttonWidth = value; break;
    case 4:
        if (ThumbMode != TWLXThumbMode::tmFixed)
            return;
        m_thumbLength = value;
        break;
    case 5: {
        m_barWidth = value;
        const bool vertical = m_kind == TWLXScrollBarKind::skVertical;
        const int size = value <= 0 ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : value;
        if (vertical)
            resize(size, height());
        else
            resize(width(), size);
        break;
    }
    }
    Layout();
}

void TWLXScrollBar::SetKind(TWLXScrollBarKind value)
{
    if (value == m_kind)
        return;
    m_kind = value;
    if (DesignMode)
        resize(height(), width());
    Layout();
}

void TWLXScrollBar::SetBackStyle(TWLXBackStyle value)
{
    if (value == m_backStyle)
        return;
    m_backStyle = value;
    update();
}

void TWLXScrollBar::SetThumbColor(int32_t value)
{
    if (value == m_thumbColor)
        return;
    m_thumbColor = value;
    Layout();
}

void TWLXScrollBar::SetFocusable(bool value)
{
    m_focusable = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

void TWLXScrollBar::Layout()
{
    if (IsUpdating() || !m_thumb)
        return;
    BeginUpdate();
    m_thumb->SetFlat(m_thumbFlat);
    m_thumb->SetColor(m_thumbColor);
    const TWLXRect r = TrackRect();
    const bool vertical = m_kind == TWLXScrollBarKind::skVertical;
    m_trackLength = (vertical ? r.Height() : r.Width()) - 2 * m_buttonWidth;
    if (ThumbMode == TWLXThumbMode::tmAuto)
        m_thumbLength = std::max(8, m_trackLength - (m_max - m_min));
    double e = 1;
    if (m_min < m_max) {
        const int divisor = m_trackLength == m_thumbLength ? 1 : m_trackLength - m_thumbLength;
        e = double(m_max - m_min) / divisor;
    }
    if (e == 0)
        e = 1;
    const int offset = WLXRound((m_position - m_min) / e);
    if (vertical) {
        m_first->SetArrows(TWLXSpinButton::Up);
        m_second->SetArrows(TWLXSpinButton::Down);
        m_first->setGeometry(r.Left, r.Top + 1, r.Width(), m_buttonWidth - 1);
        m_second->setGeometry(r.Left, r.Bottom - m_buttonWidth + 1, r.Width(), m_buttonWidth - 1);
        m_thumb->setGeometry(r.Left, r.Top + m_buttonWidth + offset, r.Width(), m_thumbLength);
    } else {
        m_first->SetArrows(TWLXSpinButton::Left);
        m_second->SetArrows(TWLXSpinButton::Right);
        m_first->setGeometry(r.Left, r.Top, m_buttonWidth, r.Height() + 1);
        m_second->setGeometry(r.Right - m_buttonWidth, r.Top, m_buttonWidth, r.Height() + 1);
        m_thumb->setGeometry(r.Left + m_buttonWidth + offset, r.Top, m_thumbLength, r.Height());
    }
    EndUpdate(false);
    update();
}

void TWLXScrollBar::DoScroll(int code)
{
    if (!OnScroll)
        return;
    OnScroll(this, scEndScroll, m_position);
    OnScroll(this, code, m_position);
}

void TWLXScrollBar::ReportEnds()
{
    if (m_position == m_min)
        DoScroll(scTop);
    if (m_position == m_max)
        DoScroll(scBottom);
}

void TWLXScrollBar::FocusBar()
{
    if (!hasFocus() && m_focusable)
        setFocus();
}

void TWLXScrollBar::LineUp()
{
    FocusBar();
    if (m_position == m_min)
        return;
    SetPosition(m_position - SmallChange);
    DoScroll(scLineDown);
}

void TWLXScrollBar::LineDown()
{
    FocusBar();
    if (m_position == m_max)
        return;
    SetPosition(m_position + SmallChange);
    DoScroll(scLineUp);
}

void TWLXScrollBar::TrackMouseDown(Qt::MouseButton button, QPoint p)
{
    FocusBar();
    if (button == Qt::LeftButton) {
        if (!m_timer)
            m_timer = std::make_unique<TWLXTimer>(100, UseGlobalTimer, true, [this](void*) { PageTimerTick(); });
        const bool vertical = m_kind == TWLXScrollBarKind::skVertical;
        const QRect t = m_thumb->geometry();
        const int v = vertical ? p.y() : p.x();
        const int start = vertical ? t.top() : t.left();
        const int end = start + (vertical ? t.height() : t.width());
        if (v < start) {
            SetPosition(m_position - LargeChange);
            DoScroll(scPageDown);
        } else if (v >= end) {
            SetPosition(m_position + LargeChange);
            DoScroll(scPageUp);
        }
        if (v > start && v < end - 1)
            m_timer.reset();
    }
    ReportEnds();
}

void TWLXScrollBar::PageTimerTick()
{
    TrackMouseDown(Qt::LeftButton, m_last);
}

void TWLXScrollBar::mousePressEvent(QMouseEvent* event)
{
    m_last = event->position().toPoint();
    TrackMouseDown(event->button(), m_last);
}

void TWLXScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    DragMove(event->position().toPoint(), event->buttons() & Qt::LeftButton);
}

void TWLXScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_timer.reset();
}

void TWLXScrollBar::DragStart(QPoint p)
{
    m_dragging = true;
    m_dragStart = p;
}

void TWLXScrollBar::DragMove(QPoint p, bool leftDown)
{
    m_last = p;
    if (!leftDown || !m_dragging)
        return;
    const bool vertical = m_kind == TWLXScrollBarKind::skVertical;
    const int now = vertical ? p.y() : p.x();
    const int before = vertical ? m_dragStart.y() : m_dragStart.x();
    if (now != before) {
        const int d = std::abs(before - now);
        const int change = m_thumbLength == m_trackLength
                               ? 1
                               : WLXRound(double(m_max - m_min) / (m_trackLength - m_thumbLength) * d);
        SetPosition(now < before ? m_position - change : m_position + change);
    }
    if (OnScroll)
        OnScroll(this, scTrack, m_position);
    m_dragStart = p;
    ReportEnds();
}

void TWLXScrollBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetPosition(m_position - LargeChange);
        if (OnScroll)
            OnScroll(this, scPageDown, m_position);
        break;
    case Qt::Key_PageDown:
        SetPosition(m_position + LargeChange);
        if (OnScroll)
            OnScroll(this, scPageUp, m_position);
        break;
    case Qt::Key_Left: case Qt::Key_Up: LineUp(); break;
    case Qt::Key_Right: case Qt::Key_Down: LineDown(); break;
    default:
        TWLXCustomBevelPanel::keyPressEvent(event);
        return;
    }
    ReportEnds();
}

void TWLXScrollBar::changeEvent(QEvent* event)
{
    TWLXCustomBevelPanel::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_thumb->setVisible(isEnabled());
        m_first->setEnabled(isEnabled());
        m_second->setEnabled(isEnabled());
    }
}

// The bar places its parts itself: it keeps no contents margins (setting the bevel's first and
// clearing them again would resize the bar once more, endlessly, with a framed bevel).
void TWLXScrollBar::resizeEvent(QResizeEvent* event)
{
    TWLXCustomPanel::resizeEvent(event);
    BackFX().InvalidateBuffer();
    setContentsMargins(0, 0, 0, 0);
    Layout();
}

void TWLXScrollBar::focusInEvent(QFocusEvent* event)
{
    if (Loading || !m_focusable)
        return;
    TWLXCustomBevelPanel::focusInEvent(event);
    m_thumb->update();
}

void TWLXScrollBar::focusOutEvent(QFocusEvent* event)
{
    TWLXCustomBevelPanel::focusOutEvent(event);
    m_thumb->update();
}

void TWLXScrollBar::Paint(TCanvas& canvas)
{
    if (IsUpdating())
        return;
    PaintBackground(canvas);
    const TWLXRect track = Bevel().PaintBevel(canvas, ClientRect(), Transparent());
    if (Transparent() || m_back.Style() == TWLXFillStyle::sfNone)
        return;
    if (m_backStyle == TWLXBackStyle::bsUser)
        m_back.PaintFill(canvas, track, Color());
    else
        FillDither(canvas, track, Color());
}

void TWLXScrollBarThumb::Paint(TCanvas& canvas)
{
    TWLXCustomPanelFill::Paint(canvas);
    // The focus mark: the bar's dither over the inside of the thumb.
    if (m_bar->hasFocus() && !m_bar->HideFocus && width() > 3 && height() > 3)
        FillDither(canvas, {1, 1, width() - 2, height() - 2}, m_bar->Color());
}

// ---- settings object -----------------------------------------------------------------------

TWLXScrollBarObject::TWLXScrollBarObject()
{
    m_back.SetStyle(TWLXFillStyle::sfBrush);
    m_back.SetBrush(TCanvasBrush{0xFF0000, Qt::SolidPattern});
    m_bevel.SetMode(TWLXBevelMode::bmStandard);
    m_bevel.SetStandardStyle(TWLXBorderStyle::lsSingleLowered);
    m_back.OnChange = [this](void* s) { GetChange(s); };
    m_bevel.OnChange = [this](void* s) { GetChange(s); };
}

void TWLXScrollBarObject::Assign(const TWLXScrollBarObject& source)
{
    BeginUpdate();
    m_back.Assign(source.m_back);
    m_bevel.Assign(source.m_bevel);
    m_color = source.m_color;
    m_thumbColor = source.m_thumbColor;
    m_cursor = source.m_cursor;
    m_buttonWidth = source.m_buttonWidth;
    m_smallChange = source.m_smallChange;
    m_largeChange = source.m_largeChange;
    m_transparent = source.m_transparent;
    m_ctl3D = source.m_ctl3D;
    m_parentCtl3D = source.m_parentCtl3D;
    m_allowMousePos = source.m_allowMousePos;
    m_backStyle = source.m_backStyle;
    m_barWidth = source.m_barWidth;
    EndUpdate(true);
}

void TWLXScrollBarObject::ApplyTo(TWLXScrollBar& bar) const
{
    bar.Back().Assign(m_back);
    bar.Bevel().Assign(m_bevel);
    bar.SetTransparent(m_transparent);
    bar.SetButtonWidth(m_buttonWidth);
    bar.SmallChange = m_smallChange;
    bar.LargeChange = m_largeChange;
    bar.AllowMousePos = m_allowMousePos;
    bar.SetBackStyle(m_backStyle);
    bar.SetColor(m_color);
    bar.SetThumbColor(m_thumbColor);
    bar.SetBarWidth(m_barWidth);
}
