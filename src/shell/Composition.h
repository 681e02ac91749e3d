#pragma once
// The one place where the program's parts are joined: every hook through which a lower layer
// reaches an upper one is installed here, once at start-up (the main window's creation calls
// it; tests call it to run with the program's real wiring).
//
//   front panel    TFrontPanelHooks   (core/model/FrontPanelHooks.h)  <- the front panel's pages
//   board view     TBoardViewHooks    (core/model/ViewHooks.h)        <- the board view
//   item dialogs   TItemDialogHooks   (core/board/ItemDialogs.h)      <- ui/ItemDialogs
//   board services TBoardServiceHooks (core/board/BoardHooks.h)       <- analyser, DDE, hardware
//   simulation     TSimulationHooks   (core/board/Platine.h)          <- DDE client, hardware
//   start-up       TStartupHooks      (shell/mainwindow/MainWindow.h) <- devices, communication
//   run control    OnStopRequested, OnRuntimeCloseRequested
//                                     (components/core/SimulationStop.h) <- the main window
//
//   pin button     TPinPortDialogHooks (ui/SettingsDialog.h)       <- hardware framework
//   hardware wait  SimFastQuery       (hardware/framework/IoPort.h)  <- the run control
//
// The hardware framework fills its part of the board services and simulation hooks; the rest
// of those and the start-up hooks belong to subsystems that are not part of the program yet;
// they stay empty, which their users read as "not present".
void InstallHooks();
