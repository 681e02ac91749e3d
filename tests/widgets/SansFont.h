#pragma once
// The 12-pixel Arial (its stand-in) that the list tests lay their items out in.

#include <QFont>

inline QFont Sans()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    return f;
}
