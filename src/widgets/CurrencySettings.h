#pragma once
// How the mask edit's currency kind writes and reads amounts. Amounts are 64-bit counts of
// ten-thousandths. A pattern is a text in which "¤" stands for the symbol and "1,1" for the
// number; every other character is copied. With SystemDefaults cmSystem everything comes from
// the locale.

#include "widgets/WLXObject.h"

#include <cstdint>

enum class TWLXCurrencyMode : uint8_t { cmSystem, cmUser };

// The locale's pattern codes: the four positive and sixteen negative patterns.
QString PositiveCurrencyPattern(int code);   // empty for an unknown code
QString NegativeCurrencyPattern(int code);

class TWLXCurrencySettings : public TWLXObject {
public:
    TWLXCurrencySettings();

    TWLXCurrencyMode SystemDefaults() const { return m_mode; }
    void SetSystemDefaults(TWLXCurrencyMode value);
    // 0 PositiveFormatStr, 1 NegativeFormatStr, 2 Symbol.
    QString GetString(int index) const;
    void SetString(int index, const QString& value);
    QString PositiveFormatStr() const { return m_positive; }
    QString NegativeFormatStr() const { return m_negative; }
    QString Symbol() const { return m_symbol; }
    void SetPositiveFormatStr(const QString& v) { SetString(0, v); }
    void SetNegativeFormatStr(const QString& v) { SetString(1, v); }
    void SetSymbol(const QString& v) { SetString(2, v); }

    int GroupSize = 3;
    int DecimalDigits = 2;
    QChar ThousandSeparator;
    QChar DecimalSeparator;

    void LoadFromLocale();
    void Assign(const TWLXCurrencySettings& source);

    // Digits beyond DecimalDigits are cut, not rounded.
    QString FormatCurrency(int64_t value, bool negativeZero = false) const;
    // 0 for an empty or unreadable text; a minus sign or parentheses make it negative.
    int64_t TextToCurrency(const QString& text) const;
    // Where the number starts (1-based) in the text FormatCurrency gives for the value; 0 when
    // the pattern has no number.
    int NumberPosition(int64_t value) const;

private:
    QString NumberText(int64_t value) const;
    QString m_positive, m_negative, m_symbol;
    TWLXCurrencyMode m_mode = TWLXCurrencyMode::cmSystem;
};
