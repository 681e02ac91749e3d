#include "platform/ValueText.h"

#include "platform/Locale.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

// The C library's number conversions follow LC_NUMERIC, which the application sets from the
// environment; every conversion here uses the "C" locale ('.' as the point).
locale_t CLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// count zeros (none for a count below 1).
QString Zeros(int count)
{
    return count > 0 ? QString(count, u'0') : QString();
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsNumberChar(QChar c)
{
    return IsDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'E' || c == u'e';
}

// "$" followed by hexadecimal digits, read as a 32-bit signed integer.
bool ParseHex(const QString& text, Extended& result)
{
    if (text.size() < 2)
        return false;
    uint64_t v = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        v = v * 16 + uint64_t(digit);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    result = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

} // namespace

std::string CFormat(const char* format, ...)
{
    const locale_t old = uselocale(CLocale());
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, again);
        out.resize(static_cast<size_t>(n));
    }
    va_end(again);
    uselocale(old);
    return out;
}

QString GeneralText(Extended value, int precision, int maxFixedE, int minExpDigits, QChar sep)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    const std::string e = CFormat("%.*Le", precision - 1, std::fabs(value));
    const size_t ePos = e.find('e');
    std::string digits;
    for (size_t i = 0; i < ePos; ++i) {
        if (e[i] != '.')
            digits += e[i];
    }
    const int exp10 = std::atoi(e.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const QString d = QString::fromLatin1(digits);
    const int E = exp10 + 1;

    QString out;
    if (E >= -3 && E <= maxFixedE) {
        if (E <= 0) {
            out = QStringLiteral("0") + sep + Zeros(-E) + d;
        } else {
            out = d.left(E);
            out += Zeros(E - int(out.size()));
            if (d.size() > E)
                out += sep + d.mid(E);
        }
    } else {
        out = d.left(1);
        if (d.size() > 1)
            out += sep + d.mid(1);
        const int x = E - 1;
        out += u'E';
        if (x < 0)
            out += u'-';
        out += QString::number(std::abs(x)).rightJustified(minExpDigits, u'0');
    }
    return value < 0 ? u'-' + out : out;
}

QString LocalizeDecimal(const QString& text)
{
    const QChar sep = LocaleDecimalSeparator();
    QString out = text;
    out.replace(u'.', sep);
    out.replace(u',', sep);
    return out;
}

QString ValueToText(Extended value)
{
    return LocalizeDecimal(GeneralText(value, 8, 8, 4, u'.'));
}

Extended ParseValue(const QString& text)
{
    if (!text.isEmpty() && text.at(0) == u'$') {
        Extended hex = 0;
        if (ParseHex(text, hex))
            return hex;
    }
    const QString upper = text.toUpper();
    if (upper.contains(QStringLiteral("TRUE")))
        return 5.0L;
    if (upper.contains(QStringLiteral("FALSE")))
        return 0.0L;

    QString s = text;
    s.replace(u',', u'.');
    s.remove(u' ');
    qsizetype from = 0;
    while (from < s.size() && !IsDigit(s.at(from)))
        ++from;
    if (from == s.size())
        return 0.0L;
    // A point right before the first digit belongs to the number (".5", "-.5").
    if (from > 0 && s.at(from - 1) == u'.')
        --from;
    const bool negative = from > 0 && s.at(from - 1) == u'-';
    qsizetype to = from;
    while (to < s.size() && IsNumberChar(s.at(to)))
        ++to;

    // Reads as far as the run forms a number ("1.2.3" gives 1.2, "5E" gives 5).
    const QByteArray run = s.mid(from, to - from).toLatin1();
    const Extended v = strtold_l(run.constData(), nullptr, CLocale());
    return negative ? -v : v;
}

Extended TextToValue(const QString& text)
{
    const Extended v = ParseValue(text);
    if (text.toUpper().contains(QStringLiteral("TRUE")))
        return 5.0L;
    return v;
}
