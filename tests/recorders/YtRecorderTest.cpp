// The Y(t) recorder: its component's edges, sampling ticks, batches, playback, pins and
// automatic file, and its element's following of the recording, limits, zoom, time bases and
// stored data.

#include "RecorderTestSupport.h"

#include "components/recorder/Recorders.h"
#include "core/engine/HiTimer.h"
#include "frontpanel/chart/GrfFile.h"
#include "frontpanel/elements/YtRecorder.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <cmath>

namespace {

using YtRecorderTest = RecorderTest;
using TYt = TLinked<TBTGraf, TFPGraf>;

// Inputs: 0 |REC, 1 |STP, 2..5 E1..E4.
void Step(TBTGraf& c)
{
    c.Calculate();
}

// A recording started on a falling edge of REC, with the inputs wired as given.
void StartByEdge(TYt& yt, TDrive& in)
{
    in.High(0).High(1);
    yt.c->SimReset();
    Step(*yt.c);
    in.Low(0);
    Step(*yt.c);
}

} // namespace

TEST_F(YtRecorderTest, EdgesStartAndStopAndRecordWhatIsWired)
{
    TYt yt;
    TDrive in(*yt.c);
    in.Set(2, 1.5).Set(4, -3);  // E1 and E3 wired
    StartByEdge(yt, in);
    ASSERT_TRUE(yt.c->Running);
    EXPECT_TRUE(yt.e->Recording);
    EXPECT_EQ(yt.e->StatusLabel->text(), QStringLiteral("REC"));
    // The default time base is 1 ms, applied at the start.
    EXPECT_EQ(yt.e->SampleInterval, 0.001);
    for (int k = 0; k < 3; ++k)
        yt.c->SampleTick();
    ASSERT_EQ(yt.e->Channels[0].size(), 3u);
    EXPECT_TRUE(yt.e->Channels[1].empty());
    EXPECT_EQ(yt.e->Channels[2].size(), 3u);
    EXPECT_DOUBLE_EQ(yt.e->Channels[0][2].X, 0.002);
    EXPECT_EQ(yt.e->Channels[2][1].Y, -3);

    // REC is looked at only while idle.
    in.High(0);
    Step(*yt.c);
    in.Low(0);
    Step(*yt.c);
    EXPECT_EQ(yt.e->Channels[0].size(), 3u);

    in.Low(1);
    Step(*yt.c);
    EXPECT_FALSE(yt.c->Running);
    EXPECT_EQ(yt.e->StatusLabel->text(), QStringLiteral("STOP"));
    yt.c->SampleTick();
    EXPECT_EQ(yt.e->Channels[0].size(), 3u);
}

TEST_F(YtRecorderTest, NothingWiredCountsTimeButStoresNothing)
{
    TYt yt;
    TDrive in(*yt.c);
    StartByEdge(yt, in);
    const TRasterMap before = yt.e->Chart->Raster;
    for (int k = 0; k < 250; ++k)
        yt.c->SampleTick();
    EXPECT_EQ(yt.c->SampleCount, 250);
    for (const auto& channel : yt.e->Channels)
        EXPECT_TRUE(channel.empty());
    EXPECT_EQ(yt.e->Chart->Raster.XMax, before.XMax);
}

TEST_F(YtRecorderTest, LongIntervalsTickEveryMinute)
{
    TYt yt;
    TDrive in(*yt.c);
    in.Set(2, 1);
    yt.e->TimeBaseIndex = 15;  // 2 min
    StartByEdge(yt, in);
    EXPECT_EQ(yt.e->SampleTimer->Interval(), 60000u);
    for (int k = 0; k < 6; ++k)
        yt.c->SampleTick();
    EXPECT_EQ(yt.e->Channels[0].size(), 3u);
    EXPECT_DOUBLE_EQ(yt.e->Channels[0][2].X, 240.0);
}

TEST_F(YtRecorderTest, BatchSizes)
{
    TYt yt;
    struct Case {
        int index;
        int batch;
    };
    for (const Case& c : {Case{0, 100}, {1, 50}, {2, 20}, {3, 10}, {4, 5}, {5, 2}, {6, 1}, {19, 1}}) {
        yt.e->TimeBaseIndex = c.index;
        yt.e->ApplyTimeBase();
        EXPECT_EQ(yt.c->BatchSize, c.batch) << c.index;
        EXPECT_EQ(yt.c->BatchCount, c.batch - 1) << c.index;
    }
}

