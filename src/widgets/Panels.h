#pragma once
// Container panels: the panel with the button-face colour; the bevel panel, framed by an owned
// bevel that also keeps its aligned children inside, with the flat look and a size grip; the
// simple panel that publishes it; and the parent and fill panels that paint a background picture
// (a fill object with an effect caption) for themselves and their transparent children.

#include "widgets/Bevel.h"
#include "widgets/Caption3D.h"
#include "widgets/ControlBase.h"
#include "widgets/FillObject.h"

#include <QImage>
#include <memory>

class TWLXCustomPanel : public TWLXCustomControl {
public:
    explicit TWLXCustomPanel(QWidget* parent = nullptr);
    bool Locked = false;
};

// The bevel a panel owns: its border lies in the panel.
class TWLXPanelBevel : public TWLXBevel {
public:
    TWLXPanelBevel() { SetOwnerBorder(true); }
};

class TWLXCustomBevelPanel : public TWLXCustomPanel {
public:
    explicit TWLXCustomBevelPanel(QWidget* parent = nullptr);

    TWLXBevel& Bevel() { return m_bevel; }
    const TWLXBevel& Bevel() const { return m_bevel; }
    void SetBevel(const TWLXBevel& bevel) { m_bevel.Assign(bevel); }
    bool NoHandleUpdate = false;

    // Bottom-right corner of the bevel's inner rectangle, one scroll-bar arrow wide and high.
    TWLXRect GetSizeGripArea() const override;
    void Paint(TCanvas& canvas) override;

    static constexpr int kScrollArrowSize = 16;

protected:
    // Room the children leave free at the bottom (besides the bevel).
    virtual int ReservedBottom() const { return 0; }
    // Aligned children stay inside the bevel.
    void UpdateChildMargins();
    bool ShowsFrame() const;
    void ChangeNotify(void* sender) override;
    void DoMouseEnter() override;
    void SizeGripChanged() override { UpdateChildMargins(); }
    void resizeEvent(QResizeEvent* event) override;
    void PaintSizeGrip(TCanvas& canvas);

private:
    TWLXPanelBevel m_bevel;
};

class TWLXSimplePanel : public TWLXCustomBevelPanel {
public:
    explicit TWLXSimplePanel(QWidget* parent = nullptr) : TWLXCustomBevelPanel(parent) {}
    bool IsThemed() const override { return true; }
    static constexpr int kGripRoom = 16;

protected:
    int ReservedBottom() const override { return SizeGrip() ? kGripRoom : 0; }
};

// Keeps a background picture that it paints and that transparent children show: the linked
// image-list picture, stretched over the panel.
class TWLXCustomParentPanel : public TWLXCustomBevelPanel {
public:
    explicit TWLXCustomParentPanel(QWidget* parent = nullptr) : TWLXCustomBevelPanel(parent) {}

    const QImage* BackBitmap() const { return m_backBitmap.get(); }
    void Paint(TCanvas& canvas) override;

protected:
    // Rebuilds the picture (always with force, else only when the size changed).
    virtual void UpdateBackBitmap(bool force);
    void ImageListChange() override;
    void ChangeNotify(void* sender) override;
    bool UsesParentBack() const override { return m_backBitmap || GetFaceTransparent(); }
    void PaintBackground(TCanvas& canvas) override;
    void resizeEvent(QResizeEvent* event) override;
    std::unique_ptr<QImage> m_backBitmap;
};

// Renders a fill object into the background picture and draws a caption over it.
class TWLXCustomPanelFill : public TWLXCustomParentPanel {
public:
    explicit TWLXCustomPanelFill(QWidget* parent = nullptr);

    TWLXFillObject& FillObject() { return m_fill; }
    TWLXFxCaption& CaptionFX() { return m_captionFX; }
    TWLXAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TWLXAlignment value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    bool BevelTransparent = false;

    void Paint(TCanvas& canvas) override;

protected:
    void UpdateBackBitmap(bool force) override;
    void ChangeNotify(void* sender) override;
    // The linked picture becomes the fill's list picture.
    void ImageListChange() override;
    virtual void DrawCaption(TCanvas& canvas, const TWLXRect& rect, TWLXAlignment alignment);

private:
    TWLXAlignment m_alignment = TWLXAlignment::agCenter;
    TWLXFxCaption m_captionFX;
    TWLXFillObject m_fill;
    QString m_caption;
};
