#pragma once
// A windowless control with an owned bevel (base of the LED label and the fill control), the
// caption object that draws a text with effects into a rectangle, and the fill control.

#include "widgets/Bevel.h"
#include "widgets/Caption3D.h"
#include "widgets/FillObject.h"

#include <QFont>
#include <QWidget>

class TCanvas;

class TWLXGraphicControl : public QWidget {
public:
    explicit TWLXGraphicControl(QWidget* parent = nullptr);

    TWLXBevel& Bevel() { return m_bevel; }
    const TWLXBevel& Bevel() const { return m_bevel; }
    void SetBevel(const TWLXBevel& bevel);
    int BevelExtent() const { return m_bevel.ExtentAll(); }

    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool Loading = false;

    // Paints the control onto canvas (client coordinates).
    virtual void Paint(TCanvas& canvas);

protected:
    // Nothing to paint beyond the background.
    virtual bool IsEmpty() const { return true; }
    // An owned object changed: repaint.
    virtual void RedrawRequest(void* changed) { update(); }
    virtual void ColorChanged() {}
    // The plain control: its colour unless transparent.
    void PaintBase(TCanvas& canvas);
    TWLXRect ClientRect() const { return {0, 0, width(), height()}; }
    void paintEvent(QPaintEvent* event) override;

private:
    TWLXBevel m_bevel;
    int32_t m_color = clBtnFace;
    bool m_transparent = false;
};

class TWLXCaption : public TWLXObject {
public:
    TWLXCaption();

    TWLXAlignment Alignment() const { return m_alignment; }
    const QString& Caption() const { return m_caption; }
    const QFont& Font() const { return m_font; }
    int32_t FontColor() const { return m_fontColor; }
    const TWLXFxCaption& FontFX() const { return m_fontFX; }
    TWLXFxCaption& FontFX() { return m_fontFX; }
    bool MultiLine() const { return m_multiLine; }

    void SetAlignment(TWLXAlignment value);
    void SetCaption(const QString& value);
    // A turned caption needs an outline font: a new font without one stops the turning.
    void SetFont(const QFont& font);
    void SetFontColor(int32_t value);
    void SetFontFX(const TWLXFxCaption& fx) { m_fontFX.Assign(fx); }
    void SetMultiLine(bool value);
    void Assign(const TWLXCaption& source);
    QString DescriptionText() const override;

    // Draws text into rect with the caption's font, effect and alignment. origin shifts the clip
    // reference (x low, y high 16 bits); flags are the effect-text state flags (+0x10: show
    // accelerators).
    void Draw(TCanvas& canvas, const QString& text, int origin, int32_t color, unsigned flags,
              const TWLXRect& rect);

private:
    void FontChanged(void* sender);
    TWLXAlignment m_alignment = TWLXAlignment::agCenter;
    QString m_caption;
    QFont m_font;
    int32_t m_fontColor = clWindowText;
    TWLXFxCaption m_fontFX;
    bool m_multiLine = false;
};

class TWLXFill : public TWLXGraphicControl {
public:
    explicit TWLXFill(QWidget* parent = nullptr);

    TWLXCaption& Caption() { return m_caption; }
    TWLXFillObject& FillObject() { return m_fill; }
    const TWLXFillObject& FillObject() const { return m_fill; }
    void SetCaption(const TWLXCaption& caption) { m_caption.Assign(caption); }
    void SetFillObject(const TWLXFillObject& fill) { m_fill.Assign(fill); }

    void Paint(TCanvas& canvas) override;

protected:
    bool IsEmpty() const override;
    void RedrawRequest(void* changed) override;

private:
    TWLXCaption m_caption;
    TWLXFillObject m_fill;
};
