#include "widgets/ScrollBox.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/Application.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollBar>

TWLXCustomScrollBox::TWLXCustomScrollBox(QWidget* parent)
    : QScrollArea(parent)
    , m_color(clBtnFace)
{
    // The frame only makes room; the border is painted by the box.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setWidgetResizable(true);
    setWidget(new QWidget);
    widget()->setAutoFillBackground(false);
    resize(185, 41);
    m_bevel.OnChange = [this](void* sender) { BevelChanged(sender); };
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (OnScroll)
                OnScroll(this);
        });
    UpdateBorder();
    UpdateBackground();
}

TWLXCustomScrollBox::~TWLXCustomScrollBox()
{
    m_bevel.OnChange = nullptr;
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        disconnect(bar, nullptr, this, nullptr);
}

bool TWLXCustomScrollBox::UseThemes() const
{
    return m_bevel.Mode() == TWLXBevelMode::bmWindows && Application().UseThemes() && m_ctlXP;
}

QMargins TWLXCustomScrollBox::BorderMargins() const
{
    if (m_bevel.Mode() == TWLXBevelMode::bmWindows) {
        const int w = (UseThemes() || !m_ctl3D) ? 1 : 2;
        return QMargins(w, w, w, w);
    }
    // Qt's frame is as wide on every side: the wider of the bevel's extents.
    const int w = std::max(m_bevel.ExtentAll(), m_bevel.ExtentRightBottom());
    return QMargins(w, w, w, w);
}

void TWLXCustomScrollBox::UpdateBorder()
{
    setLineWidth(BorderMargins().left());
    update();
}

void TWLXCustomScrollBox::UpdateBackground()
{
    viewport()->setAutoFillBackground(!m_transparent);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, TColorToQColor(m_color));
    viewport()->setPalette(pal);
    viewport()->update();
}

void TWLXCustomScrollBox::BevelChanged(void* sender)
{
    if (sender == &m_bevel)
        UpdateBorder();
    else
        update();
}

void TWLXCustomScrollBox::ThemeChanged()
{
    UpdateBorder();
    for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QEvent changed(ThemeChangedEvent());
        QCoreApplication::sendEvent(child, &changed);
    }
}

void TWLXCustomScrollBox::SetCtlXP(bool value)
{
    if (value == m_ctlXP)
        return;
    m_ctlXP = value;
    ThemeChanged();
}

void TWLXCustomScrollBox::SetCtl3D(bool value)
{
    if (value == m_ctl3D)
        return;
    m_ctl3D = value;
    UpdateBorder();
}

void TWLXCustomScrollBox::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    UpdateBackground();
    TransparentChanged();
}

void TWLXCustomScrollBox::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    UpdateBackground();
    update();
}

void TWLXCustomScrollBox::SetHorzRange(int value)
{
    value = std::max(0, value);
    if (value == m_horzRange)
        return;
    m_horzRange = value;
    widget()->setMinimumWidth(value);
    horizontalScrollBar()->setValue(0);
}

void TWLXCustomScrollBox::PaintBorder(QPainter& painter)
{
    TCanvas canvas(&painter);
    TWLXRect r{0, 0, width(), height()};
    if (m_bevel.Mode() != TWLXBevelMode::bmWindows) {
        canvas.Brush.Color = m_color;
        m_bevel.PaintBevel(canvas, r, m_transparent);
    } else if (UseThemes()) {
        FrameRect(canvas, r, hasFocus() ? clHighlight : isEnabled() ? clGray : clBtnShadow);
    } else if (m_ctl3D) {
        DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT);
    } else {
        FrameRect(canvas, r, clWindowFrame);
    }
}

bool TWLXCustomScrollBox::event(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        QPainter painter(this);
        PaintBorder(painter);
        return true;
    }
    if (event->type() == ThemeChangedEvent()) {
        ThemeChanged();
        return true;
    }
    return QScrollArea::event(event);
}

void TWLXCustomScrollBox::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    if (FullRepaint)
        viewport()->update();
    update();
}
