#pragma once
// What the front panel keeps between sessions: the window's options and print settings (part
// of the window record in the project), the settings files "*.EST" the operator saves and
// loads at run time, and the front panel's part of the component state file beside the
// project. The operations themselves belong to the front-panel window (FrontPanel.h); this
// header holds their data and the file names.

#include "platform/Types.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// Options of the front-panel window that the project and the settings files store.
struct TFrontPanelOptions {
    // Tool buttons shown in run mode.
    bool OpenBtn = true;
    bool SaveBtn = true;
    bool DlgBtn = true;
    bool PrintBtn = true;
    bool CopyBtn = true;
    bool HelpBtn = false;
    bool HWBtn = false;
    bool HintBtn = false;
    bool InternalBtn = false;
    bool ToolTitel = false;   // small caption (tool-window border)
    bool Skalierbar = false;  // sizeable in run mode
    // "Letzte Einstellung merken": states saved at stop and restored at start.
    bool AutoSave = false;
    bool FullScreen = false;  // full screen in run mode
};

// Print settings of the front panel.
struct TPanelPrintSettings {
    QPoint PrintPosition;     // position of the picture on the page (picture pixels)
    QPoint PreviewOffset;
    int32_t Zoom = 100;       // 0 .. 200; 100 is scale 1
    Extended PrintScale = 1.0L;
    QString Headline;
    bool Hidden = false;      // the hidden print flag
    bool Centered = true;     // "Seitenmitte"
    bool Background = false;  // "Hintergrund"
    int32_t PrinterIndex = -1;
    int32_t Orientation = 0;  // 0 portrait, 1 landscape
    QStringList Comment;
};

// The scale of a zoom position z: 10^((100 - z) / 100) (z = 100 gives 1, 0 gives 10).
Extended PrintScaleForZoom(int32_t zoom);

// The component state file of a project: its folder + UpperFileTitle + "_Default.set"; for
// an unsaved project (empty name) "UNSAVED_Default.set" in the program folder.
QString StateFileName(const QString& projectFile);

// Current version of the window record.
constexpr uint8_t kPanelRecordVersion = 44;

// The settings-list element loads settings files through this hook (the window installs
// it) with EstKeepWindow set, so that the window keeps its place, size and state.
std::function<void(const QString& fileName)>& EstLoadHook();
bool& EstKeepWindow();
