#include "widgets/DialogPlacement.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

namespace {

QRect ScreenRect(bool workArea)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect();
    const QRect r = workArea ? screen->availableGeometry() : screen->geometry();
    return workArea ? r : QRect(QPoint(0, 0), r.size());
}

} // namespace

QRect ReferenceRect(TWLXDlgPosRel rel)
{
    if (rel == TWLXDlgPosRel::brScreenWorkArea)
        return ScreenRect(true);
    if (rel == TWLXDlgPosRel::brActiveWindow && QApplication::activeWindow())
        return QApplication::activeWindow()->frameGeometry();
    if (rel == TWLXDlgPosRel::brMainForm) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(w))
                return w->frameGeometry();
    }
    return ScreenRect(false);
}

QPoint PlacedPosition(QSize window, const QRect& reference, TWLXDlgPosition position, QSize desktop)
{
    using P = TWLXDlgPosition;
    const int w = window.width();
    const int h = window.height();
    const int left = reference.left();
    const int top = reference.top();
    const int right = reference.left() + reference.width();
    const int bottom = reference.top() + reference.height();
    int x = left;
    int y = top;
    switch (position) {
    case P::bpTopLeft: case P::bpCustom: break;
    case P::bpTopCenter: x = left + (reference.width() - w) / 2; break;
    case P::bpTopRight: x = right - w; break;
    case P::bpCenterLeft: y = top + (reference.height() - h) / 2; break;
    case P::bpCenter:
        x = left + (reference.width() - w) / 2;
        y = top + (reference.height() - h) / 2;
        break;
    case P::bpCenterRight:
        x = right - w;
        y = top + (reference.height() - h) / 2;
        break;
    case P::bpBottomLeft: y = bottom - h; break;
    case P::bpBottomCenter:
        x = left + (reference.width() - w) / 2;
        y = bottom - h;
        break;
    case P::bpBottomRight:
        x = right - w;
        y = bottom - h;
        break;
    }
    if (x + w > desktop.width())
        x = desktop.width() - w;
    if (y + h > desktop.height())
        y = desktop.height() - h;
    return QPoint(std::max(x, 0), std::max(y, 0));
}

void PlaceWindow(QWidget* window, const QRect& reference, TWLXDlgPosition position)
{
    if (!window)
        return;
    const QRect screen = ScreenRect(false);
    window->move(PlacedPosition(window->frameGeometry().size(), reference, position, screen.size()));
}
