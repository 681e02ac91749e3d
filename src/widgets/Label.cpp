#include "widgets/Label.h"

#include "platform/Canvas.h"
#include "widgets/EffectText.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QUrl>

TWLXCustomSimpleLabel::TWLXCustomSimpleLabel(QWidget* parent)
    : TWLXBaseGraphicControl(parent)
{
    m_font3D.OnChange = [this](void*) { FontChanged(); };
}

TWLXCustomSimpleLabel::~TWLXCustomSimpleLabel()
{
    m_font3D.OnChange = nullptr;
    m_timer.reset();
}

std::function<bool(const QString&)>& TWLXCustomSimpleLabel::ShellOpen()
{
    static std::function<bool(const QString&)> open = [](const QString& target) {
        return QDesktopServices::openUrl(QUrl::fromUserInput(target));
    };
    return open;
}

void TWLXCustomSimpleLabel::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    UpdateShortcut();
    AdjustSize();
    ChangeNotify();
}

void TWLXCustomSimpleLabel::SetAlignment(TWLXAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    AdjustSize();
    ChangeNotify();
}

void TWLXCustomSimpleLabel::SetOptions(uint8_t value)
{
    if (value == m_options)
        return;
    m_options = value;
    AdjustSize();
    ChangeNotify();
}

void TWLXCustomSimpleLabel::SetMultiLine(bool value)
{
    if (value == m_multiLine)
        return;
    m_multiLine = value;
    AdjustSize();
    ChangeNotify();
}

void TWLXCustomSimpleLabel::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    AdjustSize();
}

void TWLXCustomSimpleLabel::SetShowAccelChar(bool value)
{
    if (value == m_showAccel)
        return;
    m_showAccel = value;
    UpdateShortcut();
    update();
}

void TWLXCustomSimpleLabel::SetFontColor(int32_t value)
{
    m_fontColor = value;
    update();
}

void TWLXCustomSimpleLabel::SetFocusControl(QWidget* value)
{
    m_focusControl = value;
    UpdateShortcut();
}

void TWLXCustomSimpleLabel::SetFontSmoothing(bool value)
{
    if (value == m_fontSmoothing)
        return;
    m_fontSmoothing = value;
    QFont f = font();
    f.setStyleStrategy(value ? QFont::PreferAntialias : QFont::PreferDefault);
    setFont(f);
}

void TWLXCustomSimpleLabel::FontChanged()
{
    if (Loading)
        return;
    AdjustSize();
    ChangeNotify();
}

void TWLXCustomSimpleLabel::changeEvent(QEvent* event)
{
    TWLXBaseGraphicControl::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontChanged();
    else if (event->type() == QEvent::EnabledChange && m_timer)
        m_timer->SetInterval(m_visiblePhase ? TwinkleVisible : TwinkleInVisible);
}

// ---- twinkle -------------------------------------------------------------------------------

void TWLXCustomSimpleLabel::SetTwinkle(bool value)
{
    if (value == m_twinkle)
        return;
    m_twinkle = value;
    m_timer.reset();
    if (value && !DesignMode) {
        m_timer = std::make_unique<TWLXTimer>(TwinkleVisible, UseGlobalTimer, isEnabled(),
                                              [this](void*) { TwinkleTick(); });
        return;
    }
    m_visiblePhase = true;
    Refresh();
}

void TWLXCustomSimpleLabel::TwinkleTick()
{
    if (!m_timer)
        return;
    m_visiblePhase = !m_visiblePhase;
    m_timer->SetInterval(m_visiblePhase ? TwinkleVisible : TwinkleInVisible);
    if (isVisible())
        Refresh();
}

// ---- hyperlink -----------------------------------------------------------------------------

void TWLXCustomSimpleLabel::SetJumpUnderline(bool value)
{
    m_jumpUnderline = value;
    if (m_useAsJump) {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
    }
}

void TWLXCustomSimpleLabel::SetInActiveColor(int32_t value)
{
    InActiveColor = value;
    if (m_useAsJump)
        SetFontColor(value);
}

void TWLXCustomSimpleLabel::SetJumpMode(TWLXJumpModes value)
{
    if (value == m_jumpMode)
        return;
    m_jumpMode = value;
    if (Loading && value == TWLXJumpModes::jmNone)
        return;
    QFont f = font();
    if (value != TWLXJumpModes::jmNone) {
        m_fontColor = InActiveColor;
        if (m_jumpUnderline)
            f.setUnderline(true);
        if (!DesignMode)
            setCursor(Qt::PointingHandCursor);
    } else {
        if (!DesignMode)
            setCursor(Qt::ArrowCursor);
        m_fontColor = 0;
        if (m_jumpUnderline)
            f.setUnderline(false);
    }
    setFont(f);
    update();
}

void TWLXCustomSimpleLabel::Loaded()
{
    Loading = false;
    AdjustSize();
    if (m_useAsJump)
        m_jumpMode = TWLXJumpModes::jmInternet;
}

QString TWLXCustomSimpleLabel::JumpTarget() const
{
    const QString jump = Jump.trimmed();
    if (!jump.isEmpty())
        return jump;
    if (m_jumpMode == TWLXJumpModes::jmInternet && m_caption.contains(u'@'))
        return QStringLiteral("mailto:") + m_caption;
    return m_caption;
}

