// High-resolution timer: ticks released one by one through a fake tick source.
#include "core/engine/HiTimer.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

// Releases ticks only when the test says so, and records the deadlines asked for.
class TFakeTickSource : public THiTimerTickSource {
public:
    explicit TFakeTickSource(int64_t now) : m_now(now) {}

    int64_t Now() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_now;
    }

    bool WaitUntil(int64_t deadlineNs) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_deadlines.push_back(deadlineNs);
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_cancelled || m_released > 0; });
        if (m_cancelled)
            return false;
        --m_released;
        m_now = std::max(m_now, deadlineNs);
        return true;
    }

    void Cancel() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
        m_changed.notify_all();
    }

    // Lets one waiting (or the next) WaitUntil return.
    void Release()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_released;
        m_changed.notify_all();
    }

    // Releases one tick and blocks until the thread has dealt with it and waits for the next
    // deadline. The bound only guards against a hang; the outcome does not depend on it.
    bool Tick()
    {
        size_t waits;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            waits = m_deadlines.size();
        }
        Release();
        return AwaitWaits(waits + 1);
    }

    // Blocks until the thread has asked for its n-th deadline.
    bool AwaitWaits(size_t n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(30),
                           [&] { return m_deadlines.size() >= n || m_cancelled; });
        return m_deadlines.size() >= n;
    }

    void SetNow(int64_t now)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_now = now;
    }
    std::vector<int64_t> Deadlines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_deadlines;
    }
    bool Cancelled()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_cancelled;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int64_t m_now;
    int m_released = 0;
    bool m_cancelled = false;
    std::vector<int64_t> m_deadlines;
};

constexpr int64_t Start = 1000000000; // fake clock at creation of a tick source, ns
constexpr int64_t Ms = 1000000;

class HiTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        timer.SetTickSourceFactory([this] {
            sources.push_back(std::make_shared<TFakeTickSource>(Start));
            return sources.back();
        });
    }
    void TearDown() override { ResetContext(); }

    // Delivers the ticks that were posted to this thread.
    static void Deliver() { QCoreApplication::processEvents(); }

    // Processes events until the condition holds (bounded only against a hang).
    static bool ProcessUntil(const std::function<bool()>& done)
    {
        QTimer wake; // lets the wait below return now and then
        wake.start(50);
        QElapsedTimer guard;
        guard.start();
        while (!done() && guard.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return done();
    }

    // A timer as the program uses it: ticks posted to the GUI thread.
    void StartPosting(uint32_t interval = 10)
    {
        timer.SetUseThread(false);
        timer.SetInterval(interval);
        timer.SetOnTimer([this](TWLXHiTimer* sender) {
            EXPECT_EQ(sender, &timer);
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            ++calls;
        });
        timer.SetEnabled(true);
    }

    TFakeTickSource& Source() { return *sources.back(); }

    std::vector<std::shared_ptr<TFakeTickSource>> sources;
    int calls = 0;
    TWLXHiTimer timer;
};

TEST_F(HiTimerTest, DefaultsAndIntervalClamping)
{
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.Synchronize());
    EXPECT_TRUE(timer.UseThread());
    EXPECT_EQ(timer.ThreadPriority(), tpNormal);
    EXPECT_FALSE(timer.OnTimer());

    const std::pair<uint32_t, uint32_t> cases[] = {
        {0, TWLXHiTimer::MinPeriod}, {50, 50}, {5000000, TWLXHiTimer::MaxPeriod}, {1, 1}};
    for (auto [set, stored] : cases) {
        timer.SetInterval(set);
        EXPECT_EQ(timer.Interval(), stored) << set;
    }
}

