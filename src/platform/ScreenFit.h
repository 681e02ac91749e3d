#pragma once
// Window bounds read from a file are made to fit the screen before they are used: a damaged
// or hostile file must not make a window of thousands of screens (and its backing store).

#include <QRect>

// bounds with width and height cut to the available screen area and moved so that the window
// lies within it. Without a screen the bounds are only cut to a 4096-pixel square.
QRect FitToScreen(const QRect& bounds);
// The same within a given area.
QRect FitToScreen(const QRect& bounds, const QRect& area);
// The available area of the screens (a 4096-pixel square without a screen).
QRect AvailableScreenArea();
