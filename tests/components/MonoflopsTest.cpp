// Monoflops on a fake clock (trigger edges, retrigger, reset, the duration from an input, older
// records, a running pulse kept in the state file) and the tick-counted switch delay.
#include "ComponentTestSupport.h"
#include "components/timing/Monoflops.h"
#include "components/timing/RegisterTiming.h"
#include "platform/IniFile.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using MonoflopsTest = TTimedComponentTest<RegisterTimingComponents, true>;

bool Q(const TIOBauteil& c)
{
    return c.Outputs[1]->Value >= 2.5L;
}
bool NotQ(const TIOBauteil& c)
{
    return c.Outputs[0]->Value >= 2.5L;
}

} // namespace

// A falling edge on "|E" starts the pulse; a second edge after 0.5 s restarts it with retrigger
// and is ignored without; the reset ends a pulse and loses the edge it sees. Steps of 10 ms.
TEST_F(MonoflopsTest, MonoflopPulses)
{
    // Per case: the trigger level and the reset level in each 10-ms step (as runs of steps),
    // and the steps in which "Q" is high.
    struct Phase {
        int steps;
        bool e;
        bool rst;
    };
    struct Case {
        const char* what;
        bool retrigger;
        std::vector<Phase> phases;
        int firstHigh, lastHigh;  // 0 .. : step numbers from 1; firstHigh 0 = never high
    };
    const Case cases[] = {
        {"one edge", true, {{1, true, true}, {200, false, true}}, 2, 101},
        {"retriggered", true,
         {{1, true, true}, {49, false, true}, {1, true, true}, {200, false, true}}, 2, 151},
        {"not retriggered", false,
         {{1, true, true}, {49, false, true}, {1, true, true}, {200, false, true}}, 2, 101},
        {"rising edge only", true, {{1, false, true}, {200, true, true}}, 0, 0},
        {"reset ends the pulse", true,
         {{1, true, true}, {30, false, true}, {1, false, false}, {100, false, true}}, 2, 31},
        {"edge lost in reset", true, {{1, true, true}, {1, false, false}, {100, false, true}}, 0,
         0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto c = Create<TBTMonoFlop>();
        TDrivers in(*c, true);
        c->Retrigger = k.retrigger;
        c->SimReset();
        EXPECT_TRUE(NotQ(*c));
        int step = 0;
        int first = 0;
        int last = 0;
        for (const Phase& p : k.phases) {
            for (int n = 0; n < p.steps; ++n) {
                ++step;
                in.Set(0, p.e);
                in.Set(1, p.rst);
                StepAfter(*c, 10 * kMs);
                EXPECT_NE(Q(*c), NotQ(*c)) << "step " << step;
                if (Q(*c)) {
                    if (first == 0)
                        first = step;
                    last = step;
                }
            }
        }
        EXPECT_EQ(first, k.firstHigh);
        EXPECT_EQ(last, k.lastHigh);
    }
}

// The duration is taken from "T" in every step: unconnected, the pulse ends in the next step;
// a change during a pulse moves its end.
TEST_F(MonoflopsTest, DynamicMonoflopTakesItsDurationFromTheInput)
{
    auto c = Create<TBTMonoFlopDyn>();
    ASSERT_EQ(PinNames(c->Inputs), (QStringList{"|E", "T", "/RST"}));
    TInputs in(*c);
    in.Set(0, 5).Set(2, 5);
    c->SimReset();
    StepAfter(*c, kMs);
    in.Set(0, 0);
    StepAfter(*c, kMs);
    EXPECT_TRUE(Q(*c));  // "T" unconnected: 0 ms
    StepAfter(*c, kMs);
    EXPECT_FALSE(Q(*c));

    in.Set(0, 5).Set(1, 0.2L);
    StepAfter(*c, kMs);
    in.Set(0, 0);
    StepAfter(*c, kMs);  // pulse from here
    EXPECT_TRUE(Q(*c));
    StepAfter(*c, 150 * kMs);
    EXPECT_TRUE(Q(*c));
    in.Set(1, 0.1L);  // now past the new end
    StepAfter(*c, kMs);
    EXPECT_FALSE(Q(*c));
    EXPECT_EQ(c->DurationMs, 100);
}

TEST_F(MonoflopsTest, MonoflopRecordsOfEveryVersion)
{
    auto c = Create<TBTMonoFlop>();
    c->Duration = 2.5L;
    c->Retrigger = false;
    const QByteArray data = Write(*c);
    auto copy = Create<TBTMonoFlop>();
    ASSERT_TRUE(Read(*copy, data));
    EXPECT_EQ(copy->Duration, 2.5L);
    EXPECT_FALSE(copy->Retrigger);
    EXPECT_EQ(Write(*copy), data);

    // Before version 40 the duration was an Integer of 50-ms units, without retrigger.
    for (uint8_t version : {3, 39}) {
        QByteArray old = ComponentPart(2, 2, version);
        QBuffer buffer(&old);
        buffer.open(QIODevice::Append);
        TWriter(buffer).WriteInteger(30);
        buffer.close();
        auto m = Create<TBTMonoFlop>();
        m->Retrigger = true;
        ASSERT_TRUE(Read(*m, old, version));
        EXPECT_DOUBLE_EQ(double(m->Duration), 1.5);
        EXPECT_TRUE(m->Retrigger);
    }

    auto dyn = Create<TBTMonoFlopDyn>();
    dyn->Retrigger = false;
    auto dynCopy = Create<TBTMonoFlopDyn>();
    ASSERT_TRUE(Read(*dynCopy, Write(*dyn)));
    EXPECT_FALSE(dynCopy->Retrigger);
}

// A pulse running when a run stops starts again, with its full duration, at the next start.
TEST_F(MonoflopsTest, RunningPulseKeptInTheStateFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TIniFile ini(dir.filePath(QStringLiteral("state.set")));
    auto c = Create<TBTMonoFlop>();
    TDrivers in(*c, true);
    c->PrevTrigger = true;
    c->SimReset();
    in.Set(0, false);
    StepAfter(*c, kMs);
    ASSERT_TRUE(Q(*c));
    c->SaveSettings(ini, QStringLiteral("MAIN"));
    c->SimEnd();
    EXPECT_FALSE(Q(*c));

    StepAfter(*c, 5000 * kMs);  // the pause between runs does not count
    c->SimReset();
    EXPECT_TRUE(c->LoadSettings(ini, QStringLiteral("MAIN"), false));
    EXPECT_TRUE(Q(*c));
    EXPECT_FALSE(NotQ(*c));
    StepAfter(*c, 999 * kMs);
    EXPECT_TRUE(Q(*c));
    StepAfter(*c, kMs);
    EXPECT_FALSE(Q(*c));
}

TEST_F(MonoflopsTest, MonoflopDialogAndHint)
{
    SetDecimalSeparatorForTesting(QLatin1Char(','));
    auto c = Create<TBTMonoFlop>();
    for (int answer : {mrCancel, mrOk}) {
        TScopedDialogResponder responder;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(Host(d).HelpContext, 18280);
            auto* text = d.findChild<QLineEdit*>(QStringLiteral("Edit"));
            auto* retrigger = d.findChild<QCheckBox*>(QStringLiteral("Check"));
            EXPECT_TRUE(text && retrigger);
            if (!text || !retrigger)
                return int(mrCancel);
            EXPECT_EQ(text->text(), QStringLiteral("1"));
            EXPECT_TRUE(retrigger->isChecked());
            text->setText(QStringLiteral("0,25"));
            return answer;
        });
        EXPECT_EQ(c->EditProperties(), answer);
        EXPECT_DOUBLE_EQ(double(c->Duration), answer == mrOk ? 0.25 : 1.0);
    }
    EXPECT_TRUE(c->GetHint().endsWith(QStringLiteral("\r0,25 s")));
    SetDecimalSeparatorForTesting(QChar());
}

