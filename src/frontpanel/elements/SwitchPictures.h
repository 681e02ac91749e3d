#pragma once
// The picture set of the switch element: eleven switch types in five colours, each with an
// off and an on picture, drawn in code. Sizes are fixed per type; types 0, 4 and 10 are drawn
// on a key colour that their top-left pixel gives (transparent types).

#include <QImage>
#include <QSize>

constexpr int kSwitchColorCount = 5;  // schwarz, gruen, gelb, rot, blau
constexpr int kSwitchTypeCount = 11;

// Picture size of a type (the on and off pictures differ only for type 8); empty for an
// unknown type.
QSize SwitchPictureSize(int typ, bool on);
// True for the types drawn on a transparent key colour (0, 4, 10).
bool IsTransparentTyp(int typ);
// The picture of colour `farbe` (0..4) and type `typ` (0..10); a null image outside those.
QImage SwitchPicture(int farbe, int typ, bool on);
