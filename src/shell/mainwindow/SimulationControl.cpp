#include "shell/mainwindow/SimulationControl.h"

#include "core/board/Platine.h"
#include "core/engine/HiTimer.h"
#include "core/engine/StateFile.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "core/model/Iobt.h"
#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/Types.h"
#include "ui/Formats.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

#include <algorithm>
#include <climits>
#include <exception>
#include <utility>

namespace {

TSimulationControl* g_control = nullptr;

}  // namespace

TSimulationControl* SimulationControl()
{
    return g_control;
}

void RequestSimulationStop()
{
    if (g_control)
        g_control->RequestStop();
}

TSimulationControl::TSimulationControl()
{
    m_simTimer = std::make_unique<TWLXHiTimer>();
    m_simTimer->SetUseThread(false);
    m_simTimer->SetInterval(1);
    m_simTimer->SetOnTimer([this](TWLXHiTimer*) { SimTimerTimer(); });
    m_rateTimer = std::make_unique<TWLXHiTimer>();
    m_rateTimer->SetUseThread(false);
    m_rateTimer->SetInterval(50);
    m_rateTimer->SetOnTimer([this](TWLXHiTimer*) { RateTimerTimer(); });
    if (!g_control)
        g_control = this;
}

TSimulationControl::~TSimulationControl()
{
    m_simTimer->SetEnabled(false);
    m_rateTimer->SetEnabled(false);
    if (g_control == this)
        g_control = nullptr;
}

TFrontplatte* TSimulationControl::Panel() const
{
    return FrontPanel ? FrontPanel : Frontplatte();
}

QString TSimulationControl::ProjectFileName() const
{
    return Project ? Project->ProjectFileName : QString();
}

bool TSimulationControl::Running() const
{
    return Ctx().SimRunning;
}

bool TSimulationControl::Preparing() const
{
    return MainBoard && MainBoard->Preparing;
}

void TSimulationControl::SetSimTimer(bool on)
{
    m_simTimerOn = on;
    if (RealTimers)
        m_simTimer->SetEnabled(on);
}

void TSimulationControl::SetRateTimer(bool on)
{
    m_rateTimerOn = on;
    if (RealTimers)
        m_rateTimer->SetEnabled(on);
}

void TSimulationControl::ProcessEvents()
{
    QCoreApplication::processEvents();
}

// --- Start ---------------------------------------------------------------------------------------

void TSimulationControl::StartSimulation()
{
    if (Preparing())
        return;  // the start going on goes on
    TFrontplatte* panel = Panel();
    const bool running = Ctx().SimRunning;
    // The bounds to come back to are those of edit mode.
    if (panel && !running)
        panel->SavedBounds = panel->WindowBounds();
    // A failed backup is reported and does not hold up the run.
    if (!Ctx().RuntimeMode && Project)
        Project->SaveBackup();
    StartArmed = false;
    if (running || !MainBoard)
        return;

    m_stopRequested = false;
    m_statesSaved = false;
    m_stateFileError.clear();
    if (OnStatusText)
        OnStatusText(QStringLiteral("Start..."));
    // The preparation lets events run: nothing may edit the circuit meanwhile.
    if (OnLockEditing)
        OnLockEditing(true);
    try {
        if (OnPrepareDevices)
            OnPrepareDevices();
        MainBoard->StartSimulation();
    } catch (const std::exception& e) {
        // A component that cannot be prepared: release what was set up and stay idle.
        MainBoard->EndSimulation();
        if (OnLockEditing)
            OnLockEditing(Ctx().RuntimeMode);
        if (OnStatusText)
            OnStatusText(QStringLiteral("---"));
        MessageDlg(QString::fromUtf8(e.what()), mtError, mbOK);
        return;
    }
    Ctx().SimFrequency = 0;

    TDesign* design = Project ? Project->ActiveDesign() : (panel ? panel->RootDesign : nullptr);
    if (design) {
        design->Deselect(-1);
        design->RestoreZOrder();
    }
    if (panel)
        panel->SetRunMode(true);
    if (OnLockEditing)
        OnLockEditing(true);
    if (OnShowFrontPanel)
        OnShowFrontPanel();

    MainBoard->StepCount = 0;
    RateTicks = 0;
    m_rateStart = Clock().PerformanceCounter();
    SetRateTimer(true);
    Ctx().SimRunning = true;
    SetSimTimer(true);
    MainBoard->Running = true;
    if (OnRunStateChanged)
        OnRunStateChanged(true);

    const QString project = ProjectFileName();
    if (panel && panel->RootDesign) {
        if (panel->Options.AutoSave)
            panel->LoadDefaultSettings(project);
        else
            panel->RootDesign->ApplyStartValue();
    }
    if (OnShowFrontPanel)
        OnShowFrontPanel();
    LoadComponentStateFile(project);
    if (panel)
        panel->StartWebServer();
    if (panel && panel->ActiveDesign) {
        panel->ActiveDesign->RefreshTransparency(panel);
        panel->ActiveDesign->update();
    }

    if (SimFast && Ctx().SimRunning)
        RunFast();
}

