#include "platform/Filer.h"
#include "widgets/Compression.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray Compress(const QByteArray& source)
{
    std::vector<uint8_t> dest(size_t(source.size()) + kCompressOverrun);
    const int n = CompressBlock(reinterpret_cast<const uint8_t*>(source.constData()),
                                int(source.size()), dest.data());
    return QByteArray(reinterpret_cast<const char*>(dest.data()), n);
}

QByteArray Decompress(const QByteArray& block, int capacity = kCompressBlockSize)
{
    std::vector<uint8_t> dest(size_t(capacity) + 1);
    const int n = DecompressBlock(reinterpret_cast<const uint8_t*>(block.constData()),
                                  int(block.size()), dest.data(), capacity);
    return QByteArray(reinterpret_cast<const char*>(dest.data()), n);
}

QByteArray BlockStream(const QByteArray& source)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    WriteCompressed(writer, source);
    return buffer.data();
}

QByteArray ReadBlockStream(const QByteArray& stream, qint64 max = kMaxItemData)
{
    QBuffer buffer;
    buffer.setData(stream);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    return ReadCompressed(reader, max);
}

// 17 runs of 16 equal bytes, each of another value: 17 copy items.
QByteArray SeventeenRuns()
{
    QByteArray source;
    for (int i = 0; i < 17; ++i)
        source.append(QByteArray(16, char('a' + i)));
    return source;
}

TEST(CompressionTest, BlocksAreByteExact)
{
    QByteArray seventeen = Bytes({0x40, 0xFF, 0xFF});
    for (int i = 0; i < 16; ++i)
        seventeen += Bytes({0, 0, 0, 'a' + i});
    seventeen += Bytes({0x80, 0x00, 0, 0, 0, 'a' + 16});
    // A literal, then a back reference of 9 bytes at offset 3 ("abc" repeated), then a literal.
    const QByteArray repeat = Bytes({0x40, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x36, 'x'});
    struct Case {
        const char* name;
        QByteArray source;
        QByteArray block;
    } cases[] = {
        {"20 equal bytes are one run", QByteArray(20, 'b'), Bytes({0x40, 0x80, 0x00, 0, 0, 4, 'b'})},
        {"three distinct bytes are stored", "xyz", Bytes({0x80, 'x', 'y', 'z'})},
        {"the empty source is stored", QByteArray(), Bytes({0x80})},
        {"the 17th item starts a new control word", SeventeenRuns(), seventeen},
        {"back reference", "abcabcabcabcx", repeat},
        {"longest run, then the rest", QByteArray(4095 + 20, 'q'),
         Bytes({0x40, 0xC0, 0x00, 0, 0x0F, 0xEF, 'q', 0, 0, 4, 'q'})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Compress(c.source).toHex(' '), c.block.toHex(' ')) << c.name;
        EXPECT_EQ(Decompress(c.block), c.source) << c.name;
    }
}

TEST(CompressionTest, RoundTripsAnyData)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 40; ++round) {
        const int size = int(random.bounded(kCompressBlockSize + 1));
        QByteArray source(size, '\0');
        // Mixed content: runs, repeats from a small alphabet and noise.
        for (int i = 0; i < size; ++i) {
            const int kind = (i / 97 + round) % 3;
            source[i] = char(kind == 0 ? 'r' : kind == 1 ? 'a' + random.bounded(4) : random.bounded(256));
        }
        const QByteArray block = Compress(source);
        EXPECT_LE(block.size(), size + 1);
        EXPECT_EQ(Decompress(block), source) << round;
    }
}

TEST(CompressionTest, BlockStreamsAreByteExact)
{
    EXPECT_EQ(BlockStream(QByteArray()).toHex(' '), QByteArray("00 00 00 00"));
    EXPECT_EQ(BlockStream(QByteArray(20, 'b')).toHex(' '),
              QByteArray("0b 00 00 00 07 00 00 00 40 80 00 00 00 04 62"));

    // A source of two blocks: every block but the last holds 32781 bytes.
    const QByteArray big = QByteArray(kCompressBlockSize, 'z') + QByteArray("tail");
    const QByteArray stream = BlockStream(big);
    EXPECT_EQ(ReadBlockStream(stream), big);
    const int firstLength = uint8_t(stream[4]) | (uint8_t(stream[5]) << 8);
    EXPECT_EQ(uint8_t(stream[8]), 0x40);
    EXPECT_EQ(stream.size(), 4 + 4 + firstLength + 4 + 5);
}

TEST(CompressionTest, DamagedBlocksAreRefused)
{
    struct Case {
        const char* name;
        QByteArray block;
        int capacity;
    } cases[] = {
        {"empty block", QByteArray(), 100},
        {"no control word", Bytes({0x40, 0x80}), 100},
        {"reference before the start", Bytes({0x40, 0x80, 0x00, 0x00, 0x50}), 100},
        {"reference cut short", Bytes({0x40, 0x80, 0x00, 0x01}), 100},
        {"run cut short", Bytes({0x40, 0x80, 0x00, 0x00, 0x00, 0x04}), 100},
        {"run past the room", Bytes({0x40, 0x80, 0x00, 0x00, 0xFF, 0xFF, 'x'}), kCompressBlockSize},
        {"literal past the room", Bytes({0x40, 0x00, 0x00, 'a', 'b'}), 1},
        {"stored past the room", Bytes({0x80, 'a', 'b', 'c'}), 2},
        {"control word cut short", Bytes({0x40, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                          13, 14, 15, 16, 0x00}), 100},
    };
    for (const Case& c : cases)
        EXPECT_THROW(Decompress(c.block, c.capacity), EDamagedData) << c.name;
}

TEST(CompressionTest, DamagedBlockStreamsAreRefused)
{
    const QByteArray good = BlockStream(QByteArray(20, 'b'));
    QByteArray countPastEnd = good;
    countPastEnd[0] = 0x40;
    QByteArray lengthPastCount = good;
    lengthPastCount[4] = 0x20;
    QByteArray zeroLength = good;
    zeroLength[4] = 0;
    struct Case {
        const char* name;
        QByteArray stream;
        qint64 max;
    } cases[] = {
        {"count past the end", countPastEnd, kMaxItemData},
        {"negative count", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), kMaxItemData},
        {"block length past the count", lengthPastCount, kMaxItemData},
        {"zero block length", zeroLength, kMaxItemData},
        {"count inside a block length", Bytes({0x02, 0, 0, 0, 0x07, 0}), kMaxItemData},
        {"more than the caller allows", good, 19},
        {"truncated", good.left(9), kMaxItemData},
    };
    for (const Case& c : cases)
        EXPECT_THROW(ReadBlockStream(c.stream, c.max), EFilerError) << c.name;
    EXPECT_EQ(ReadBlockStream(good, 20), QByteArray(20, 'b'));
}

} // namespace
