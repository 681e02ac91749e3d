#pragma once
// Components that pair with a watch element on the front panel and work in real time: the
// stop watch, the alarm clock, and the weekly and daily time switches. The elements hold the
// time data and the operator's controls; these components turn input edges into start, stop
// and reset, drive their outputs from the element and check the clock once a second.

#include "components/panel/PanelComponent.h"

#include <cstdint>

class TStopUhr;
class TSchaltUhr;
class TTimeSwitchElement;

// Inputs "|RUN", "|STP", "|RST" (falling edges); outputs "T" (elapsed seconds) and "$T" (the
// read-out), the latter only on components with two outputs.
class TBTStopUhr : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTStopUhr)
    TBTStopUhr();
    ~TBTStopUhr() override;
    static const TComponentDescription Description;

    // Previous input levels; they survive a reset, so an input that ended a run high and
    // starts the next low acts as a falling edge.
    bool PrevRun = false;
    bool PrevStop = false;
    bool PrevReset = false;

    void Start();
    void Stop();
    void Reset();

    void SetLink(TFP_Element* element) override;
    void SimReset() override;
    void Calculate() override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;
    void Paint(TCanvas& canvas) override;

protected:
    void PrepareElement(TFP_Element& element) override;

private:
    // Updates the read-out and repaints the element.
    void Show(TStopUhr& watch);
    // "T" := seconds, "$T" := the read-out (when the component has that output and the
    // read-out changed).
    void WriteOutputs(TStopUhr& watch, Extended seconds, bool readOutChanged = true);
};

// Input "|RST", output "Q": high from the moment the alarm time passes until a reset.
class TBTSchaltUhr : public TBTPanelComponent {
public:
    TV_CLASS_NAME(TBTSchaltUhr)
    TBTSchaltUhr();
    ~TBTSchaltUhr() override;
    static const TComponentDescription Description;

    int32_t TickCounter = 0;
    bool PrevReset = false;
    int32_t LastCheck = 0;    // second of the day of the previous check
    bool Triggered = false;

    // Re-arms the alarm from the current time ("Q" low).
    void ResetAlarm() { SimReset(); }

    void SetLink(TFP_Element* element) override;
    void SimReset() override;
    void Calculate() override;
    void ClockTick() override;
    QString GetHint() const override;
    void SaveSettings(TIniFile& ini, const QString& boardName) override;
    bool LoadSettings(TIniFile& ini, const QString& boardName, bool checkOnly) override;
    void Paint(TCanvas& canvas) override;

protected:
    void PrepareElement(TFP_Element& element) override;
};

// Output "Q" follows the element's programme: set at a run's start and once a second.
class TBTTimeSwitch : public TBTPanelComponent {
public:
    int32_t TickCounter = 0;

    void SimReset() override;
    void Calculate() override {}
    void ClockTick() override;
    void Paint(TCanvas& canvas) override;
};

class TBTWochenSchaltuhr : public TBTTimeSwitch {
public:
    TV_CLASS_NAME(TBTWochenSchaltuhr)
    TBTWochenSchaltuhr();
    static const TComponentDescription Description;
};

class TBTTagesSchaltuhr : public TBTTimeSwitch {
public:
    TV_CLASS_NAME(TBTTagesSchaltuhr)
    TBTTagesSchaltuhr();
    static const TComponentDescription Description;
};

// Whether an alarm at second `alarm` of the day went off between checks at `last` and `now`
// (seconds of the day; now below last means midnight lay between them).
bool AlarmPassed(int32_t last, int32_t now, int32_t alarm);
