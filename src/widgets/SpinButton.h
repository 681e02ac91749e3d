#pragma once
// The arrow-button control of the spin edit (up and down) and of the scroll bar (one arrow at
// each end): up to four arrow parts, each with its own area, state and event; a part fires when
// it is pressed and again on a timer while it stays pressed.

#include "widgets/GraphicControl.h"

#include <QPolygon>
#include "widgets/TimerPool.h"

#include <memory>

class TWLXSpinButton : public TWLXGraphicControl {
public:
    explicit TWLXSpinButton(QWidget* parent = nullptr);

    enum Part : uint8_t { Up = 1, Down = 2, Left = 4, Right = 8 };
    // Part states.
    enum : uint8_t { Normal = 0, HotPart = 1, PressedPart = 2, DisabledPart = 3 };

    uint8_t Arrows() const { return m_arrows; }
    void SetArrows(uint8_t value);
    bool Diagonal() const { return m_diagonal; }
    void SetDiagonal(bool value);
    // 0 spin-edit look, 1 scroll-bar look.
    uint8_t Style = 0;
    TWLXBorderStyle FrameStyle = TWLXBorderStyle::lsSingleRaised;
    int Interval = 100;
    int32_t HotColor = clTeal;
    TNotifyEvent OnUp, OnDown, OnLeft, OnRight;

    uint8_t PartState(Part part) const;
    // The area of a part in client coordinates (empty when not shown).
    QPolygon PartArea(Part part) const;
    // Returns the parts to normal (the mouse left the owner).
    void ResetHot();
    // The repeat timer's tick.
    void TimerTick();
    const TWLXTimer* Timer() const { return m_timer.get(); }
    // The repeat timer comes from the application's timer pool.
    bool UseGlobalTimer = false;

    void Paint(TCanvas& canvas) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool Stacked() const;
    uint8_t StateAt(Part part, QPoint p, bool leftDown) const;
    // Recomputes the part states; gives the parts whose state changed (all, or up to the first).
    uint8_t Recompute(QPoint p, bool leftDown, bool stopAtFirst);
    void Fire(Part part);
    void PaintPart(TCanvas& canvas, Part part);

    uint8_t m_arrows = Up;
    bool m_diagonal = true;
    uint8_t m_states[4] = {0, 0, 0, 0};   // up, down, left, right
    bool m_leftDown = false;
    std::unique_ptr<TWLXTimer> m_timer;
};
