#pragma once
// Bitmap effects of a control's background: an alpha blend of the picture with a fill. The
// other effect switches (flips, grey, invert, brightness, buffering) stay off.

#include "widgets/FillObject.h"
#include "widgets/WLXObject.h"

#include <QImage>
#include <stdexcept>

// Raised by BlendBitmaps for pictures that are not 24 or 32 bits per pixel.
class EWLXWrongPixelFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// target = source2 + round((source1 - source2) x strength) per byte over `rect` of source1,
// written at `at` in target, reading source2 at `from`. The formats are QImage's RGB888
// (24 bits) and RGB32/ARGB32 (32 bits); the target takes source1's format when it differs.
void BlendBitmaps(const QImage& source1, const QImage& source2, const QRect& rect, QPoint at,
                  double strength, QImage& target, QPoint from);

class TWLXAlphaObject : public TWLXObject {
public:
    TWLXAlphaObject();

    double Strength() const { return m_strength; }
    int ImageIndex() const { return 0; }
    int ListIndex() const { return 0; }
    TWLXFillObject& FillObject() { return m_fill; }
    const TWLXFillObject& FillObject() const { return m_fill; }

    void SetStrength(double value);
    void SetFillObject(const TWLXFillObject& fill) { m_fill.Assign(fill); }
    void Assign(const TWLXAlphaObject& source);
    QString DescriptionText() const override;
    // Blends the picture with the fill (nothing while the fill style is sfNone).
    void Apply(QImage& picture) const;

private:
    TWLXFillObject m_fill;
    double m_strength = 0.6;
};

class TWLXBitmapEffectObject : public TWLXObject {
public:
    TWLXBitmapEffectObject();

    TWLXAlphaObject& AlphaBlend() { return m_alpha; }
    const TWLXAlphaObject& AlphaBlend() const { return m_alpha; }
    // The switches always read false, the brightness 0.
    bool FlipVertical() const { return false; }
    bool FlipHorizontal() const { return false; }
    bool GrayScale() const { return false; }
    bool Invert() const { return false; }
    bool Buffered() const { return false; }
    int Brightness() const { return 0; }
    void SetFlag(int index, bool value) {}
    void SetBrightness(int value) {}

    void SetAlphaBlend(const TWLXAlphaObject& alpha) { m_alpha.Assign(alpha); Change(); }
    void Assign(const TWLXBitmapEffectObject& source) { SetAlphaBlend(source.m_alpha); }
    bool IsActive() const { return false; }
    void InvalidateBuffer() { m_bufferValid = false; }
    void Change() override;
    void Apply(QImage& picture) const { m_alpha.Apply(picture); }
    QString DescriptionText() const override;

private:
    TWLXAlphaObject m_alpha;
    bool m_bufferValid = false;
};
