// Clock generators on a fake clock: when the fast clock changes its level over more than a
// thousand changes and across a frequency change, the voltage-controlled clock's range, stop
// and phase, the tick-counted slow clock, the dialog and the record.
#include "ComponentTestSupport.h"
#include "components/timing/Clocks.h"
#include "components/timing/RegisterTiming.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSpinBox>
#include <vector>

namespace {

bool High(const TIOBauteil& c)
{
    return c.Outputs[0]->Value >= 2.5L;
}

class ClocksTest : public TTimedComponentTest<RegisterTimingComponents, true> {
protected:
    // Steps a component every stepNs for a while; the times (ns after the first step's start)
    // of each change of output 0.
    std::vector<int64_t> ChangeTimes(TIOBauteil& c, int64_t stepNs, int64_t untilNs)
    {
        std::vector<int64_t> times;
        const int64_t start = clock.clock.PerformanceCounter();
        bool level = High(c);
        for (int64_t now = 0; now < untilNs; now += stepNs) {
            StepAfter(c, stepNs);
            if (High(c) != level) {
                level = High(c);
                times.push_back(clock.clock.PerformanceCounter() - start);
            }
        }
        return times;
    }
};

} // namespace

// At 1 Hz the n-th change falls on the first step at or after n half seconds, also after more
// than a thousand changes (where the reference time moves on).
TEST_F(ClocksTest, FastClockChangesOnWholeHalfPeriodsPastAThousandChanges)
{
    auto c = Create<TBTHiTakt>();
    c->Frequency = 1;
    c->SimReset();
    EXPECT_FALSE(High(*c));
    const std::vector<int64_t> times = ChangeTimes(*c, 100 * kMs, 1100LL * 500 * kMs);
    ASSERT_EQ(times.size(), 1100u);
    for (size_t n = 0; n < times.size(); ++n)
        ASSERT_EQ(times[n], int64_t(n + 1) * 500 * kMs) << "change " << n + 1;

    // High from 0.5 s to 1.0 s after the reset, low from 1.0 s to 1.5 s.
    c->SimReset();
    const struct {
        int64_t atMs;
        bool high;
    } levels[] = {{499, false}, {500, true}, {999, true}, {1000, false}, {1499, false}, {1500, true}};
    int64_t now = 0;
    for (const auto& k : levels) {
        StepAfter(*c, (k.atMs - now) * kMs);
        now = k.atMs;
        EXPECT_EQ(High(*c), k.high) << k.atMs << " ms";
    }
}

// A generator whose half period is shorter than a step falls behind: one change per step.
TEST_F(ClocksTest, FastClockChangesAtMostOncePerStep)
{
    auto c = Create<TBTHiTakt>();
    ASSERT_EQ(c->Frequency, 1000);
    c->SimReset();
    for (int step = 1; step <= 50; ++step) {
        StepAfter(*c, 10 * kMs);
        EXPECT_EQ(High(*c), step % 2 == 1) << "step " << step;
    }
}

// A frequency changed during a run: the next change falls due when the time since the reference
// reaches the change number times the new half period.
TEST_F(ClocksTest, FastClockFrequencyChangeRescalesTheSchedule)
{
    auto c = Create<TBTHiTakt>();
    c->Frequency = 10;  // half period 50 ms
    c->SimReset();
    StepAfter(*c, 120 * kMs);  // change 1 (due at 50 ms)
    EXPECT_TRUE(High(*c));
    EXPECT_EQ(c->ChangeNumber, 2);
    c->Frequency = 5;  // half period 100 ms: change 2 due at 200 ms
    StepAfter(*c, 79 * kMs);
    EXPECT_TRUE(High(*c));
    StepAfter(*c, 1 * kMs);
    EXPECT_FALSE(High(*c));
}

