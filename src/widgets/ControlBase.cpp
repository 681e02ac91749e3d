#include "widgets/ControlBase.h"

#include "platform/Canvas.h"

#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

TWLXCustomControl::TWLXCustomControl(QWidget* parent)
    : QWidget(parent)
{
    resize(100, 40);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    m_backFX.OnChange = [this](void* sender) { ChangeNotify(sender); };
}

TWLXCustomControl::~TWLXCustomControl()
{
    SetFaceController(nullptr);
}

void TWLXCustomControl::SetFaceController(TWLXFaceController* face)
{
    if (face == m_face)
        return;
    if (m_face)
        m_face->RemoveControl(this);
    m_face = face;
    if (face)
        face->AddControl(this, [this] {
            m_face = nullptr;
            update();
        });
    if (!Loading)
        update();
}

QFont TWLXCustomControl::GetFaceFont() const
{
    const QFont* font = m_face ? m_face->GetFont(*this) : nullptr;
    return font ? *font : this->font();
}

TWLX3DCaption* TWLXCustomControl::GetFace3DCaption() const
{
    return m_face ? m_face->Get3DCaption(*this) : nullptr;
}

bool TWLXCustomControl::GetFaceTransparent() const
{
    return m_face ? m_face->GetTransparent(*this) : m_transparent;
}

int32_t TWLXCustomControl::GetFaceColor() const
{
    return m_face ? m_face->GetColor(*this) : m_color;
}

TWLXFillObject* TWLXCustomControl::GetFaceFillObject() const
{
    return m_face ? m_face->GetFillObject(*this) : nullptr;
}

TWLXBitmapEffectObject& TWLXCustomControl::GetFaceBackFX()
{
    TWLXBitmapEffectObject* fx = m_face ? m_face->GetBackFX(*this) : nullptr;
    return fx ? *fx : m_backFX;
}

bool TWLXCustomControl::GetFaceCtlXPSetting() const
{
    return m_face ? m_face->GetCtlXPSetting(*this) : m_ctlXP;
}

TWLXBevel* TWLXCustomControl::GetFaceBevel() const
{
    return m_face ? m_face->GetBevel(*this) : nullptr;
}

bool TWLXCustomControl::UseThemes() const
{
    return IsThemed() && Application().UseThemes() && GetFaceCtlXPSetting();
}

bool TWLXCustomControl::event(QEvent* event)
{
    if (event->type() == ThemeChangedEvent()) {
        ThemeChanged();
        return true;
    }
    return QWidget::event(event);
}

void TWLXCustomControl::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

void TWLXCustomControl::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    if (isVisible())
        update();
}

void TWLXCustomControl::SetCtlXP(bool value)
{
    if (value == m_ctlXP)
        return;
    m_ctlXP = value;
    ThemeChanged();
}

void TWLXCustomControl::SetFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    FlatChanged();
    if (m_flat)
        DrawFlatFrame();
    else
        DrawNormalFrame();
}

void TWLXCustomControl::SetSizeGrip(bool value)
{
    if (value == m_sizeGrip)
        return;
    m_sizeGrip = value;
    SizeGripChanged();
    update();
}

void TWLXCustomControl::EndUpdate(bool repaint)
{
    if (m_updateDepth > 0)
        --m_updateDepth;
    if (m_updateDepth == 0 && repaint)
        ChangeNotify(nullptr);
}

void TWLXCustomControl::SetEntered(bool value)
{
    if (value == m_entered)
        return;
    m_entered = value;
    if (!value && m_flat)
        DrawFlatFrame();
}

bool TWLXCustomControl::IsAligned() const
{
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(this) >= 0;
}

TWLXHitCode TWLXCustomControl::HitTest(QPoint p)
{
    using H = TWLXHitCode;
    if (!rect().contains(p))
        return H::Nowhere;
    if (ControlLocked || DesignMode)
        return H::Client;
    if (AllowSizing) {
        H code = H::Client;
        if (m_sizeGrip) {
            const TWLXRect g = GetSizeGripArea();
            if (p.x() >= g.Left && p.y() >= g.Top)
                code = H::BottomRight;
        } else {
            const int b = SizeBorder();
            const TWLXRect in{b, b, width() - b, height() - b};
            const int col = p.x() < in.Left ? 0 : p.x() >= in.Right ? 2 : 1;
            if (p.y() >= in.Bottom)
                code = (const H[]){H::BottomLeft, H::Bottom, H::BottomRight}[col];
            else if (p.y() < in.Top)
                code = (const H[]){H::TopLeft, H::Top, H::TopRight}[col];
            else
                code = (const H[]){H::Left, H::Client, H::Right}[col];
        }
        if (code != H::Client) {
            raise();
            return code;
        }
    }
    if (IsAligned())
        return H::Client;
    const TWLXRect move = GetMoveArea();
    if (AllowMoving && p.x() >= move.Left && p.x() < move.Right && p.y() >= move.Top &&
        p.y() < move.Bottom) {
        raise();
        return H::Caption;
    }
    return H::Client;
}

