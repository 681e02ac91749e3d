#include "widgets/CurrencySettings.h"

#include "platform/LocaleFormats.h"

#include <cmath>

namespace {

const QChar kSymbol(0x00A4);
const QString kNumber = QStringLiteral("1,1");

const char* const kPositive[] = {"\xC2\xA4" "1,1", "1,1\xC2\xA4", "\xC2\xA4 1,1", "1,1 \xC2\xA4"};
const char* const kNegative[] = {
    "(\xC2\xA4" "1,1)", "-\xC2\xA4" "1,1", "\xC2\xA4-1,1", "\xC2\xA4" "1,1-", "(1,1\xC2\xA4)", "-1,1\xC2\xA4",
    "1,1-\xC2\xA4", "1,1\xC2\xA4-", "-1,1 \xC2\xA4", "-\xC2\xA4 1,1", "1,1 \xC2\xA4-", "\xC2\xA4 1,1-",
    "\xC2\xA4 -1,1", "1,1- \xC2\xA4", "(\xC2\xA4 1,1)", "(1,1 \xC2\xA4)"};

// The pattern with the symbol and the number put in.
QString Expand(const QString& pattern, const QString& symbol, const QString& number)
{
    QString out;
    for (int i = 0; i < pattern.size();) {
        if (pattern.at(i) == kSymbol) {
            out += symbol;
            ++i;
        } else if (QStringView(pattern).mid(i).startsWith(kNumber)) {
            out += number;
            i += int(kNumber.size());
        } else {
            out += pattern.at(i++);
        }
    }
    return out;
}

} // namespace

QString PositiveCurrencyPattern(int code)
{
    return code >= 0 && code < 4 ? QString::fromUtf8(kPositive[code]) : QString();
}

QString NegativeCurrencyPattern(int code)
{
    return code >= 0 && code < 16 ? QString::fromUtf8(kNegative[code]) : QString();
}

TWLXCurrencySettings::TWLXCurrencySettings()
{
    GroupSize = 3;
    LoadFromLocale();
}

void TWLXCurrencySettings::SetSystemDefaults(TWLXCurrencyMode value)
{
    if (value == m_mode)
        return;
    m_mode = value;
    if (value == TWLXCurrencyMode::cmSystem) {
        LoadFromLocale();
        Change();
    }
}

QString TWLXCurrencySettings::GetString(int index) const
{
    switch (index) {
    case 0: return m_positive;
    case 1: return m_negative;
    case 2: return m_symbol;
    default: return QString();
    }
}

void TWLXCurrencySettings::SetString(int index, const QString& value)
{
    QString* field = index == 0 ? &m_positive : index == 1 ? &m_negative : index == 2 ? &m_symbol : nullptr;
    if (!field || *field == value)
        return;
    *field = value;
    Change();
}

void TWLXCurrencySettings::LoadFromLocale()
{
    const TLocaleFormats& l = LocaleFormats();
    m_symbol = l.currencySymbol;
    if (const QString p = NegativeCurrencyPattern(l.negativeCurrencyCode); !p.isEmpty())
        m_negative = p;
    if (const QString p = PositiveCurrencyPattern(l.positiveCurrencyCode); !p.isEmpty())
        m_positive = p;
    bool ok = false;
    const int group = l.monetaryGrouping.section(u';', 0, 0).toInt(&ok);
    GroupSize = ok ? group : 3;
    const int digits = l.currencyDigits.toInt(&ok);
    DecimalDigits = ok ? digits : 2;
    DecimalSeparator = l.decimalSeparator;
    ThousandSeparator = l.monetaryThousandSeparator;
}

void TWLXCurrencySettings::Assign(const TWLXCurrencySettings& source)
{
    SetSystemDefaults(source.m_mode);
    if (source.m_mode != TWLXCurrencyMode::cmUser)
        return;
    m_symbol = source.m_symbol;
    DecimalDigits = source.DecimalDigits;
    DecimalSeparator = source.DecimalSeparator;
    ThousandSeparator = source.ThousandSeparator;
    m_positive = source.m_positive;
    m_negative = source.m_negative;
    Change();
}

QString TWLXCurrencySettings::NumberText(int64_t value) const
{
    // The shortest decimal text of the amount in units.
    QString s = QString::number(double(value) / 10000.0, 'f', 4);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    if (s.startsWith(u'-'))
        s.remove(0, 1);
    QString integer = s, fraction;
    if (const int point = int(s.indexOf(u'.')); point >= 0) {
        integer = s.left(point);
        fraction = s.mid(point + 1);
    }
    const int digits = std::max(0, DecimalDigits);
    fraction = fraction.left(digits).leftJustified(digits, u'0');
    if (GroupSize > 0 && !ThousandSeparator.isNull())
        for (int i = int(integer.size()) - GroupSize; i > 0; i -= GroupSize)
            integer.insert(i, ThousandSeparator);
    return digits > 0 ? integer + DecimalSeparator + fraction : integer;
}

QString TWLXCurrencySettings::FormatCurrency(int64_t value, bool negativeZero) const
{
    const bool positive = value > 0 || (value == 0 && !negativeZero);
    return Expand(positive ? m_positive : m_negative, m_symbol, NumberText(value));
}

int64_t TWLXCurrencySettings::TextToCurrency(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    QString s = text;
    if (!m_symbol.isEmpty())
        if (const qsizetype at = s.indexOf(m_symbol); at >= 0)
            s.remove(at, m_symbol.size());
    int signs = int(s.count(u'-'));
    if (s.contains(u'('))
        ++signs;   // the parenthesised patterns are the negative ones
    QString digits;
    for (QChar c : s) {
        if (c.isDigit())
            digits += c;
        else if (c == DecimalSeparator)
            digits += u'.';
    }
    bool ok = false;
    const double units = digits.toDouble(&ok);
    if (!ok || !std::isfinite(units) || units * 10000.0 > 9.2e18)
        return 0;
    const int64_t amount = std::llround(units * 10000.0);
    return signs % 2 == 1 ? -amount : amount;
}

int TWLXCurrencySettings::NumberPosition(int64_t value) const
{
    const QString& pattern = value >= 0 ? m_positive : m_negative;
    const qsizetype at = pattern.indexOf(u'1');
    if (at < 0)
        return 0;
    const QString before = Expand(pattern.left(at), m_symbol, QString());
    return int(before.size()) + 1;
}
