#pragma once
// The single-line edit restricted to one kind of value: a signed or unsigned integer in a radix,
// a float in three presentations (plain, fixed decimals, with thousand separators), a currency
// amount, a date edited field by field, a time, a text that follows an edit mask, or free text.
// It filters what is typed or pasted, reformats the text after each change, converts between
// text and value and reports bad input through OnValidationError. A suffix (a unit, say) may
// follow the value; typing inside it is ignored.

#include "widgets/CurrencySettings.h"
#include "widgets/DateFormat.h"
#include "widgets/Edit.h"
#include "widgets/EditMask.h"

#include <QDate>
#include <QTime>
#include <stdexcept>

// Stored in form data: keep the order.
enum class TWLXMaskType : uint8_t {
    mkInteger, mkUnsigned, mkFloat, mkFixed, mkNumber, mkCurrency, mkDate, mkTime, mkMask, mkText
};

// A value asked of an edit of another kind.
class EWLXWrongDataType : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Texts of numbers in a radix 2..36 (digits 0-9, then A-Z; letters read in either case).
QString RadixIntToText(int64_t value, int radix);
// Read from the right; a character that is not a digit counts as 0, a leading "-" negates.
int64_t RadixTextToInt(const QString& text, int radix);
QString RadixFloatToText(double value, int radix, QChar separator);
double RadixTextToFloat(const QString& text, int radix, QChar separator);

using TWLXCheckCharEvent = std::function<void(void* sender, bool& accept, int position, QChar ch)>;

class TWLXCustomMaskEdit : public TWLXCustomEdit {
public:
    explicit TWLXCustomMaskEdit(QWidget* parent = nullptr);
    ~TWLXCustomMaskEdit() override;

    TWLXMaskType MaskType() const { return m_kind; }
    void SetMaskType(TWLXMaskType value);
    QString Mask() const { return m_mask; }
    void SetMask(const QString& value);
    int Radix() const { return m_radix; }
    void SetRadix(int value);   // 2 .. 36
    int Decimals() const { return m_decimals; }
    void SetDecimals(int value);
    QString Suffix() const;
    void SetSuffix(const QString& value);
    // The minimum setter raises the maximum when it would fall below, and the other way round.
    double MinValue() const { return m_min; }
    void SetMinValue(double value);
    double MaxValue() const { return m_max; }
    void SetMaxValue(double value);

    TWLXDateFormat& DateFormat() { return m_dateFormat; }
    TWLXCurrencySettings& CurrencySettings() { return m_currency; }
    QChar BlankChar = u'_';
    QChar ThousandSeparator, DecimalSeparator;   // the locale's, taken at construction
    // Enter acts as if the edit lost and regained the focus.
    bool ValidateOnEnter = false;
    TWLXCheckCharEvent OnCheckChar;
    TNotifyEvent OnValidationError;

    // The value of the text (without the suffix). Asked of another kind they throw
    // EWLXWrongDataType; a text that does not convert reports a validation error and gives 0.
    int64_t AsInteger();
    double AsFloat();
    QDate AsDate();
    QTime AsTime();
    double AsCurrency();   // any kind
    // Writes the value in the kind's form (with the suffix); nothing for mkMask and mkText.
    void SetValueText(double value);
    void SetDateValue(const QDate& date);
    void SetTimeValue(const QTime& time);
    // After the properties were set from stored data: the mask's blank text, the currency
    // written again with the locale's settings.
    void Loaded();
    // The text without the suffix.
    QString ValueText() const;
    // The fixed-width date form is in use (the edit has the focus).
    bool DateEditing() const { return m_dateEditing; }

    void ProcessKey(int& key) override;

protected:
    void DoValidationError();
    bool CanEdit(const QString& text) const override;
    void BeforeInsert(int position, QString& text) override;
    void BeforeChange() override;
    void AfterChange() override;
    void TextChanged(int at) override;
    void CursorMoved() override;
    bool AcceptTypedChar(QChar c) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool HasSuffix() const;
    bool IsNumeric() const;
    bool InSuffix(int position) const;
    bool IsRadixDigit(QChar c) const;
    QString FormatFixed(double value) const;
    double ReadFloat(const QString& text) const;
    QString TimeText(const QTime& time) const;
    bool ReadTime(const QString& text, QTime& time) const;
    void WriteValueText(const QString& value);
    void ToggleMinus();
    bool CheckNumberEdit(const QString& text);
    void EnterChecks();
    void LeaveChecks();
    void ReformatNumber();
    void ReformatCurrency();
    void ReformatDate();
    void ShrinkSelectionBeforeSuffix();
    void TakeFocusBack(int selStart = 0, int selLength = 0);
    // Date editing.
    void SelectDateField();
    void DateStepField(int delta);
    void DateTypeChar(QChar c);
    void DateMoveField(bool forward);
    bool MaskAccepts(int position, QChar c) const;
    TWLXMaskCheck MaskCheck() const;

    TWLXMaskType m_kind = TWLXMaskType::mkMask;
    QString m_mask, m_suffix, m_previousText;
    TWLXEditMask m_editMask;
    int m_radix = 10;
    int m_decimals = 1;
    double m_min = -1.0, m_max = -1.0;
    TWLXDateFormat m_dateFormat;
    TWLXCurrencySettings m_currency;
    int m_separatorsBefore = 0;
    int m_dateDigits = 0;
    int m_monthTyped = 0;
    QString m_yearTyped;
    bool m_negativeZero = false;
    int m_lastKey = 0;
    bool m_dateEditing = false;
    bool m_selectingField = false;
    bool m_reformatting = false;
    bool m_destroying = false;
    bool m_maskRefused = false;
};

class TWLXMaskEdit : public TWLXCustomMaskEdit {
public:
    using TWLXCustomMaskEdit::TWLXCustomMaskEdit;
};
