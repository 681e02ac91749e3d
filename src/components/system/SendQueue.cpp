#include "components/system/SendQueue.h"

TSendQueue::~TSendQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancel = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void TSendQueue::Post(TJob job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        ++m_pending;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
    }
    m_wake.notify_one();
}

QString TSendQueue::TakeFailure()
{
    std::lock_guard lock(m_mutex);
    m_failed = false;
    return std::exchange(m_failure, QString());
}

void TSendQueue::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_cancel || !m_jobs.empty(); });
        if (m_cancel)
            return;
        TJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        lock.unlock();
        const QString failure = job(m_cancel);
        lock.lock();
        if (!failure.isEmpty() && !m_cancel) {
            m_failure = failure;
            m_failed.store(true, std::memory_order_release);
        }
        --m_pending;
    }
}
