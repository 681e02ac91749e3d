#pragma once
// Simulation control of the main window: start and stop of a run around the board's engine,
// the fast loop (steps in a loop inside the GUI thread, letting events run every 17th step),
// the slow mode (one step per 1-ms timer tick), the live repaints of wire colours and pin
// states between steps, the 50-ms tick (step rate once a second, clocked objects, live
// repaints, the hint of the pin under the mouse), the stop request of Esc and of stop
// components, the component state file around each run and the backup at each start.
//
// The controller holds no widgets; the main window owns it, points it at the main board and
// the project files, and answers the callbacks (status label, editing lock, cursor ...).

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class TBauteilPin;
class TFrontplatte;
class TPlatine;
class TProjectFiles;
class TWLXHiTimer;

class TSimulationControl {
public:
    // Fast mode lets events run when the step counter is a multiple of this.
    static constexpr int kEventInterval = 17;
    // Message-processing passes around a slow-mode step.
    static constexpr int kSlowPasses = 100;
    // 50-ms ticks per rate measurement.
    static constexpr int kTicksPerSecond = 20;

    TSimulationControl();
    ~TSimulationControl();
    TSimulationControl(const TSimulationControl&) = delete;
    TSimulationControl& operator=(const TSimulationControl&) = delete;

    // --- What the main window points at (not owned) ------------------------------------------
    TPlatine* MainBoard = nullptr;
    TProjectFiles* Project = nullptr;    // backup and the project's name; may be nullptr
    TFrontplatte* FrontPanel = nullptr;  // nullptr: the program's window (Frontplatte())

    // --- State ----------------------------------------------------------------------------
    bool SimFast = true;          // "Settings/SPEED.INI" [Speed] "Fast"
    int RateTicks = 0;            // 0 .. 19
    bool StartArmed = false;      // the start button was pressed; the next move over it starts
    bool SimTimerBusy = false;
    bool Closing = false;         // the close timer is on: timer events do nothing
    TBauteilPin* HoverPin = nullptr;  // pin under the mouse (its value is shown every 50 ms)
    // With RealTimers false the two timers are only flags (SimTimerOn, RateTimerOn) and the
    // handlers are called by the owner (tests).
    bool RealTimers = true;

    // --- Callbacks to the main window (each may stay empty) -----------------------------------
    std::function<void(const QString& text)> OnStatusText;   // the Status label
    std::function<void(bool lock)> OnLockEditing;             // editing controls off/on
    std::function<void(bool running)> OnRunStateChanged;     // cursor, repaint, mode buttons, tools
    std::function<void()> OnShowFrontPanel;                   // FPAnzeigenClick
    std::function<void(const QString& text)> OnPinHint;       // empty text: hide the hint box
    std::function<void(bool fast)> OnSpeedStored;             // write SPEED.INI
    std::function<void()> OnPrepareDevices;                   // before the board's preparation

    // --- Runs -----------------------------------------------------------------------------
    bool Running() const;
    // A run is being prepared: a second start, deleting and opening do nothing meanwhile.
    bool Preparing() const;
    // Backup (editor) and then, when no run is going on, the whole start; the fast loop runs
    // inside when SimFast is set.
    void StartSimulation();
    // F9, the front panel's start request, " /RUN": StartSimulation when no run is going on.
    void StartSimulationKey();
    void StartButtonPressed();     // arms the start
    void StartButtonMouseMove();   // starts when armed
    // The stop button: the whole stop; while idle only the slow timer goes off.
    void StopSimulation();
    void StopSimulationKey();
    // A stop the stepping loops carry out after the current step. Asked from inside a step (a
    // stop component), it saves the states of that moment at once.
    void RequestStop();
    bool StopRequested() const { return m_stopRequested; }

    // The fast loop: steps while running and fast; returns when a stop clears the run or the
    // speed changes.
    void RunFast();
    // Up to n steps with the fast loop's handling (events every 17th step, stop requests,
    // errors); returns the number of steps made.
    int RunSteps(int n);
    // Speed box: item 0 fast, item 1 slow.
    void SetSpeed(bool fast);
    // The two view options of the board ("Leitungszustand anzeigen", "Bauteilzustand
    // anzeigen"): wire colours follow at once during a run, component states at once always;
    // the front-panel window comes to front.
    void SetShowWireStates(bool on);
    void SetShowComponentStates(bool on);

    // --- Timer events ---------------------------------------------------------------------
    void SimTimerTimer();    // 1 ms
    void RateTimerTimer();   // 50 ms (WLXHiTimer1)
    bool SimTimerOn() const { return m_simTimerOn; }
    bool RateTimerOn() const { return m_rateTimerOn; }

    // The rate text: "n Hz" below 10000, else n / 1000 with one decimal and " kHz".
    static QString StepRateText(int32_t stepsPerSecond);

    // --- Component state file -------------------------------------------------------------
    bool SaveComponentStateFile(const QString& projectFileName);
    void LoadComponentStateFile(const QString& projectFileName);

    TFrontplatte* Panel() const;
    QString ProjectFileName() const;

private:
    // One step with error handling; false when the step failed (the run is stopped then).
    bool StepOnce();
    // Live repaints between steps: above 60 steps per second every (rate div 57) steps of the
    // main board's counter, about 57 a second; at or below 60 the 50-ms tick repaints.
    void RepaintAfterStep();
    void HandleStepError(const QString& message);
    // The front panel's auto-save and the component state file; a state file that cannot be
    // written leaves its error text in *error for the caller to report.
    void SaveRunStates(QString* error);
    void ReportStateFileError(const QString& projectFileName, const QString& error);
    void SetSimTimer(bool on);
    void SetRateTimer(bool on);
    void ProcessEvents();

    bool m_stopRequested = false;
    bool m_statesSaved = false;     // a stop from inside a step saved the states already
    QString m_stateFileError;       // what that save could not write, reported after the step
    bool m_simTimerOn = false;
    bool m_rateTimerOn = false;
    bool m_inFastLoop = false;
    int64_t m_rateStart = 0;  // performance counter at the last rate measurement
    std::unique_ptr<TWLXHiTimer> m_simTimer;   // SimTimer, 1 ms
    std::unique_ptr<TWLXHiTimer> m_rateTimer;  // WLXHiTimer1, 50 ms
};

// The control of the running program (nullptr when none exists); stop components and the
// front panel reach it here.
TSimulationControl* SimulationControl();
// A stop request from inside a step (stop components): carried out after the step.
void RequestSimulationStop();
