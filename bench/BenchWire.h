#pragma once
// A wire on a benchmark board: two segments from one pin's end to another's.

#include "core/board/Platine.h"
#include "core/model/Iobt.h"

#include <QPoint>

namespace {

// The wire bends at a point of its own: half-way, moved by (1, 2 + lane).
inline void Wire(TPlatine& board, const TBauteilPin& from, const TBauteilPin& to, int lane)
{
    const QPoint a(from.X, from.Y);
    const QPoint b(to.X, to.Y);
    const QPoint bend((a.x() + b.x()) / 2 + 1, (a.y() + b.y()) / 2 + 2 + lane);
    board.AddSegment(a, bend);
    board.AddSegment(bend, b);
}

} // namespace
