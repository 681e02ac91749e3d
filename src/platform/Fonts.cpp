#include "platform/Fonts.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

namespace {

// Liberation Sans, Serif and Mono have the advance widths of Arial, Times New Roman and
// Courier New. The dialog faces of Windows (MS Sans Serif, Tahoma, Segoe UI ...) are about as
// narrow as Arial, so forms laid out for them keep fitting; Verdana is as wide as DejaVu Sans.
constexpr TFontStandIn kStandIns[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Segoe UI", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Small Fonts", "Liberation Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Sans Serif", "DejaVu Sans"},
    {"sans-serif", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"MS Serif", "Liberation Serif"},
    {"serif", "DejaVu Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Lucida Console", "Liberation Mono"},
    {"Consolas", "Liberation Mono"},
    {"Fixedsys", "Liberation Mono"},
    {"monospace", "DejaVu Sans Mono"},
};

constexpr const char* kDefaultFace = "DejaVu Sans";

// The faces the stand-ins draw with come from the files of one Debian package each
// (fonts-dejavu-core, fonts-liberation2). Other files that claim these family names (a second
// Liberation release, DejaVu's extra styles) are left out, so every machine draws the same
// outlines.
constexpr const char* kPinnedFamilies[] = {
    "DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans", "Liberation Serif", "Liberation Mono",
};

constexpr const char* kPinnedFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSerif-Italic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Italic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-BoldItalic.ttf",
};

QByteArray Family(const char* name)
{
    return QByteArray("<string>") + name + "</string>";
}

// A complete configuration of our own: the system's files under /etc/fonts are not read, so
// no package can add aliases or preferences that change which face a name gets.
QByteArray Configuration(TFontScope scope)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                     "<fontconfig>\n";
    if (scope == TFontScope::Installed) {
        xml += "<dir>/usr/share/fonts</dir>\n<dir>/usr/local/share/fonts</dir>\n"
               "<dir prefix=\"xdg\">fonts</dir>\n<dir>~/.fonts</dir>\n";
    }  // else only the pinned files, added by SetUpFonts
    xml += "<cachedir>/var/cache/fontconfig</cachedir>\n<cachedir prefix=\"xdg\">fontconfig</cachedir>\n";

    // A Windows name is never an installed face of its own (a real Arial would draw other
    // outlines than on the next machine), and the pinned families come from their files only.
    xml += "<selectfont>\n<rejectfont>\n";
    for (const auto& s : kStandIns)
        xml += "<pattern><patelt name=\"family\">" + Family(s.Name) + "</patelt></pattern>\n";
    for (const char* family : kPinnedFamilies)
        xml += "<pattern><patelt name=\"family\">" + Family(family) + "</patelt></pattern>\n";
    xml += "</rejectfont>\n<acceptfont>\n";
    for (const char* file : kPinnedFiles)
        xml += QByteArray("<pattern><patelt name=\"file\"><string>") + file + "</string></patelt></pattern>\n";
    xml += "</acceptfont>\n</selectfont>\n";

    // Each name asks for its stand-in first, and every request ends with the default face, so
    // that a name nobody knows gets that face rather than whichever font sorts first.
    for (const auto& s : kStandIns) {
        xml += "<match target=\"pattern\"><test name=\"family\">" + Family(s.Name) + "</test>"
               "<edit name=\"family\" mode=\"prepend\" binding=\"strong\">" + Family(s.Face) +
               "</edit></match>\n";
    }
    xml += "<match target=\"pattern\"><edit name=\"family\" mode=\"append_last\" binding=\"strong\">" +
           Family(kDefaultFace) + "</edit></match>\n";

    // Smooth outlines with light hinting, as Debian's own default.
    xml += "<match target=\"font\"><edit name=\"antialias\"><bool>true</bool></edit>"
           "<edit name=\"hinting\"><bool>true</bool></edit>"
           "<edit name=\"hintstyle\"><const>hintslight</const></edit></match>\n";
    xml += "</fontconfig>\n";
    return xml;
}

} // namespace

std::span<const TFontStandIn> FontStandIns()
{
    return kStandIns;
}

QString DefaultFace()
{
    return QString::fromLatin1(kDefaultFace);
}

bool SetUpFonts(TFontScope scope)
{
    FcConfig* config = FcConfigCreate();
    if (!config)
        return false;
    const QByteArray xml = Configuration(scope);
    bool ok = FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.constData()), FcTrue)
              && FcConfigBuildFonts(config);
    if (ok && scope == TFontScope::StandInsOnly) {
        for (const char* file : kPinnedFiles)
            FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file));
    }
    ok = ok && FcConfigSetCurrent(config);
    if (!ok)
        std::fprintf(stderr, "Tavrinol: the font configuration could not be set up; the system's is used.\n");
    FcConfigDestroy(config);  // once current, the configuration keeps its own reference
    return ok;
}
