#pragma once
// The base of a device that reaches its hardware through a maker's ActiveX control in one role
// (platform/ActiveXRoles.h). The control is created with the device and lives as long as it;
// Control is empty when this system has no such control, which is told as TDriverDevice says.

#include "hardware/transport/DriverDevice.h"
#include "platform/ActiveXControl.h"

template <class TRole>
class TActiveXDevice : public TDriverDevice {
public:
    explicit TActiveXDevice(const QString& classId)
        : Control(CreateActiveXControl<TRole>(classId))
    {
    }

    std::unique_ptr<TRole> Control;

    // Whether the control is there; when not, the driver-needed message once per run.
    bool CheckControl() { return CheckDriver(Control != nullptr); }
    // The same for the settings dialog: the message each time the control is missing.
    bool CheckControlForDialog() { return CheckDriverForDialog(Control != nullptr); }
};
