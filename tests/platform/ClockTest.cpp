#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockTest, FakeClockMovesOnlyWhenAdvancedAndIsRemovedWithItsScope)
{
    IClock* system = &Clock();
    EXPECT_NE(dynamic_cast<TSystemClock*>(system), nullptr);
    {
        TScopedFakeClock fake;
        IClock& c = Clock();
        EXPECT_EQ(&c, &fake.clock);
        EXPECT_EQ(c.PerformanceFrequency(), 1000000000);
        EXPECT_EQ(c.PerformanceCounter(), 0);
        EXPECT_EQ(c.PerformanceCounter(), 0);

        fake.clock.AdvanceNs(1500000);
        EXPECT_EQ(c.PerformanceCounter(), 1500000);
        EXPECT_EQ(c.TickCount(), 1u);
        fake.clock.AdvanceSeconds(2.5);
        fake.clock.AdvanceMs(3);
        EXPECT_EQ(c.PerformanceCounter(), 2504500000);
        EXPECT_EQ(c.TickCount(), 2504u);
        EXPECT_EQ(c.LocalTime(), QDateTime(QDate(2026, 1, 1), QTime(0, 0, 2, 504)));
    }
    EXPECT_EQ(&Clock(), system);
}

TEST(ClockTest, TickCountWrapsAtTwoToThe32Milliseconds)
{
    TFakeClock clock(QDateTime(QDate(2030, 6, 1), QTime(12, 0)));
    clock.AdvanceMs((int64_t(1) << 32) + 5);
    EXPECT_EQ(clock.TickCount(), 5u);
    EXPECT_EQ(clock.LocalTime().date(), QDate(2030, 7, 21)); // 49.7 days later
}

} // namespace
