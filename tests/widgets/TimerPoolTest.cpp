#include "platform/Clock.h"
#include "platform/Context.h"
#include "widgets/Application.h"
#include "widgets/TimerPool.h"
#include "widgets/WLXErrors.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Advances the fake clock by one interval and lets the pool look, count times.
void Elapse(TFakeClock& clock, TWLXTimerPool& pool, int count)
{
    for (int i = 0; i < count; ++i) {
        clock.AdvanceMs(pool.MinInterval());
        pool.Poll();
    }
}

TEST(TimerPoolTest, ItemsFireOnTheirTicksInListOrder)
{
    TScopedFakeClock fake;
    TWLXTimerPool pool(50);
    std::vector<QString> fired;
    pool.AddTimer(1, 100, [&](void*) { fired.push_back(QStringLiteral("a%1").arg(pool.TickCount())); });
    pool.AddTimer(2, 150, [&](void*) { fired.push_back(QStringLiteral("b%1").arg(pool.TickCount())); });
    EXPECT_TRUE(pool.Running());
    EXPECT_EQ(pool.TickCount(), 1);
    Elapse(fake.clock, pool, 6);
    EXPECT_EQ(fired, (std::vector<QString>{"a2", "b3", "a4", "a6", "b6"}));

    // Less than an interval since the last tick: nothing; ticks missed meanwhile are dropped.
    fired.clear();
    fake.clock.AdvanceMs(49);
    pool.Poll();
    EXPECT_TRUE(fired.empty());
    fake.clock.AdvanceMs(1000);
    pool.Poll();
    EXPECT_EQ(pool.TickCount(), 8);
}

TEST(TimerPoolTest, AddingAndRemovingItems)
{
    TScopedFakeClock fake;
    TWLXTimerPool pool(50);
    pool.AddTimer(7, 50, nullptr);
    EXPECT_THROW(pool.AddTimer(7, 50, nullptr), EWLXError);
    for (int bad : {75, 25, 0}) {
        try {
            pool.AddTimer(8, bad, nullptr);
            ADD_FAILURE() << bad;
        } catch (const EWLXError& e) {
            EXPECT_STREQ(e.what(), "Interval not compatible with MinInterval property!");
        }
    }
    EXPECT_EQ(pool.FindTimer(7), 0);
    EXPECT_EQ(pool.FindTimer(8), -1);
    pool.RemoveTimer(99);
    pool.RemoveTimer(7);
    EXPECT_FALSE(pool.Running());
    pool.AddTimer(9, 100, nullptr);
    EXPECT_TRUE(pool.Running());
    EXPECT_EQ(pool.TickCount(), 1);

    // The interval is taken only at run time's loading or designing.
    pool.SetMinInterval(10);
    EXPECT_EQ(pool.MinInterval(), 50);
    EXPECT_THROW(TWLXTimerItem(nullptr, 1), EInvalidOperation);
}

TEST(TimerPoolTest, FireLimitsAndThePoolsEvent)
{
    TScopedFakeClock fake;
    TWLXTimerPool pool(50);
    std::vector<int> counters;
    pool.OnTimer = [&](TWLXTimerPool*, uint16_t ident, int counter) {
        EXPECT_EQ(ident, 3);
        counters.push_back(counter);
    };
    pool.AddTimer(3, 50, nullptr);
    pool.GetTimer(3)->FireLimit = 3;
    Elapse(fake.clock, pool, 5);
    EXPECT_EQ(counters, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(pool.GetTimer(3)->Enabled());
    EXPECT_EQ(pool.ActiveTimers(), 0);
    // A limit of 0 keeps the item off; another limit lets it run again from 0.
    pool.GetTimer(3)->FireLimit = 0;
    pool.GetTimer(3)->SetEnabled(true);
    EXPECT_FALSE(pool.GetTimer(3)->Enabled());
    pool.GetTimer(3)->FireLimit = -1;
    pool.GetTimer(3)->SetEnabled(true);
    Elapse(fake.clock, pool, 1);
    EXPECT_EQ(counters.back(), 1);
}

TEST(TimerPoolTest, AThrowingHandlerStopsNothing)
{
    TScopedFakeClock fake;
    TWLXTimerPool pool(50);
    QStringList reported;
    Application().OnException = [&](const std::exception& e) { reported << QString::fromUtf8(e.what()); };
    int second = 0;
    pool.AddTimer(1, 50, [](void*) { throw std::runtime_error("broken"); });
    pool.AddTimer(2, 50, [&](void*) { ++second; });
    Elapse(fake.clock, pool, 2);
    EXPECT_EQ(reported, (QStringList{"broken", "broken"}));
    EXPECT_EQ(second, 2);
    Application().OnException = nullptr;
}

TEST(TimerPoolTest, ATickInsideATickIsNotHandled)
{
    TScopedFakeClock fake;
    TWLXTimerPool pool(50);
    int count = 0;
    pool.AddTimer(1, 50, [&](void*) {
        ++count;
        pool.Tick();  // a handler that lets events run
    });
    Elapse(fake.clock, pool, 1);
    EXPECT_EQ(count, 1);
}

TEST(TimerPoolTest, GlobalTimers)
{
    TScopedFakeClock fake;
    TWLXApplication& app = Application();
    {
        int ticks = 0;
        TWLXTimer timer(120, true, true, [&](void*) { ++ticks; });
        EXPECT_EQ(timer.Interval(), 150);
        EXPECT_GT(timer.GlobalIdent(), TWLXApplication::kGlobalTimerBase);
        timer.SetInterval(175);  // no multiple of 50: ignored
        EXPECT_EQ(timer.Interval(), 150);
        Elapse(fake.clock, app.SharedPool(), 6);
        EXPECT_EQ(ticks, 2);
        timer.SetEnabled(false);
        Elapse(fake.clock, app.SharedPool(), 6);
        EXPECT_EQ(ticks, 2);
    }
    EXPECT_EQ(app.SharedPool().Count(), 0);

    std::vector<uint16_t> idents;
    for (int i = 0; i < TWLXApplication::kGlobalTimerSlots; ++i)
        idents.push_back(app.AddGlobalTimer(50, nullptr));
    EXPECT_EQ(idents.front(), 0xFD01);
    EXPECT_EQ(idents.back(), 0xFD00 + 250);
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), 0);
    try {
        TWLXTimer refused(50, true, true, nullptr);
        ADD_FAILURE();
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Nicht genügend Timer verfügbar"));
    }
    app.RemoveGlobalTimer(idents[10]);
    EXPECT_EQ(app.AddGlobalTimer(50, nullptr), idents[10]);
    for (uint16_t ident : idents)
        app.RemoveGlobalTimer(ident);
    EXPECT_EQ(app.SharedPool().Count(), 0);
}

TEST(TimerPoolTest, OwnTimersTickWithoutThePool)
{
    int ticks = 0;
    TWLXTimer own(20, false, false, [&](void*) { ++ticks; });
    EXPECT_FALSE(own.Enabled());
    EXPECT_EQ(own.Interval(), 20);
    own.SetEnabled(true);
    EXPECT_TRUE(own.Enabled());
    EXPECT_EQ(Application().SharedPool().Count(), 0);
}

} // namespace
