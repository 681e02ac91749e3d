#pragma once
// Shared helpers of the ui tests.

#include <QString>

#include <ostream>

// Failure messages show QStrings as quoted text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
