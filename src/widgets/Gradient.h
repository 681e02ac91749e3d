#pragma once
// Banded colour gradients: the gradient settings object, its band colours and the fill that
// paints them in ten geometries; the smooth two-colour fill of component bodies and elements
// is the same fill with one band per pixel. Colours are 0x00BBGGRR integers (platform/Colors.h).

#include "widgets/Frames.h"
#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

#include <QString>
#include <cstdint>
#include <vector>

class TCanvas;
class TReader;
class TWriter;

// Draw flags of the gradient fill.
constexpr unsigned kDrawClip = 0x0001;       // clip to the rectangle (shifted by the clip offset)
constexpr unsigned kDrawOffscreen = 0x0004;  // draw off-screen first: nothing outside the rectangle
constexpr unsigned kDrawPalette = 0x1000;    // realize the palette (true-colour here: no effect)

// Appends Count colours from c1 to c2 (clearing the list first when `first`); without `first`
// the first colour is left out so that joined segments do not repeat their joint colour.
void ColorRamp(std::vector<int32_t>& bands, int32_t c1, int32_t c2, int count, bool first);
// Per channel c1 + step x (c2 - c1) / steps, rounded.
int32_t ColorBetween(int32_t c1, int32_t c2, int step, int steps);

// Paints the band colours (colour 0 outermost for horizontal and vertical, innermost for the
// others) into rect. Nothing for no colours or an empty rectangle. The clip offset packs x in
// its low and y in its high 16 bits.
void GradientFill(TCanvas& canvas, const TWLXRect& rect, TWLXGradientStyle style, int clipOffset,
                  unsigned flags, const std::vector<int32_t>& colors);

class TWLXGradient : public TWLXObject {
public:
    TWLXGradient();

    int32_t Color() const { return m_color; }
    int ColorCount() const { return m_colorCount; }
    TWLXGradientStyle Style() const { return m_style; }
    int32_t EndColor() const { return m_endColor; }
    bool PaletteRealize() const { return m_paletteRealize; }
    bool TwoColors() const { return m_twoColors; }
    const std::vector<int32_t>& UserColors() const { return m_userColors; }
    const std::vector<int32_t>& BandColors() const { return m_bandColors; }

    void SetColor(int32_t value);
    void SetColorCount(int value);          // kept within 2..236
    void SetStyle(TWLXGradientStyle value);
    void SetEndColor(int32_t value);
    void SetPaletteRealize(bool value);
    void SetTwoColors(bool value);
    // The colour list (the stored "ColorList"): replaced as a whole, one change.
    void SetUserColors(const std::vector<int32_t>& colors);
    // The colour list in a stored object: a list of integers, written only when not empty;
    // reading replaces the list and notifies once.
    bool HasColorList() const { return !m_userColors.empty(); }
    void WriteColorList(TWriter& writer) const;
    void ReadColorList(TReader& reader);

    void Assign(const TWLXGradient& source);
    void Change() override;
    QString DescriptionText() const override;
    // Paints the gradient into rect with its own style and band colours.
    void Paint(TCanvas& canvas, const TWLXRect& rect, unsigned flags) const;

private:
    void BuildBands();
    int32_t m_color = 0xFF0000;
    int m_colorCount = 16;
    TWLXGradientStyle m_style = TWLXGradientStyle::gstVertical;
    int32_t m_endColor = 0;
    bool m_paletteRealize = false;
    bool m_twoColors = true;
    std::vector<int32_t> m_userColors;
    std::vector<int32_t> m_bandColors;
};

// Fills the rectangle (logical units; right and bottom exclusive) with a gradient from colour1
// at the left (top) edge to colour2 at the right (bottom) edge, one band per device pixel;
// `horizontal` makes the colour change from left to right, else from top to bottom. When not
// enabled the rectangle is filled with colour1. Always true.
bool FillGradient(TCanvas& canvas, int left, int top, int right, int bottom, int32_t color1,
                  int32_t color2, bool horizontal, bool enabled = true);

// The gradient routine is part of the painter here, so loading always succeeds; the calls are
// kept for the start-up and shutdown code that makes them.
bool LoadGradientFill();
void FreeGradientFill();

// Each of red, green and blue multiplied by factor and rounded, kept within 0..255; the top
// byte of the result is 0. A system colour is resolved first.
int32_t ScaleColor(int32_t color, double factor);
