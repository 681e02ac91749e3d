// System time and date from the fake clock's local time, the four-output records of older
// projects, and the frequency counter on signals of a few rates.
#include "ComponentTestSupport.h"
#include "components/timing/RegisterTiming.h"
#include "components/timing/SystemTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using SystemTimeTest = TComponentTest<RegisterTimingComponents, true>;

std::vector<double> Values(const TIOBauteil& c)
{
    std::vector<double> v;
    for (int i = 0; i < 4; ++i)
        v.push_back(double(c.Outputs[i]->Value));
    return v;
}

} // namespace

TEST_F(SystemTimeTest, TimeAndDateOnTheirOutputs)
{
    struct Case {
        QDateTime at;
        std::vector<double> time;  // ms, S, M, H
        std::vector<double> date;  // DOW, D, M, Y
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 3, 1), QTime(13, 5, 7, 250)), {250, 7, 5, 13}, {1, 1, 3, 2026}},
        {QDateTime(QDate(2026, 3, 7), QTime(0, 0, 0, 0)), {0, 0, 0, 0}, {7, 7, 3, 2026}},
        {QDateTime(QDate(2025, 12, 29), QTime(23, 59, 59, 999)), {999, 59, 59, 23},
         {2, 29, 12, 2025}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.at.toString().toStdString());
        TFakeClock fake(k.at);
        SetClock(&fake);
        auto time = Create<TBTSysTime>();
        auto date = Create<TBTSysDate>();
        time->Calculate();
        date->Calculate();
        EXPECT_EQ(Values(*time), k.time);
        EXPECT_EQ(Values(*date), k.date);
        EXPECT_EQ(time->Outputs[4]->GetPinText(), SystemTimeText(k.at.time()));
        EXPECT_EQ(date->Outputs[4]->GetPinText(), SystemDateText(k.at.date()));
        EXPECT_TRUE(time->GetHint().endsWith(QLatin1Char('\r') + time->LastText));
        EXPECT_TRUE(date->GetHint().endsWith(QLatin1Char('\r') + date->LastText));
        SetClock(nullptr);
    }
    // The long time has the seconds; the time zone stays out of it.
    const QString text = SystemTimeText(QTime(13, 5, 7));
    EXPECT_TRUE(text.contains(QStringLiteral("07"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UTC"))) << text.toStdString();
}

// Components from an older project have four outputs and no text output.
TEST_F(SystemTimeTest, FourOutputRecordsWork)
{
    for (const char* cls : {"TBTSysTime", "TBTSysDate"}) {
        SCOPED_TRACE(cls);
        auto c = Create(cls);
        ASSERT_TRUE(Read(*c, ComponentPart(0, 4, 44)));
        ASSERT_EQ(c->Outputs.size(), 4u);
        EXPECT_FALSE(PinNames(c->Outputs).contains(QStringLiteral("$")));
        c->Calculate();
        EXPECT_THROW(Read(*c, ComponentPart(0, 6, 44)), EFilerError);
    }
}

// Steps every stepNs with a square wave of the given frequency at "CLK" (0: held low); "f"
// after `seconds`.
double Measure(TBTFreqCount& c, TFakeClock& clock, double hz, int64_t stepNs, double seconds,
               TDrivers& in)
{
    const int64_t start = clock.PerformanceCounter();
    for (int64_t t = 0; t < int64_t(seconds * 1e9); t += stepNs) {
        clock.AdvanceNs(stepNs);
        const int64_t since = clock.PerformanceCounter() - start;
        in.Set(0, hz > 0 && std::fmod(double(since) * 1e-9 * hz, 1.0) < 0.5);
        c.Calculate();
    }
    return double(c.Outputs[0]->Value);
}

TEST_F(SystemTimeTest, FrequencyCounter)
{
    TScopedFakeClock clock;
    struct Case {
        double hz;
        int64_t stepNs;
        double expect, tolerance;
    };
    // Up to 100 Hz from the last period; above it the edges of the one-second gate.
    for (const Case& k : {Case{10, kMs, 10, 0.01}, Case{2.5, kMs, 2.5, 0.01},
                          Case{500, kMs / 10, 500, 1}}) {
        SCOPED_TRACE(k.hz);
        auto c = Create<TBTFreqCount>();
        TDrivers in(*c, false);
        c->SimReset();
        const double f = Measure(*c, clock.clock, k.hz, k.stepNs, 3.5, in);
        EXPECT_NEAR(f, k.expect, k.tolerance);
        if (k.hz > 100) {
            EXPECT_EQ(f, std::round(f));  // whole edges
        }
        // The input stops: below 100 Hz the last estimate stays, above it "f" drops to 0.
        const double after = Measure(*c, clock.clock, 0, k.stepNs, 2.5, in);
        EXPECT_EQ(after, k.hz > 100 ? 0.0 : f);
        // The end of a run clears the output.
        c->SimEnd();
        EXPECT_EQ(c->Outputs[0]->Value, 0.0L);
    }

    // "f" changes only at the end of a gate, once a second.
    auto c = Create<TBTFreqCount>();
    TDrivers in(*c, false);
    c->SimReset();
    EXPECT_EQ(Measure(*c, clock.clock, 10, kMs, 0.999, in), 0.0);
    // Unconnected, "CLK" reads high: no edges (after a run that ended high).
    auto open = Create<TBTFreqCount>();
    open->PrevInput = true;
    open->SimReset();
    for (int i = 0; i < 3000; ++i) {
        clock.clock.AdvanceMs(1);
        open->Calculate();
    }
    EXPECT_EQ(open->EdgeCount, 0);
    EXPECT_EQ(open->Outputs[0]->Value, 0.0L);
}

TEST_F(SystemTimeTest, PinsAndTexts)
{
    struct Case {
        const char* cls;
        QStringList outputs;
        const char* prefix;
        const char* french;
    };
    const Case cases[] = {
        {"TBTSysTime", {"ms", "S", "M", "H", "$"}, "TM", "Heure système"},
        {"TBTSysDate", {"DOW", "D", "M", "Y", "$"}, "DT", "Date système"},
        {"TBTFreqCount", {"f"}, "FC", "Compteur\rfréquence"},
    };
    Ctx().CurrentLanguage = 2;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.cls);
        auto c = Create(k.cls);
        EXPECT_EQ(PinNames(c->Outputs), k.outputs);
        EXPECT_EQ(c->Prefix(), QString::fromLatin1(k.prefix));
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(k.french));
        EXPECT_FALSE(c->Editable);
    }
}
