// The shared sample-time setting (list, stored form, old numbering, validation) and the
// four-stage real-time low-pass filter.
#include "components/analog/Filter.h"
#include "components/analog/SampleTime.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <cmath>
#include <functional>

namespace {

QByteArray WriteBytes(const std::function<void(TWriter&)>& write)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    write(writer);
    return data;
}

// Reads with the callback; returns whether the whole stream was used.
bool ReadBytes(QByteArray data, const std::function<void(TReader&)>& read)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    read(reader);
    return reader.AtEnd();
}

QByteArray StoredSampling(const char* real48Hex, int16_t index)
{
    return WriteBytes([&](TWriter& w) {
        w.WriteBuffer(QByteArray::fromHex(real48Hex).constData(), 6);
        w.WriteRawInt16(index);
    });
}

class SampleTimeTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
};

TEST_F(SampleTimeTest, EveryEntryHasItsCaptionTimeAndStoredBytes)
{
    struct TEntry {
        const char* caption;
        double seconds;
        const char* hex;
    } const entries[] = {
        {"Max", -1.0, "810000000080"},   {"1 ms", 0.001, "778d976e1203"},
        {"2 ms", 0.002, "788d976e1203"}, {"5 ms", 0.005, "79713d0ad723"},
        {"10 ms", 0.01, "7a713d0ad723"}, {"20 ms", 0.02, "7b713d0ad723"},
        {"50 ms", 0.05, "7ccdcccccc4c"}, {"100 ms", 0.1, "7dcdcccccc4c"},
        {"200 ms", 0.2, "7ecdcccccc4c"}, {"500 ms", 0.5, "800000000000"},
        {"1 s", 1, "810000000000"},      {"2 s", 2, "820000000000"},
        {"5 s", 5, "830000000020"},      {"10 s", 10, "840000000020"},
        {"30 s", 30, "850000000070"},    {"1 min", 60, "860000000070"},
        {"2 min", 120, "870000000070"},  {"5 min", 300, "890000000016"},
        {"10 min", 600, "8a0000000016"}, {"20 min", 1200, "8b0000000016"},
        {"30 min", 1800, "8b0000000061"},
    };
    ASSERT_EQ(SampleTimes::Captions().size(), SampleTimes::Count);
    ASSERT_EQ(std::size(entries), size_t(SampleTimes::Count));
    for (int i = 0; i < SampleTimes::Count; ++i) {
        SCOPED_TRACE(entries[i].caption);
        EXPECT_EQ(SampleTimes::Captions()[i], QString::fromUtf8(entries[i].caption));
        EXPECT_NEAR(SampleTimes::Seconds(i), entries[i].seconds,
                    std::fabs(entries[i].seconds) * 1e-11);

        TSampleTime s;
        s.SetIndex(i);
        EXPECT_EQ(s.SampleIndex, i);
        EXPECT_EQ(WriteBytes([&](TWriter& w) { s.Write(w); }),
                  StoredSampling(entries[i].hex, static_cast<int16_t>(i)));

        TSampleTime back;
        EXPECT_TRUE(ReadBytes(StoredSampling(entries[i].hex, static_cast<int16_t>(i)),
                              [&](TReader& r) { back.Read(r, 44); }));
        EXPECT_EQ(back.SampleIndex, i);
        EXPECT_EQ(back.SampleTime, s.SampleTime);
    }
}

TEST_F(SampleTimeTest, ReadingAppliesTheOldNumberingAndValidatesTheIndex)
{
    struct TCase {
        const char* name;
        const char* hex; // stored time
        int16_t index;
        uint8_t version;
        int16_t expectedIndex;
        double expectedTime;
    } const cases[] = {
        {"current file", "7dcdcccccc4c", 7, 44, 7, 0.1},
        {"old file moves 7 down", "7dcdcccccc4c", 0, 2, 7, 0.1},
        {"old file keeps its stored time", "810000000000", 3, 2, 10, 1.0},
        {"old index past the end: entry of the stored time", "850000000070", 14, 2, 14, 30.0},
        {"negative index: entry of the stored time", "7a713d0ad723", -3, 44, 4, 0.01},
        {"huge index, time between entries: nearest", "820000000040", 999, 44, 11, 3.0},
        {"huge index, every-step time", "810000000080", 999, 44, 0, -1.0},
        {"huge index, zero time", "000000000000", 999, 44, 0, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSampleTime s;
        EXPECT_TRUE(ReadBytes(StoredSampling(c.hex, c.index),
                              [&](TReader& r) { s.Read(r, c.version); }));
        EXPECT_EQ(s.SampleIndex, c.expectedIndex);
        EXPECT_NEAR(s.SampleTime, c.expectedTime, 1e-12);
    }
    // The reader without a version rule never renumbers.
    TSampleTime s;
    ReadBytes(StoredSampling("810000000000", 10), [&](TReader& r) { s.Read(r); });
    EXPECT_EQ(s.SampleIndex, 10);
}

TEST_F(SampleTimeTest, AnIndexOutsideTheListKeepsTheSetting)
{
    TSampleTime s;
    s.SetIndex(9);
    for (int bad : {-1, SampleTimes::Count, 1000}) {
        s.SetIndex(bad);
        EXPECT_EQ(s.SampleIndex, 9);
        EXPECT_EQ(s.SampleTime, 0.5);
    }
    EXPECT_EQ(SampleTimes::Seconds(-1), -1.0);
}

// --- TFilter -------------------------------------------------------------------------------

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
    TScopedFakeClock clock;
};