// The frequency input: limits, the stop below 0.001 Hz, the inverted pin, and the grid kept when
// the frequency changes.
TEST_F(ClocksTest, VoltageControlledClock)
{
    struct Case {
        const char* what;
        bool connected;
        Extended f;
        bool inverted;
        int64_t stepNs;
        int64_t halfNs;  // 0: never changes
    };
    const Case cases[] = {
        {"unconnected", false, 0, false, kMs, 0},
        {"zero", true, 0, false, kMs, 0},
        {"negative", true, -3, false, kMs, 0},
        {"inverted", true, 4, true, kMs, 0},
        {"above the range", true, 5000, false, kMs / 10, kMs / 2},
        {"1 kHz", true, 1000, false, kMs / 10, kMs / 2},
        {"4 Hz", true, 4, false, kMs, 125 * kMs},
        {"0.01 Hz", true, 0.01L, false, 100 * kMs, 50000 * kMs},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto c = Create<TBTVCO>();
        TInputs in(*c);
        if (k.connected)
            in.Set(0, k.f);
        c->Inputs[0]->SetInverted(k.inverted);
        c->SimReset();
        c->Calculate();  // takes the frequency; the grid stays on the reset
        const int64_t span = k.halfNs ? 9 * k.halfNs + k.halfNs / 2 : 20000 * kMs;
        const std::vector<int64_t> times = ChangeTimes(*c, k.stepNs, span);
        if (k.halfNs == 0) {
            EXPECT_TRUE(times.empty());
            EXPECT_FALSE(High(*c));
            continue;
        }
        ASSERT_EQ(times.size(), 9u);
        for (size_t n = 0; n < times.size(); ++n)
            EXPECT_EQ(times[n], int64_t(n + 1) * k.halfNs) << "change " << n + 1;
    }
}

TEST_F(ClocksTest, VoltageControlledClockKeepsItsGridAcrossAFrequencyChange)
{
    auto c = Create<TBTVCO>();
    TInputs in(*c);
    in.Set(0, 10);  // half period 50 ms
    c->SimReset();
    for (int i = 0; i < 120; ++i)
        StepAfter(*c, kMs);  // changes at 50 and 100 ms
    EXPECT_FALSE(High(*c));
    in.Set(0, 5);  // half period 100 ms, anchored one old half period before the last change
    // The new grid: 49.5, 149.5, 249.5 ... ms (the last change fell due at 99.5 ms, the grid
    // of 50 ms starting half a millisecond before the reset); the next change is seen in the
    // step at 150 ms.
    const std::vector<int64_t> times = ChangeTimes(*c, kMs, 200 * kMs);
    ASSERT_GE(times.size(), 2u);
    EXPECT_EQ(times[0], 30 * kMs);   // 150 ms
    EXPECT_EQ(times[1], 130 * kMs);  // 250 ms
    EXPECT_EQ(c->Frequency, 5.0L);
}

// The slow clock changes on every (limit + 1)-th tick, limit = 10 × f within 1 .. 10000; it
// keeps its level across runs.
TEST_F(ClocksTest, AdjustableSlowClockCountsTicks)
{
    struct Case {
        Extended f;
        int limit;
    };
    for (const Case& k : {Case{1.0L, 10}, Case{0.05L, 1}, Case{0, 1}, Case{-7, 1},
                          Case{2.25L, 22}, Case{2.75L, 28}, Case{5000, 10000}}) {
        SCOPED_TRACE(static_cast<double>(k.f));
        auto c = Create<TBTTaktgeber_ES>();
        TInputs in(*c);
        in.Set(0, k.f);
        c->SimReset();
        c->Calculate();
        EXPECT_EQ(c->TickLimit, k.limit);
        std::vector<int> changes;
        bool level = c->Level;
        for (int tick = 1; tick <= 3 * (k.limit + 1) && tick < 100; ++tick) {
            c->ClockTick();
            c->Calculate();
            EXPECT_EQ(High(*c), c->Level);
            if (c->Level != level) {
                level = c->Level;
                changes.push_back(tick);
            }
        }
        for (size_t n = 0; n < changes.size(); ++n)
            EXPECT_EQ(changes[n], int(n + 1) * (k.limit + 1));
    }

    // Lowered below the running count: the level changes at the next tick.
    auto c = Create<TBTTaktgeber_ES>();
    TInputs in(*c);
    in.Set(0, 1.0L);
    c->SimReset();
    c->Calculate();
    for (int i = 0; i < 6; ++i)
        c->ClockTick();
    in.Set(0, 0.2L);
    c->Calculate();
    c->ClockTick();
    EXPECT_TRUE(c->Level);
    EXPECT_EQ(c->TickCount, 0);
    // A new run starts with the level of the last one, counting from 0.
    c->TickCount = 1;
    c->SimReset();
    c->Calculate();
    EXPECT_TRUE(High(*c));
    EXPECT_EQ(c->TickCount, 0);
}

