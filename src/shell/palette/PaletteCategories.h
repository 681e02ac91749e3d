#pragma once
// The 58 palette categories: caption in three languages, library file and menu group; the
// order of the palette menu; stepping to the next and previous category; the library of a
// category built from the registered component classes; and the quick find's word match.

#include "core/model/ComponentDescription.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class TReader;

struct TPaletteCategoryInfo {
    TText3 Caption;
    const char* FileName;
    int Group;  // 0 front-panel elements, 1 logic, 2 analogue, 3 miscellaneous, 4 hardware
};

constexpr int PaletteGroupCount = 5;
// Row shown when no category is named.
constexpr int DefaultPaletteRow = 16;

// Row 0 .. 57 of the table.
const TPaletteCategoryInfo& PaletteCategoryInfo(int row);
// Caption of a row in the current language ("Hotkeys" in row 39 is translated).
QString PaletteCategoryCaption(int row);

// The palette menu: per group its items in menu order, -1 standing for a separator.
using TPaletteMenu = std::vector<std::vector<int>>;
// Every category in menu order.
const TPaletteMenu& PaletteMenu();
// The group that offers the devices.
constexpr int HardwarePaletteGroup = 4;
// Whether a category's library holds anything: a registered component or device of it.
bool CategoryHasEntries(int row);
// The menu as the palette shows it: the hardware group keeps the categories that hold
// registered devices (they fill as drivers are added), and a separator stands only between
// two shown items.
TPaletteMenu ShownPaletteMenu();

// Place of a row in the menu: group and position, -1 and -1 when no group holds it.
struct TMenuPlace {
    int Group = -1;
    int Position = -1;
};
TMenuPlace FindPaletteMenuPosition(int row, const TPaletteMenu& menu = PaletteMenu());
// The row after / before the given one in menu order, over separators and around the ends. A
// row outside the menu (the macro palette: -1) counts as standing before group 0's first item
// for the next and after it for the previous step.
int NextPaletteRow(int row, const TPaletteMenu& menu = PaletteMenu());
int PreviousPaletteRow(int row, const TPaletteMenu& menu = PaletteMenu());

// A library file's bytes for a category: the project header, every registered component of
// the category in registration order written in library mode, then the print settings.
QByteArray BuildCategoryLibrary(int row);

// Reads a library file's header and gives its format version.
uint8_t ReadLibraryHeader(TReader& reader);

// Quick find: the words of a search text cut at every blank (the rest after the last blank
// only when not empty), and whether a name holds every word (upper case). An empty word
// matches no name.
QStringList SearchWords(const QString& text);
bool MatchesAllWords(const QString& name, const QStringList& words);