void TSimulationControl::StartSimulationKey()
{
    if (!Ctx().SimRunning)
        StartSimulation();
}

void TSimulationControl::StartButtonPressed()
{
    StartArmed = true;
}

void TSimulationControl::StartButtonMouseMove()
{
    if (StartArmed)
        StartSimulation();
}

// --- Stop ----------------------------------------------------------------------------------------

void TSimulationControl::RequestStop()
{
    if (!Ctx().SimRunning || m_stopRequested)
        return;
    m_stopRequested = true;
    // From inside a step the states are saved as the stop fires: the components after the stop
    // must not step once more before they are saved. The teardown waits for the end of the step.
    if (MainBoard && MainBoard->StepDepth() > 0) {
        SaveRunStates(&m_stateFileError);
        m_statesSaved = true;
    }
}

void TSimulationControl::StopSimulation()
{
    // Never from inside a step: the loop carries the stop out once the step is done.
    if (MainBoard && MainBoard->StepDepth() > 0) {
        RequestStop();
        return;
    }
    SetSimTimer(false);
    if (!Ctx().SimRunning)
        return;
    SetRateTimer(false);
    Ctx().SimRunning = false;
    m_stopRequested = false;

    TFrontplatte* panel = Panel();
    QString stateFileError = std::exchange(m_stateFileError, QString());
    if (!std::exchange(m_statesSaved, false))
        SaveRunStates(&stateFileError);
    if (!stateFileError.isEmpty())
        ReportStateFileError(ProjectFileName(), stateFileError);
    if (panel)
        panel->SetRunMode(false);
    if (OnLockEditing)
        OnLockEditing(Ctx().RuntimeMode);
    if (OnStatusText)
        OnStatusText(QStringLiteral("---"));
    if (MainBoard) {
        if (MainBoard->ShowWireStates)
            MainBoard->SetShowWireStates(false);
        try {
            MainBoard->EndSimulation();
        } catch (const std::exception& e) {
            MessageDlg(QString::fromUtf8(e.what()), mtError, mbOK);
        }
        MainBoard->Running = false;
    }
    if (OnRunStateChanged)
        OnRunStateChanged(false);
    if (panel) {
        panel->ActivateDesign(panel->ActiveDesign ? panel->ActiveDesign : panel->RootDesign);
        panel->SetPublishMode(panel->PublishMode);
        if (!panel->Options.AutoSave && panel->RootDesign)
            panel->RootDesign->ApplyStartValue();
        if (panel->isVisible())
            panel->raise();
    }
}

void TSimulationControl::StopSimulationKey()
{
    if (Ctx().SimRunning)
        StopSimulation();
}

// --- Stepping ------------------------------------------------------------------------------------

bool TSimulationControl::StepOnce()
{
    try {
        MainBoard->SimStep();
    } catch (const std::exception& e) {
        HandleStepError(QString::fromUtf8(e.what()));
        return false;
    } catch (...) {
        HandleStepError(QString());
        return false;
    }
    RepaintAfterStep();
    if (m_stopRequested) {
        StopSimulation();
        return false;
    }
    return true;
}

void TSimulationControl::RepaintAfterStep()
{
    if (!MainBoard->ShowWireStates && !MainBoard->ShowComponentStates)
        return;
    const int32_t frequency = Ctx().SimFrequency;
    if (frequency > 60 && MainBoard->StepCount % (frequency / 57) == 0)
        MainBoard->RepaintLiveStates();
}

void TSimulationControl::HandleStepError(const QString& message)
{
    m_stopRequested = false;
    StopSimulation();
    QString text = Lang3Q("Fehler im Simulationsschritt, die Simulation wurde angehalten.",
                          "Error in a simulation step; the simulation was stopped.",
                          "Erreur dans un pas de simulation ; la simulation a été arrêtée.");
    if (!message.isEmpty())
        text += QLatin1Char('\n') + message;
    MessageDlg(text, mtError, mbOK);
}

int TSimulationControl::RunSteps(int n)
{
    int done = 0;
    while (done < n && Ctx().SimRunning && MainBoard) {
        if (!StepOnce())
            return done + (Ctx().SimRunning ? 1 : 0);
        ++done;
        if (MainBoard->StepCount % kEventInterval == 0)
            ProcessEvents();
    }
    return done;
}

void TSimulationControl::RunFast()
{
    if (m_inFastLoop)
        return;  // the loop below goes on by itself
    const QScopedValueRollback inLoop(m_inFastLoop, true);
    while (Ctx().SimRunning && SimFast && MainBoard) {
        if (!StepOnce())
            break;
        if (MainBoard->StepCount % kEventInterval == 0)
            ProcessEvents();
    }
}

