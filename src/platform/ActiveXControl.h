#pragma once
// Makers' ActiveX controls, created by class identifier for the role a driver needs of them
// (the roles are in ActiveXRoles.h). This system registers none of its own: a control exists
// only where a backend (or a test's fake) registered a maker for its class identifier, and a
// driver treats nullptr as "the control is not installed".

#include <QString>

#include <functional>
#include <memory>

// The root of every role; a control is freed through it.
class IActiveXControl {
public:
    virtual ~IActiveXControl() = default;
};

using TActiveXMaker = std::function<std::unique_ptr<IActiveXControl>()>;

// Registers a maker for a class identifier ("{3FA65AAD-...}", compared without regard to case
// and braces); an empty maker removes it.
void RegisterActiveXControl(const QString& classId, TActiveXMaker maker);

// A new control of the class identifier, or nullptr when none is registered.
std::unique_ptr<IActiveXControl> CreateActiveXControl(const QString& classId);

// A new control of the class identifier in the role TRole, or nullptr when none is registered
// or the control does not play that role.
template <class TRole>
std::unique_ptr<TRole> CreateActiveXControl(const QString& classId)
{
    std::unique_ptr<IActiveXControl> control = CreateActiveXControl(classId);
    if (auto* role = dynamic_cast<TRole*>(control.get())) {
        control.release();
        return std::unique_ptr<TRole>(role);
    }
    return nullptr;
}