TEST_F(YtRecorderTest, FollowingTheRecordingShowsOneSamplePerPixel)
{
    TYt yt;
    yt.e->TimeBaseIndex = 3;  // 10 ms
    yt.e->ApplyTimeBase();
    for (int i = 0; i < 1000; ++i)
        yt.e->AddSample(0, i * 0.01, i % 7);
    yt.e->FollowRecording(1);
    const int w = yt.e->Chart->Raster.W;
    EXPECT_NEAR(double(yt.e->Chart->Raster.XMin), (1000 - w) * 0.01, 1e-9);
    EXPECT_NEAR(double(yt.e->Chart->Raster.XMax), 999 * 0.01, 1e-9);
    // The curve points at the visible samples, at most about one per pixel.
    const auto& points = yt.e->Chart->Curves[0]->Points;
    ASSERT_FALSE(points.empty());
    EXPECT_LE(points.size(), size_t(w) + 2);
    EXPECT_EQ(points.back(), &yt.e->Channels[0].back());
}

TEST_F(YtRecorderTest, FullRecordingStopsAndSaysSo)
{
    TYt yt;
    TDrive in(*yt.c);
    in.Set(2, 1);
    StartByEdge(yt, in);
    for (size_t k = 0; k < TFPGraf::kMaxSamples + 10; ++k)
        yt.c->SampleTick();
    EXPECT_FALSE(yt.c->Running);
    EXPECT_EQ(yt.e->Channels[0].size(), TFPGraf::kMaxSamples);
    EXPECT_EQ(yt.e->StatusLabel->text(), QStringLiteral("VOLL"));

    // An element whose recording nothing ends (no component answers the limit) stops growing
    // there all the same.
    std::unique_ptr<TFPGraf> alone(NewElement<TFPGraf>(nullptr));
    int stops = 0;
    alone->OnStop = [&stops] { ++stops; };
    alone->Recording = true;
    for (size_t k = 0; k < TFPGraf::kMaxSamples + 10; ++k)
        alone->AddSample(1, double(k), 2.0);
    EXPECT_EQ(alone->Channels[1].size(), TFPGraf::kMaxSamples);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(alone->StatusLabel->text(), QStringLiteral("VOLL"));
}

TEST_F(YtRecorderTest, PlaybackStopsAtTheRightEdge)
{
    TYt yt;
    yt.c->SetAllowPlayback(true);
    ASSERT_EQ(yt.c->InputCount, 7);
    ASSERT_EQ(yt.c->OutputCount, 6);
    EXPECT_EQ(yt.c->Outputs[5]->Name(), QStringLiteral("O1"));
    yt.e->TimeBaseIndex = 6;  // 100 ms
    yt.e->ApplyTimeBase();
    for (int i = 0; i < 100; ++i)
        yt.e->AddSample(0, i * 0.1, i);
    yt.e->Chart->SetRange(0, 1, -10, 100);  // samples 0 .. 10 visible
    yt.c->StartPlayback();
    ASSERT_TRUE(yt.c->Running);
    EXPECT_TRUE(yt.e->Playing);
    EXPECT_TRUE(yt.e->Chart->PlayCursorVisible);
    int ticks = 0;
    while (yt.c->Running && ticks < 100) {
        yt.c->SampleTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 12);
    EXPECT_EQ(yt.c->Outputs[5]->Value, 11);
    // Playback writes no file and keeps the samples.
    EXPECT_EQ(yt.e->Channels[0].size(), 100u);

    yt.c->SetAllowPlayback(false);
    EXPECT_EQ(yt.c->InputCount, 6);
    EXPECT_EQ(yt.c->OutputCount, 0);
    yt.c->StartPlayback();
    EXPECT_FALSE(yt.c->Running);
}

