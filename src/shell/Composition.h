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
//   run control    OnStopRequested, OnRuntimeCloseRequested
//                                     (components/core/SimulationStop.h) <- the main window
//
//   pin button     TPinPortDialogHooks (ui/SettingsDialog.h)       <- hardware framework
//   hardware wait  SimFastQuery       (hardware/framework/IoPort.h)  <- the run control
//   RTU devices    SerialTransportOpener (comm/ByteTransport.h)     <- the serial-port driver
//
//   front panel window  its hooks (frontpanel/FrontPanel.h)        <- the main window
//   help           SetHelpViewer, SetHelpTopicFallback (platform/Help.h) <- ui/HelpWindow,
//                                                                      the palette groups
//
// The hardware framework fills its part of the board services and simulation hooks; the DDE
// components (comm/dde) fill the DDE hooks among those.
void InstallHooks();

class QString;
// The help page of the palette group of the component whose help topic is `context` (empty
// when no registered component has that topic).
QString HelpGroupPage(int context);

class TForm1;
class TFrontplatte;

// The front panel's window reaches the main window through its hooks: start and stop, close
// in a compiled program, the two settings dialogs, the project's name and the hot-key
// receivers of the circuit. RemoveFrontPanelWindowHooks empties them again.
void InstallFrontPanelWindowHooks(TFrontplatte& panel, TForm1& form);
void RemoveFrontPanelWindowHooks(TFrontplatte& panel);
