#include "widgets/BmpFile.h"

#include "widgets/Compression.h"
#include "widgets/WLXErrors.h"

#include <QHash>
#include <QtEndian>

#include <limits>
#include <vector>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kMaxSide = 65536;

int RowBytes(int width, int bits)
{
    return int((int64_t(width) * bits + 31) / 32 * 4);
}

// The colours of the picture in the order they first occur; empty when there are more than max.
std::vector<QRgb> OwnColors(const QImage& image, int max)
{
    std::vector<QRgb> colors;
    QHash<QRgb, int> seen;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (seen.contains(c))
                continue;
            if (int(colors.size()) == max)
                return {};
            seen.insert(c, int(colors.size()));
            colors.push_back(c);
        }
    }
    return colors;
}

// The fixed tables for pictures with more colours than the depth holds.
std::vector<QRgb> FixedColors(int count)
{
    std::vector<QRgb> colors;
    if (count == 16) {
        static const QRgb kVga[16] = {
            0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (QRgb c : kVga)
            colors.push_back(c | 0xFF000000u);
        return colors;
    }
    // A 6 x 6 x 6 cube, then greys between its steps, up to 256 entries.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; int(colors.size()) < 256; ++i)
        colors.push_back(qRgb(i * 255 / 41, i * 255 / 41, i * 255 / 41));
    return colors;
}

int Nearest(const std::vector<QRgb>& table, QRgb c)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < int(table.size()); ++i) {
        const int dr = qRed(table[size_t(i)]) - qRed(c);
        const int dg = qGreen(table[size_t(i)]) - qGreen(c);
        const int db = qBlue(table[size_t(i)]) - qBlue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

void PutInt32(QByteArray& out, int32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void PutInt16(QByteArray& out, int16_t v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

int32_t Int32At(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<int32_t>(data.constData() + at);
}

int16_t Int16At(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<int16_t>(data.constData() + at);
}

} // namespace

int SaveColorCount(TWLXSavePixelFormat format)
{
    switch (format) {
    case TWLXSavePixelFormat::spfMono: return 2;
    case TWLXSavePixelFormat::spf4bit: return 16;
    case TWLXSavePixelFormat::spf8bit: return 256;
    case TWLXSavePixelFormat::spf16bit: return 65536;
    case TWLXSavePixelFormat::spfDefault: break;
    }
    return -1;
}

QByteArray BitmapFileImage(const QImage& source, int colorCount)
{
    if (source.isNull())
        throw EWLXError(InvalidBitmapText());
    const bool mono = source.depth() == 1;
    int bits = 24;
    if (colorCount == 2 || mono)
        bits = 1;
    else if (colorCount == 16)
        bits = 4;
    else if (colorCount == 256)
        bits = 8;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> table;
    if (bits == 1) {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits < 24) {
        table = OwnColors(image, 1 << bits);
        if (table.empty())
            table = FixedColors(1 << bits);
    }
    const int w = image.width();
    const int h = image.height();
    const int stride = RowBytes(w, bits);
    const int64_t tableBytes = int64_t(bits < 24 ? (1 << bits) : 0) * 4;
    const int64_t offset = kFileHeaderSize + kInfoHeaderSize + tableBytes;
    const int64_t fileSize = offset + int64_t(stride) * h;
    if (fileSize > std::numeric_limits<int32_t>::max())
        throw EWLXError(InvalidBitmapText());

    QByteArray out;
    out.reserve(qsizetype(fileSize));
    out.append("BM", 2);
    PutInt32(out, int32_t(fileSize));
    PutInt32(out, 0);
    PutInt32(out, int32_t(offset));
    PutInt32(out, kInfoHeaderSize);
    PutInt32(out, w);
    PutInt32(out, h);
    PutInt16(out, 1);
    PutInt16(out, int16_t(bits));
    PutInt32(out, 0);
    PutInt32(out, stride * h);
    for (int i = 0; i < 4; ++i)
        PutInt32(out, 0);
    for (int i = 0; i < (bits < 24 ? (1 << bits) : 0); ++i) {
        const QRgb c = i < int(table.size()) ? table[size_t(i)] : 0;
        const char entry[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), 0};
        out.append(entry, 4);
    }
    QHash<QRgb, int> indexOf;
    for (int i = 0; i < int(table.size()); ++i)
        indexOf.insert(table[size_t(i)], i);
    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        row.fill('\0');
        auto* r = reinterpret_cast<uint8_t*>(row.data());
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (bits == 24) {
                r[x * 3] = uint8_t(qBlue(c));
                r[x * 3 + 1] = uint8_t(qGreen(c));
                r[x * 3 + 2] = uint8_t(qRed(c));
                continue;
            }
            int index;
            if (bits == 1) {
                index = (c & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
            } else {
                const auto found = indexOf.constFind(c);
                index = found != indexOf.cend() ? found.value() : Nearest(table, c);
            }
            const int perByte = 8 / bits;
            const int shift = (perByte - 1 - x % perByte) * bits;
            r[x / perByte] |= uint8_t(index << shift);
        }
        out.append(row);
    }
    return out;
}

QImage ReadBitmapFileImage(const QByteArray& data)
{
    if (data.size() < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M')
        throw EDamagedData();
    const int64_t offset = uint32_t(Int32At(data, 10));
    const int64_t infoSize = uint32_t(Int32At(data, kFileHeaderSize));
    const int64_t width = Int32At(data, kFileHeaderSize + 4);
    int64_t height = Int32At(data, kFileHeaderSize + 8);
    const int bits = Int16At(data, kFileHeaderSize + 14);
    const int64_t compression = uint32_t(Int32At(data, kFileHeaderSize + 16));
    const int64_t colorsUsed = uint32_t(Int32At(data, kFileHeaderSize + 32));
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (infoSize < kInfoHeaderSize || infoSize > data.size() - kFileHeaderSize || compression != 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) || width < 1 ||
        height < 1 || width > kMaxSide || height > kMaxSide || width * height > kMaxBitmapPixels)
        throw EDamagedData();
    const int64_t tableEntries = bits <= 8 ? (colorsUsed ? colorsUsed : int64_t(1) << bits) : 0;
    const int64_t tableAt = kFileHeaderSize + infoSize;
    const int stride = RowBytes(int(width), bits);
    if (tableEntries > 256 || tableAt + tableEntries * 4 > data.size() || offset < tableAt ||
        offset > data.size() || int64_t(stride) * height > data.size() - offset)
        throw EDamagedData();
    std::vector<QRgb> table(static_cast<size_t>(tableEntries));
    for (int64_t i = 0; i < tableEntries; ++i) {
        const auto* e = reinterpret_cast<const uint8_t*>(data.constData() + tableAt + i * 4);
        table[size_t(i)] = qRgb(e[2], e[1], e[0]);
    }
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        throw EDamagedData();
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : int(height) - 1 - y;
        const auto* r = reinterpret_cast<const uint8_t*>(data.constData() + offset) +
                        int64_t(fileRow) * stride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bits >= 24) {
                const int step = bits / 8;
                line[x] = qRgb(r[x * step + 2], r[x * step + 1], r[x * step]);
                continue;
            }
            const int perByte = 8 / bits;
            const int shift = (perByte - 1 - x % perByte) * bits;
            const size_t index = (r[x / perByte] >> shift) & ((1 << bits) - 1);
            line[x] = index < table.size() ? table[index] : qRgb(0, 0, 0);
        }
    }
    return image;
}
