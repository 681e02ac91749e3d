// Writes the palette's library files: one ".bib" per category, each holding the registered
// component classes of that category, written through the circuit stream in library mode as
// the program writes libraries. The build runs it into the folder beside the program.
//
// Usage: make_libraries <folder>   (default: QJN_BIBO)

#include "core/model/ClassRegistry.h"
#include "platform/FileIO.h"
#include "platform/Fonts.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "shell/palette/PaletteCategories.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SetUpFonts(TFontScope::StandInsOnly);
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("QJN_BIBO");
    InstallHooks();
    RegisterComponentClasses(ClassRegistry());
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    for (int row = 0; row < PaletteCategoryCount; ++row) {
        const QString name =
            folder + u'/' + QString::fromLatin1(PaletteCategoryInfo(row).FileName);
        QString error;
        if (!WriteWholeFile(name, BuildCategoryLibrary(row), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
