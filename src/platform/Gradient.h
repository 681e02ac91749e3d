#pragma once
// Two-colour gradients for component bodies, the palette background and front-panel elements,
// and lighter or darker shades of a colour. Colours are 0x00BBGGRR integers (Colors.h).

#include <cstdint>

class TCanvas;

// Fills the rectangle (logical units; right and bottom exclusive) with a gradient from colour1
// at the left (top) edge to colour2 at the right (bottom) edge; `horizontal` makes the colour
// change from left to right, else from top to bottom. When not enabled the rectangle is filled
// with colour1. Always true.
bool FillGradient(TCanvas& canvas, int left, int top, int right, int bottom, int32_t color1,
                  int32_t color2, bool horizontal, bool enabled = true);

// The gradient routine is part of the painter here, so loading always succeeds; the calls are
// kept for the start-up and shutdown code that makes them.
bool LoadGradientFill();
void FreeGradientFill();

// Each of red, green and blue multiplied by factor and rounded, kept within 0..255; the top
// byte of the result is 0. A system colour is resolved first.
int32_t ScaleColor(int32_t color, double factor);
