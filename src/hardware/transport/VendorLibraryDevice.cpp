#include "hardware/transport/VendorLibraryDevice.h"

#include "platform/VendorLibrary.h"

bool TVendorLibraryDevice::LibraryReady()
{
    return m_library.Load();
}

QString TVendorLibraryDevice::StatusMessage() const
{
    return m_library.IsLoaded() ? QString() : m_library.LastError();
}