void TWLXCustomSimpleLabel::Click()
{
    switch (m_jumpMode) {
    case TWLXJumpModes::jmInternet:
        if (!ShellOpen()(JumpTarget())) {
            SetJumpMode(TWLXJumpModes::jmNone);
            setEnabled(false);
        }
        break;
    case TWLXJumpModes::jmApplication: ShellOpen()(JumpTarget()); break;
    default:
        if (OnClick)
            OnClick(this);
        break;
    }
}

void TWLXCustomSimpleLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_jumpMode != TWLXJumpModes::jmNone)
        SetFontColor(ActiveColor);
    TWLXBaseGraphicControl::mousePressEvent(event);
}

void TWLXCustomSimpleLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_useAsJump)
        SetFontColor(InActiveColor);
    TWLXBaseGraphicControl::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
}

// ---- accelerator ---------------------------------------------------------------------------

void TWLXCustomSimpleLabel::UpdateShortcut()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_showAccel || !m_focusControl)
        return;
    const QKeySequence key = QKeySequence::mnemonic(m_caption);
    if (!key.isEmpty())
        m_shortcutId = grabShortcut(key);
}

bool TWLXCustomSimpleLabel::DialogChar(QChar c)
{
    if (!m_showAccel || !m_focusControl || !isEnabled())
        return false;
    const QKeySequence key = QKeySequence::mnemonic(m_caption);
    if (key.isEmpty() || key != QKeySequence::mnemonic(QStringLiteral("&") + c))
        return false;
    if (!m_focusControl->isEnabled() || !m_focusControl->isVisible() || m_focusControl->focusPolicy() == Qt::NoFocus)
        return false;
    m_focusControl->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool TWLXCustomSimpleLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        auto* e = static_cast<QShortcutEvent*>(event);
        if (e->shortcutId() == m_shortcutId) {
            const QString text = e->key().toString();
            return DialogChar(text.isEmpty() ? QChar() : text.back());
        }
    }
    return TWLXBaseGraphicControl::event(event);
}

// ---- size and painting ---------------------------------------------------------------------

unsigned TWLXCustomSimpleLabel::TextFlags() const
{
    static const unsigned align[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    unsigned flags = m_multiLine ? 0 : DT_SINGLELINE;
    flags |= DT_WORDBREAK | DT_EXPANDTABS | align[int(m_alignment)];
    if (m_options & loPathEllipsis)
        flags |= DT_PATH_ELLIPSIS;
    if (m_options & loEndEllipsis)
        flags |= DT_END_ELLIPSIS;
    if (m_options & loEditControl)
        flags |= DT_EDITCONTROL;
    if (!m_showAccel)
        flags |= DT_NOPREFIX;
    return flags;
}

QString TWLXCustomSimpleLabel::DisplayText(int width) const
{
    if (m_multiLine || !(m_options & (loPathEllipsis | loEndEllipsis)))
        return m_caption;
    const QFontMetrics fm(font());
    const Qt::TextElideMode mode = (m_options & loPathEllipsis) ? Qt::ElideMiddle : Qt::ElideRight;
    return fm.elidedText(m_caption, mode, width);
}

bool TWLXCustomSimpleLabel::IsAlignedByLayout() const
{
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(const_cast<TWLXCustomSimpleLabel*>(this)) >= 0;
}

void TWLXCustomSimpleLabel::AdjustSize()
{
    if (!m_autoSize || Loading || IsAlignedByLayout())
        return;
    TWLXRect r{0, 0, width(), height()};
    MeasureText(m_caption, &m_font3D, r, TextFlags() & (DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_EDITCONTROL), 0,
                m_multiLine, m_showAccel, font());
    resize(std::max(1, r.Right), std::max(1, r.Bottom));
}

void TWLXCustomSimpleLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas canvas(&p);
    Paint(canvas);
}

void TWLXCustomSimpleLabel::Paint(TCanvas& canvas)
{
    if (m_painting || Loading)
        return;
    const TWLXRect client{0, 0, width(), height()};
    if (IsEmpty()) {
        if (DesignMode && canvas.Painter()) {
            canvas.Painter()->setPen(QPen(Qt::black, 1, Qt::DashLine));
            canvas.Painter()->drawRect(0, 0, width() - 1, height() - 1);
        }
        return;
    }
    m_painting = true;
    if (!Transparent())
        canvas.Painter()->fillRect(client.ToQRect(), TColorToQColor(Color));
    TWLXRect r = client;
    unsigned flags = m_multiLine ? 0 : DT_SINGLELINE;
    if (m_multiLine && int(m_alignment) >= int(TWLXAlignment::agCenterLeft))
        r = DrawAlignedText(m_alignment, m_caption, &m_font3D, TextFlags(), font(), r);
    flags |= TextFlags() & ~unsigned(DT_SINGLELINE);
    flags &= ~(DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_EDITCONTROL);
    canvas.Font = font();
    canvas.Brush.Color = Color;
    const unsigned state = isEnabled() ? kTextEnabled : 1;
    if (m_visiblePhase) {
        canvas.FontColor = m_fontColor;
        DrawEffectText(canvas, DisplayText(r.Width()), &m_font3D, nullptr, state, flags, r);
    } else if (TwinkleColor != clNone) {
        canvas.FontColor = TwinkleColor;
        DrawEffectText(canvas, DisplayText(r.Width()), &m_font3D, nullptr, state, flags, r);
    }
    m_painting = false;
}
