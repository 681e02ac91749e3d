#pragma once
// Mouse presses for the palette tests, delivered to a widget as the window system would.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