void TWLXCustomControl::PaintBackground(TCanvas& canvas)
{
    if (UsesParentBack())
        return;
    FillSolid(canvas, ClientRect(), GetFaceColor());
}

void TWLXCustomControl::FillBackRect(TCanvas& canvas, const TWLXRect& rect)
{
    if (!UsesParentBack())
        FillSolid(canvas, rect, m_color);
}

void TWLXCustomControl::Paint(TCanvas& canvas)
{
    PaintBackground(canvas);
}

void TWLXCustomControl::paintEvent(QPaintEvent*)
{
    if (IsUpdating())
        return;
    QPainter p(this);
    TCanvas canvas(&p);
    Paint(canvas);
}

void TWLXCustomControl::DoMouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
    m_mouseAbove = true;
    if (m_face)
        ChangeNotify(nullptr);
}

void TWLXCustomControl::DoMouseLeave()
{
    m_mouseAbove = false;
    if (m_face)
        ChangeNotify(nullptr);
    if (!m_entered && m_flat)
        DrawFlatFrame();
    if (OnMouseExit)
        OnMouseExit(this);
}

void TWLXCustomControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    DoMouseEnter();
}

void TWLXCustomControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    DoMouseLeave();
}

void TWLXCustomControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    SetEntered(true);
    if (m_flat || m_face)
        DrawNormalFrame();
    if (m_face)
        ChangeNotify(nullptr);
    // After the focus change has settled.
    QMetaObject::invokeMethod(this, [this] { if (OnAfterEnter) OnAfterEnter(this); }, Qt::QueuedConnection);
}

void TWLXCustomControl::focusOutEvent(QFocusEvent* event)
{
    SetEntered(false);
    QWidget::focusOutEvent(event);
    if (m_face)
        ChangeNotify(nullptr);
    QMetaObject::invokeMethod(this, [this] { if (OnAfterExit) OnAfterExit(this); }, Qt::QueuedConnection);
}

void TWLXCustomControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const TWLXHitCode code = HitTest(event->position().toPoint());
        if (code != TWLXHitCode::Client && code != TWLXHitCode::Nowhere) {
            m_drag = code;
            m_movingNow = code == TWLXHitCode::Caption;
            m_dragStart = event->globalPosition().toPoint();
            m_dragGeometry = geometry();
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void TWLXCustomControl::mouseMoveEvent(QMouseEvent* event)
{
    using H = TWLXHitCode;
    if (m_drag == H::Nowhere) {
        static const Qt::CursorShape kShapes[] = {
            Qt::ArrowCursor, Qt::ArrowCursor, Qt::SizeAllCursor, Qt::SizeHorCursor,
            Qt::SizeHorCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor,
            Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor};
        if (AllowMoving || AllowSizing)
            setCursor(kShapes[int(HitTest(event->position().toPoint()))]);
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint d = event->globalPosition().toPoint() - m_dragStart;
    QRect g = m_dragGeometry;
    if (m_drag == H::Caption) {
        g.translate(d);
    } else {
        if (m_drag == H::Left || m_drag == H::TopLeft || m_drag == H::BottomLeft)
            g.setLeft(std::min(g.left() + d.x(), g.right() - 2 * SizeBorder()));
        if (m_drag == H::Right || m_drag == H::TopRight || m_drag == H::BottomRight)
            g.setRight(std::max(g.right() + d.x(), g.left() + 2 * SizeBorder()));
        if (m_drag == H::Top || m_drag == H::TopLeft || m_drag == H::TopRight)
            g.setTop(std::min(g.top() + d.y(), g.bottom() - 2 * SizeBorder()));
        if (m_drag == H::Bottom || m_drag == H::BottomLeft || m_drag == H::BottomRight)
            g.setBottom(std::max(g.bottom() + d.y(), g.top() + 2 * SizeBorder()));
    }
    setGeometry(g);
}

void TWLXCustomControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag == TWLXHitCode::Nowhere) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_drag = TWLXHitCode::Nowhere;
    if (m_movingNow) {
        m_movingNow = false;
        DoMove();
    }
}
