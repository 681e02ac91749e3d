#pragma once
// What the time-switch and watch tests share: a clean program state with the translation table,
// a fake clock installed at a chosen local moment, and switching times written briefly.

#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/SwitchTimes.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "core/model/Translator.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include <memory>
#include <optional>

class TimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
    }
    void TearDown() override
    {
        SetClock(nullptr);
        ResetFrontPanelState();
        ResetContext();
    }
    // Installs a fake clock that starts at `start`.
    TFakeClock& StartAt(const QDateTime& start)
    {
        m_clock.emplace(start);
        SetClock(&*m_clock);
        return *m_clock;
    }
    TFakeClock& clock() { return *m_clock; }

private:
    std::optional<TFakeClock> m_clock;
};

// 2026-03-02 is a Monday; day d of that week (1 Sunday .. 7 Saturday) at h:m:s.
inline QDateTime WeekMoment(int day, int h, int m = 0, int s = 0)
{
    const QDate sunday(2026, 3, 1);
    return QDateTime(sunday.addDays(day - 1), QTime(h, m, s));
}

inline std::unique_ptr<TSchaltZeit> Entry(int day, int h, int m, int s, bool on)
{
    auto e = std::make_unique<TSchaltZeit>();
    e->Day = uint16_t(day);
    e->Hour = uint16_t(h);
    e->Minute = uint16_t(m);
    e->Second = uint16_t(s);
    e->SwitchOn = on;
    return e;
}
