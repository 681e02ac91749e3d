#include "StreamData.h"
#include "widgets/Buffer.h"
#include "widgets/Compression.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// Items are strings made with malloc; the buffer frees what it drops.
void* Item(const char* text)
{
    void* p = std::malloc(std::strlen(text) + 1);
    std::memcpy(p, text, std::strlen(text) + 1);
    return p;
}

QStringList Contents(const TWLXDynLIFOBuffer& buffer)
{
    QStringList out;
    for (auto p = buffer.First(); !buffer.IsEnd(p); buffer.Next(p))
        out << QString::fromLatin1(static_cast<const char*>(buffer.GetItem(p)));
    return out;
}

TEST(BufferTest, FullStackDropsItsOldestOrRefuses)
{
    struct Case {
        bool circular;
        int maxCount;
        QStringList oldestFirst;
        QStringList disposed;
    } cases[] = {
        {true, 3, {"B", "C", "D"}, {"A"}},
        {false, 3, {"A", "B", "C"}, {}},
        {true, 1, {"D"}, {"A", "B", "C"}},
        {true, -1, {"A", "B", "C", "D"}, {}},
    };
    for (const Case& c : cases) {
        QStringList disposed;
        TWLXDynLIFOBuffer stack;
        stack.CircularMode = c.circular;
        stack.MaxCount = c.maxCount;
        stack.OnDisposeItem = [&](TWLXBuffer*, void* item) {
            disposed << QString::fromLatin1(static_cast<const char*>(item));
            std::free(item);
        };
        void* refused = nullptr;
        for (const char* t : {"A", "B", "C", "D"}) {
            void* item = Item(t);
            const int before = stack.Count();
            stack.Push(item);
            if (stack.Count() == before && stack.Top() != item)
                refused = item;
        }
        EXPECT_EQ(Contents(stack), c.oldestFirst) << c.maxCount << c.circular;
        EXPECT_EQ(disposed, c.disposed) << c.maxCount << c.circular;
        EXPECT_EQ(stack.Count(), c.oldestFirst.size());
        // The refused item stays with the caller.
        std::free(refused);
    }
}

TEST(BufferTest, PopGivesTheNewestToTheCaller)
{
    TWLXDynLIFOBuffer stack;
    EXPECT_EQ(stack.Pop(), nullptr);
    EXPECT_EQ(stack.Count(), 0);
    stack.Push(Item("x"));
    stack.Push(Item("y"));
    void* top = stack.Pop();
    EXPECT_STREQ(static_cast<char*>(top), "y");
    std::free(top);
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_FALSE(stack.IsEmpty());
}

TEST(BufferTest, StreamFormat)
{
    TWLXDynLIFOBuffer stack;
    stack.Push(Item("ab"));
    stack.Push(Item("cde"));
    // Without a size query every item is written with size 0.
    QByteArray header = QByteArray("\x17\0\0\0", 4) + QByteArray("@WLXBufferStream-V0.1@") + QByteArray(1, '\0');
    EXPECT_EQ(Written([&](TWriter& w) { stack.SaveToStream(w); }).toHex(' '),
              (header + QByteArray(8, '\0')).toHex(' '));

    stack.OnItemSizeQuery = [](TWLXBuffer*, void* item, int& size) {
        size = int(std::strlen(static_cast<const char*>(item)));
    };
    const QByteArray saved = Written([&](TWriter& w) { stack.SaveToStream(w); });
    EXPECT_EQ(saved.mid(27).toHex(' '), QByteArray("02 00 00 00 61 62 03 00 00 00 63 64 65"));

    TWLXDynLIFOBuffer copy;
    copy.Push(Item("old"));
    ReadFrom(saved, [&](TReader& r) { copy.LoadFromStream(r); });
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(QByteArray(static_cast<const char*>(copy.Top()), 3), QByteArray("cde"));

    // Another signature leaves the buffer as it was; a size past the end is refused.
    QByteArray other = saved;
    other[5] = 'X';
    ReadFrom(other, [&](TReader& r) { copy.LoadFromStream(r); });
    EXPECT_EQ(copy.Count(), 2);
    QByteArray damaged = saved;
    damaged[27] = 0x7f;
    EXPECT_THROW(ReadFrom(damaged, [&](TReader& r) { copy.LoadFromStream(r); }), EDamagedData);
    EXPECT_EQ(copy.Count(), 2);
}

} // namespace
