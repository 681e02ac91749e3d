#include "ui/ByteSequence.h"

#include "platform/Cp1252.h"

namespace {

constexpr QChar kBlank = u' ';
constexpr QChar kQuote = u'"';
// A token is gathered into a text of at most this many characters; the rest is dropped.
constexpr qsizetype kMaxTokenLength = 255;

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// The token starting at `i` up to the next blank or the end; `i` ends on that blank.
QString TakeToken(const QString& text, qsizetype& i)
{
    const qsizetype start = i;
    while (i < text.size() && text[i] != kBlank)
        ++i;
    return text.mid(start, std::min(i - start, kMaxTokenLength));
}

} // namespace

uint8_t HexToByte(const QString& token)
{
    int value = 0;
    int digits = 0;
    for (QChar c : token) {
        const int d = HexDigitValue(c);
        if (d < 0)
            continue;
        value = value * 16 + d;
        if (++digits == 2)
            break;
    }
    return uint8_t(value);
}

uint8_t DecToByte(const QString& token)
{
    int value = 0;
    for (QChar c : token) {
        if (c < u'0' || c > u'9')
            continue;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255)
            return 0;   // stays above 255 whatever digits follow
    }
    return uint8_t(value);
}

std::vector<uint8_t> ParseByteSequence(const QString& text)
{
    std::vector<uint8_t> bytes;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == kBlank) {
            ++i;
        } else if (c == kQuote) {
            ++i;
            const qsizetype start = i;
            while (i < text.size() && text[i] != kQuote)
                ++i;
            const QByteArray quoted = ToCp1252(text.mid(start, i - start));
            bytes.insert(bytes.end(), quoted.begin(), quoted.end());
            ++i;   // past the closing quote
        } else if (c == u'$') {
            ++i;
            bytes.push_back(HexToByte(TakeToken(text, i)));
        } else {
            bytes.push_back(DecToByte(TakeToken(text, i)));
        }
    }
    return bytes;
}

QString BytesToHexText(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    QString line;
    line.reserve(qsizetype(bytes.size()) * 3);
    for (uint8_t b : bytes) {
        line += kBlank;
        line += QLatin1Char(digits[HighNibble(b)]);
        line += QLatin1Char(digits[LowNibble(b)]);
    }
    return line;
}
