#include "hardware/transport/DriverDevice.h"

#include "hardware/framework/HardwareHelpers.h"
#include "platform/MessageBox.h"

bool TDriverDevice::TellOnce(bool present, const std::function<void()>& tell)
{
    if (!present && !m_toldThisRun) {
        m_toldThisRun = true;
        tell();
    }
    return present;
}

bool TDriverDevice::CheckDriver(bool present)
{
    return TellOnce(present, [this] { ShowDriverNeeded(Name); });
}

bool TDriverDevice::CheckService(bool present, const QString& reason)
{
    return TellOnce(present, [&] {
        MessageBoxText(reason, QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                       mtWarning);
    });
}

bool TDriverDevice::CheckDriverForDialog(bool present)
{
    if (!present)
        ShowDriverNeeded(Name);
    return present;
}

void TDriverDevice::SimStop()
{
    TIOInterface::SimStop();
    m_toldThisRun = false;
}