// A thread runs only while the timer is enabled and has a handler; every change of a setting
// that matters restarts it.
TEST_F(HiTimerTest, ThreadRunsOnlyWhenEnabledWithHandlerAndRestartsOnChanges)
{
    timer.SetUseThread(false);
    timer.SetEnabled(true);
    EXPECT_TRUE(sources.empty()) << "no handler: nothing starts";
    timer.SetOnTimer([this](TWLXHiTimer*) { ++calls; });
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_FALSE(sources[0]->Cancelled());

    timer.SetInterval(20);
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_TRUE(sources[0]->Cancelled());
    timer.SetInterval(20); // unchanged: no restart
    timer.SetThreadPriority(tpHighest); // matters only to the threaded variant
    timer.SetSynchronize(false);
    EXPECT_EQ(sources.size(), 2u);

    timer.SetEnabled(false);
    EXPECT_TRUE(sources[1]->Cancelled());
    EXPECT_EQ(sources.size(), 2u);
    timer.SetEnabled(true);
    ASSERT_EQ(sources.size(), 3u);
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(sources[2]->Cancelled());
    EXPECT_EQ(sources.size(), 3u);

    timer.SetUseThread(true);
    timer.SetOnTimer([](TWLXHiTimer*) {});
    ASSERT_EQ(sources.size(), 4u);
    timer.SetThreadPriority(tpLower);
    EXPECT_EQ(sources.size(), 5u);
}

TEST_F(HiTimerTest, EachTickIsPostedToTheGuiThread)
{
    StartPosting();
    ASSERT_TRUE(Source().AwaitWaits(1));
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(Source().Tick());
        EXPECT_EQ(calls, n - 1) << "the tick waits in the queue until events run";
        Deliver();
        EXPECT_EQ(calls, n);
    }
}

// Deadlines lie on a fixed grid from the start; deadlines missed while the thread was held up
// are skipped, not fired in a burst.
TEST_F(HiTimerTest, DeadlinesAreAbsoluteAndMissedOnesAreSkipped)
{
    StartPosting(10);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    ASSERT_TRUE(Source().Tick());
    Source().SetNow(Start + 75 * Ms); // held up until 75 ms
    ASSERT_TRUE(Source().Tick());
    ASSERT_TRUE(Source().Tick());
    const std::vector<int64_t> expected = {Start + 10 * Ms, Start + 20 * Ms, Start + 30 * Ms,
                                           Start + 80 * Ms, Start + 90 * Ms};
    EXPECT_EQ(Source().Deadlines(), expected);
}

TEST_F(HiTimerTest, TicksDoNotPileUpWhileUndelivered)
{
    StartPosting();
    ASSERT_TRUE(Source().AwaitWaits(1));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 2);
}

// The handler lets events run (as the simulation handlers do); a tick delivered meanwhile is
// dropped instead of nesting.
TEST_F(HiTimerTest, TickArrivingWhileHandlerRunsIsDropped)
{
    timer.SetUseThread(false);
    timer.SetInterval(1);
    int depth = 0, maxDepth = 0;
    timer.SetOnTimer([&](TWLXHiTimer*) {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) {
            EXPECT_TRUE(Source().Tick());
            Deliver();
        }
        --depth;
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(maxDepth, 1);
    Deliver();
    EXPECT_EQ(calls, 1) << "the dropped tick does not come back later";
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 2);
}

TEST_F(HiTimerTest, TicksOfAStoppedThreadAreNotDelivered)
{
    StartPosting();
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    timer.SetInterval(25); // restart while the tick waits in the queue
    Deliver();
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    timer.SetEnabled(false);
    Deliver();
    EXPECT_EQ(calls, 0);
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 1);
}