TEST_F(FilterTest, InactivePassesTheInputAndLeavesItsState)
{
    TFilter f;
    EXPECT_FALSE(f.Active);
    EXPECT_EQ(f.Omega, 62.83185307179586L);
    f.Reset();
    clock.clock.AdvanceMs(5);
    EXPECT_EQ(f.Step(3.25L), 3.25L);
    EXPECT_EQ(f.LastCount, 0);
    EXPECT_EQ(f.Stage[3], 0.0L);
}

TEST_F(FilterTest, FourChainedStagesEachMoveByTheCoefficient)
{
    TFilter f;
    f.Active = true;
    f.Omega = 100.0L;
    f.Reset();
    clock.clock.AdvanceMs(1); // a = 0.1
    const Extended y = f.Step(1.0L);
    // Each stage takes a tenth of its input's step: 0.1, 0.01, 0.001, 0.0001.
    EXPECT_NEAR(static_cast<double>(f.Stage[0]), 0.1, 1e-15);
    EXPECT_NEAR(static_cast<double>(f.Stage[1]), 0.01, 1e-15);
    EXPECT_NEAR(static_cast<double>(y), 1e-4, 1e-15);

    // The step response rises steadily to the input and never passes it.
    Extended last = y;
    for (int i = 0; i < 2000; ++i) {
        clock.clock.AdvanceMs(1);
        const Extended now = f.Step(1.0L);
        ASSERT_GE(now, last);
        ASSERT_LE(now, 1.0L);
        last = now;
    }
    EXPECT_NEAR(static_cast<double>(last), 1.0, 1e-9);
}

TEST_F(FilterTest, APauseBetweenStepsCannotMakeItOvershootOrDiverge)
{
    // 10 Hz and pauses of 0.1 s to 10 s: the unlimited coefficient would be 6 to 628.
    for (const int pauseMs : {20, 100, 1000, 10000}) {
        SCOPED_TRACE(pauseMs);
        TFilter f;
        f.Active = true;
        f.Reset();
        for (int i = 0; i < 20; ++i) {
            clock.clock.AdvanceMs(pauseMs);
            const Extended y = f.Step(i % 2 ? 2.0L : -2.0L);
            ASSERT_LE(std::fabs(static_cast<double>(y)), 2.0);
        }
        clock.clock.AdvanceMs(pauseMs);
        f.Step(1.5L);
        if (pauseMs >= 1000) {
            EXPECT_EQ(f.Stage[3], 1.5L); // a long pause settles every stage on the input
        }
    }
}

TEST_F(FilterTest, ResetClearsTheStagesAndTakesTheTimeBase)
{
    TFilter f;
    f.Active = true;
    clock.clock.AdvanceMs(50);
    f.Step(4.0L);
    ASSERT_NE(f.Stage[0], 0.0L);
    clock.clock.AdvanceMs(7);
    f.Reset();
    EXPECT_EQ(f.LastCount, clock.clock.PerformanceCounter());
    for (Extended s : f.Stage)
        EXPECT_EQ(s, 0.0L);
}

TEST_F(FilterTest, RecordRoundTripAndStoredStageCountIsKeptInsideTheStages)
{
    TFilter f;
    f.IntParam = 7;
    f.Active = true;
    f.Omega = 12.5L;
    f.ByteParam = 3;
    f.StageCount = 2;
    const QByteArray data = WriteBytes([&](TWriter& w) { f.WriteRecord(w); });
    const QByteArray expected = WriteBytes([](TWriter& w) {
        w.WriteInteger(7);
        w.WriteBoolean(true);
        w.WriteFloat(12.5L);
        w.WriteInteger(3);
        w.WriteInteger(2);
    });
    EXPECT_EQ(data, expected);
    TFilter back;
    EXPECT_TRUE(ReadBytes(data, [&](TReader& r) { back.ReadRecord(r); }));
    EXPECT_EQ(back.IntParam, 7);
    EXPECT_TRUE(back.Active);
    EXPECT_EQ(back.Omega, 12.5L);
    EXPECT_EQ(back.ByteParam, 3);
    EXPECT_EQ(back.StageCount, 2);

    for (const auto& [stored, kept] : {std::pair{100, 4}, std::pair{-5, 0}}) {
        const QByteArray bad = WriteBytes([&, stored = stored](TWriter& w) {
            w.WriteInteger(1);
            w.WriteBoolean(false);
            w.WriteFloat(1.0L);
            w.WriteInteger(0);
            w.WriteInteger(stored);
        });
        TFilter g;
        ReadBytes(bad, [&](TReader& r) { g.ReadRecord(r); });
        EXPECT_EQ(g.StageCount, kept);
        g.Reset(); // must stay inside the four stages
    }
}

} // namespace
