#include "widgets/SpeedButton.h"

#include "platform/Canvas.h"
#include "widgets/ButtonFace.h"
#include "widgets/EffectText.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using S = TWLXGraphicButtonState;

namespace {

std::function<bool()>& ActiveQuery()
{
    static std::function<bool()> query;
    return query;
}

} // namespace

bool ApplicationIsActive()
{
    if (ActiveQuery())
        return ActiveQuery()();
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void SetApplicationActiveQuery(std::function<bool()> query)
{
    ActiveQuery() = std::move(query);
}

TWLXBaseGraphicButton::TWLXBaseGraphicButton(QWidget* parent)
    : TWLXBaseGraphicControlT<QToolButton>(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(25, 25);
    m_layout.OnChange = [this](void*) { update(); };
    m_fontFX.OnChange = [this](void*) { update(); };
    m_glyph.OnChange = [this](void*) { update(); };
}

TWLXBaseGraphicButton::~TWLXBaseGraphicButton()
{
    m_layout.OnChange = nullptr;
    m_fontFX.OnChange = nullptr;
    m_glyph.OnChange = nullptr;
}

// ---- properties --------------------------------------------------------------------------

void TWLXBaseGraphicButton::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

void TWLXBaseGraphicButton::SetUseCaption(bool value)
{
    if (value == m_useCaption)
        return;
    m_useCaption = value;
    update();
}

void TWLXBaseGraphicButton::SetMultiLine(bool value)
{
    if (value == m_multiLine)
        return;
    m_multiLine = value;
    update();
}

void TWLXBaseGraphicButton::SetFontColor(int32_t value)
{
    if (m_fontColor == value)
        return;
    m_fontColor = value;
    update();
}

void TWLXBaseGraphicButton::SetEnterColor(int32_t value)
{
    if (value == m_enterColor)
        return;
    m_enterColor = value;
    update();
}

void TWLXBaseGraphicButton::SetEnterColorChange(bool value)
{
    if (value == m_enterColorChange)
        return;
    m_enterColorChange = value;
    update();
}

void TWLXBaseGraphicButton::SetGlyph(const QImage& bitmap)
{
    if (!Loading && ImageList())
        SetImageList(nullptr);
    m_glyphFromList = false;
    m_glyph.SetGlyph(bitmap);
    update();
}

void TWLXBaseGraphicButton::ImageListChange()
{
    const TWLXCustomImageList* list = ImageList();
    if (list && list->IsValidIndex(ListIndex(), ImageIndex())) {
        QImage picture(std::max(1, list->GetImageSize(ListIndex(), 0)),
                       std::max(1, list->GetImageSize(ListIndex(), 1)), QImage::Format_RGB32);
        picture.fill(QColor(255, 0, 255));
        {
            QPainter p(&picture);
            TCanvas canvas(&p);
            list->Draw(canvas, 0, 0, ListIndex(), ImageIndex());
        }
        m_glyph.SetGlyph(picture);
        m_glyphFromList = true;
    } else if (list || m_glyphFromList) {
        m_glyph.SetGlyph(QImage());
        m_glyphFromList = false;
    }
    update();
}

void TWLXBaseGraphicButton::SetNumGlyphs(int value)
{
    m_glyph.SetNumGlyphs(value);
    update();
}

void TWLXBaseGraphicButton::RecomputeComboPart()
{
    m_hasComboPart = m_menu && m_dropDownCombo;
}

void TWLXBaseGraphicButton::SetDropDownMenu(QMenu* menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    RecomputeComboPart();
    if (m_dropDownCombo)
        update();
}

void TWLXBaseGraphicButton::SetDropDownCombo(bool value)
{
    if (value == m_dropDownCombo)
        return;
    m_dropDownCombo = value;
    if (!Loading)
        resize(width() + (value ? m_dropDownComboWidth : -m_dropDownComboWidth), height());
    RecomputeComboPart();
    update();
}

void TWLXBaseGraphicButton::SetDropDownComboWidth(int value)
{
    if (value == m_dropDownComboWidth)
        return;
    if (!Loading && m_dropDownCombo)
        resize(width() + value - m_dropDownComboWidth, height());
    m_dropDownComboWidth = value;
    RecomputeComboPart();
    update();
}

void TWLXBaseGraphicButton::SetGroupIndex(int value)
{
    if (value == m_groupIndex)
        return;
    m_groupIndex = value;
    setCheckable(value != 0);
    UpdateExclusive();
}

void TWLXBaseGraphicButton::SetAllowAllUp(bool value)
{
    if (value == m_allowAllUp)
        return;
    m_allowAllUp = value;
    UpdateExclusive();
}

// ---- group rules -------------------------------------------------------------------------

void TWLXBaseGraphicButton::SetPressed(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_pressed || (m_pressed && !m_allowAllUp))
        return;
    m_pressed = value;
    SyncChecked();
    if (value) {
        SetButtonState(isEnabled() ? S::Down : S::DisabledDown);
        update();
        UpdateExclusive();
    } else {
        SetButtonState(isEnabled() ? S::Up : S::Disabled);
        update();
    }
}

