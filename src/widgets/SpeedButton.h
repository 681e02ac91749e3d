#pragma once
// The library's tool button. TWLXBaseGraphicButton keeps the state machine: up, hot (mouse
// above), held (mouse button down over it), latched down (`Pressed`), disabled, disabled-down and
// drop-down-open; exclusive groups of buttons of one parent (`GroupIndex`, `AllowAllUp`);
// auto-repeat while held; an attached drop-down menu. TWLXCustomSpeedButton paints face, frame,
// glyph and caption by `ButtonStyle` and state.
//
// It stands on Qt's tool button so that it is clicked, checked, hinted and keyed like any Qt
// button: `clicked` is its click event, and Qt's checked state follows `Pressed` both ways
// (setChecked and click() go through the group rules).
//
// A button may be linked to a QAction: it takes the action's text, hint, enabled and visible
// state and picture and follows their changes; a click triggers the action.

#include "widgets/ButtonGlyph.h"
#include "widgets/Caption3D.h"
#include "widgets/ControlBase.h"
#include "widgets/GlyphTextLayout.h"
#include "widgets/TimerPool.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <functional>

// Whether the program is the active application. Qt's application state unless a query is set
// (tests set one; an empty query restores Qt's answer).
bool ApplicationIsActive();
void SetApplicationActiveQuery(std::function<bool()> query);

class TWLXBaseGraphicButton : public TWLXBaseGraphicControlT<QToolButton> {
public:
    explicit TWLXBaseGraphicButton(QWidget* parent = nullptr);
    ~TWLXBaseGraphicButton() override;

    using State = TWLXGraphicButtonState;
    State ButtonState() const { return m_state; }
    State PrevState() const { return m_prevState; }

    bool Pressed() const { return m_pressed; }
    void SetPressed(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);

    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    bool RepeatedClick = false;
    int RepeatingDelay = 500;
    int RepeatingInterval = 100;
    bool HideHint = true;
    bool UseCaption() const { return m_useCaption; }
    void SetUseCaption(bool value);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool value);
    // Colour of the caption while the button is enabled and not hot.
    int32_t FontColor() const { return m_fontColor; }
    void SetFontColor(int32_t value);
    int32_t EnterColor() const { return m_enterColor; }
    void SetEnterColor(int32_t value);
    bool EnterColorChange() const { return m_enterColorChange; }
    void SetEnterColorChange(bool value);

    QMenu* DropDownMenu() const { return m_menu; }
    void SetDropDownMenu(QMenu* menu);
    bool DropDownCombo() const { return m_dropDownCombo; }
    void SetDropDownCombo(bool value);
    int DropDownComboWidth() const { return m_dropDownComboWidth; }
    void SetDropDownComboWidth(int value);
    int DropDownIndent = 0;
    bool DropDownRight = false;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnDblClick;

    const QImage& Glyph() const { return m_glyph.Glyph(); }
    // A glyph of its own: a linked image list is let go (not while loading).
    void SetGlyph(const QImage& bitmap);
    int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int value);
    TWLXGlyph& GlyphObject() { return m_glyph; }
    // Whether the glyph belongs in the form stream.
    virtual bool IsGlyphStored() const { return ImageList() != nullptr; }
    TWLXButtonLayout& ButtonLayout() { return m_layout; }
    void SetButtonLayout(const TWLXButtonLayout& layout) { m_layout.Assign(layout); }
    TWLXFxCaption& FontFX() { return m_fontFX; }

    // Opens the drop-down menu; the state is DropDownOpen until it closes.
    void DropDown();
    // The hot-leave timer's tick: a button the cursor has left goes back up.
    virtual void CheckMouseLeave();
    // The repeat timer's tick while held.
    void RepeatTimerTick();
    const TWLXTimer* RepeatTimer() const { return m_repeatTimer.get(); }
    const TWLXTimer* HotTimer() const { return m_hotTimer.get(); }
    // The hot-leave and repeat timers come from the application's timer pool (intervals
    // rounded up to 50 ms) instead of timers of their own.
    bool UseGlobalTimer = false;

    // A button of `group` was pressed (the group broadcast).
    void ButtonPressed(int group, TWLXBaseGraphicButton* sender);
    bool HasComboPart() const { return m_hasComboPart; }

    // The linked action (none when it is freed).
    QAction* Action() const { return m_action; }
    void SetAction(QAction* action);

