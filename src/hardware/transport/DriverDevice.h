#pragma once
// The base of a device that needs something this system may lack: a maker's library
// (TVendorLibraryDevice), a maker's ActiveX control (TActiveXDevice), or a service such as an
// OPC server. When it is missing, the user is told (that the maker's driver is needed, or why
// the service cannot be reached): once per run however often the device asks, and each time
// the settings dialog asks. A device whose driver is missing stays unopened for the
// run: it checks first in its SimStart and returns without starting when the check fails; its
// steps then do nothing, and the circuit runs on.

#include "hardware/framework/IoInterface.h"

class TDriverDevice : public TIOInterface {
public:
    void SimStop() override;

protected:
    // present: whether the maker's part is there. When it is not, the driver-needed message
    // captioned with Name, once until the run ends. Returns present.
    bool CheckDriver(bool present);
    // The same for the settings dialog: the message each time the part is missing.
    bool CheckDriverForDialog(bool present);
    // For a service: when it is not there, a warning with the reason, captioned with Name,
    // once until the run ends. Returns present.
    bool CheckService(bool present, const QString& reason);

private:
    bool TellOnce(bool present, const std::function<void()>& tell);
    bool m_toldThisRun = false;
};