void TWLXBaseGraphicButton::UpdateExclusive()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    for (QObject* child : parentWidget()->children())
        if (auto* button = dynamic_cast<TWLXBaseGraphicButton*>(child))
            button->ButtonPressed(m_groupIndex, this);
}

void TWLXBaseGraphicButton::ButtonPressed(int group, TWLXBaseGraphicButton* sender)
{
    if (group != m_groupIndex || sender == this || !sender)
        return;
    if (sender->Pressed() && m_pressed) {
        m_pressed = false;
        SyncChecked();
        if (m_state == S::Hot && HasHotFace())
            m_state = S::Hot;
        else
            m_state = isEnabled() ? S::Up : S::Disabled;
        update();
    }
    m_allowAllUp = sender->AllowAllUp();
}

void TWLXBaseGraphicButton::SyncChecked()
{
    if (isChecked() == m_pressed)
        return;
    m_syncing = true;
    setChecked(m_pressed);
    m_syncing = false;
}

void TWLXBaseGraphicButton::checkStateSet()
{
    if (m_syncing || isChecked() == m_pressed)
        return;
    SetPressed(isChecked());
    SyncChecked();   // a refused change is taken back
}

void TWLXBaseGraphicButton::nextCheckState()
{
    // A click by code or by a key: the same rules as a click by the mouse.
    if (m_groupIndex == 0 || (m_state == S::Down && m_pressed && !m_allowAllUp))
        return;
    SetPressed(!m_pressed);
}

// ---- state machine -----------------------------------------------------------------------

void TWLXBaseGraphicButton::RequestRepaint()
{
    if (m_directPaint)
        update();
    else
        repaint();
}

bool TWLXBaseGraphicButton::InInactiveMdiWindow() const
{
    if (ApplicationIsActive())
        return false;
    for (const QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const QMdiSubWindow*>(w))
            return true;
        if (w->isWindow())
            return w->findChild<QMdiArea*>() != nullptr;
    }
    return false;
}

void TWLXBaseGraphicButton::SetButtonState(State newState, bool force)
{
    // While another application is active, an MDI window's buttons keep their look; only the
    // check after a click may still take a hot button up.
    if (InInactiveMdiWindow()) {
        if (!(m_cursorCheck && newState == S::Hot))
            return;
        newState = S::Up;
    }
    if (newState == m_state && !force)
        return;
    const State old = m_state;
    bool paint = true;
    auto between = [&](State a, State b) {
        return (old == a && newState == b) || (old == b && newState == a);
    };
    if (m_glyph.Style() != 1 && !IsFlatStyle() && m_glyph.NumGlyphs() <= 2 &&
        !(m_hotTracking && m_enterColorChange) && !AlwaysRepaintHot() && between(S::Up, S::Hot))
        paint = false;
    if (m_glyph.NumGlyphs() < 3 && between(S::Hot, S::Down))
        paint = false;
    m_prevState = (newState == S::Hot && old != S::Down) ? S::Up : old;
    m_state = newState;
    if (paint && isVisible())
        RequestRepaint();
    if (m_hotTracking) {
        if (newState != S::Hot) {
            StopHotTimer();
        } else if (!m_pressed && !m_hotTimer) {
            m_hotTimer = std::make_unique<TWLXTimer>(100, UseGlobalTimer, true, [this](void*) { CheckMouseLeave(); });
        }
    }
}

void TWLXBaseGraphicButton::StopHotTimer()
{
    m_hotTimer.reset();
}

void TWLXBaseGraphicButton::CheckMouseLeave()
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    if (isEnabled() && !m_pressed && !InsideUp(p.x(), p.y()))
        SetButtonState(S::Up);
}

bool TWLXBaseGraphicButton::InsideMove(int x, int y) const
{
    if (m_shapeHitTest)
        return PointInButton(x, y);
    return x >= 0 && x <= width() && y >= 0 && y <= height();
}

