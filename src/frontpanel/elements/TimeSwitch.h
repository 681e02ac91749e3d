#pragma once
// The weekly and the daily time-switch elements. Each shows today's date and the current time,
// holds a programme of switching times in week order and computes its output from the clock:
// the output follows the most recent switching time passed in the current week (weekly) or day
// (daily). The time-switch component resynchronises the element at a run's start (SyncToNow)
// and checks it about once a second (CheckSwitchTimes).

#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/SwitchTimes.h"

#include <cstdint>

class TTimeSwitchElement : public TFP_Element {
public:
    int32_t ZeichenFarbe = 0;
    TSchaltZeiten SwitchTimes;
    TSchaltZeit NowTime;         // the current moment (SwitchOn always false)
    TSchaltZeit LastTime;        // NowTime at the previous check
    int32_t NextIndex = 0;       // the next switching time to carry out
    bool Output = false;
    int16_t LastDay = 0;         // weekday at the last resynchronisation
    int32_t Tag = 0;             // stored and read back, not used

    bool Weekly() const { return m_weekly; }
    int32_t HelpContext() const { return m_weekly ? 18215 : 18210; }

    // Recomputes the output and the position in the programme from the clock; false.
    bool SyncToNow();
    // Carries out every switching time reached since the previous check.
    void CheckSwitchTimes();
    // Repaints the inside of the frame.
    void InvalidateFace();

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebElement(QStringList& lines) override;
    void WebSubmit(const QString& value) override;

    // The switching times of a submitted text, one "H;M;S[;D];STAT" per line; false (and
    // nothing in `result`) when a line has no valid values.
    bool ParseProgramme(const QString& text, TSchaltZeiten& result) const;

protected:
    TTimeSwitchElement(QWidget* owner, bool weekly);

private:
    // NowTime from the clock.
    void TakeNow();
    bool m_weekly;
};

class TWochenSchaltuhr : public TTimeSwitchElement {
public:
    FP_CLASS_NAME(TWochenSchaltuhr)
    explicit TWochenSchaltuhr(QWidget* owner = nullptr);
};

class TTagesSchaltuhr : public TTimeSwitchElement {
public:
    FP_CLASS_NAME(TTagesSchaltuhr)
    explicit TTagesSchaltuhr(QWidget* owner = nullptr);
};
