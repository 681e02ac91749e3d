#pragma once
// Where a caption stands relative to its glyph, how the pair sits in a control and how far it is
// shifted; the button layout adds a drop-down arrow. DrawGlyphText computes the rectangles of
// text, glyph and arrow from these settings and draws them.

#include "widgets/ButtonGlyph.h"
#include "widgets/Frames.h"
#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

#include <QFont>
#include <QImage>

class TCanvas;
class TWLX3DCaption;

class TWLXGlyphTextLayout : public TWLXObject {
public:
    TWLXGlyphTextLayout() = default;

    TWLXAlignment Alignment() const { return m_alignment; }
    TWLXTextArrange AlignText2Glyph() const { return m_arrange; }
    int OffsetX() const { return m_offset[0]; }
    int OffsetY() const { return m_offset[1]; }
    int Spacing() const { return m_spacing; }
    void SetAlignment(TWLXAlignment value);
    void SetAlignText2Glyph(TWLXTextArrange value);
    void SetOffset(int index, int value);   // 0 X, 1 Y
    void SetSpacing(int value);
    void Assign(const TWLXGlyphTextLayout& source);

    // The arrow settings of a button layout; none here.
    virtual bool HasArrow() const { return false; }

protected:
    TWLXAlignment m_alignment = TWLXAlignment::agTopLeft;
    TWLXTextArrange m_arrange = TWLXTextArrange::taRight;
    int m_offset[2] = {0, 0};
    int m_spacing = 2;
};

class TWLXButtonLayout : public TWLXGlyphTextLayout {
public:
    TWLXButtonLayout() { m_alignment = TWLXAlignment::agCenter; }

    bool Arrow() const { return m_arrow; }
    int32_t ArrowColor() const { return m_arrowColor; }
    int ArrowIndent() const { return m_arrowIndent; }
    TWLXArrowPosition ArrowPosition() const { return m_arrowPosition; }
    int ArrowSize() const { return m_arrowSize; }
    void SetArrow(bool value);
    void SetArrowColor(int32_t value);
    void SetArrowIndent(int value);
    void SetArrowPosition(TWLXArrowPosition value);
    void SetArrowSize(int value);   // 2..10
    // Copies the five layout settings through their setters and the arrow settings, one change.
    void Assign(const TWLXButtonLayout& source);
    bool HasArrow() const override { return m_arrow; }

private:
    bool m_arrow = false;
    int32_t m_arrowColor = 0;
    int m_arrowIndent = 3;
    TWLXArrowPosition m_arrowPosition = TWLXArrowPosition::apRightText;
    int m_arrowSize = 3;
};

// State flags of DrawGlyphText (besides kTextEnabled, kTextAutoSunken, kTextClip).
constexpr unsigned kGtNoPlace = 0x0020;       // rectangles stay relative to (0, 0)
constexpr unsigned kGtFocusText = 0x0040;     // focus: the text rectangle grown by 1
constexpr unsigned kGtFocusGlyph = 0x0080;    // focus: the glyph rectangle
constexpr unsigned kGtFocusUnion = 0x0100;    // focus: text and glyph grown by 1
constexpr unsigned kGtMeasure = 0x0200;       // draw nothing (implies kGtFocusUnion)
constexpr unsigned kGtGlyphArea = 0x0400;     // a glyph area even without a glyph picture
constexpr unsigned kGtCutText = 0x0800;       // cut the text at the destination's right/bottom

struct TWLXGlyphTextRects {
    TWLXRect Union, Text, Glyph, Reserved;
};

// The rectangles of a text of textSize (already measured) and a glyph of glyphSize laid out in
// dest. Also gives the text format of the layout and the arrow's position (x, y; only with an
// arrow).
struct TWLXGlyphTextPlacement {
    TWLXGlyphTextRects Rects;
    unsigned Format = 0;
    int ArrowX = 0, ArrowY = 0;
    bool HasArrow = false;
};
TWLXGlyphTextPlacement PlaceGlyphText(const TWLXRect& textSize, const TWLXRect& glyphSize,
                                      const TWLXRect& dest, const TWLXGlyphTextLayout& layout,
                                      bool multiLine, unsigned stateFlags);

// Lays out and draws text and glyph; gives the focus rectangle. glyph null: no glyph; mask
// optional; without `masked` the glyph is copied plainly.
TWLXRect DrawGlyphText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                       const TWLXRect& dest, const QImage* glyph, const TWLXRect& glyphSource,
                       const QImage* mask, int32_t transparentColor, bool masked,
                       const TWLXGlyphTextLayout& layout, unsigned format, bool showAccel,
                       bool multiLine, unsigned stateFlags, TWLXGlyphTextRects* rects,
                       const QFont& font);
// The same with a whole glyph bitmap and its own transparent colour; an empty one is no glyph.
TWLXRect DrawGlyphBitmapText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                             const TWLXRect& dest, const QImage* glyph, const QImage* mask,
                             const TWLXGlyphTextLayout& layout, unsigned format, bool showAccel,
                             bool multiLine, unsigned stateFlags, TWLXGlyphTextRects* rects,
                             const QFont& font);
