#pragma once
// A pool of shared connection objects: an entry lives while a device holds it, and devices that
// name the same peer get the same entry.

#include <algorithm>
#include <memory>
#include <vector>

template <class TEntry>
class TSharedPool {
public:
    // The living entry that matches, else a new one from make (appended).
    template <class TMatch, class TMake>
    std::shared_ptr<TEntry> Get(TMatch matches, TMake make)
    {
        std::erase_if(m_entries, [](const std::weak_ptr<TEntry>& e) { return e.expired(); });
        for (const auto& weak : m_entries) {
            std::shared_ptr<TEntry> entry = weak.lock();
            if (entry && matches(*entry))
                return entry;
        }
        std::shared_ptr<TEntry> entry = make();
        m_entries.push_back(entry);
        return entry;
    }
    // The entries that some device still holds.
    int Count() const
    {
        return int(std::count_if(m_entries.begin(), m_entries.end(),
                                 [](const std::weak_ptr<TEntry>& e) { return !e.expired(); }));
    }

private:
    std::vector<std::weak_ptr<TEntry>> m_entries;
};
