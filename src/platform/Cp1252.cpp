#include "platform/Cp1252.h"

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own value, so every byte survives a round trip.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

// The full byte -> code point table; bytes below 0x80 and from 0xA0 map to themselves.
struct TDecodeTable {
    char16_t map[256];
    constexpr TDecodeTable() : map()
    {
        for (int b = 0; b < 256; ++b)
            map[b] = static_cast<char16_t>(b);
        for (int b = 0; b < 32; ++b)
            map[0x80 + b] = kHighTable[b];
    }
};
constexpr TDecodeTable kDecode;

// The byte of one UTF-16 unit, or -1 when the code page has no such character.
int EncodeUnit(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int b = 0; b < 32; ++b) {
        if (kHighTable[b] == u)
            return 0x80 + b;
    }
    return -1;
}

} // namespace

QByteArray ToCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        // A character outside the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out.append('?');
            ++i;
            continue;
        }
        const int b = EncodeUnit(c.unicode());
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

QString FromCp1252(const char* data, qsizetype size)
{
    if (!data || size <= 0)
        return QString();
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(kDecode.map[static_cast<unsigned char>(data[i])]);
    return out;
}

QString FromCp1252(const QByteArray& bytes)
{
    return FromCp1252(bytes.constData(), bytes.size());
}

bool IsSevenBit(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}
