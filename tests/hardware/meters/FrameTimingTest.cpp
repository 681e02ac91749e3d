// Frame window and watchdog of a serial meter on the fake clock.
#include "hardware/meters/FrameTiming.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

struct TimingFixture : ::testing::Test {
    TScopedFakeClock time;
    TSerialFrameTiming timing;
    std::vector<std::string> frames;
    int requests = 0;
    int silences = 0;
    bool accept = true;

    TimingFixture()
    {
        timing.OnFrame = [this](const std::string& frame) {
            frames.push_back(frame);
            return accept;
        };
        timing.OnRequest = [this] { ++requests; };
        timing.OnSilence = [this] { ++silences; };
        timing.Start();
    }

    void Run(int64_t ms)
    {
        for (int64_t i = 0; i < ms; i += 10) {
            time.clock.AdvanceMs(10);
            timing.Poll();
        }
    }
};

} // namespace

TEST_F(TimingFixture, ChunksWithinTheWindowAreOneFrameDecodedOnce)
{
    timing.Received("AB");
    Run(100);
    timing.Received(std::string("C\0D", 3)); // zero bytes stay in the frame
    Run(90);
    EXPECT_TRUE(frames.empty());
    Run(10); // 200 ms after the first chunk
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], std::string("ABC\0D", 5));
    EXPECT_EQ(requests, 1); // the next request follows the frame

    timing.Received(std::string("\0XY", 3)); // a frame may begin with a zero byte
    Run(200);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1], std::string("\0XY", 3));
}

TEST_F(TimingFixture, SilenceClearsReceivingFirstAndZeroesFromTheSecondPeriod)
{
    timing.Received("frame");
    Run(200);
    EXPECT_TRUE(timing.Receiving());
    Run(1800); // first watchdog period: a frame was seen
    EXPECT_TRUE(timing.Receiving());
    EXPECT_EQ(silences, 0);

    const int before = requests;
    Run(2000); // first silent period
    EXPECT_FALSE(timing.Receiving());
    EXPECT_EQ(silences, 0);
    EXPECT_EQ(requests, before + 1); // a silent meter is asked again
    Run(2000);
    EXPECT_EQ(silences, 1);
    Run(2000);
    EXPECT_EQ(silences, 2); // every further silent period

    timing.Received("frame");
    Run(200);
    EXPECT_TRUE(timing.Receiving());
    Run(2000);
    EXPECT_EQ(timing.SilenceCount(), 0);
}

TEST_F(TimingFixture, FramesTheMeterDoesNotKnowDoNotKeepItAlive)
{
    accept = false;
    for (int i = 0; i < 20; ++i) {
        timing.Received("garbage");
        Run(300);
    }
    EXPECT_FALSE(timing.Receiving());
    EXPECT_GE(silences, 1);
}

TEST_F(TimingFixture, StopEndsWindowAndWatchdogAndAStallRunsOnePeriod)
{
    timing.Received("half");
    timing.Stop();
    Run(5000);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(requests, 0);

    timing.Start();
    time.clock.AdvanceMs(60000); // the GUI thread was blocked for a minute
    timing.Poll();
    timing.Poll();
    EXPECT_EQ(requests, 1);

    std::string flood(1000, 'x');
    timing.Received(flood);
    Run(200);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].size(), TSerialFrameTiming::MaxFrame);
}
