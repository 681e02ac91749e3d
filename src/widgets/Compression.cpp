#include "widgets/Compression.h"

#include "platform/Context.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr uint8_t kCompressedFlag = 0x40;
constexpr uint8_t kStoredFlag = 0x80;
constexpr uint16_t kEmptySlot = 0xFFFF;
constexpr int kMaxOffset = 4095;
constexpr int kMaxMatch = 18;
constexpr int kMinRun = 16;
constexpr int kMaxRun = 4095;
constexpr int kGroupItems = 16;

void PutWord(uint8_t* p, unsigned value)
{
    p[0] = uint8_t(value >> 8);
    p[1] = uint8_t(value);
}

unsigned Hash(const uint8_t* p)
{
    const uint32_t v = (((uint32_t(p[0]) << 4) ^ p[1]) << 4) ^ p[2];
    return ((v * 40543u) >> 4) & 0x0FFF;
}

} // namespace

EDamagedData::EDamagedData()
    : EFilerError(InvalidData, Lang3Q("Die gespeicherten Daten sind beschädigt",
                                      "The stored data are damaged",
                                      "Les données enregistrées sont endommagées"))
{
}

int CompressBlock(const uint8_t* source, int size, uint8_t* dest)
{
    std::array<uint16_t, 4096> table;
    table.fill(kEmptySlot);
    dest[0] = kCompressedFlag;
    int controlAt = 1;
    int out = 3;
    int items = 0;
    unsigned control = 0;
    int p = 0;
    while (p < size && out <= size) {
        if (items == kGroupItems) {
            PutWord(dest + controlAt, control);
            controlAt = out;
            out += 2;
            items = 0;
            control = 0;
        }
        int run = 1;
        while (p + run < size && run < kMaxRun && source[p + run] == source[p])
            ++run;
        if (run >= kMinRun) {
            dest[out] = 0;
            PutWord(dest + out + 1, unsigned(run - kMinRun));
            dest[out + 3] = source[p];
            out += 4;
            control = (control << 1) | 1;
            p += run;
        } else {
            int length = 0;
            // Fewer than three bytes left can never match; their hash is not needed.
            if (p + 2 < size) {
                const unsigned h = Hash(source + p);
                const int candidate = table[h];
                table[h] = uint16_t(p);
                if (candidate != kEmptySlot && p - candidate <= kMaxOffset) {
                    while (length < kMaxMatch && p + length < size &&
                           source[p + length] == source[candidate + length])
                        ++length;
                    if (length > 2) {
                        PutWord(dest + out, unsigned((p - candidate) * 16 + length - 3));
                        out += 2;
                    }
                }
            }
            if (length > 2) {
                control = (control << 1) | 1;
                p += length;
            } else {
                dest[out++] = source[p++];
                control <<= 1;
            }
        }
        ++items;
    }
    PutWord(dest + controlAt, (control << (kGroupItems - items)) & 0xFFFF);
    if (out > size) {
        dest[0] = kStoredFlag;
        if (size > 0)
            std::memcpy(dest + 1, source, size_t(size));
        return size + 1;
    }
    return out;
}

