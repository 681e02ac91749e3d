#pragma once
// Text with effects (sunken, raised, shadow, outline, extrusion, rotation), its measuring, and
// placing a rectangle inside another.

#include "widgets/Frames.h"
#include "widgets/WLXTypes.h"

#include <QFont>
#include <QString>

class TCanvas;
class TWLX3DCaption;

// Text format flags of DrawTextEx.
constexpr unsigned DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_BOTTOM = 8,
                   DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                   DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_EDITCONTROL = 0x2000,
                   DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000;

// State flags of DrawEffectText.
constexpr unsigned kTextEnabled = 2;     // the control is enabled
constexpr unsigned kTextAutoSunken = 4;  // with dsAuto a disabled text is drawn sunken
constexpr unsigned kTextClip = 8;        // clip to the clip rectangle (else the text rectangle)

// Draws text in canvas.Font and canvas.FontColor into rect with the format flags; with
// DT_CALCRECT it only sets rect's right and bottom to what the text needs. A single line that
// does not fit ends in "..." with DT_END_ELLIPSIS, or loses its middle with DT_PATH_ELLIPSIS.
// `tracing` is extra space after every character.
void DrawTextEx(TCanvas& canvas, const QString& text, TWLXRect& rect, unsigned format, int tracing = 0);

// Draws the text with the caption's effect (without a caption: once, plainly). clip may be null.
void DrawEffectText(TCanvas& canvas, const QString& text, const TWLX3DCaption* caption,
                    const TWLXRect* clip, unsigned state, unsigned format, const TWLXRect& rect);

// The size the text needs in `font`, its effect included, grown by 2 x (margin + 1). rect gives
// the width to wrap in and receives the result. A rotated effect caption gets its text position.
void MeasureText(const QString& text, TWLX3DCaption* caption, TWLXRect& rect, unsigned format,
                 int margin, bool multiLine, bool showAccel, const QFont& font);

// The inner rectangle's size placed inside the outer rectangle by the alignment.
TWLXRect AlignRect(TWLXAlignment alignment, const TWLXRect& inner, const TWLXRect& outer);
// MeasureText with the rectangle's right edge one pixel in, then AlignRect into rect.
TWLXRect DrawAlignedText(TWLXAlignment alignment, const QString& text, TWLX3DCaption* caption,
                         unsigned format, const QFont& font, const TWLXRect& rect);
// The bounding box of the rectangle turned by `angle` degrees about its centre, moved to (0, 0).
TWLXRect RotatedBounds(const TWLXRect& rect, double angle);
// True for scalable outline fonts (the fonts that can be drawn turned).
bool IsTrueTypeFont(const QFont& font);
// Height of "Wq" in the font.
int FontLineHeight(const QFont& font);
