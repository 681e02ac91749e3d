#include "widgets/TextCoding.h"

namespace {

QByteArray Scramble(const QByteArray& text, uint16_t key, bool encoding)
{
    QByteArray out(text.size(), '\0');
    uint16_t k = key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uint8_t c = uint8_t(text[i]);
        const uint8_t o = uint8_t(c ^ (k >> 8));
        out[i] = char(o);
        const uint8_t e = encoding ? o : c;
        k = uint16_t((uint32_t(k) + e) * 52845u + 22719u);
    }
    return out;
}

} // namespace

QByteArray KeyEncode(const QByteArray& text, uint16_t key)
{
    return Scramble(text, key, true);
}

QByteArray KeyDecode(const QByteArray& text, uint16_t key)
{
    return Scramble(text, key, false);
}

QByteArray TextEncode(const QByteArray& bytes)
{
    QByteArray padded = bytes;
    while (padded.size() % 3 != 0)
        padded.append(' ');
    QByteArray out = QByteArray::number(bytes.size()) + ':';
    for (qsizetype i = 0; i < padded.size(); i += 3) {
        const uint32_t v = (uint32_t(uint8_t(padded[i])) << 16) | (uint32_t(uint8_t(padded[i + 1])) << 8) |
                           uint8_t(padded[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            out.append(char(48 + ((v >> shift) & 63)));
    }
    return out;
}

std::optional<QByteArray> TextDecode(const QByteArray& text)
{
    const qsizetype colon = text.indexOf(':');
    if (colon <= 0)
        return std::nullopt;
    bool ok = false;
    const int length = text.left(colon).toInt(&ok);
    const QByteArray groups = text.mid(colon + 1);
    if (!ok || length < 0 || groups.size() % 4 != 0 || length > groups.size() / 4 * 3)
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 0; i < groups.size(); i += 4) {
        uint32_t v = 0;
        for (int j = 0; j < 4; ++j) {
            const int d = uint8_t(groups[i + j]) - 48;
            if (d < 0 || d > 63)
                return std::nullopt;
            v = (v << 6) | uint32_t(d);
        }
        out.append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    }
    return out.left(length);
}
