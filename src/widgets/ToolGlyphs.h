#pragma once
// Pictures of the tool buttons, drawn here pixel by pixel on the glyph key colour (magenta, also
// the bottom-left pixel), so that buttons show them with their own background.

#include <QIcon>
#include <QImage>

enum class TToolGlyph {
    New, Open, Save, Print, Cut, Copy, Paste, Duplicate, Delete, Text, Grid, PartsList, ZoomIn,
    ZoomOut, ZoomPage, ZoomObjects, ZoomMarked, Compile, AppSettings, Hardware, FrontPanel,
    PanelSettings, Hints, Help, Pointer, Wire, Zoom, Start, Stop, WireStatus, PinStatus, Library,
    // The palette's groups: front-panel elements, logic, analogue, miscellaneous, macros.
    GroupPanel, GroupLogic, GroupAnalog, GroupMisc, GroupMacro
};

// A single-cell glyph of size x size pixels (16 or 20).
QImage ToolGlyph(TToolGlyph glyph, int size = 20);
// The glyph as an icon of a plain tool button: the key colour is transparent.
QIcon ToolGlyphIcon(TToolGlyph glyph, int size = 20);
