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
    // Pins carrying text read it in every step that sets it: nothing here allocates (unless
    // the number runs on for more than the buffer holds).
    if (!text.isEmpty() && text.at(0) == u'$') {
        Extended hex = 0;
        if (ParseHex(text, hex))
            return hex;
    }
    if (text.contains(QLatin1String("TRUE"), Qt::CaseInsensitive))
        return 5.0L;
    if (text.contains(QLatin1String("FALSE"), Qt::CaseInsensitive))
        return 0.0L;

    // The text is read with its blanks left out and "," as the point.
    auto at = [&text](qsizetype i) {
        const QChar c = text.at(i);
        return c == u',' ? QChar(u'.') : c;
    };
    const qsizetype size = text.size();
    qsizetype i = 0;
    QChar before;       // the character before the first digit
    QChar beforeThat;   // and the one before that
    for (; i < size; ++i) {
        const QChar c = at(i);
        if (c == u' ')
            continue;
        if (IsDigit(c))
            break;
        beforeThat = before;
        before = c;
    }
    if (i == size)
        return 0.0L;
    // A point right before the first digit belongs to the number (".5", "-.5").
    const bool point = before == u'.';
    const bool negative = (point ? beforeThat : before) == u'-';

    // Reads as far as the run forms a number ("1.2.3" gives 1.2, "5E" gives 5).
    char buffer[96];
    std::string longRun;
    size_t n = 0;
    auto append = [&](char c) {
        if (n + 1 < sizeof buffer)
            buffer[n] = c;
        else if (n + 1 == sizeof buffer)
            longRun.assign(buffer, n).push_back(c);
        else
            longRun.push_back(c);
        ++n;
    };
    if (point)
        append('.');
    for (; i < size; ++i) {
        const QChar c = at(i);
        if (c == u' ')
            continue;
        if (!IsNumberChar(c))
            break;
        append(char(c.unicode()));
    }
    const char* run = buffer;
    if (n + 1 < sizeof buffer)
        buffer[n] = 0;
    else
        run = longRun.c_str();
    const Extended v = strtold_l(run, nullptr, CLocale());
    return negative ? -v : v;
}

Extended TextToValue(const QString& text)
{
    // ParseValue already reads a text containing "TRUE" as 5.
    return ParseValue(text);
}