bool TWLXBaseGraphicButton::InsideUp(int x, int y) const
{
    if (m_shapeHitTest)
        return PointInButton(x, y);
    return x >= 0 && x < width() && y >= 0 && y <= height();
}

void TWLXBaseGraphicButton::Click()
{
    QPointer<QAction> action = m_action;
    emit clicked(isChecked());
    if (action)
        action->trigger();
}

// ---- action link -------------------------------------------------------------------------

void TWLXBaseGraphicButton::SetAction(QAction* action)
{
    if (action == m_action)
        return;
    disconnect(m_actionChanged);
    m_action = action;
    if (!action)
        return;
    m_actionChanged = connect(action, &QAction::changed, this, [this] {
        if (m_action)
            ActionChange(m_action);
    });
    ActionChange(action);
}

void TWLXBaseGraphicButton::ActionChange(QAction* sender)
{
    setText(sender->text());
    setToolTip(sender->toolTip());
    setEnabled(sender->isEnabled());
    if (parentWidget())
        setVisible(sender->isVisible());
    if (!UseActionImage())
        return;
    const QIcon icon = sender->icon();
    if (!icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
        QImage bitmap(size, QImage::Format_RGB32);
        bitmap.fill(QColor(0xFF, 0x00, 0xFF));   // the glyph key colour
        QPainter p(&bitmap);
        icon.paint(&p, QRect(QPoint(0, 0), size));
        p.end();
        SetGlyph(bitmap);
    } else if (!Loading) {
        SetGlyph(QImage());
    }
}

void TWLXBaseGraphicButton::RepeatClick()
{
    if (m_repeatTimer)
        m_repeatTimer->SetInterval(RepeatingInterval);
    Click();
}

void TWLXBaseGraphicButton::RepeatTimerTick()
{
    if (m_state == S::Held)
        RepeatClick();
}

void TWLXBaseGraphicButton::DropDown()
{
    if (!m_menu || m_state == S::DropDownOpen)
        return;
    SetButtonState(S::DropDownOpen);
    if (OnDropDown)
        OnDropDown(this);
    const QPoint at = DropDownRight ? mapToGlobal(QPoint(width(), DropDownIndent))
                                    : mapToGlobal(QPoint(DropDownIndent, height()));
    QPointer<TWLXBaseGraphicButton> self(this);
    connect(m_menu, &QMenu::aboutToHide, this, [self] {
        if (self)
            self->SetButtonState(S::Hot);
    }, Qt::SingleShotConnection);
    m_menu->popup(at);
}

void TWLXBaseGraphicButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (m_shapeHitTest && !PointInButton(p.x(), p.y()))
        return;
    State newState = m_state;
    if (!isEnabled() || event->button() != Qt::LeftButton)
        return;
    if (m_menu) {
        if (m_state == S::DropDownOpen) {
            SetButtonState(S::Hot);
            return;
        }
        if (!m_hasComboPart || p.x() >= width() - m_dropDownComboWidth) {
            DropDown();
            return;
        }
    }
    m_mouseDown = true;
    if (m_prevState == S::Down && m_state == S::Hot && m_groupIndex != 0) {
        newState = S::Down;
    } else if (!m_pressed) {
        newState = S::Held;
        if (RepeatedClick) {
            SetButtonState(newState);
            RepeatClick();
            if (!m_repeatTimer)
                m_repeatTimer = std::make_unique<TWLXTimer>(RepeatingDelay, UseGlobalTimer, true,
                                                            [this](void*) { RepeatTimerTick(); });
        }
    }
    SetButtonState(newState);
}

void TWLXBaseGraphicButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_state == S::DropDownOpen || !isEnabled())
        return;
    const QPoint p = event->position().toPoint();
    State newState = m_state;
    bool inside;
    if (m_shapeHitTest) {
        inside = PointInButton(p.x(), p.y());
        if (inside && m_hotTracking && (m_groupIndex == 0 || m_state != S::Down))
            newState = S::Hot;
        else if (m_state == S::Hot)
            newState = m_prevState;
    } else {
        inside = InsideMove(p.x(), p.y());
    }
    if (m_mouseDown) {
        if (inside)
            newState = m_pressed ? S::Down : S::Held;
        else if (m_groupIndex == 0 || m_state == S::Held)
            newState = S::Up;
    }
    SetButtonState(newState);
    if (inside && m_state != S::Hot) {
        if (isEnabled() && OnMouseEnter)
            OnMouseEnter(this);
        if (m_state == S::Up && m_hotTracking)
            SetButtonState(S::Hot);
    }
}

void TWLXBaseGraphicButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_state == S::DropDownOpen || !m_mouseDown)
        return;
    m_mouseDown = false;
    if (RepeatedClick)
        m_repeatTimer.reset();
    const QPoint p = event->position().toPoint();
    const bool inside = InsideUp(p.x(), p.y());
    State restore = IsDisabledState(m_state) ? m_state : S::Up;
    bool toggled = false;
    if (m_groupIndex != 0) {
        if (inside) {
            if (m_state == S::Down && !m_allowAllUp)
                return;
            SetPressed(!m_pressed);
            if (m_hotTracking)
                restore = m_pressed ? m_state : S::Up;
            else
                toggled = true;
        } else if (m_pressed) {
            restore = S::Down;
        }
    } else if (inside && m_hotTracking && !IsDisabledState(m_state)) {
        restore = S::Hot;
    }
    if (!inside) {
        if (!toggled)
            SetButtonState(restore);
        return;
    }
    if (m_glyph.NumGlyphs() < 3 && m_glyph.Style() != 1 && !toggled)
        SetButtonState(restore);
    QPointer<TWLXBaseGraphicButton> self(this);
    if (!RepeatedClick)
        Click();
    if (!self)
        return;
    if (m_glyph.NumGlyphs() > 2 || HasHotFace()) {
        const QPoint c = mapFromGlobal(QCursor::pos());
        if (!toggled && !IsDisabledState(m_state)) {
            if (InsideUp(c.x(), c.y())) {
                m_cursorCheck = true;
                SetButtonState(restore == S::Up ? S::Hot : restore);
                m_cursorCheck = false;
            } else {
                SetButtonState(restore);
            }
        }
    }
}

void TWLXBaseGraphicButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (m_pressed && OnDblClick)
        OnDblClick(this);
}

void TWLXBaseGraphicButton::DoMouseEnter()
{
    if (m_shapeHitTest)
        return;
    TWLXBaseGraphicControlT<QToolButton>::DoMouseEnter();
    if (DesignMode || !m_hotTracking || !isEnabled())
        return;
    if (m_state == S::Down && ShowsHotWhenDown())
        SetButtonState(S::Down, true);
    else if (m_state == S::Up)
        SetButtonState(S::Hot);
}

void TWLXBaseGraphicButton::DoMouseLeave()
{
    TWLXBaseGraphicControlT<QToolButton>::DoMouseLeave();
    if (!DesignMode) {
        if (m_state == S::Hot)
            SetButtonState(m_prevState);
        else if (m_state == S::Down && ShowsHotWhenDown())
            SetButtonState(S::Down, true);
    }
    if (HideHint)
        QToolTip::hideText();
}

void TWLXBaseGraphicButton::changeEvent(QEvent* event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (isEnabled())
            SetButtonState(m_pressed ? S::Down : S::Up);
        else
            SetButtonState(m_pressed ? S::DisabledDown : S::Disabled);
        update();
    } else if (event->type() == QEvent::FontChange) {
        update();
    }
}

void TWLXBaseGraphicButton::DrawContent(TCanvas& canvas, const TWLXRect& rect)
{
    canvas.Font = font();
    canvas.FontColor = isEnabled() ? m_fontColor : clGrayText;
    const bool active = m_state == S::Hot || m_state == S::Down || m_state == S::Held ||
                        m_state == S::DropDownOpen;
    if (active && m_hotTracking && m_enterColorChange)
        canvas.FontColor = m_enterColor;
    m_glyph.Draw(canvas, m_useCaption ? text() : QString(), 0, m_multiLine,
                 isEnabled() ? kTextEnabled : 0, m_layout, m_state, rect, &m_fontFX, font());
}

// ---- speed button ------------------------------------------------------------------------

TWLXCustomSpeedButton::TWLXCustomSpeedButton(QWidget* parent)
    : TWLXBaseGraphicButton(parent)
{
    SetCtlXP(true);
    m_hotTracking = true;
    m_shapeHitTest = false;
    SetColor(clBtnFace);
    resize(23, 22);
}

