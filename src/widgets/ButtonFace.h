#pragma once
// The face and frame of a button by style and state; gives the content rectangle in which the
// caller draws glyph and caption.

#include "widgets/ButtonGlyph.h"
#include "widgets/Frames.h"

class TCanvas;

// Face flags.
constexpr unsigned kFaceRoundCorners = 0x0001;
constexpr unsigned kFaceFocused = 0x0002;
constexpr unsigned kFaceRaisedEdge = 0x0004;
constexpr unsigned kFaceSunkenPressed = 0x0008;
constexpr unsigned kFaceDefault = 0x0020;
constexpr unsigned kFaceHot = 0x0040;
constexpr unsigned kFaceSplitButton = 0x0080;
constexpr unsigned kFaceSplitDropDown = 0x0100;
constexpr unsigned kFaceThemed = 0x0200;

bool IsPressedState(TWLXGraphicButtonState state);
bool IsDisabledState(TWLXGraphicButtonState state);

// The face by style and state; rect receives the content rectangle. True when a content
// rectangle was produced (false for the office styles). Themes are not used on this platform:
// the classic looks are drawn.
bool DrawButtonFace(TCanvas& canvas, bool hot, int32_t color, unsigned flags,
                    TWLXGraphicButtonState state, TWLXUserButtonStyle style, TWLXRect& rect);
bool DrawClassicFace(TCanvas& canvas, bool hot, TWLXRect& rect, int32_t color, unsigned flags,
                     TWLXGraphicButtonState state, TWLXUserButtonStyle style);
// Fills rect with the checkerboard of `color` and the highlight colour (a latched button).
void FillDither(TCanvas& canvas, const TWLXRect& rect, int32_t color);
