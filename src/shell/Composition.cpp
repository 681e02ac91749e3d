#include "shell/Composition.h"

#include "comm/dde/DdeHooks.h"
#include "hardware/transport/SerialTransport.h"
#include "components/analyser/Analyser.h"
#include "components/core/CoreComponents.h"
#include "components/core/SimulationStop.h"
#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/FrontPanelHooks.h"
#include "core/model/ViewHooks.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/IoPort.h"
#include "platform/Help.h"
#include "shell/palette/PaletteCategories.h"
#include "shell/mainwindow/MainWindow.h"
#include "shell/mainwindow/SimulationControl.h"
#include "ui/HelpWindow.h"
#include "ui/ItemDialogs.h"

#include <QTimer>

QString HelpGroupPage(int context)
{
    static const char* const kGroupPages[PaletteGroupCount] = {
        "group-panel", "group-logic", "group-analog", "group-misc", "group-hardware"};
    for (const TComponentDescription* d : ClassRegistry().Components()) {
        if (d->HelpContext != context || d->Category == TPaletteCategory::None)
            continue;
        const int group = PaletteCategoryInfo(int(d->Category)).Group;
        if (group >= 0 && group < PaletteGroupCount)
            return QString::fromLatin1(kGroupPages[group]);
    }
    return QString();
}

void InstallHooks()
{
    InstallFrontPanelHooks(&DesignBoardHooks());
    InstallItemDialogs();
    // Hardware components: stored class names, run preparation, the pin button of the
    // settings dialog.
    InstallHardwareHooks();
    // The Modbus RTU devices talk through the serial-port driver's shared COM ports.
    InstallSerialTransport();
    // DDE server items follow the board's names; DDE clients are linked at run start.
    InstallDdeHooks();
    // A device waiting for its hardware sleeps between steps unless the run is fast.
    SimFastQuery() = [] {
        const TSimulationControl* control = SimulationControl();
        return control && control->SimFast;
    };

    // A renumbered logic analyser shows its new number in its window's caption.
    BoardServiceHooks().UpdateAnalyserCaption = [](TIOBauteil& component) {
        if (auto* analyser = dynamic_cast<TBT_Analyser*>(&component))
            analyser->UpdateWindowCaption();
    };

    // A component's pin segments follow its selection; their board repaints them.
    BoardViewHooks().RepaintSegment = [](TBauteil& segment) {
        if (segment.Board)
            segment.Board->InvalidateObject(&segment);
    };

    // Help pages show in the program's help window; a component's topic without a page of
    // its own shows the page of its palette group.
    InstallHelpWindow();
    SetHelpTopicFallback([](int context) { return HelpGroupPage(context); });

    // A stop component ends the run; in a compiled program it closes the program.
    OnStopRequested = [] { RequestSimulationStop(); };
    OnRuntimeCloseRequested = [] {
        if (TForm1* form = Form1())
            QTimer::singleShot(0, form, [form] { form->close(); });
    };
}

void InstallFrontPanelWindowHooks(TFrontplatte& panel, TForm1& form)
{
    panel.StopHook = [&form] { form.StopSimulationKey(); };
    panel.StartHook = [&form] { form.StartSimulationKey(); };
    // Asked only in a compiled program, where the front panel is the program's window.
    panel.CloseHook = [&form] { form.close(); };
    panel.HardwareHook = [&form] { form.FrontPanelHardwareConfig(); };
    panel.AppConfigHook = [&form] { form.FrontPanelAppConfig(); };
    // The state file, the settings files' "Project" key and their proposed name follow it.
    panel.ProjectFileNameHook = [&form] { return form.ProjectFileName(); };
    panel.HotkeyReceiversDown = HotkeyReceiversKeyDown;
    panel.HotkeyReceiversUp = HotkeyReceiversKeyUp;
}

void RemoveFrontPanelWindowHooks(TFrontplatte& panel)
{
    panel.StopHook = nullptr;
    panel.StartHook = nullptr;
    panel.CloseHook = nullptr;
    panel.HardwareHook = nullptr;
    panel.AppConfigHook = nullptr;
    panel.ProjectFileNameHook = nullptr;
    panel.HotkeyReceiversDown = nullptr;
    panel.HotkeyReceiversUp = nullptr;
}
