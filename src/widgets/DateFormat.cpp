#include "widgets/DateFormat.h"

#include "platform/Clock.h"
#include "platform/LocaleFormats.h"

namespace {

bool IsFieldLetter(QChar c)
{
    return c == u'D' || c == u'M' || c == u'Y';
}

int RunLength(const QString& upper, int i)
{
    int n = 1;
    while (i + n < upper.size() && upper.at(i + n) == upper.at(i))
        ++n;
    return n;
}

// Walks a format from the left: every character that is no field letter on its own (literal with
// its index), a run of one field letter (D, M or Y, compared without regard to case) as one field
// with its length. before(c) runs ahead of each literal and each field.
template <class Before, class Literal, class Field>
void WalkFormat(const QString& format, Before before, Literal literal, Field field)
{
    const QString upper = format.toUpper();
    for (int i = 0; i < upper.size();) {
        const QChar c = upper.at(i);
        before(c);
        if (!IsFieldLetter(c)) {
            literal(i);
            ++i;
            continue;
        }
        const int run = RunLength(upper, i);
        i += run;
        field(c, run, i < upper.size() ? upper.at(i) : QChar());
    }
}

auto NoStep = [](QChar) {};

QString TwoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

QString PadTo(QString s, int width)
{
    return s.leftJustified(width, u' ');
}

// Sunday first, as the locale's day names.
int DayIndex(const QDate& date)
{
    return date.dayOfWeek() % 7;
}

int Longest(const QStringList& names)
{
    int n = 0;
    for (const QString& s : names)
        n = std::max(n, int(s.size()));
    return n;
}

// The 0-based index of the name (long names first, then short) the text begins with at p, and
// its length; -1 when none.
int NameAt(const QString& text, int p, const QStringList& longNames, const QStringList& shortNames, int& length)
{
    for (const QStringList* names : {&longNames, &shortNames}) {
        for (int i = 0; i < names->size(); ++i) {
            const QString& name = names->at(i);
            if (!name.isEmpty() && QStringView(text).mid(p).startsWith(name, Qt::CaseInsensitive)) {
                length = int(name.size());
                return i;
            }
        }
    }
    length = 0;
    return -1;
}

void SkipBlanks(const QString& text, int& p)
{
    while (p < text.size() && text.at(p) == u' ')
        ++p;
}

} // namespace

void TWLXDateFormat::SetFormatStr(const QString& value)
{
    if (value == m_formatStr)
        return;
    if (OnChanging)
        OnChanging(this);
    m_formatStr = value;
    if (m_format == TWLXDateFormats::dfCustom)
        Change();
}

void TWLXDateFormat::SetFormat(TWLXDateFormats value)
{
    if (value == m_format)
        return;
    m_format = value;
    Change();
}

void TWLXDateFormat::Assign(const TWLXDateFormat& source)
{
    m_format = source.m_format;
    YearDelta = source.YearDelta;
    m_formatStr = source.m_formatStr;
}

QString TWLXDateFormat::GetFormatString() const
{
    const TLocaleFormats& l = LocaleFormats();
    switch (m_format) {
    case TWLXDateFormats::dfShortSystem: return l.shortDateFormat;
    case TWLXDateFormats::dfLongSystem: return l.longDateFormat;
    case TWLXDateFormats::dfCustom: break;
    }
    QString s = m_formatStr;
    s.replace(u'/', l.dateSeparator);
    return s;
}