int DecompressBlock(const uint8_t* source, int size, uint8_t* dest, int capacity)
{
    if (size < 1)
        throw EDamagedData();
    if (source[0] == kStoredFlag) {
        if (size - 1 > capacity)
            throw EDamagedData();
        if (size > 1)
            std::memcpy(dest, source + 1, size_t(size - 1));
        return size - 1;
    }
    if (size < 3)
        throw EDamagedData();
    unsigned control = (unsigned(source[1]) << 8) | source[2];
    int in = 3;
    int out = 0;
    int items = 0;
    while (in < size) {
        if (items == kGroupItems) {
            if (in + 2 > size)
                throw EDamagedData();
            control = (unsigned(source[in]) << 8) | source[in + 1];
            in += 2;
            items = 0;
            if (in == size)
                break;
        }
        const bool copy = control & 0x8000;
        control = (control << 1) & 0xFFFF;
        ++items;
        if (!copy) {
            if (out >= capacity)
                throw EDamagedData();
            dest[out++] = source[in++];
            continue;
        }
        if (in + 2 > size)
            throw EDamagedData();
        const int offset = (source[in] << 4) | (source[in + 1] >> 4);
        if (offset != 0) {
            const int length = (source[in + 1] & 0x0F) + 3;
            if (offset > out || length > capacity - out)
                throw EDamagedData();
            // Byte by byte: an offset below the length repeats the last bytes.
            for (int k = 0; k < length; ++k, ++out)
                dest[out] = dest[out - offset];
            in += 2;
        } else {
            if (in + 4 > size)
                throw EDamagedData();
            const int count = ((source[in + 1] << 8) | source[in + 2]) + kMinRun;
            if (count > capacity - out)
                throw EDamagedData();
            std::memset(dest + out, source[in + 3], size_t(count));
            out += count;
            in += 4;
        }
    }
    return out;
}

void WriteCompressed(TWriter& writer, const QByteArray& source)
{
    QByteArray blocks;
    std::vector<uint8_t> buffer(kCompressBlockSize + kCompressOverrun);
    const auto* bytes = reinterpret_cast<const uint8_t*>(source.constData());
    for (qsizetype at = 0; at < source.size(); at += kCompressBlockSize) {
        const int chunk = int(std::min<qsizetype>(kCompressBlockSize, source.size() - at));
        const int length = CompressBlock(bytes + at, chunk, buffer.data());
        uint8_t head[4];
        for (int i = 0; i < 4; ++i)
            head[i] = uint8_t(uint32_t(length) >> (8 * i));
        blocks.append(reinterpret_cast<const char*>(head), 4);
        blocks.append(reinterpret_cast<const char*>(buffer.data()), length);
    }
    if (blocks.size() > std::numeric_limits<int32_t>::max())
        throw EFilerError(EFilerError::WriteError, Lang3Q("Stream-Schreibfehler", "Stream write error",
                                                          "Erreur d'écriture du flux"));
    writer.WriteRawInt32(int32_t(blocks.size()));
    writer.WriteBuffer(blocks.constData(), blocks.size());
}

QByteArray ReadCompressed(TReader& reader, qint64 maxBytes)
{
    const int32_t total = reader.ReadRawInt32();
    if (total < 0 || total > reader.BytesLeft())
        throw EDamagedData();
    QByteArray out;
    std::vector<uint8_t> block(kCompressBlockSize + 1);
    std::vector<uint8_t> decoded(kCompressBlockSize);
    int64_t consumed = 0;
    while (consumed < total) {
        if (total - consumed < 4)
            throw EDamagedData();
        const int length = int(uint32_t(reader.ReadRawInt32()) & 0xFFFF);
        consumed += 4;
        if (length < 1 || length > total - consumed || length > int(block.size()))
            throw EDamagedData();
        reader.ReadBuffer(block.data(), length);
        consumed += length;
        const int n = DecompressBlock(block.data(), length, decoded.data(), kCompressBlockSize);
        if (out.size() + n > maxBytes)
            throw EDamagedData();
        out.append(reinterpret_cast<const char*>(decoded.data()), n);
    }
    return out;
}

void WriteItemData(TWriter& writer, const QByteArray& data, bool compressed)
{
    if (compressed) {
        WriteCompressed(writer, data);
        return;
    }
    writer.WriteRawInt32(int32_t(data.size()));
    writer.WriteBuffer(data.constData(), data.size());
}

QByteArray ReadItemData(TReader& reader, bool compressed, qint64 maxBytes)
{
    if (compressed)
        return ReadCompressed(reader, maxBytes);
    const int32_t size = reader.ReadRawInt32();
    if (size < 0 || size > maxBytes)
        throw EDamagedData();
    return reader.ReadBytes(size);
}
