#pragma once
// A button that draws itself: eight frame styles, a normal and a hot glyph, hot tracking of
// the caption colour, stock kinds (glyph, caption, modal result), a click that repeats while
// held, an attached popup menu and a hand cursor. The property sheet uses it as the colour
// swatch of its colour rows (16 x 16, stRaised, tab stop, focus rectangle; the swatch colour is
// the button's Color).
//
// Colours are 0x00BBGGRR integers (platform/Colors.h). The click event is the `clicked` signal;
// call Click() (not QAbstractButton::click) to click the button from code.

#include <QAbstractButton>
#include <QImage>
#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <functional>

class QTimer;

// A 3-D frame `width` pixels wide around the inside of r: left column and top row in topLeft,
// right column and bottom row in bottomRight (each ring one pixel further in). r shrinks by
// the width. A dotted frame sets every other pixel only.
void DrawFrame3D(QPainter& painter, QRect& r, const QColor& topLeft, const QColor& bottomRight,
                 int width, bool dotted = false);

class TOrvinCustomButton : public QAbstractButton {
    Q_OBJECT
public:
    enum TKind { skCustom, skOK, skCancel, skHelp, skYes, skNo, skClose, skAbort, skRetry,
                 skIgnore, skAll, skSilly };
    enum TStyle { stFlat, stDefault, stNone, stRaised, stFlatDot, stRaisedDot, stFrameLowered,
                  stFrameRaised };
    enum TLayout { blGlyphLeft, blGlyphBottom, blGlyphRight, blGlyphTop };
    enum TPositionPopup { puDown, puLeft, puRight };
    enum TColorMarginDefault { cmDefault, cmCustom };

    explicit TOrvinCustomButton(QWidget* parent = nullptr);
    ~TOrvinCustomButton() override;

    // Tells the button whether it is the active default button of its window.
    virtual void SetButtonStyle(bool isDefault);
    bool IsDefaultStyle() const { return m_defaultStyle; }

    // Clicks the button: the click event (`clicked`), then the kind's action, then the popup
    // menu when one is set and the button is enabled.
    virtual void Click();

    TKind ButtonKind() const { return m_kind; }
    void SetButtonKind(TKind kind);
    TStyle ButtonStyle() const { return m_style; }
    void SetButtonStyle(TStyle style);

    // The button's colour (background of the styles that do not use the button face).
    // Setting it clears ParentColor; with ParentColor the parent's background is used.
    int32_t Color() const { return m_color; }
    void SetColor(int32_t color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool value);

    int32_t ColorMarginLeftTop() const { return m_marginLeftTop; }
    void SetColorMarginLeftTop(int32_t color);
    int32_t ColorMarginRightBottom() const { return m_marginRightBottom; }
    void SetColorMarginRightBottom(int32_t color);
    TColorMarginDefault ColorMarginStyle() const { return m_marginStyle; }
    void SetColorMarginStyle(TColorMarginDefault style);