void TSimulationControl::SetShowWireStates(bool on)
{
    if (!MainBoard)
        return;
    MainBoard->ShowWireStates = on;
    if (Running()) {
        MainBoard->SetShowWireStates(on);
        if (on)
            MainBoard->RepaintLiveStates();
    }
    if (OnShowFrontPanel)
        OnShowFrontPanel();
}

void TSimulationControl::SetShowComponentStates(bool on)
{
    if (!MainBoard)
        return;
    MainBoard->ShowComponentStates = on;
    MainBoard->SetShowComponentStates(on);
    if (on && Running())
        MainBoard->RepaintLiveStates();
    if (OnShowFrontPanel)
        OnShowFrontPanel();
}

void TSimulationControl::SetSpeed(bool fast)
{
    SimFast = fast;
    if (OnSpeedStored)
        OnSpeedStored(fast);
    if (SimFast)
        RunFast();
    else
        SetSimTimer(Ctx().SimRunning);
}

// --- Timers --------------------------------------------------------------------------------------

void TSimulationControl::SimTimerTimer()
{
    if (SimTimerBusy || !MainBoard || Closing)
        return;
    {
        const QScopedValueRollback busy(SimTimerBusy, true);
        SetSimTimer(false);
        for (int i = 0; i < kSlowPasses; ++i)
            ProcessEvents();
        if (Ctx().SimRunning && !SimFast && MainBoard) {
            if (StepOnce())
                for (int i = 0; i < kSlowPasses; ++i)
                    ProcessEvents();
        }
    }
    if (Ctx().SimRunning)
        SetSimTimer(true);
}

void TSimulationControl::RateTimerTimer()
{
    if (!MainBoard || Closing || !Ctx().SimRunning)
        return;
    if (++RateTicks >= kTicksPerSecond) {
        // Steps per second over the time that really passed (ticks may come late).
        const int64_t now = Clock().PerformanceCounter();
        const int64_t elapsed = now - m_rateStart;
        const int64_t frequency = Clock().PerformanceFrequency();
        int64_t rate = MainBoard->StepCount;
        if (elapsed > 0 && frequency > 0)
            rate = int64_t(RoundHalfEven(Extended(rate) * Extended(frequency) / Extended(elapsed)));
        Ctx().SimFrequency = int32_t(std::min<int64_t>(rate, INT32_MAX));
        if (OnStatusText)
            OnStatusText(StepRateText(Ctx().SimFrequency));
        RateTicks = 0;
        MainBoard->StepCount = 0;
        m_rateStart = now;
    }
    try {
        MainBoard->TickClockedObjects();
    } catch (const std::exception& e) {
        HandleStepError(QString::fromUtf8(e.what()));
        return;
    }
    MainBoard->RepaintLiveStates();
    if (OnPinHint) {
        if (HoverPin) {
            const QString name = HoverPin->Name();
            const QString value = name.startsWith(QLatin1Char('$'))
                                      ? HoverPin->GetPinText()
                                      : ValueToText(HoverPin->Value.Get());
            OnPinHint(name + QStringLiteral(" = ") + value);
        } else {
            OnPinHint(QString());
        }
    }
}

QString TSimulationControl::StepRateText(int32_t stepsPerSecond)
{
    if (stepsPerSecond < 10000)
        return QString::number(stepsPerSecond) + QStringLiteral(" Hz");
    QString number = QString::number(double(stepsPerSecond) / 1000.0, 'f', 1);
    number.replace(QLatin1Char('.'), LocaleDecimalSeparator());
    return number + QStringLiteral(" kHz");
}

// --- Component state file ------------------------------------------------------------------------

bool TSimulationControl::SaveComponentStateFile(const QString& projectFileName)
{
    if (!MainBoard)
        return false;
    QString error;
    if (::SaveComponentStateFile(*MainBoard, projectFileName, &error))
        return true;
    ReportStateFileError(projectFileName, error);
    return false;
}

void TSimulationControl::SaveRunStates(QString* error)
{
    TFrontplatte* panel = Panel();
    const QString project = ProjectFileName();
    // Both write the same state file: a failure is reported once (the panel's by its INI file).
    if (panel && panel->Options.AutoSave && !panel->SaveDefaultSettings(project))
        return;
    if (MainBoard)
        ::SaveComponentStateFile(*MainBoard, project, error);
}

void TSimulationControl::ReportStateFileError(const QString& projectFileName, const QString& error)
{
    MessageDlg(Lang3Q("Die Zustandsdatei konnte nicht gespeichert werden:\n",
                      "The state file could not be saved:\n",
                      "Le fichier d'état n'a pas pu être enregistré :\n") +
                   ComponentStateFileName(projectFileName) + QLatin1Char('\n') + error,
               mtWarning, mbOK);
}

void TSimulationControl::LoadComponentStateFile(const QString& projectFileName)
{
    if (!MainBoard)
        return;
    try {
        ::LoadComponentStateFile(*MainBoard, projectFileName);
    } catch (const std::exception& e) {
        MessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK);
    }
}