TEST_F(YtRecorderTest, AutomaticFileAtStopAndTimeBaseChangeFinishesTheRecordingFirst)
{
    QTemporaryDir dir;
    Ctx().ProgramFolder = dir.path() + u'/';
    TYt yt;
    TDrive in(*yt.c);
    in.Set(2, 2.5);
    yt.e->FilePrefix = QStringLiteral("Messung:A");
    StartByEdge(yt, in);
    const QDateTime at(QDate(2026, 3, 4), QTime(14, 5, 9));
    const QString name = yt.c->AutoFileName(at);
    EXPECT_TRUE(name.startsWith(dir.path() + QStringLiteral("/Data/Messung.A ")));
    EXPECT_TRUE(name.endsWith(QStringLiteral(" 14_05_09.GRF")));
    yt.e->FixedFileName = true;
    EXPECT_EQ(yt.c->AutoFileName(at), dir.path() + QStringLiteral("/Data/Messung.A.GRF"));

    for (int k = 0; k < 5; ++k)
        yt.c->SampleTick();
    // A new time base during the recording: the recording is written first, then cleared,
    // then a new one starts.
    yt.e->TimeBaseIndex = 6;
    yt.e->ApplyTimeBase();
    const QString file = dir.path() + QStringLiteral("/Data/Messung.A.GRF");
    ASSERT_TRUE(QFileInfo::exists(file));
    std::unique_ptr<TFPGraf> check(NewElement<TFPGraf>(nullptr));
    ASSERT_TRUE(check->LoadGRF(file));
    EXPECT_EQ(check->Channels[0].size(), 5u);
    EXPECT_TRUE(yt.c->Running);
    EXPECT_TRUE(yt.e->Channels[0].empty());
    EXPECT_EQ(yt.e->SampleInterval, 0.1);
}

TEST_F(YtRecorderTest, ZoomAllOverEqualValues)
{
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    for (int i = 0; i < 10; ++i)
        e->AddSample(1, i * 0.5, 2.5);
    e->ZoomAll();
    EXPECT_EQ(e->Chart->Raster.XMin, 0);
    EXPECT_EQ(e->Chart->Raster.XMax, 4.5);
    EXPECT_EQ(e->Chart->Raster.YMin, 2.5 - 100000);
    EXPECT_EQ(e->Chart->Raster.YMax, 2.5 + 100000);
}

TEST_F(YtRecorderTest, TimeBaseHotkeysStopAtTheEnds)
{
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    e->HotkeyPressed(13);
    EXPECT_EQ(e->TimeBaseIndex, 0);
    e->TB_Combo->setCurrentIndex(19);
    e->TimeBaseChanged(19);
    e->HotkeyPressed(12);
    EXPECT_EQ(e->TimeBaseIndex, 19);
    e->HotkeyPressed(13);
    EXPECT_EQ(e->TimeBaseIndex, 18);
    e->SetRunning(true);
    e->HotkeyPressed(13);
    EXPECT_EQ(e->TimeBaseIndex, 18);
}

TEST_F(YtRecorderTest, ElementDataRoundTripAndOldTimeBases)
{
    std::unique_ptr<TFPGraf> a(NewElement<TFPGraf>(nullptr));
    a->resize(400, 250);
    a->TimeBaseIndex = 9;
    a->YRangeLow = -2;
    a->YRangeHigh = 8;
    a->Unit = QStringLiteral("bar");
    a->TimeWindow = 30;
    a->FilePrefix = QStringLiteral("p");
    a->FixedFileName = true;
    a->Chart->AutoZoom = true;
    a->Chart->Curves[3]->CurveColor = 0x123456;
    a->Chart->Curves[1]->PenWidth = 3;
    a->Chart->Headline = QStringLiteral("H");
    a->Chart->CommentLines = {QStringLiteral("c1")};
    a->Chart->Print.ZoomPos = 150;
    const QByteArray bytes = StreamBytes([&](TWriter& w) { a->WriteElementData(w); });
    std::unique_ptr<TFPGraf> b(NewElement<TFPGraf>(nullptr));
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b->ReadElementData(r, 44); }));
    EXPECT_EQ(b->size(), QSize(400, 250));
    EXPECT_EQ(b->TimeBaseIndex, 9);
    EXPECT_EQ(b->SampleInterval, 1.0);
    EXPECT_EQ(b->Unit, QStringLiteral("bar"));
    EXPECT_EQ(b->TimeWindow, 30);
    EXPECT_TRUE(b->FixedFileName);
    EXPECT_TRUE(b->Chart->AutoZoom);
    EXPECT_EQ(b->Chart->Curves[3]->CurveColor, 0x123456);
    EXPECT_EQ(b->Chart->Curves[1]->PenWidth, 3);
    EXPECT_EQ(b->Chart->Headline, QStringLiteral("H"));
    EXPECT_EQ(b->Chart->CommentLines, QStringList{QStringLiteral("c1")});
    EXPECT_EQ(b->Chart->Print.ZoomPos, 150);
    // The time window applies: 0 .. 30 s.
    EXPECT_EQ(b->Chart->Raster.XMax, 30);
    EXPECT_EQ(b->Chart->Raster.YMin, -2);

    // Format version 2 stored the time base six places lower: 0 is 100 ms, 3 is 1 s.
    for (const auto& [stored, interval] : {std::pair{0, 0.1}, std::pair{3, 1.0}}) {
        QByteArray old = StreamBytes([&](TWriter& w) {
            w.WriteInteger(1);        // element index
            w.WriteBoolean(false);    // not transparent
            w.WriteRawInt16(320);
            w.WriteRawInt16(192);
            w.WriteRawReal48(0.1);
            w.WriteRawReal48(-10);
            w.WriteRawReal48(10);
            w.WriteRawShortString(QStringLiteral("mV"), 10);
            w.WriteRawByte(1);
            w.WriteRawInt16(int16_t(stored));
        });
        std::unique_ptr<TFPGraf> c(NewElement<TFPGraf>(nullptr));
        EXPECT_TRUE(ReadBytes(old, [&](TReader& r) { c->ReadElementData(r, 2); }));
        EXPECT_EQ(c->SampleInterval, interval) << stored;
    }
}

