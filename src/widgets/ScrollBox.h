#pragma once
// The library's scroll box: a scrolling container whose border is its bevel (window-style by
// default: a sunken edge, one pixel without Ctl3D or with visual styles) or the bevel's own
// frame, optionally transparent, and reporting every change of a scroll position through
// OnScroll. Children go on Content(), which fills the client area and is at least HorzRange wide
// (0: as wide as the client area).

#include "widgets/Bevel.h"
#include "widgets/WLXObject.h"

#include <QScrollArea>

class TWLXCustomScrollBox : public QScrollArea {
public:
    explicit TWLXCustomScrollBox(QWidget* parent = nullptr);
    ~TWLXCustomScrollBox() override;

    QString About;
    bool Loading = false;
    bool DesignMode = false;

    TWLXScrollBoxBevel& Bevel() { return m_bevel; }
    void SetBevel(const TWLXBevel& value) { m_bevel.Assign(value); }
    bool CtlXP() const { return m_ctlXP; }
    void SetCtlXP(bool value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    // A resize repaints the whole box, not only its border.
    bool FullRepaint = false;
    // Kept for form data: Qt's child controls hold no window of their own to give back.
    bool SaveResources = false;
    TNotifyEvent OnScroll;

    // The window-style border uses visual styles.
    bool UseThemes() const;
    // The border's room on each side.
    QMargins BorderMargins() const;
    QWidget* Content() const { return widget(); }
    int HorzRange() const { return m_horzRange; }
    void SetHorzRange(int value);

protected:
    // A bevel changed: the own one changes the border's room, any other only repaints.
    virtual void BevelChanged(void* sender);
    virtual void ThemeChanged();
    virtual void TransparentChanged() {}
    void PaintBorder(QPainter& painter);
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateBorder();
    void UpdateBackground();

    TWLXScrollBoxBevel m_bevel;
    bool m_ctlXP = true;
    bool m_ctl3D = true;
    bool m_transparent = false;
    int32_t m_color;
    int m_horzRange = 0;
};
