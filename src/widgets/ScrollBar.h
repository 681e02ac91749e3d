#pragma once
// The library's own-drawn scroll bar: a bevel panel with two arrow buttons and a thumb. It keeps
// an integer range and position, drags the thumb in increments, pages by clicks on the track
// (repeating every 100 ms while held), steps by the arrows and keys, and reports every movement
// through `OnScroll`.

#include "widgets/Bevel.h"
#include "widgets/FillObject.h"
#include "widgets/Panels.h"
#include "widgets/SpinButton.h"

#include "widgets/TimerPool.h"

#include <memory>
#include <functional>

// Stored in form data: keep the order.
enum class TWLXScrollBarKind : uint8_t { skVertical, skHorizontal };
enum class TWLXThumbMode : uint8_t { tmFixed, tmAuto };
enum class TWLXBackStyle : uint8_t { bsDefault, bsUser };

// Scroll codes as reported.
enum TWLXScrollCode : int {
    scLineUp = 0, scLineDown = 1, scPageUp = 2, scPageDown = 3, scPosition = 4, scTrack = 5,
    scTop = 6, scBottom = 7, scEndScroll = 8
};
using TWLXScrollEvent = std::function<void(void* sender, int code, int& position)>;

class TWLXScrollBar;

class TWLXScrollBarThumb : public TWLXCustomPanelFill {
public:
    explicit TWLXScrollBarThumb(TWLXScrollBar* bar);
    bool Pressed() const { return m_pressed; }
    void Paint(TCanvas& canvas) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TWLXScrollBar* m_bar;
    bool m_pressed = false;
};

class TWLXScrollBar : public TWLXCustomBevelPanel {
public:
    explicit TWLXScrollBar(QWidget* parent = nullptr);

    // 0 Max, 1 Min, 2 Position, 3 ButtonWidth, 4 ThumbLength, 5 BarWidth.
    int GetIntegerProp(int index) const;
    void SetIntegerProp(int index, int value);
    int Max() const { return m_max; }
    int Min() const { return m_min; }
    int Position() const { return m_position; }
    int ButtonWidth() const { return m_buttonWidth; }
    int ThumbLength() const { return m_thumbLength; }
    int BarWidth() const { return m_barWidth; }
    void SetMax(int v) { SetIntegerProp(0, v); }
    void SetMin(int v) { SetIntegerProp(1, v); }
    void SetPosition(int v) { SetIntegerProp(2, v); }
    void SetButtonWidth(int v) { SetIntegerProp(3, v); }
    void SetThumbLength(int v) { SetIntegerProp(4, v); }
    void SetBarWidth(int v) { SetIntegerProp(5, v); }

    int SmallChange = 1;
    int LargeChange = 10;
    bool AllowMousePos = true;
    bool HideFocus = false;
    TWLXScrollBarKind Kind() const { return m_kind; }
    void SetKind(TWLXScrollBarKind value);
    TWLXThumbMode ThumbMode = TWLXThumbMode::tmFixed;
    TWLXBackStyle BackStyle() const { return m_backStyle; }
    void SetBackStyle(TWLXBackStyle value);
    TWLXFillObject& Back() { return m_back; }
    int32_t ThumbColor() const { return m_thumbColor; }
    void SetThumbColor(int32_t value);
    bool ThumbFlat() const { return m_thumbFlat; }
    void SetThumbFlat(bool value) { m_thumbFlat = value; }
    TWLXBevel& ThumbBevel() { return m_thumbBevel; }
    void SetFocusable(bool value);
    TWLXScrollEvent OnScroll;

    TWLXScrollBarThumb* Thumb() const { return m_thumb; }
    TWLXSpinButton* FirstButton() const { return m_first; }
    TWLXSpinButton* SecondButton() const { return m_second; }
    int TrackLength() const { return m_trackLength; }
    bool DraggingNow() const { return m_dragging; }
    const TWLXTimer* PageTimer() const { return m_timer.get(); }
    // The paging timer comes from the application's timer pool.
    bool UseGlobalTimer = false;
    // The page timer's tick: the click at the last mouse position again.
    void PageTimerTick();

