#pragma once
// The base of a device that reaches its hardware through a maker's library (TVendorLibrary).
// A missing library is told as TDriverDevice says, and the device stays unopened for the run.

#include "hardware/transport/DriverDevice.h"

class TVendorLibrary;

class TVendorLibraryDevice : public TDriverDevice {
public:
    explicit TVendorLibraryDevice(TVendorLibrary& library) : m_library(library) {}

    TVendorLibrary& Library() const { return m_library; }
    // Loads the library without telling anyone (constructors, device lists in dialogs).
    bool LibraryReady();
    // Loads the library; when it is missing, the driver-needed message once per run, false.
    bool CheckLibrary() { return CheckDriver(LibraryReady()); }
    // The same for the settings dialog: the message each time the library is missing.
    bool CheckLibraryForDialog() { return CheckDriverForDialog(LibraryReady()); }
    // Why the library could not be loaded (for the component's hint); empty when loaded.
    QString StatusMessage() const override;

private:
    TVendorLibrary& m_library;
};