protected:
    // The linked picture becomes the glyph (on fuchsia, the glyph's transparent colour where
    // the picture is transparent); without such a picture a glyph taken from a list is cleared.
    void ImageListChange() override;
    // The linked action changed: text, hint, enabled and visible state, and the picture.
    virtual void ActionChange(QAction* sender);
    virtual bool UseActionImage() const { return true; }
    // A button on an MDI child or MDI frame window while another application is active.
    bool InInactiveMdiWindow() const;
    // Every state change goes through here.
    void SetButtonState(State newState, bool force = false);
    virtual bool ShowsHotWhenDown() const { return false; }
    virtual bool HasHotFace() const { return m_glyph.Style() == 1; }
    virtual bool IsFlatStyle() const { return false; }
    virtual bool AlwaysRepaintHot() const { return false; }
    virtual void RepeatClick();
    virtual void DrawContent(TCanvas& canvas, const TWLXRect& rect);
    bool PointInButton(int x, int y) const { return x >= 0 && x <= width() && y >= 0 && y <= height(); }
    // Paints at once (or invalidates when the background is the parent's).
    virtual void RequestRepaint();
    void Click();
    void UpdateExclusive();
    void RecomputeComboPart();

    bool m_hotTracking = false;
    bool m_shapeHitTest = true;
    bool m_directPaint = false;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void DoMouseEnter() override;
    void DoMouseLeave() override;
    void changeEvent(QEvent* event) override;
    void nextCheckState() override;
    void checkStateSet() override;

private:
    bool InsideMove(int x, int y) const;
    bool InsideUp(int x, int y) const;
    void SyncChecked();
    void StopHotTimer();

    State m_state = State::Up;
    State m_prevState = State::Up;
    bool m_pressed = false;
    bool m_allowAllUp = false;
    int m_groupIndex = 0;
    bool m_mouseDown = false;
    bool m_cursorCheck = false;
    bool m_syncing = false;
    int32_t m_color = clWindow;
    bool m_useCaption = true;
    bool m_multiLine = false;
    int32_t m_fontColor = clBtnText;
    int32_t m_enterColor = clCaptionText;
    bool m_enterColorChange = false;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
    QMetaObject::Connection m_actionChanged;
    bool m_dropDownCombo = false;
    int m_dropDownComboWidth = 12;
    bool m_hasComboPart = false;
    TWLXGlyph m_glyph;
    bool m_glyphFromList = false;
    TWLXButtonLayout m_layout;
    TWLXFxCaption m_fontFX;
    std::unique_ptr<TWLXTimer> m_hotTimer;
    std::unique_ptr<TWLXTimer> m_repeatTimer;
};

class TWLXCustomSpeedButton : public TWLXBaseGraphicButton {
public:
    explicit TWLXCustomSpeedButton(QWidget* parent = nullptr);

    TWLXUserButtonStyle ButtonStyle() const { return m_style; }
    void SetButtonStyle(TWLXUserButtonStyle value);
    // The legacy "Style" property of old form data.
    void ReadLegacyStyle(const QString& identifier);
    bool IsThemed() const override { return true; }
    // Neither the linked image list nor an action changes the glyph (nothing sets it).
    bool ImageLocked = false;
    // Stored unless locked or taken from a linked image list.
    bool IsGlyphStored() const override { return !ImageLocked && !ImageList(); }

    virtual void Paint(TCanvas& canvas);

protected:
    void ImageListChange() override;
    bool UseActionImage() const override { return !ImageLocked; }
    bool ShowsHotWhenDown() const override;
    bool HasHotFace() const override;
    bool IsFlatStyle() const override;
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    TWLXUserButtonStyle m_style = TWLXUserButtonStyle::ubsWin40;
};

class TWLXSpeedButton : public TWLXCustomSpeedButton {
public:
    using TWLXCustomSpeedButton::TWLXCustomSpeedButton;
};