// "Out" follows "In" after the delay in ticks; edges restart the count; delays of 0 pass at once.
TEST_F(MonoflopsTest, SwitchDelay)
{
    struct Case {
        const char* what;
        int32_t on, off;
        int inHighTicks;    // "In" high for this many ticks, then low
        int outRiseTick;    // tick after which "Out" is first high; -1 never, 0 in the step
        int outFallTick;    // ticks after "In" fell, until "Out" is low; 0 in the step
    };
    const Case cases[] = {
        {"on delay 10", 10, 0, 30, 10, 0},
        {"short pulse swallowed", 10, 0, 6, -1, 0},
        {"off delay 4", 0, 4, 20, 0, 4},
        {"buffer", 0, 0, 5, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto c = Create<TBTOnOffDelay>();
        c->OnDelay = k.on;
        c->OffDelay = k.off;
        TDrivers in(*c, false);
        c->SimReset();
        EXPECT_FALSE(c->Outputs[0]->Value >= 2.5L);
        in.Set(0, true);
        c->Calculate();
        int rise = c->Outputs[0]->Value >= 2.5L ? 0 : -1;
        for (int tick = 1; tick <= k.inHighTicks; ++tick) {
            c->ClockTick();
            c->Calculate();
            if (rise < 0 && c->Outputs[0]->Value >= 2.5L)
                rise = tick;
        }
        EXPECT_EQ(rise, k.outRiseTick);
        if (rise < 0)
            continue;
        in.Set(0, false);
        c->Calculate();
        int fall = c->Outputs[0]->Value >= 2.5L ? -1 : 0;
        for (int tick = 1; fall < 0 && tick <= 50; ++tick) {
            c->ClockTick();
            c->Calculate();
            if (c->Outputs[0]->Value < 2.5L)
                fall = tick;
        }
        EXPECT_EQ(fall, k.outFallTick);
    }

    // With both delays 0 every tick writes "Out" again.
    auto c = Create<TBTOnOffDelay>();
    TDrivers in(*c, true);
    c->SimReset();
    c->Calculate();
    c->Outputs[0]->Value = 0.0L;
    c->ClockTick();
    EXPECT_EQ(c->Outputs[0]->Value, 5.0L);
}

TEST_F(MonoflopsTest, SwitchDelayDialogAndRecord)
{
    auto c = Create<TBTOnOffDelay>();
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(Host(d).HelpContext, 18295);
        auto spins = d.findChildren<QSpinBox*>(QStringLiteral("Spin"));
        EXPECT_EQ(spins.size(), 2);
        if (spins.size() != 2)
            return int(mrCancel);
        EXPECT_EQ(spins[0]->maximum(), 9999);
        spins[0]->setValue(12);
        spins[1]->setValue(3);
        return int(mrOk);
    });
    EXPECT_EQ(c->EditProperties(), mrOk);
    EXPECT_EQ(c->OnDelay, 12);
    EXPECT_EQ(c->OffDelay, 3);
    auto copy = Create<TBTOnOffDelay>();
    ASSERT_TRUE(Read(*copy, Write(*c)));
    EXPECT_EQ(copy->OnDelay, 12);
    EXPECT_EQ(copy->OffDelay, 3);

    QByteArray bad = ComponentPart(1, 1, 44);
    QBuffer buffer(&bad);
    buffer.open(QIODevice::Append);
    TWriter w(buffer);
    w.WriteInteger(-4);
    w.WriteInteger(100000);
    buffer.close();
    ASSERT_TRUE(Read(*copy, bad));
    EXPECT_EQ(copy->OnDelay, 0);
    EXPECT_EQ(copy->OffDelay, 9999);
}
