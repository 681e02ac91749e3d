#pragma once
// Bases of the library's controls. TWLXCustomControl is the base of the container-like
// controls (panels, scroll bar): transparency, the flat look that shows its border only while the
// mouse is above or it has the focus, enter/exit events, run-time moving and sizing by the mouse
// and an update counter. The graphic-control bases (mouse enter/exit, bounds change, CtlXP,
// image indexes, transparency with its repaint rule) are templates so that a button can stand on
// Qt's button.
//
// A transparent control shows what its parent painted under it: Qt composes the parent's
// background below a widget that does not fill itself, so no background bitmap is handed down.

#include "platform/Colors.h"
#include "widgets/Application.h"
#include "widgets/BitmapEffect.h"
#include "widgets/FaceController.h"
#include "widgets/Frames.h"
#include "widgets/GlobalContainer.h"
#include "widgets/ImageLink.h"
#include "widgets/WLXObject.h"

#include <QEnterEvent>
#include <QWidget>
#include <cstdint>
#include <functional>

class TCanvas;

// Answers of the run-time move/size hit test.
enum class TWLXHitCode : uint8_t {
    Nowhere, Client, Caption, Left, Right, Top, TopLeft, TopRight, Bottom, BottomLeft, BottomRight
};

class TWLXCustomControl : public QWidget, public IWLXFaceState {
public:
    explicit TWLXCustomControl(QWidget* parent = nullptr);
    ~TWLXCustomControl() override;

    QString About;
    bool Loading = false;
    bool DesignMode = false;

    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool CtlXP() const { return m_ctlXP; }
    void SetCtlXP(bool value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    int ImageIndex() const { return m_imageLink.ImageIndex(); }
    int ListIndex() const { return m_imageLink.ListIndex(); }
    // 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored.
    void SetImageIndexProp(int index, int value) { m_imageLink.SetIndex(index, value); }
    // The linked image list (none once it is freed).
    TWLXCustomImageList* ImageList() const { return m_imageLink.List(); }
    void SetImageList(TWLXCustomImageList* list) { m_imageLink.SetList(list); }
    // A picture of the linked list is there at ListIndex / ImageIndex.
    bool HasImage() const { return m_imageLink.HasImage(); }
    TWLXBitmapEffectObject& BackFX() { return m_backFX; }
    void SetBackFX(const TWLXBitmapEffectObject& fx) { m_backFX.Assign(fx); }
    // The image-list link in the control's component stream.
    TWLXImageLink& ImageLink() { return m_imageLink; }

    // The face controller that overrides the control's look by state (none once it is freed).
    TWLXFaceController* FaceController() const { return m_face; }
    void SetFaceController(TWLXFaceController* face);
    // The control's own state, as the face controller asks for it.
    bool StateFocused() const override { return hasFocus(); }
    bool StateMouseAbove() const override { return m_mouseAbove; }
    bool StateTransparent() const override { return m_transparent; }
    bool StateCtlXP() const override { return m_ctlXP; }
    bool StateCtl3D() const override { return true; }
    bool StateEnabled() const override { return isEnabled(); }
    int32_t StateColor() const override { return m_color; }
    // The look of the current state: the face controller's object, else the control's own.
    QFont GetFaceFont() const;
    TWLX3DCaption* GetFace3DCaption() const;
    bool GetFaceTransparent() const;
    int32_t GetFaceColor() const;
    TWLXFillObject* GetFaceFillObject() const;
    TWLXBitmapEffectObject& GetFaceBackFX();
    bool GetFaceCtlXPSetting() const;
    TWLXBevel* GetFaceBevel() const;
    // Themed, the application uses visual styles, and the state's CtlXP setting allows them.
    bool UseThemes() const;

    bool AllowMoving = false;
    bool AllowSizing = false;
    bool ControlLocked = false;
    bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool value);
    bool MovingNow() const { return m_movingNow; }
    int SizeBorder() const { return 4; }

    TNotifyEvent OnMove, OnAfterEnter, OnAfterExit, OnMouseEnter, OnMouseExit;

    void BeginUpdate() { ++m_updateDepth; }
    virtual void EndUpdate(bool repaint);
    bool IsUpdating() const { return m_updateDepth > 0; }
    int UpdateDepth() const { return m_updateDepth; }

    bool MouseAbove() const { return m_mouseAbove; }
    bool Entered() const { return m_entered; }

    // The move/size hit test at client point p (the class library's answer is the client area).
    TWLXHitCode HitTest(QPoint p);
    virtual TWLXRect GetMoveArea() const { return ClientRect(); }
    virtual TWLXRect GetSizeGripArea() const { return ClientRect(); }

    virtual void Paint(TCanvas& canvas);
    virtual bool IsThemed() const { return false; }

protected:
    TWLXRect ClientRect() const { return {0, 0, width(), height()}; }
    virtual void ThemeChanged() { update(); }
    virtual void FlatChanged() {}
    virtual void SizeGripChanged() {}
    virtual void ImageListChange() { ChangeNotify(nullptr); }
    virtual bool UsesParentBack() const { return GetFaceTransparent(); }
    virtual void PaintBackground(TCanvas& canvas);
    // Parts of the client area: the background (nothing when transparent) or the colour.
    void FillBackRect(TCanvas& canvas, const TWLXRect& rect);
    virtual void ChangeNotify(void* sender) { Q_UNUSED(sender); if (!Loading) update(); }
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoMove() { if (OnMove) OnMove(this); }
    // The frame of the flat and normal looks; everything is repainted here.
    virtual void DrawFlatFrame() { update(); }
    virtual void DrawNormalFrame() { update(); }
    void SetMouseAbove(bool value) { m_mouseAbove = value; }
    void SetEntered(bool value);
    // Placed by its parent's layout.
    bool IsAligned() const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int32_t m_color = clBtnFace;
    bool m_transparent = false;
    bool m_ctlXP = true;
    bool m_flat = false;
    bool m_sizeGrip = false;
    bool m_mouseAbove = false;
    bool m_entered = false;
    bool m_movingNow = false;
    int m_updateDepth = 0;
    TWLXBitmapEffectObject m_backFX;
    TWLXImageLink m_imageLink{[this] { ImageListChange(); }};
    TWLXFaceController* m_face = nullptr;
    // Run-time moving/sizing in progress.
    TWLXHitCode m_drag = TWLXHitCode::Nowhere;
    QPoint m_dragStart;
    QRect m_dragGeometry;
};