QString TWLXDateFormat::FormatDateText(const QDate& date) const
{
    const TLocaleFormats& l = LocaleFormats();
    const QString f = GetFormatString().toUpper();
    QString out;
    WalkFormat(f, NoStep, [&](int i) { out += f.at(i); }, [&](QChar c, int run, QChar) {
        if (c == u'D') {
            switch (run) {
            case 1: out += QString::number(date.day()); break;
            case 2: out += TwoDigits(date.day()); break;
            case 3: out += l.shortDayNames.value(DayIndex(date)); break;
            case 4: out += l.longDayNames.value(DayIndex(date)); break;
            default: break;
            }
        } else if (c == u'M') {
            switch (run) {
            case 1: out += QString::number(date.month()); break;
            case 2: out += TwoDigits(date.month()); break;
            case 3: out += l.shortMonthNames.value(date.month() - 1); break;
            case 4: out += l.longMonthNames.value(date.month() - 1); break;
            default: break;
            }
        } else if (run == 1 || run == 4) {
            out += QString::number(date.year());
        } else if (run == 2) {
            out += TwoDigits(date.year() % 100);
        }
    });
    return out;
}

QString TWLXDateFormat::FormatDateFixed(const QDate& date) const
{
    const TLocaleFormats& l = LocaleFormats();
    const QString f = GetFormatString();
    QString out;
    WalkFormat(f, NoStep, [&](int i) { out += f.at(i); }, [&](QChar c, int run, QChar) {
        if (c == u'Y') {
            out += run == 2 ? TwoDigits(date.year() % 100) : QString::number(date.year());
            return;
        }
        const int number = c == u'D' ? date.day() : date.month();
        if (run == 2)
            out += TwoDigits(number);
        else if (run == 3 || run == 4) {
            const bool day = c == u'D';
            const QStringList& names = day ? (run == 3 ? l.shortDayNames : l.longDayNames)
                                           : (run == 3 ? l.shortMonthNames : l.longMonthNames);
            const int index = day ? DayIndex(date) : date.month() - 1;
            out += PadTo(names.value(index), Longest(names));
        } else {
            out += PadTo(QString::number(number), 2);
        }
    });
    return out;
}

void TWLXDateFormat::ParseDate(const QString& text, int& year, int& month, int& day) const
{
    const TLocaleFormats& l = LocaleFormats();
    year = 1900;
    month = 1;
    day = 1;
    int p = 0;
    auto consumeOne = [&](int) {
        if (p < text.size())
            ++p;
    };
    WalkFormat(GetFormatString(), NoStep, consumeOne, [&](QChar c, int run, QChar next) {
        SkipBlanks(text, p);
        if ((run == 3 || run == 4) && c == u'M') {
            int length = 0;
            const int index = NameAt(text, p, l.longMonthNames, l.shortMonthNames, length);
            month = index + 1;
            p += length;
        } else if ((run == 3 || run == 4) && c == u'D') {
            int length = 0;
            if (NameAt(text, p, l.longDayNames, l.shortDayNames, length) >= 0)
                p += length;
            else
                while (p < text.size() && text.at(p).isLetter())
                    ++p;
        } else {
            const int maxDigits = run == 4 ? 4 : 2;
            int value = 0, digits = 0;
            while (digits < maxDigits && p < text.size() && text.at(p).isDigit()) {
                value = value * 10 + text.at(p).digitValue();
                ++p;
                ++digits;
            }
            if (c == u'D')
                day = value;
            else if (c == u'M')
                month = value;
            else if (digits == 0)
                year = 0;   // no year given: no date
            else {
                const int century = ThisYear() / 100;
                if (value < 100)
                    value += (value > GetYearDelta() ? century - 1 : century) * 100;
                year = value;
            }
        }
        if (next != u' ')
            SkipBlanks(text, p);
    });
}

QDate TWLXDateFormat::TextToDate(const QString& text) const
{
    int year, month, day;
    ParseDate(text, year, month, day);
    if (month == 2) {
        const int last = QDate::isLeapYear(year) ? 29 : 28;
        if (day > last)
            day = last;
    }
    const QDate date(year, month, day);
    if (year < 1 || !date.isValid())
        throw EWLXDateError("Invalid date format!");
    return date;
}

