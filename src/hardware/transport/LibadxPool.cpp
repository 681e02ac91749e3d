#include "hardware/transport/LibadxPool.h"

#include <algorithm>

ILibadxControl* TLibadxPool::Acquire(const QString& address)
{
    for (TEntry& entry : m_entries) {
        if (entry.address == address) {
            ++entry.uses;
            return entry.control.get();
        }
    }
    TEntry entry{address, CreateActiveXControl<ILibadxControl>(kLibadxClassId), 1};
    if (entry.control)
        entry.control->Open(address);
    m_entries.push_back(std::move(entry));
    return m_entries.back().control.get();
}

void TLibadxPool::Release(const QString& address)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const TEntry& entry) { return entry.address == address; });
    if (it == m_entries.end() || --it->uses > 0)
        return;
    if (it->control)
        it->control->Close();
    m_entries.erase(it);
}

int32_t TLibadxPool::UseCount(const QString& address) const
{
    for (const TEntry& entry : m_entries)
        if (entry.address == address)
            return entry.uses;
    return 0;
}

TLibadxPool& LibadxPool()
{
    static TLibadxPool pool;
    return pool;
}
