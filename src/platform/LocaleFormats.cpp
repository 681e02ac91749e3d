#include "platform/LocaleFormats.h"

#include <QLocale>

namespace {

QStringList Split(const char* list)
{
    return QString::fromUtf8(list).split(u'|');
}

std::vector<TLocaleFormats> MakeTables()
{
    std::vector<TLocaleFormats> tables;
    TLocaleFormats de;
    de.name = QStringLiteral("de_DE");
    de.shortDateFormat = QStringLiteral("dd.MM.yyyy");
    de.longDateFormat = QStringLiteral("dddd, d. MMMM yyyy");
    de.dateSeparator = u'.';
    de.timeSeparator = u':';
    de.decimalSeparator = u',';
    de.thousandSeparator = u'.';
    de.shortMonthNames = Split("Jan|Feb|Mär|Apr|Mai|Jun|Jul|Aug|Sep|Okt|Nov|Dez");
    de.longMonthNames = Split("Januar|Februar|März|April|Mai|Juni|Juli|August|September|Oktober|November|Dezember");
    de.shortDayNames = Split("So|Mo|Di|Mi|Do|Fr|Sa");
    de.longDayNames = Split("Sonntag|Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag");
    de.currencySymbol = QStringLiteral("€");
    de.positiveCurrencyCode = 3;
    de.negativeCurrencyCode = 8;
    de.monetaryThousandSeparator = u'.';
    tables.push_back(de);

    TLocaleFormats us;
    us.name = QStringLiteral("en_US");
    us.shortDateFormat = QStringLiteral("M/d/yyyy");
    us.longDateFormat = QStringLiteral("dddd, MMMM d, yyyy");
    us.dateSeparator = u'/';
    us.timeSeparator = u':';
    us.decimalSeparator = u'.';
    us.thousandSeparator = u',';
    us.shortMonthNames = Split("Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec");
    us.longMonthNames = Split("January|February|March|April|May|June|July|August|September|October|November|December");
    us.shortDayNames = Split("Sun|Mon|Tue|Wed|Thu|Fri|Sat");
    us.longDayNames = Split("Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday");
    us.currencySymbol = QStringLiteral("$");
    us.positiveCurrencyCode = 0;
    us.negativeCurrencyCode = 0;
    us.monetaryThousandSeparator = u',';
    tables.push_back(us);

    TLocaleFormats gb = us;
    gb.name = QStringLiteral("en_GB");
    gb.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    gb.longDateFormat = QStringLiteral("dd MMMM yyyy");
    gb.currencySymbol = QStringLiteral("£");
    gb.negativeCurrencyCode = 1;
    tables.push_back(gb);

    TLocaleFormats fr;
    fr.name = QStringLiteral("fr_FR");
    fr.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    fr.longDateFormat = QStringLiteral("dddd d MMMM yyyy");
    fr.dateSeparator = u'/';
    fr.timeSeparator = u':';
    fr.decimalSeparator = u',';
    fr.thousandSeparator = QChar(0x00A0);
    fr.shortMonthNames = Split("janv.|févr.|mars|avr.|mai|juin|juil.|août|sept.|oct.|nov.|déc.");
    fr.longMonthNames = Split("janvier|février|mars|avril|mai|juin|juillet|août|septembre|octobre|novembre|décembre");
    fr.shortDayNames = Split("dim.|lun.|mar.|mer.|jeu.|ven.|sam.");
    fr.longDayNames = Split("dimanche|lundi|mardi|mercredi|jeudi|vendredi|samedi");
    fr.currencySymbol = QStringLiteral("€");
    fr.positiveCurrencyCode = 3;
    fr.negativeCurrencyCode = 8;
    fr.monetaryThousandSeparator = QChar(0x00A0);
    tables.push_back(fr);
    return tables;
}

const std::vector<TLocaleFormats>& Tables()
{
    static const std::vector<TLocaleFormats> tables = MakeTables();
    return tables;
}

QChar FirstOf(const QString& s, QChar fallback)
{
    return s.isEmpty() ? fallback : s.at(0);
}

// The separator between the first two fields of a date format.
QChar SeparatorOf(const QString& format)
{
    for (QChar c : format)
        if (!c.isLetter())
            return c;
    return u'/';
}

// A locale without a table of its own: Qt's data, the currency placed where Qt puts it.
TLocaleFormats FromQt(const QLocale& l)
{
    TLocaleFormats f;
    f.name = l.name();
    f.shortDateFormat = l.dateFormat(QLocale::ShortFormat);
    f.longDateFormat = l.dateFormat(QLocale::LongFormat);
    f.dateSeparator = SeparatorOf(f.shortDateFormat);
    f.timeSeparator = SeparatorOf(l.timeFormat(QLocale::ShortFormat));
    f.decimalSeparator = FirstOf(l.decimalPoint(), u'.');
    f.thousandSeparator = FirstOf(l.groupSeparator(), u',');
    f.monetaryThousandSeparator = f.thousandSeparator;
    for (int m = 1; m <= 12; ++m) {
        f.shortMonthNames << l.monthName(m, QLocale::ShortFormat);
        f.longMonthNames << l.monthName(m, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;   // Qt counts Monday 1 .. Sunday 7
        f.shortDayNames << l.dayName(qtDay, QLocale::ShortFormat);
        f.longDayNames << l.dayName(qtDay, QLocale::LongFormat);
    }
    f.currencySymbol = l.currencySymbol();
    const QString one = l.toCurrencyString(1.0);
    const bool symbolFirst = one.startsWith(f.currencySymbol);
    const bool spaced = one.contains(u' ') || one.contains(QChar(0x00A0));
    f.positiveCurrencyCode = symbolFirst ? (spaced ? 2 : 0) : (spaced ? 3 : 1);
    f.negativeCurrencyCode = symbolFirst ? (spaced ? 9 : 1) : (spaced ? 8 : 5);
    return f;
}

const TLocaleFormats& SystemFormats()
{
    static const TLocaleFormats formats = [] {
        const QLocale system = QLocale::system();
        if (const TLocaleFormats* table = BuiltInLocaleFormats(system.name()))
            return *table;
        return FromQt(system);
    }();
    return formats;
}

const TLocaleFormats* g_installed = nullptr;

} // namespace

const TLocaleFormats* BuiltInLocaleFormats(const QString& name)
{
    for (const TLocaleFormats& f : Tables())
        if (f.name == name)
            return &f;
    return nullptr;
}

const TLocaleFormats& LocaleFormats()
{
    return g_installed ? *g_installed : SystemFormats();
}

TScopedLocaleFormats::TScopedLocaleFormats(const TLocaleFormats& formats)
    : m_formats(formats)
    , m_previous(g_installed)
{
    g_installed = &m_formats;
}

TScopedLocaleFormats::TScopedLocaleFormats(const QString& name)
    : TScopedLocaleFormats(*BuiltInLocaleFormats(name))
{
}

TScopedLocaleFormats::~TScopedLocaleFormats()
{
    g_installed = m_previous;
}