TEST_F(HiTimerTest, HandlerMayStopItsOwnTimer)
{
    timer.SetUseThread(false);
    timer.SetOnTimer([this](TWLXHiTimer* t) {
        ++calls;
        t->SetEnabled(false);
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(Source().Cancelled());
}

TEST_F(HiTimerTest, ErrorOfTheHandlerIsReportedAndTickingGoesOn)
{
    TScopedMessageResponder responder;
    timer.SetUseThread(false);
    timer.SetOnTimer([this](TWLXHiTimer*) {
        if (++calls == 1)
            throw std::runtime_error("Messwert fehlt");
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    Deliver();
    ASSERT_EQ(responder.Requests().size(), 1u);
    EXPECT_EQ(responder.Requests()[0].text, QStringLiteral("Messwert fehlt"));
    EXPECT_EQ(responder.Requests()[0].type, mtError);
    ASSERT_TRUE(Source().Tick());
    Deliver();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(responder.Requests().size(), 1u);
}

TEST_F(HiTimerTest, NoTimerAvailableRaisesFromTheSetter)
{
    timer.SetTickSourceFactory([] { return std::shared_ptr<THiTimerTickSource>(); });
    timer.SetUseThread(false);
    timer.SetOnTimer([](TWLXHiTimer*) {});
    try {
        timer.SetEnabled(true);
        ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8("Nicht genügend Timer verfügbar"));
    }
}

// The threaded variant sleeps the interval after each tick and, synchronised, waits until the
// handler has run in the GUI thread before it sleeps again.
TEST_F(HiTimerTest, ThreadedVariantWaitsForTheHandlerInTheGuiThread)
{
    timer.SetInterval(15);
    size_t waitsDuringHandler = 0;
    timer.SetOnTimer([&](TWLXHiTimer*) {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        waitsDuringHandler = Source().Deadlines().size();
        ++calls;
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    Source().SetNow(Start + 22 * Ms); // woken late: the next sleep counts from here
    Source().Release();
    ASSERT_TRUE(ProcessUntil([&] { return calls == 1; }));
    EXPECT_EQ(waitsDuringHandler, 1u);
    ASSERT_TRUE(Source().AwaitWaits(2));
    const std::vector<int64_t> expected = {Start + 15 * Ms, Start + 37 * Ms};
    EXPECT_EQ(Source().Deadlines(), expected);
}

TEST_F(HiTimerTest, ThreadedVariantWithoutSynchronizeRunsTheHandlerInItsThread)
{
    timer.SetSynchronize(false);
    std::mutex m;
    std::vector<QThread*> threads;
    timer.SetOnTimer([&](TWLXHiTimer*) {
        std::lock_guard<std::mutex> lock(m);
        threads.push_back(QThread::currentThread());
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(Source().AwaitWaits(1));
    ASSERT_TRUE(Source().Tick());
    ASSERT_TRUE(Source().Tick());
    timer.SetEnabled(false);
    ASSERT_EQ(threads.size(), 2u);
    EXPECT_NE(threads[0], qApp->thread());
}

TEST_F(HiTimerTest, DestroyedTimerDropsItsQueuedTick)
{
    auto own = std::make_unique<TWLXHiTimer>();
    std::shared_ptr<TFakeTickSource> source;
    own->SetTickSourceFactory([&] { return source = std::make_shared<TFakeTickSource>(Start); });
    own->SetUseThread(false);
    own->SetOnTimer([this](TWLXHiTimer*) { ++calls; });
    own->SetEnabled(true);
    ASSERT_TRUE(source->AwaitWaits(1));
    ASSERT_TRUE(source->Tick());
    own.reset();
    EXPECT_TRUE(source->Cancelled());
    Deliver();
    EXPECT_EQ(calls, 0);
}

// The one test on the real clock: ticks arrive at all.
TEST(HiTimerRealClockTest, TicksArrive)
{
    TWLXHiTimer timer;
    int calls = 0;
    timer.SetUseThread(false);
    timer.SetInterval(1);
    timer.SetOnTimer([&](TWLXHiTimer*) { ++calls; });
    timer.SetEnabled(true);
    QTimer wake;
    wake.start(100);
    QElapsedTimer guard;
    guard.start();
    while (calls < 3 && guard.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    timer.SetEnabled(false);
    EXPECT_GE(calls, 3);
}

} // namespace
