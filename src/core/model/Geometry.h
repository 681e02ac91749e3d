#pragma once
// Rectangles of the board model, held as the four edges.

#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>

// A rectangle given by its edges. Right and Bottom are exclusive, as in a Windows RECT: a point
// lies inside when Left <= x < Right and Top <= y < Bottom, and the width is Right - Left.
// ToQRect gives the QRect that covers the same points (its right() is Right - 1).
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }

    bool Contains(QPoint p) const
    {
        return p.x() >= Left && p.x() < Right && p.y() >= Top && p.y() < Bottom;
    }

    // Grown by d on every side (shrunk for negative d).
    TRect Inflated(int32_t d) const { return TRect{Left - d, Top - d, Right + d, Bottom + d}; }

    // Edges swapped where needed so that Left <= Right and Top <= Bottom.
    TRect Normalized() const
    {
        return TRect{std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
                     std::max(Top, Bottom)};
    }

    // The smallest rectangle holding both (edges taken as they are).
    TRect United(const TRect& o) const
    {
        return TRect{std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
                     std::max(Bottom, o.Bottom)};
    }

    // True when the two rectangles share at least one point.
    bool Intersects(const TRect& o) const
    {
        return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
    }

    QRect ToQRect() const { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
    static TRect FromQRect(const QRect& r)
    {
        return TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }

    bool operator==(const TRect&) const = default;
};
