#include "frontpanel/elements/SwitchTimes.h"

#include "platform/Context.h"
#include "platform/Filer.h"

#include <QDateTime>
#include <QLocale>

#include <utility>

void TSchaltZeit::Assign(const TSchaltZeit& source)
{
    Hour = source.Hour;
    Minute = source.Minute;
    Second = source.Second;
    Day = source.Day;
    SwitchOn = source.SwitchOn;
}

void TSchaltZeit::WriteToWriter(TWriter& writer) const
{
    writer.WriteRawInt16(int16_t(Hour));
    writer.WriteRawInt16(int16_t(Minute));
    writer.WriteRawInt16(int16_t(Second));
    writer.WriteRawInt16(int16_t(Day));
    writer.WriteRawByte(SwitchOn ? 1 : 0);
}

void TSchaltZeit::ReadFromReader(TReader& reader)
{
    Hour = uint16_t(reader.ReadRawInt16());
    Minute = uint16_t(reader.ReadRawInt16());
    Second = uint16_t(reader.ReadRawInt16());
    Day = uint16_t(reader.ReadRawInt16());
    SwitchOn = reader.ReadRawByte() != 0;
}

bool TSchaltZeit::IsBefore(const TSchaltZeit& a, const TSchaltZeit& b)
{
    if (a.Day != b.Day)
        return a.Day < b.Day;
    if (a.SecondOfDay() != b.SecondOfDay())
        return a.SecondOfDay() < b.SecondOfDay();
    return !a.SwitchOn;
}

QString TSchaltZeit::ActionText() const
{
    if (Ctx().CurrentLanguage == 0)
        return SwitchOn ? QStringLiteral("einschalten") : QStringLiteral("ausschalten");
    return SwitchOn ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QString TSchaltZeit::DayText() const
{
    return WeekdayAbbreviation(Day);
}

QString TSchaltZeit::TimeText() const
{
    return LongTimeText(QTime(Hour % 24, Minute % 60, Second % 60));
}

QString TSchaltZeit::LineText(bool withDay) const
{
    QString line = withDay ? DayText() + QStringLiteral(". ") : QString();
    return line + TimeText() + u' ' + ActionText();
}

void SortSwitchTimes(TSchaltZeiten& list)
{
    const size_t n = list.size();
    for (size_t i = 0; i + 1 < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (TSchaltZeit::IsBefore(*list[j], *list[i]))
                std::swap(list[i], list[j]);
}

void DeleteSwitchTime(TSchaltZeiten& list, int index)
{
    if (index >= 0 && size_t(index) < list.size())
        list.erase(list.begin() + index);
}

TSchaltZeiten CopySwitchTimes(const TSchaltZeiten& list)
{
    TSchaltZeiten copy;
    for (const auto& entry : list) {
        copy.push_back(std::make_unique<TSchaltZeit>());
        copy.back()->Assign(*entry);
    }
    return copy;
}

QString WeekdayAbbreviation(int n)
{
    static const char* const kNames[3][7] = {
        {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
        {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"},
        {"Di", "Lu", "Ma", "Me", "Je", "Ve", "Sa"},
    };
    const int language = Ctx().CurrentLanguage;
    if (n < 1 || n > 7 || language > 2)
        return QString();
    return QString::fromLatin1(kNames[language][n - 1]);
}

int WeekdayOf(const QDateTime& moment)
{
    return moment.date().dayOfWeek() % 7 + 1;  // Qt counts Monday 1 .. Sunday 7
}

QString LongTimeText(const QTime& time)
{
    // The long format without the time zone, which the system's own long time leaves out.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return time.toString(format.trimmed());
}
