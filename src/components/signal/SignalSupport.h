#pragma once
// Small pieces the signal blocks share: centred marks in the body, the symbol pen, the short
// number of a symbol and the settings dialog titled with the type name.

#include "core/model/GrundBT.h"

#include <QString>
#include <functional>

class TPropScrollbox;

namespace SignalSupport {
// A block without front-panel element, with or without settings.
void MakeBlock(TIOBauteil& c, bool editable);
// A mark text in the body, centred horizontally on cx, its top at y.
void DrawCentredMark(const TGrundBT& c, TCanvas& canvas, int cx, int y, int height,
                     const QString& text);
// Pen in the mark colour of the given width, no fill.
void MarkPen(const TGrundBT& c, TCanvas& canvas, int width);
// A loudspeaker outline (box and cone) around the body's centre.
void PaintSpeaker(const TGrundBT& c, TCanvas& canvas);
// The value in general notation with 3 significant digits, as symbols show settings.
QString ShortValueText(Extended value);
// The shared settings dialog with this caption, the component's help context and the rows
// addRows adds (no option rows). Returns the modal result.
int ShowDialog(TIOBauteil& c, const QString& caption,
               const std::function<void(TPropScrollbox&)>& addRows);
} // namespace SignalSupport

namespace SignalSupport {
// The settings dialog of a block with one number: caption = label, an edit row with the value
// (width 64), then the option rows; the value is taken back whatever the result.
int EditNumber(TIOBauteil& c, const QString& caption, Extended& value);
// The component's hint, a carriage return, "= " and the value.
QString ValueHint(const TIOBauteil& c, Extended value);
} // namespace SignalSupport