void TWLXCustomSpeedButton::SetButtonStyle(TWLXUserButtonStyle value)
{
    using U = TWLXUserButtonStyle;
    if (value == m_style)
        return;
    GlyphObject().SetStyle(value == U::ubsFlatUnColored || value == U::ubsNavigator ||
                           value == U::ubsExplorer ? 1 : 0);
    auto see = [](U s) { return s == U::ubsExplorer || s == U::ubsExplorerColored || s == U::ubsOfficeTransp; };
    if (see(value)) {
        m_directPaint = true;
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    } else if (see(m_style)) {
        m_directPaint = false;
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
    m_style = value;
    update();
}

void TWLXCustomSpeedButton::ReadLegacyStyle(const QString& identifier)
{
    TWLXUserButtonStyle style = m_style;
    bool themed = false;
    if (!ReadButtonStyle(identifier, style, themed))
        return;
    SetButtonStyle(style);
    if (themed)
        SetCtlXP(true);
}

void TWLXCustomSpeedButton::ImageListChange()
{
    if (!ImageLocked)
        TWLXBaseGraphicButton::ImageListChange();
}

bool TWLXCustomSpeedButton::ShowsHotWhenDown() const
{
    return ButtonState() == S::Down &&
           (m_style == TWLXUserButtonStyle::ubsOffice || m_style == TWLXUserButtonStyle::ubsOfficeTransp ||
            UseThemes());
}

bool TWLXCustomSpeedButton::HasHotFace() const
{
    return TWLXBaseGraphicButton::HasHotFace() || UseThemes();
}

bool TWLXCustomSpeedButton::IsFlatStyle() const
{
    const int s = int(m_style);
    return (s >= int(TWLXUserButtonStyle::ubsDelphiFlat) && s <= int(TWLXUserButtonStyle::ubsExplorerColored)) ||
           (s >= int(TWLXUserButtonStyle::ubsOffice) && s <= int(TWLXUserButtonStyle::ubsWin40Ext)) ||
           UseThemes();
}

QSize TWLXCustomSpeedButton::sizeHint() const
{
    return size();
}

void TWLXCustomSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas canvas(&p);
    Paint(canvas);
}

void TWLXCustomSpeedButton::Paint(TCanvas& canvas)
{
    using U = TWLXUserButtonStyle;
    if (Loading || !isVisible())
        return;
    const TWLXRect client{0, 0, width(), height()};
    if (!m_directPaint)
        FillSolid(canvas, client, Color());
    const int border = ButtonFrameWidth(m_style);
    TWLXRect main = client;
    TWLXRect combo;
    if (HasComboPart()) {
        combo = {client.Right - DropDownComboWidth(), 0, client.Right, client.Bottom};
        main.Right = combo.Left + (border > 1 ? 1 : 0);
    }
    const State state = ButtonState();
    const unsigned flags = 0x05 | (state == S::Hot ? kFaceHot : 0);
    TWLXRect face = main;
    if (!HasComboPart()) {
        bool hot = state == S::Hot;
        if (ShowsHotWhenDown() && underMouse())
            hot = true;
        DrawButtonFace(canvas, hot, Color(), flags, state, m_style, face);
    } else {
        const bool flatFace = HasHotLook(m_style);
        State mainState = state;
        if (state == S::DropDownOpen)
            mainState = flatFace ? S::Hot : S::Up;
        DrawButtonFace(canvas, mainState == S::Hot || state == S::Hot, Color(),
                       flags | kFaceSplitButton, mainState, m_style, face);
        State comboState = state == S::Held ? (flatFace ? S::Hot : S::Up) : state;
        TWLXRect c = combo;
        DrawButtonFace(canvas, comboState == S::Hot, Color(), flags | 0x180, comboState, m_style, c);
        if (m_style != U::ubsCombo)
            DrawDropArrow(canvas, combo.Left + (DropDownComboWidth() - 3) / 2, (height() - 3) / 2,
                          isEnabled(), true, clBlack, 3);
    }
    TWLXRect content{main.Left + border, main.Top + border, main.Right - border, main.Bottom - border};
    if (state == S::Down || state == S::Held || (state == S::DropDownOpen && !HasComboPart())) {
        content.Left += 1; content.Right += 1; content.Top += 1; content.Bottom += 1;
    }
    if (m_style == U::ubsCombo) {
        TWLXButtonLayout arrow;
        arrow.SetArrow(true);
        arrow.SetArrowSize(4);
        arrow.SetArrowIndent(-1);
        DrawGlyphText(canvas, QString(), nullptr, content, nullptr, {}, nullptr, 0, false, arrow,
                      0, false, false, isEnabled() ? kTextEnabled : 0, nullptr, font());
        return;
    }
    DrawContent(canvas, content);
}