// Windowless control bases over a Qt widget class.
template <class Base>
class TWLXControlT : public Base {
public:
    using Base::Base;

    QString About;
    bool Loading = false;
    bool DesignMode = false;
    TNotifyEvent OnMouseEnter, OnMouseExit;
    // Bit 0: size changed, bit 1: position changed.
    std::function<void(void*, uint8_t)> OnBoundsChange;

    bool CtlXP() const { return m_ctlXP; }
    void SetCtlXP(bool value)
    {
        if (value == m_ctlXP)
            return;
        m_ctlXP = value;
        ThemeChanged();
    }
    virtual bool IsThemed() const { return false; }
    // Moves and sizes the control and reports what changed (not while loading).
    void SetBounds(int left, int top, int width, int height)
    {
        const QRect old = this->geometry();
        this->setGeometry(left, top, width, height);
        uint8_t flags = 0;
        if (old.left() != left || old.top() != top)
            flags |= 2;
        if (old.width() != width || old.height() != height)
            flags |= 1;
        if (flags && !Loading)
            DoBoundsChange(flags);
    }

    // Themed, the application uses visual styles, and CtlXP allows them.
    bool UseThemes() const { return IsThemed() && Application().UseThemes() && m_ctlXP; }

protected:
    virtual void ThemeChanged() { if (IsThemed()) this->update(); }
    bool event(QEvent* event) override
    {
        if (event->type() == ThemeChangedEvent()) {
            ThemeChanged();
            return true;
        }
        return Base::event(event);
    }
    virtual void DoBoundsChange(uint8_t flags) { if (OnBoundsChange) OnBoundsChange(this, flags); }
    virtual void DoMouseEnter() { if (this->isEnabled() && OnMouseEnter) OnMouseEnter(this); }
    virtual void DoMouseLeave() { if (this->isEnabled() && OnMouseExit) OnMouseExit(this); }
    virtual void ChangeNotify() { if (!Loading) this->update(); }
    // Nothing of its own to paint.
    virtual bool IsEmpty() const { return true; }

    void enterEvent(QEnterEvent* event) override
    {
        Base::enterEvent(event);
        if (!DesignMode)
            DoMouseEnter();
    }
    void leaveEvent(QEvent* event) override
    {
        Base::leaveEvent(event);
        if (!DesignMode)
            DoMouseLeave();
    }

private:
    bool m_ctlXP = false;
};

template <class Base>
class TWLXBaseControlT : public TWLXControlT<Base> {
public:
    using TWLXControlT<Base>::TWLXControlT;

    int ImageIndex() const { return m_imageLink.ImageIndex(); }
    int ListIndex() const { return m_imageLink.ListIndex(); }
    // 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored; a change reaches the
    // picture when a list is linked.
    void SetImageIndexProp(int index, int value) { m_imageLink.SetIndex(index, value); }
    // The linked image list (none once it is freed).
    TWLXCustomImageList* ImageList() const { return m_imageLink.List(); }
    void SetImageList(TWLXCustomImageList* list) { m_imageLink.SetList(list); }
    // No list is linked or it has no picture at ListIndex / ImageIndex.
    bool HasNoImage() const { return !m_imageLink.HasImage(); }
    TWLXBitmapEffectObject& BackFX() { return m_backFX; }
    // The image-list link in the control's component stream.
    TWLXImageLink& ImageLink() { return m_imageLink; }

protected:
    virtual void ImageListChange() { this->ChangeNotify(); }

private:
    TWLXBitmapEffectObject m_backFX;
    TWLXImageLink m_imageLink{[this] { ImageListChange(); }};
};

template <class Base>
class TWLXBaseGraphicControlT : public TWLXBaseControlT<Base> {
public:
    template <class... Args>
    explicit TWLXBaseGraphicControlT(Args&&... args)
        : TWLXBaseControlT<Base>(std::forward<Args>(args)...)
    {
        this->resize(30, 30);
    }

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value)
    {
        if (value == m_transparent)
            return;
        m_transparent = value;
        this->setAttribute(Qt::WA_OpaquePaintEvent, !value);
        if (this->isVisible())
            Refresh();
    }
    // Opaque without a repaint.
    void ForceOpaque()
    {
        m_transparent = false;
        this->setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
    // A transparent control is invalidated (its parent paints under it first); an opaque one
    // paints at once, without an erase.
    void Refresh()
    {
        if (!this->parentWidget())
            return;
        if (m_transparent)
            this->update();
        else
            this->repaint();
    }

protected:
    void ChangeNotify() override { if (!this->Loading) Refresh(); }

private:
    bool m_transparent = true;
};

using TWLXControl = TWLXControlT<QWidget>;
using TWLXBaseControl = TWLXBaseControlT<QWidget>;
using TWLXBaseGraphicControl = TWLXBaseGraphicControlT<QWidget>;
