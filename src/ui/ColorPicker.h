#pragma once
// The colour dialog of colour rows, the panel dialog and other colour pickers. Its sixteen
// custom colours persist in "Settings\Colors.dat" in the program folder.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Number of custom colour slots.
constexpr int ColorPickerCustomCount = 16;
// The value an empty custom-colour slot holds.
constexpr uint32_t ColorPickerEmptySlot = 0xFFFFFFFFu;

// Shows the colour dialog with `color` (0x00BBGGRR, or a system colour) preselected. On OK:
// the chosen colour, and the custom colours are written back to the colours file. Otherwise
// `color` unchanged and nothing is written. A write failure is reported in a message box.
int32_t PickColor(int32_t color);

// The custom colours as stored: 0x00BBGGRR each, ColorPickerEmptySlot for an empty slot.
using TCustomColors = std::array<uint32_t, ColorPickerCustomCount>;

// The colours file's full path (ProgramFolder + "Settings\Colors.dat").
QString CustomColorsPath();
// Reads the custom colours; a missing file, missing line or unreadable value is an empty slot.
TCustomColors LoadCustomColors(const QString& path);
// Writes the 16 lines "ColorA=..." to "ColorP=..." (creating a missing folder); false with
// *error (a text in the current language) when the file cannot be written.
bool SaveCustomColors(const QString& path, const TCustomColors& colors, QString* error = nullptr);
// The 16 text lines of the file.
QStringList CustomColorLines(const TCustomColors& colors);