TEST_F(ClocksTest, FastClockDialogRecordAndHint)
{
    auto c = Create<TBTHiTakt>();
    c->SetLabel(QStringLiteral("Takt"));
    for (int answer : {mrCancel, mrOk}) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(Host(d).HelpContext, 18275);
            EXPECT_EQ(RowCount(d), 4u);  // frequency and the option rows
            auto* spin = d.findChild<QSpinBox*>(QStringLiteral("Spin"));
            EXPECT_TRUE(spin);
            if (!spin)
                return int(mrCancel);
            EXPECT_EQ(spin->minimum(), 1);
            EXPECT_EQ(spin->maximum(), 1000);
            EXPECT_EQ(spin->value(), 1000);
            spin->setValue(250);
            return answer;
        });
        EXPECT_EQ(c->EditProperties(), answer);
        EXPECT_EQ(responder.Titles().value(0), QStringLiteral("Takt"));
        EXPECT_EQ(c->Frequency, answer == mrOk ? 250 : 1000);
    }
    EXPECT_TRUE(c->GetHint().endsWith(QStringLiteral("\rf = 250 Hz")));

    const QByteArray data = Write(*c);
    EXPECT_EQ(data.right(3), QByteArray::fromHex("03fa00"));  // Int16 250
    auto copy = Create<TBTHiTakt>();
    ASSERT_TRUE(Read(*copy, data));
    EXPECT_EQ(copy->Frequency, 250);
    // A stored frequency outside 1 .. 1000 Hz is brought into the range.
    for (auto [stored, expect] : {std::pair{0, 1}, std::pair{-5, 1}, std::pair{70000, 1000}}) {
        QByteArray bad = ComponentPart(0, 1, 44);
        QBuffer buffer(&bad);
        buffer.open(QIODevice::Append);
        TWriter(buffer).WriteInteger(stored);
        buffer.close();
        ASSERT_TRUE(Read(*copy, bad));
        EXPECT_EQ(copy->Frequency, expect);
    }
}

TEST_F(ClocksTest, PinsAndTexts)
{
    struct Case {
        const char* cls;
        QStringList inputs;
        QString output;
        QString prefix;
        bool clocked;
        const char* english;
    };
    const Case cases[] = {
        {"TBTHiTakt", {}, QString(), "G", false, "Pulse generator\r1Hz...1kHz"},
        {"TBTTaktgeber_ES", {"f"}, "CLK", "G", true, "Pulse, adjustable\r0,1s...1000s"},
        {"TBTVCO", {"f"}, "CLK", "VCO", false, "Pulse, adjustable\r0.01Hz...1kHz"},
    };
    Ctx().CurrentLanguage = 1;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.cls);
        auto c = Create(k.cls);
        ASSERT_TRUE(c);
        EXPECT_EQ(PinNames(c->Inputs), k.inputs);
        EXPECT_EQ(PinNames(c->Outputs), QStringList{k.output});
        EXPECT_EQ(c->Prefix(), k.prefix);
        EXPECT_EQ(c->Clocked, k.clocked);
        EXPECT_EQ(c->GetTypeName(), QString::fromUtf8(k.english));
    }
}
