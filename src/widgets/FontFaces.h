#pragma once
// The installed font faces as the face pickers list them, and the mark they draw before a name.

#include <QList>
#include <QString>

class QColor;
class QPainter;
class QRect;

// The face kind kept with each listed face, as the platform's font-type bits.
enum TWLXFontType : int { ftRaster = 1, ftDevice = 2, ftTrueType = 4 };

struct TWLXFontFace {
    QString Name;
    int Type = 0;
};

// The faces of the screen, sorted and each once (case ignored); with trueTypeOnly only scalable
// outline faces. This platform offers no separate printer faces.
QList<TWLXFontFace> ScreenFontFaces(bool trueTypeOnly);
// The mark before a face name in box: a doubled T for a scalable face, a small printer for a
// device face, nothing else.
void DrawFontMark(QPainter& painter, const QRect& box, int type, const QColor& color);
// Where a picker's text starts after the mark (or without one).
constexpr int kFontMarkTextOffset = 14 + 10;
constexpr int kFontPlainTextOffset = 3;
