#include "core/editing/EditingTypes.h"

void TSelector::StartAt(QPoint p)
{
    Start = p;
    Corner = p;
    Opposite = p;
    Active = true;
    Square = false;
    Centred = false;
}

void TSelector::DragTo(QPoint p)
{
    if (!Active)
        return;
    QPoint corner = p;
    if (Square) {
        if (p.y() - Start.y() < p.x() - Start.x())
            corner.setY(Start.y() + (p.x() - Start.x()));
        else
            corner.setX(Start.x() + (p.y() - Start.y()));
    }
    Corner = corner;
    Opposite = Centred ? 2 * Start - corner : Start;
}

TRect TSelector::Rect() const
{
    return TRect{Opposite.x(), Opposite.y(), Corner.x(), Corner.y()}.Normalized();
}
