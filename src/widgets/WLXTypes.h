#pragma once
// Enumerations and ranges shared across the widget library. Their ordinal values are
// stored in projects and form data: keep the order. Scoped so that they do not clash with the
// element layer's own bevel codes.

#include <cstdint>

enum class TWLXBevelStyle : uint8_t {
    bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow
};
enum class TWLXBevelMode : uint8_t { bmCustom, bmStandard, bmEdge, bmWindows };
enum class TWLXBorderStyle : uint8_t {
    lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt, lsLoweredExt,
    lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised,
    lsDoubleLowered
};
enum class TWLXEdgeStyle : uint8_t {
    etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised,
    etSunken
};
enum class TWLXFrameSide : uint8_t { fsBottom, fsLeft, fsRight, fsTop };
// Set of TWLXFrameSide: bit n is side n.
using TWLXFrameSides = uint8_t;
constexpr TWLXFrameSides FrameSideBit(TWLXFrameSide s) { return TWLXFrameSides(1u << unsigned(s)); }
constexpr TWLXFrameSides kAllFrameSides = 0x0F;

enum class TWLXTextArrange : uint8_t {
    taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft
};
enum class TWLXAlignment : uint8_t {
    agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight, agBottomLeft,
    agBottomCenter, agBottomRight
};
enum class TWLXFillStyle : uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum class TWLXTileMode : uint8_t { tmNone, tmCenter, tmStretch, tmTile };
enum class TWLXGradientStyle : uint8_t {
    gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight, gstBottomLeft,
    gstBottomRight, gstTopLeftDiagonal, gstTopRightDiagonal
};
enum class TWLXThreeDStyle : uint8_t {
    tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised,
    tdShadow, tdOutline, tdExtrude, tdExtrudeEnh
};
enum class TWLXThreeDOrientation : uint8_t { toBottomLeft, toBottomRight, toTopLeft, toTopRight };
enum class TWLXDisabledStyle : uint8_t { dsAuto, dsStandard, ds3d, dsNone };
enum class TWLXSavePixelFormat : uint8_t { spfDefault, spfMono, spf4bit, spf8bit, spf16bit };
// Where a file named without a folder is looked for.
enum class TWLXPathPrefix : uint8_t { ppWindows, ppSystem, ppProgram, ppFixed };
enum class TWLXFillOption : uint8_t { foFillInner, foQuickDraw, foGrUseBitmap };
// Set of TWLXFillOption: bit n is option n.
using TWLXFillOptions = uint8_t;
constexpr TWLXFillOptions FillOptionBit(TWLXFillOption o) { return TWLXFillOptions(1u << unsigned(o)); }
enum class TWLXLEDStyle : uint8_t { lsString, lsInteger };

// Ranges.
constexpr int kBevelWidthMax = 50;      // TWLXBevelWidth 0..50
constexpr int kBorderWidthMax = 255;    // TWLXBorderWidth 0..255
constexpr int kColorCountMin = 2;       // TWLXColorCount 2..236
constexpr int kColorCountMax = 236;
constexpr int kAngleMax = 360;          // TWLXAngle 0..360

// a x b / c rounded to the nearest integer, halves away from zero; -1 when c is 0 (the
// platform's MulDiv).
int MulDiv(int a, int b, int c);
// Rounds to the nearest integer, halves to the even neighbour.
int WLXRound(double x);
