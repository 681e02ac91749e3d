#include "platform/Locale.h"

#include <QLocale>

#include <atomic>

namespace {
// 0 means "not fixed by a test".
std::atomic<char16_t> g_override{0};

QChar SystemSeparator()
{
    // The locale does not change while the program runs; ask it once.
    static const QChar separator = [] {
        const QString point = QLocale::system().decimalPoint();
        return point.isEmpty() ? QChar(u'.') : point.at(0);
    }();
    return separator;
}
} // namespace

QChar LocaleDecimalSeparator()
{
    const char16_t fixed = g_override.load();
    if (fixed != 0)
        return QChar(fixed);
    return SystemSeparator();
}

void SetDecimalSeparatorForTesting(QChar separator)
{
    g_override.store(separator.unicode());
}
