#include "core/engine/EventPump.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>

void TEventPump::Pump()
{
    const uint32_t now = Clock().TickCount();
    if (!m_started) {
        m_started = true;
        m_last = now;
        return;
    }
    if (now - m_last < kIntervalMs)
        return;
    m_last = now;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
