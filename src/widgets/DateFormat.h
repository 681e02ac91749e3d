#pragma once
// How the mask edit's date kind shows and reads dates: the format (the locale's short or long
// one, or a custom one whose "/" stands for the locale's date separator), the shown and the
// fixed-width editing form, reading a text back, and the map of day, month and year fields
// inside a shown text that the field-by-field editing walks.

#include "widgets/WLXObject.h"

#include <QDate>
#include <stdexcept>

enum class TWLXDateFormats : uint8_t { dfShortSystem, dfLongSystem, dfCustom };

// A text that does not form a date.
class EWLXDateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One field of a shown date: kind 1..4 day (run length), 11..14 month, 21..24 year; start and
// end are 1-based text positions, end exclusive.
struct TWLXDateField {
    int kind = 0;
    int start = 0;
    int end = 0;
};

class TWLXDateFormat : public TWLXObject {
public:
    QString FormatStr() const { return m_formatStr; }
    void SetFormatStr(const QString& value);
    TWLXDateFormats Format() const { return m_format; }
    void SetFormat(TWLXDateFormats value);
    int YearDelta = -1;   // the two-digit-year window; -1: the locale's
    // Fired before FormatStr is replaced.
    TNotifyEvent OnChanging;

    void Assign(const TWLXDateFormat& source);

    QString GetFormatString() const;
    QString FormatDateText(const QDate& date) const;
    // Every field at a fixed width, for editing.
    QString FormatDateFixed(const QDate& date) const;
    void ParseDate(const QString& text, int& year, int& month, int& day) const;
    // Throws EWLXDateError ("Invalid date format!") when the parts form no date; a day beyond
    // the end of February is pulled back to its last day.
    QDate TextToDate(const QString& text) const;

    // The n-th field (1-based) of the shown text; kind 0 when there is none.
    TWLXDateField FieldInfo(int n, const QString& text) const;
    // The number of the field holding pos; 0 beyond the text + 1; -1 in no field.
    int FieldAt(int pos, const QString& text) const;
    int FieldStart(int pos, const QString& text) const;
    int FieldKind(int pos, const QString& text) const;
    int FieldLength(int pos, const QString& text) const;
    int PrevFieldStart(int pos, const QString& text) const;
    int NextFieldStart(int pos, const QString& text) const;

    int GetYearDelta() const;
    static int ThisYear();
    static int LongestLongMonthName();
    static int LongestLongDayName();
    static int LongestShortMonthName();
    static int LongestShortDayName();

private:
    std::vector<TWLXDateField> Fields(const QString& text) const;
    QString m_formatStr;
    TWLXDateFormats m_format = TWLXDateFormats::dfShortSystem;
};
