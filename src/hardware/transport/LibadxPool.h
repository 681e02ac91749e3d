#pragma once
// The program-wide pool of LIBADX controls: devices that address the same device text share one
// control, opened when its first user acquires it and closed and freed when its last user
// releases it. The devices use it at run start and run end only.

#include "platform/ActiveXRoles.h"

#include <QString>

#include <memory>
#include <vector>

class TLibadxPool {
public:
    // The control for an address text (compared exactly): the shared one, or a new one that is
    // opened with the address (its answer is the caller's to ask again). nullptr when this
    // system has no LIBADX control; the address still counts one more user.
    ILibadxControl* Acquire(const QString& address);
    // One user fewer for the address; the last one closes and frees the control. Nothing for
    // an address that is not held.
    void Release(const QString& address);
    // How many users hold the address (0 when none).
    int32_t UseCount(const QString& address) const;

private:
    struct TEntry {
        QString address;
        std::unique_ptr<ILibadxControl> control;
        int32_t uses = 0;
    };
    std::vector<TEntry> m_entries;
};

// The one pool of the program.
TLibadxPool& LibadxPool();
