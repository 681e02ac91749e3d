#pragma once
// Switching times of the time switches: at a time of day, on a weekday or every day, switch
// the output on or off. Lists of them are kept in week order (day, time, switching off before
// switching on at the same moment); the current moment is compared as an entry that switches
// off, so it counts as before an entry of the same second.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QDateTime;
class QTime;
class TReader;
class TWriter;

struct TSchaltZeit {
    uint16_t Hour = 0;
    uint16_t Minute = 0;
    uint16_t Second = 0;
    uint16_t Day = 0;        // 1 Sunday .. 7 Saturday; 0 every day
    bool SwitchOn = false;
    bool Selected = false;   // the entry the dialog keeps selected across sorting
    bool Done = false;       // carried out in the current cycle

    // Copies the time, day and action (not the two marks).
    void Assign(const TSchaltZeit& source);
    // Seconds since midnight.
    int32_t SecondOfDay() const { return Hour * 3600 + Minute * 60 + Second; }
    // The time of day as a fraction of a day.
    double TimeOfDay() const { return SecondOfDay() / 86400.0; }
    // Nine raw bytes: hour, minute, second, day (2 each), on (1).
    void WriteToWriter(TWriter& writer) const;
    void ReadFromReader(TReader& reader);
    // Week order (see above).
    static bool IsBefore(const TSchaltZeit& a, const TSchaltZeit& b);
    // "einschalten" / "ausschalten", in English and French "ON" / "OFF".
    QString ActionText() const;
    // The two-letter weekday of Day, empty for 0.
    QString DayText() const;
    // The time of day in the system's long time format.
    QString TimeText() const;
    // A list line: "<day>. " when withDay, the time, " ", the action.
    QString LineText(bool withDay) const;
};

using TSchaltZeiten = std::vector<std::unique_ptr<TSchaltZeit>>;

// Sorts in week order; equal entries keep no particular order.
void SortSwitchTimes(TSchaltZeiten& list);
// Removes the entry at index; an index outside the list does nothing.
void DeleteSwitchTime(TSchaltZeiten& list, int index);
// Copies of every entry (time, day and action).
TSchaltZeiten CopySwitchTimes(const TSchaltZeiten& list);

// The two-letter name of weekday n (1 Sunday .. 7 Saturday) in the current language; empty for
// any other n.
QString WeekdayAbbreviation(int n);
// The weekday of a date, 1 Sunday .. 7 Saturday.
int WeekdayOf(const QDateTime& moment);
// The long time format of the system, without the time zone.
QString LongTimeText(const QTime& time);