    void LineUp();
    void LineDown();
    void Layout();
    void Paint(TCanvas& canvas) override;
    bool IsThemed() const override { return true; }

protected:
    void DoScroll(int code);
    void TrackMouseDown(Qt::MouseButton button, QPoint p);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class TWLXScrollBarThumb;
    void FocusBar();
    void ReportEnds();
    // Thumb drag, in bar coordinates.
    void DragStart(QPoint p);
    void DragMove(QPoint p, bool leftDown);
    void DragEnd();
    TWLXRect TrackRect() const { return Bevel().GetInnerRect(ClientRect()); }

    int m_min = 0, m_max = 100, m_position = 0;
    int m_buttonWidth = 16, m_thumbLength = 16, m_barWidth = 16;
    int m_trackLength = 100;
    TWLXScrollBarKind m_kind = TWLXScrollBarKind::skHorizontal;
    TWLXBackStyle m_backStyle = TWLXBackStyle::bsDefault;
    TWLXFillObject m_back;
    TWLXBevel m_thumbBevel;
    int32_t m_thumbColor = clBtnFace;
    bool m_thumbFlat = false;
    bool m_focusable = true;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_last;
    std::unique_ptr<TWLXTimer> m_timer;
    TWLXScrollBarThumb* m_thumb;
    TWLXSpinButton* m_first;
    TWLXSpinButton* m_second;
};

// Settings of a scroll bar that its owner applies to the bar whenever it creates or resizes it
// (the memo keeps one for each of its bars).
class TWLXScrollBarObject : public TWLXObject {
public:
    TWLXScrollBarObject();

    TWLXFillObject& Back() { return m_back; }
    void SetBack(const TWLXFillObject& value) { m_back.Assign(value); Change(); }
    TWLXBevel& Bevel() { return m_bevel; }
    void SetBevel(const TWLXBevel& value) { m_bevel.Assign(value); Change(); }
    int32_t Color() const { return m_color; }
    void SetColor(int32_t value) { Store(m_color, value); }
    int32_t ThumbColor() const { return m_thumbColor; }
    void SetThumbColor(int32_t value) { Store(m_thumbColor, value); }
    int Cursor() const { return m_cursor; }
    void SetCursor(int value) { Store(m_cursor, value); }
    int ButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int value) { Store(m_buttonWidth, value); }
    int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int value) { Store(m_smallChange, value); }
    int LargeChange() const { return m_largeChange; }
    void SetLargeChange(int value) { Store(m_largeChange, value); }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value) { Store(m_transparent, value); }
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value) { Store(m_ctl3D, value); }
    bool ParentCtl3D() const { return m_parentCtl3D; }
    void SetParentCtl3D(bool value) { Store(m_parentCtl3D, value); }
    bool AllowMousePos() const { return m_allowMousePos; }
    void SetAllowMousePos(bool value) { Store(m_allowMousePos, value); }
    TWLXBackStyle BackStyle() const { return m_backStyle; }
    void SetBackStyle(TWLXBackStyle value) { Store(m_backStyle, value); }
    int BarWidth() const { return m_barWidth; }
    void SetBarWidth(int value) { Store(m_barWidth, value); }

    void Assign(const TWLXScrollBarObject& source);
    void ApplyTo(TWLXScrollBar& bar) const;

private:
    template <class T> void Store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Change();
    }
    TWLXFillObject m_back;
    TWLXBevel m_bevel;
    int32_t m_color = clBtnFace;
    int32_t m_thumbColor = clBtnFace;
    int m_cursor = 0;
    int m_buttonWidth = 16;
    int m_smallChange = 1;
    int m_largeChange = 10;
    bool m_transparent = false;
    bool m_ctl3D = true;
    bool m_parentCtl3D = true;
    bool m_allowMousePos = true;
    TWLXBackStyle m_backStyle = TWLXBackStyle::bsDefault;
    int m_barWidth = 16;
};
