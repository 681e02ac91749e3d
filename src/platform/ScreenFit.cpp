#include "platform/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

QRect AvailableScreenArea()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (screen && screen->availableVirtualGeometry().isValid())
        return screen->availableVirtualGeometry();
    return QRect(0, 0, 4096, 4096);
}

QRect FitToScreen(const QRect& bounds)
{
    return FitToScreen(bounds, AvailableScreenArea());
}

QRect FitToScreen(const QRect& bounds, const QRect& area)
{
    const int width = std::clamp(bounds.width(), 0, area.width());
    const int height = std::clamp(bounds.height(), 0, area.height());
    const int left = std::clamp(bounds.x(), area.left(), area.left() + area.width() - width);
    const int top = std::clamp(bounds.y(), area.top(), area.top() + area.height() - height);
    return QRect(left, top, width, height);
}
