#pragma once
// What the recorder elements share: the pictures of their tool buttons, their context menus,
// the file dialogs and the date-time number of the chart's start time.

#include <QDateTime>
#include <QIcon>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QMenu;
class QWidget;

enum class TRecorderGlyph {
    None, Record, Stop, Play, Print, Open, Save, Copy, ZoomYIn, ZoomYOut, ZoomXIn, ZoomXOut,
    ZoomAll, ZoomReset, Settings, Show, Hide
};
QIcon RecorderGlyph(TRecorderGlyph glyph);

// A popup menu of (tag, caption) entries; tag 0 with an empty caption is a separator. Each
// action carries its tag as data; a click calls onCommand with it.
QMenu* BuildRecorderMenu(QWidget* owner, const std::vector<std::pair<int, QString>>& entries,
                         std::function<void(int)> onCommand);

// The file dialog of the recorders: save (asks before replacing) or open (the file must
// exist). Empty when cancelled.
QString AskRecorderFile(QWidget* owner, bool save, const QString& filter, const QString& extension);

// The name of an automatic file: prefix, the date in the short format and the time, each made
// safe for a file name, every ":" replaced by ".".
QString TimeStampedName(const QString& prefix, const QDateTime& now);

// Days since 1899-12-30, the time of day as the fraction.
double DateTimeToDays(const QDateTime& time);
