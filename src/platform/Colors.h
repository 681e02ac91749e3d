#pragma once
// Colours as the system stores them: 32-bit integers 0x00BBGGRR (255 is red). A negative value
// names a system colour: 0xFF000000 | index, the index being one of the classic system colour
// slots 0..30 (clBtnFace = 0xFF00000F is slot 15).
//
// Two special values:
// - clNone (0x1FFFFFFF): "no colour". It converts to a fully transparent QColor, so that a pen,
//   brush or text drawn with it leaves the surface unchanged; a transparent QColor converts back
//   to clNone.
// - clDefault (0x20000000): "the owner's default colour". It has no colour of its own: owners
//   resolve it to their default before painting. Converting it gives an invalid QColor
//   (QColor::isValid() is false) and an invalid QColor converts back to clDefault.
// Any other non-negative value uses its low 24 bits; the high byte is ignored.

#include <QColor>
#include <cstdint>

// Standard colours.
constexpr int32_t clBlack = 0x000000;
constexpr int32_t clMaroon = 0x000080;
constexpr int32_t clGreen = 0x008000;
constexpr int32_t clOlive = 0x008080;
constexpr int32_t clNavy = 0x800000;
constexpr int32_t clPurple = 0x800080;
constexpr int32_t clTeal = 0x808000;
constexpr int32_t clGray = 0x808080;
constexpr int32_t clSilver = 0xC0C0C0;
constexpr int32_t clRed = 0x0000FF;
constexpr int32_t clLime = 0x00FF00;
constexpr int32_t clYellow = 0x00FFFF;
constexpr int32_t clBlue = 0xFF0000;
constexpr int32_t clFuchsia = 0xFF00FF;
constexpr int32_t clAqua = 0xFFFF00;
constexpr int32_t clWhite = 0xFFFFFF;
constexpr int32_t clMoneyGreen = 0xC0DCC0;
constexpr int32_t clSkyBlue = 0xF0CAA6;
constexpr int32_t clCream = 0xF0FBFF;
constexpr int32_t clMedGray = 0xA4A0A0;

constexpr int32_t clNone = 0x1FFFFFFF;
constexpr int32_t clDefault = 0x20000000;

// System colours: the flag bit plus the slot index.
constexpr int32_t clSystemColor = static_cast<int32_t>(0xFF000000u);
constexpr int32_t clScrollBar = clSystemColor | 0;
constexpr int32_t clBackground = clSystemColor | 1;
constexpr int32_t clActiveCaption = clSystemColor | 2;
constexpr int32_t clInactiveCaption = clSystemColor | 3;
constexpr int32_t clMenu = clSystemColor | 4;
constexpr int32_t clWindow = clSystemColor | 5;
constexpr int32_t clWindowFrame = clSystemColor | 6;
constexpr int32_t clMenuText = clSystemColor | 7;
constexpr int32_t clWindowText = clSystemColor | 8;
constexpr int32_t clCaptionText = clSystemColor | 9;
constexpr int32_t clActiveBorder = clSystemColor | 10;
constexpr int32_t clInactiveBorder = clSystemColor | 11;
constexpr int32_t clAppWorkSpace = clSystemColor | 12;
constexpr int32_t clHighlight = clSystemColor | 13;
constexpr int32_t clHighlightText = clSystemColor | 14;
constexpr int32_t clBtnFace = clSystemColor | 15;
constexpr int32_t clBtnShadow = clSystemColor | 16;
constexpr int32_t clGrayText = clSystemColor | 17;
constexpr int32_t clBtnText = clSystemColor | 18;
constexpr int32_t clInactiveCaptionText = clSystemColor | 19;
constexpr int32_t clBtnHighlight = clSystemColor | 20;
constexpr int32_t cl3DDkShadow = clSystemColor | 21;
constexpr int32_t cl3DLight = clSystemColor | 22;
constexpr int32_t clInfoText = clSystemColor | 23;
constexpr int32_t clInfoBk = clSystemColor | 24;
constexpr int32_t clHotLight = clSystemColor | 26;
constexpr int32_t clGradientActiveCaption = clSystemColor | 27;
constexpr int32_t clGradientInactiveCaption = clSystemColor | 28;
constexpr int32_t clMenuHighlight = clSystemColor | 29;
constexpr int32_t clMenuBar = clSystemColor | 30;

// The RGB value (0x00BBGGRR) of system colour slot `index` in the classic default desktop
// scheme; 0 (black) for a slot outside 0..30 or the unused slot 25.
int32_t SysColorValue(int index);

// Resolves a system colour to its RGB value; clNone and clDefault stay as they are; any other
// value keeps its low 24 bits.
int32_t ColorToRGB(int32_t color);

QColor TColorToQColor(int32_t color);
// Opaque colours pack to 0x00BBGGRR; a colour with alpha 0 gives clNone, an invalid one
// clDefault. Partial alpha is dropped.
int32_t QColorToTColor(const QColor& color);
