#pragma once
// Which faces draw the Windows font names that projects, elements and dialogs ask for, so that
// texts have the same widths and line breaks on every machine, whatever font packages are
// installed.

#include <QString>

#include <span>

// A Windows font name and the installed face of the same widths (or the nearest look) that
// draws it.
struct TFontStandIn {
    const char* Name;
    const char* Face;
};

// Every Windows name the program knows. A name neither listed here nor installed is drawn in
// DefaultFace().
std::span<const TFontStandIn> FontStandIns();
QString DefaultFace();

enum class TFontScope {
    Installed,     // the program: every installed face, with the stand-ins taking the names above
    StandInsOnly,  // tests and build tools: only the faces of the project's own font packages
};

// Makes the process's font matching follow the stand-in table and no configuration that other
// packages add. Call before the application object is created. Returns false (and the system's
// matching stays) when the configuration cannot be set up.
bool SetUpFonts(TFontScope scope);