std::vector<TWLXDateField> TWLXDateFormat::Fields(const QString& text) const
{
    const TLocaleFormats& l = LocaleFormats();
    std::vector<TWLXDateField> fields;
    int p = 0;
    auto skip = [&](QChar c) {
        if (c != u' ')
            SkipBlanks(text, p);
    };
    auto consumeOne = [&](int) {
        if (p < text.size())
            ++p;
    };
    WalkFormat(GetFormatString(), skip, consumeOne, [&](QChar c, int run, QChar) {
        TWLXDateField field;
        field.kind = (c == u'D' ? 0 : c == u'M' ? 10 : 20) + std::min(run, 4);
        if (c != u'Y' && (run == 3 || run == 4)) {
            int length = 0;
            if (c == u'D')
                NameAt(text, p, l.longDayNames, l.shortDayNames, length);
            else
                NameAt(text, p, l.longMonthNames, l.shortMonthNames, length);
            field.start = p + 1;
            p += length;
        } else {
            while (p < text.size() && !text.at(p).isDigit())
                ++p;
            field.start = p + 1;
            while (p < text.size() && text.at(p).isDigit())
                ++p;
        }
        field.end = p + 1;
        fields.push_back(field);
    });
    return fields;
}

TWLXDateField TWLXDateFormat::FieldInfo(int n, const QString& text) const
{
    const std::vector<TWLXDateField> fields = Fields(text);
    if (n < 1 || n > int(fields.size()))
        return {};
    return fields[size_t(n - 1)];
}

int TWLXDateFormat::FieldAt(int pos, const QString& text) const
{
    if (pos > text.size() + 1)
        return 0;
    const std::vector<TWLXDateField> fields = Fields(text);
    for (size_t n = 0; n < fields.size(); ++n)
        if (fields[n].start <= pos && pos <= fields[n].end)
            return int(n) + 1;
    return -1;
}

int TWLXDateFormat::FieldStart(int pos, const QString& text) const
{
    const int n = FieldAt(pos, text);
    return n > 0 ? FieldInfo(n, text).start : 0;
}

int TWLXDateFormat::FieldKind(int pos, const QString& text) const
{
    const int n = FieldAt(pos, text);
    return n > 0 ? FieldInfo(n, text).kind : 0;
}

int TWLXDateFormat::FieldLength(int pos, const QString& text) const
{
    const int n = FieldAt(pos, text);
    if (n <= 0)
        return 0;
    const TWLXDateField field = FieldInfo(n, text);
    return field.end - field.start;
}

int TWLXDateFormat::PrevFieldStart(int pos, const QString& text) const
{
    const int n = FieldAt(pos, text);
    if (n <= 1)
        return 1;
    return FieldInfo(n - 1, text).start;
}

int TWLXDateFormat::NextFieldStart(int pos, const QString& text) const
{
    const std::vector<TWLXDateField> fields = Fields(text);
    const int n = FieldAt(pos, text);
    if (n <= 0) {
        // Between fields: the next one to the right, else the last.
        for (const TWLXDateField& field : fields)
            if (field.start > pos)
                return field.start;
        return fields.empty() ? 1 : fields.back().start;
    }
    return n < int(fields.size()) ? fields[size_t(n)].start : fields[size_t(n - 1)].start;
}

int TWLXDateFormat::GetYearDelta() const
{
    return YearDelta == -1 ? LocaleFormats().twoDigitYearWindow : YearDelta;
}

int TWLXDateFormat::ThisYear()
{
    return Clock().LocalTime().date().year();
}

int TWLXDateFormat::LongestLongMonthName() { return Longest(LocaleFormats().longMonthNames); }
int TWLXDateFormat::LongestLongDayName() { return Longest(LocaleFormats().longDayNames); }
int TWLXDateFormat::LongestShortMonthName() { return Longest(LocaleFormats().shortMonthNames); }
int TWLXDateFormat::LongestShortDayName() { return Longest(LocaleFormats().shortDayNames); }
