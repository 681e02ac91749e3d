#include "hardware/usbio/IowkitLibrary.h"

void TIowkitLibrary::AfterLoad()
{
    m_first = IowKitOpenDevice.Call().value_or(nullptr);
}

void TIowkitLibrary::BeforeFree()
{
    if (m_first)
        IowKitCloseDevice.Call(m_first);
    m_first = nullptr;
}

TIowkitLibrary& Iowkit()
{
    static TIowkitLibrary library;
    return library;
}