// A stored interval that is no positive number and a time-base index outside the table read
// as a usable interval: the index then leaves the interval as it was.
TEST_F(YtRecorderTest, DamagedIntervalAndTimeBaseReadAsAUsableInterval)
{
    const struct {
        double interval;
        int timeBase;
        double expected;
    } cases[] = {{0, 99, 0.1},   {-3, -5, 0.1},    {0, 20, 0.1},        
                 {0.25, 40, 0.25}, {0, 4, 0.02},  {0.25, -1, 0.25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interval << " " << c.timeBase);
        const QByteArray record = StreamBytes([&](TWriter& w) {
            w.WriteInteger(1);        // element index
            w.WriteBoolean(false);    // not transparent
            w.WriteRawInt16(320);
            w.WriteRawInt16(192);
            w.WriteRawReal48(c.interval);
            w.WriteRawReal48(-10);
            w.WriteRawReal48(10);
            w.WriteRawShortString(QStringLiteral("mV"), 10);
            w.WriteRawByte(1);
            w.WriteRawInt16(int16_t(c.timeBase - 6));  // format 2 stores it six places lower
        });
        std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
        ASSERT_TRUE(ReadBytes(record, [&](TReader& r) { e->ReadElementData(r, 2); }));
        EXPECT_EQ(e->TimeBaseIndex, c.timeBase);
        EXPECT_DOUBLE_EQ(e->SampleInterval, c.expected);
        // The view over a recording stays finite.
        e->Recording = true;
        for (int k = 0; k < 50; ++k)
            e->AddSample(0, k * e->SampleInterval, k);
        e->FollowRecording(50);
        EXPECT_TRUE(std::isfinite(double(e->Chart->Raster.XMax)));
        EXPECT_GT(e->Chart->Raster.XMax, e->Chart->Raster.XMin);
    }
    // A recorder file's time-base index outside the table leaves the interval as well.
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    const double before = e->SampleInterval;
    TGrfData d;
    d.TimeBaseIndex = 25;
    e->ApplyGrf(d);
    EXPECT_EQ(e->SampleInterval, before);
}

TEST_F(YtRecorderTest, ComponentRecordKeepsPlayback)
{
    auto a = NewObject<TBTGraf>();
    a->SetAllowPlayback(true);
    const QByteArray bytes = StreamBytes([&](TWriter& w) { a->WriteData(w); });
    auto b = NewObject<TBTGraf>();
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b->ReadData(r, 44); }));
    EXPECT_TRUE(b->AllowPlayback);
    EXPECT_EQ(b->InputCount, 7);
    EXPECT_EQ(b->Inputs[6]->Name(), QStringLiteral("|PLY"));
    EXPECT_EQ(b->Outputs[0]->Name(), QStringLiteral("REC"));
}
