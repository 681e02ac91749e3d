#pragma once
// How a locale writes dates and amounts: date formats and separators, month and day names, the
// two-digit-year window and the currency settings. The program reads them from its own tables by
// the name of the user's locale (so every machine with that locale gets the same values); a
// locale without a table is built from Qt's locale data. Tests install a locale of their own.

#include <QChar>
#include <QString>
#include <QStringList>

struct TLocaleFormats {
    QString name;                    // e.g. "de_DE"
    QString shortDateFormat;         // letters d, M, y; e.g. "dd.MM.yyyy"
    QString longDateFormat;
    QChar dateSeparator, timeSeparator;
    QChar decimalSeparator, thousandSeparator;
    QStringList shortMonthNames, longMonthNames;   // January first, 12 each
    QStringList shortDayNames, longDayNames;       // Sunday first, 7 each
    // Two-digit years above this lie in the previous century.
    int twoDigitYearWindow = 50;
    QString currencySymbol;
    int positiveCurrencyCode = 0;    // 0 "¤1", 1 "1¤", 2 "¤ 1", 3 "1 ¤"
    int negativeCurrencyCode = 1;    // 0 .. 15, the sixteen negative patterns
    QString monetaryGrouping = QStringLiteral("3;0");   // digits per group, ';'-separated
    QString currencyDigits = QStringLiteral("2");
    QChar monetaryThousandSeparator;
};

// The locale in use: a test's, else the user's (read once).
const TLocaleFormats& LocaleFormats();
// The built-in table of a locale name ("de_DE", "en_US", "en_GB", "fr_FR"); nullptr when there
// is none.
const TLocaleFormats* BuiltInLocaleFormats(const QString& name);

// For tests: the given locale is in use for the scope.
class TScopedLocaleFormats {
public:
    explicit TScopedLocaleFormats(const TLocaleFormats& formats);
    // A built-in table by name.
    explicit TScopedLocaleFormats(const QString& name);
    ~TScopedLocaleFormats();
    TScopedLocaleFormats(const TScopedLocaleFormats&) = delete;
    TScopedLocaleFormats& operator=(const TScopedLocaleFormats&) = delete;
    TLocaleFormats& Formats() { return m_formats; }

private:
    TLocaleFormats m_formats;
    const TLocaleFormats* m_previous;
};