    const QImage& Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);
    const QImage& GlyphHot() const { return m_glyphHot; }
    void SetGlyphHot(const QImage& glyph);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int count);         // 1..4
    int NumGlyphsHot() const { return m_numGlyphsHot; }
    void SetNumGlyphsHot(int count);      // 1..4

    TLayout Layout() const { return m_layout; }
    void SetLayout(TLayout layout);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int pixels);
    int SpacingLayout() const { return m_spacingLayout; }
    void SetSpacingLayout(int pixels);

    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool value);
    int32_t HotTrackColor() const { return m_hotTrackColor; }
    void SetHotTrackColor(int32_t color);

    bool RepeatAction() const { return m_repeatAction; }
    void SetRepeatAction(bool value);
    int RepeatInterval() const { return m_repeatInterval; }
    void SetRepeatInterval(int ms);
    int RepeatStartInterval() const { return m_repeatStartInterval; }
    void SetRepeatStartInterval(int ms);

    QMenu* PopupMenu() const { return m_popupMenu.data(); }
    void SetPopupMenu(QMenu* menu);       // not owned; cleared when the menu is destroyed
    TPositionPopup PositionPopup() const { return m_positionPopup; }
    void SetPositionPopup(TPositionPopup position);
    bool PopupMenuMark() const { return m_popupMenuMark; }
    void SetPopupMenuMark(bool value);
    int PopupMenuMarkGap() const { return m_popupMenuMarkGap; }
    void SetPopupMenuMarkGap(int gap);    // 1..5

    bool CursorHandCustom() const { return m_cursorHand; }
    void SetCursorHandCustom(bool value);
    bool PlayMusic() const { return m_playMusic; }
    void SetPlayMusic(bool value);
    bool ShowFocused() const { return m_showFocused; }
    void SetShowFocused(bool value);
    bool Default() const { return m_default; }
    void SetDefault(bool value);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool value);
    QString HintSecondLine() const { return m_hintSecondLine; }
    void SetHintSecondLine(const QString& line);

    // Help context of the button (stored as the widget property "HelpContext", which the help
    // kind also looks for on the parents).
    int HelpContext() const;
    void SetHelpContext(int context);

    // Fired when the mouse enters or leaves an enabled button.
    std::function<void()> OnMouseOver;
    std::function<void()> OnMouseOut;

    // Drawing state.
    bool IsHot() const { return m_hot; }
    bool IsPressed() const { return m_down && m_hot; }
    // Where the popup menu opens (global coordinates) for a menu of this width.
    QPoint PopupPosition(int menuWidth) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The repeat timers' ticks: the start timer hands over to the repeat timer, which fires
    // the click event while RepeatAction is set.
    void RepeatStartTick();
    void RepeatTick();

private:
    bool IsFocusStyle() const;
    bool UsesButtonFace() const;
    int FrameWidth() const;
    int32_t BackgroundColor() const;
    void MarginColors(int32_t& leftTop, int32_t& rightBottom) const;
    void StyleMarginColors(int32_t& leftTop, int32_t& rightBottom) const;
    void DrawGlyphAndCaption(QPainter& painter, const QRect& client);
    void DrawCaption(QPainter& painter, const QRect& r);
    void DoKindAction();
    void OpenPopup();
    void StopTimers();
    void WatchWindow();
    bool CanTakeFocus() const;
    bool IsActiveDefault() const;
    void SetHot(bool hot);
    void SetKindGlyphs();

    TKind m_kind = skCustom;
    TStyle m_style = stFlat;
    int32_t m_color;
    bool m_parentColor = true;
    int32_t m_marginLeftTop;
    int32_t m_marginRightBottom;
    TColorMarginDefault m_marginStyle = cmDefault;
    QImage m_glyph;
    QImage m_glyphHot;
    int m_numGlyphs = 2;
    int m_numGlyphsHot = 2;
    TLayout m_layout = blGlyphLeft;
    int m_spacing = 4;
    int m_spacingLayout = 3;
    bool m_hotTrack = true;
    int32_t m_hotTrackColor;
    bool m_repeatAction = false;
    int m_repeatInterval = 50;
    int m_repeatStartInterval = 50;
    QPointer<QMenu> m_popupMenu;
    TPositionPopup m_positionPopup = puDown;
    bool m_popupMenuMark = false;
    int m_popupMenuMarkGap = 5;
    bool m_cursorHand = true;
    bool m_playMusic = false;
    bool m_showFocused = true;
    bool m_default = false;
    bool m_cancel = false;
    QString m_hintSecondLine;

    bool m_hot = false;
    bool m_down = false;
    bool m_defaultStyle = false;
    QTimer* m_startTimer;
    QTimer* m_repeatTimer;
    QPointer<QWidget> m_watchedWindow;
    QMetaObject::Connection m_menuHidden;
};

class TOrvinButton : public TOrvinCustomButton {
    Q_OBJECT
public:
    explicit TOrvinButton(QWidget* parent = nullptr);
};
