#pragma once
// Work that must not hold up the simulation step (sending e-mail) runs here, one job after
// the other, in a thread of its own that starts with the first job. The step posts a job and
// later picks up failures with one atomic read.

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class TSendQueue {
public:
    // A job gets the flag that is set when the queue shuts down; it returns an empty text on
    // success, else what went wrong.
    using TJob = std::function<QString(const std::atomic<bool>& cancel)>;

    TSendQueue() = default;
    // Cancels the job under way, drops the waiting ones and waits for the thread.
    ~TSendQueue();
    TSendQueue(const TSendQueue&) = delete;
    TSendQueue& operator=(const TSendQueue&) = delete;

    void Post(TJob job);
    // True while a failure waits to be taken (cheap: one atomic read).
    bool HasFailure() const { return m_failed.load(std::memory_order_acquire); }
    // The text of the latest failure, and clears it.
    QString TakeFailure();
    // True while jobs wait or run.
    bool Busy() const { return m_pending.load() > 0; }

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<TJob> m_jobs;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_failed{false};
    std::atomic<int> m_pending{0};
    QString m_failure;  // under m_mutex
};
