// The recorder file: the exact bytes of a written file, the round trip through the element,
// older files, damaged files that are refused without touching the recording, and files cut
// short that load what they hold.

#include "RecorderTestSupport.h"

#include "frontpanel/chart/GrfFile.h"
#include "frontpanel/elements/YtRecorder.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using GrfFileTest = RecorderTest;

TGrfData SmallRecording()
{
    TGrfData d;
    d.TimeBaseIndex = 3;
    d.XUnit = QStringLiteral("t");
    d.YUnit = QStringLiteral("mV");
    d.ViewXMin = 0;
    d.ViewXMax = 10;
    d.ViewYMin = -5;
    d.ViewYMax = 5;
    d.Headline = QStringLiteral("Test");
    d.TimeMode = 1;
    d.StartZeit = 45000.5;
    d.CommentLines = {QStringLiteral("a")};
    d.Curves.push_back({QStringLiteral("text"), QStringLiteral("Kurve"), 255, {{0, 2.5}, {0.001, -2.5}}});
    d.Comments.push_back({QStringLiteral("note"), 1, 2, 3, 4});
    return d;
}

const char* const kSmallFile =
    "3\r\nt\r\nmV\r\n"
    " 0.00000000000000E+0000\r\n 1.00000000000000E+0001\r\n"
    "-5.00000000000000E+0000\r\n 5.00000000000000E+0000\r\n"
    "-1.00000000000000E+0033\r\n 1.00000000000000E+0033\r\n"
    "-1.00000000000000E+0020\r\n 1.00000000000000E+0020\r\n"
    "Test#FileVersion40\r\n1\r\n 4.50005000000000E+0004\r\n"
    "1\r\na\r\n"
    "1\r\ntext\r\nKurve\r\n255\r\n2\r\n"
    " 0.00000000000000E+0000\r\n 2.50000000000000E+0000\r\n"
    " 1.00000000000000E-0003\r\n-2.50000000000000E+0000\r\n"
    "1\r\nnote\r\n 1.00000000000000E+0000\r\n 2.00000000000000E+0000\r\n"
    " 3.00000000000000E+0000\r\n 4.00000000000000E+0000\r\n";

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST_F(GrfFileTest, WrittenBytesAndNumberForm)
{
    EXPECT_EQ(WriteGrf(SmallRecording()), QByteArray(kSmallFile));
    EXPECT_EQ(GrfNumber(0.001), QStringLiteral(" 1.00000000000000E-0003"));
    EXPECT_EQ(GrfNumber(10), QStringLiteral(" 1.00000000000000E+0001"));
    EXPECT_EQ(GrfNumber(-2.5), QStringLiteral("-2.50000000000000E+0000"));
    EXPECT_EQ(GrfNumber(1.0 / 3).size(), 23);
    EXPECT_EQ(GrfNumber(-1e-300), QStringLiteral("-1.00000000000000E-0300"));
}

TEST_F(GrfFileTest, ReaderTakesWhatTheWriterWrote)
{
    TGrfData d;
    QString error;
    ASSERT_TRUE(ParseGrf(QByteArray(kSmallFile), d, &error)) << error.toStdString();
    EXPECT_EQ(WriteGrf(d), QByteArray(kSmallFile));

    // Blank lines and blanks before numbers are skipped, the rest of a number's line ignored.
    QByteArray loose(kSmallFile);
    loose.replace("\r\n 1.00000000000000E+0001\r\n", "\r\n\r\n   10 and more\r\n");
    ASSERT_TRUE(ParseGrf(loose, d, &error));
    EXPECT_EQ(d.ViewXMax, 10);
}

TEST_F(GrfFileTest, ElementRoundTrip)
{
    QTemporaryDir dir;
    std::unique_ptr<TFPGraf> a(NewElement<TFPGraf>(nullptr));
    a->TimeBaseIndex = 4;
    a->ApplyTimeBase();
    a->Chart->SetTimeMode(tmUhrzeit);
    a->Chart->SetStartZeit(46000.25);
    a->Chart->Headline = QStringLiteral("Messung");
    a->Chart->CommentLines = {QStringLiteral("eins"), QStringLiteral("zwei")};
    a->Chart->YUnit = QStringLiteral("V");
    a->Chart->Curves[2]->CurveText = QStringLiteral("Druck");
    for (int i = 0; i < 100; ++i) {
        a->AddSample(0, i * 0.02, std::sin(i / 7.0));
        a->AddSample(2, i * 0.02, 1.0 / (i + 3));
    }
    a->Chart->SetRange(0, 2, -1.5, 1.5);
    a->Chart->AddComment(40, 30)->setText(QStringLiteral("Spitze"));
    const QString file = dir.filePath(QStringLiteral("a.GRF"));
    QString error;
    ASSERT_TRUE(a->SaveGRF(file, &error)) << error.toStdString();

    std::unique_ptr<TFPGraf> b(NewElement<TFPGraf>(nullptr));
    ASSERT_TRUE(b->LoadGRF(file, &error)) << error.toStdString();
    EXPECT_EQ(b->TimeBaseIndex, 4);
    EXPECT_EQ(b->SampleInterval, 0.02);
    EXPECT_EQ(b->Chart->TimeMode(), tmUhrzeit);
    EXPECT_EQ(b->Chart->StartZeit, 46000.25);
    EXPECT_EQ(b->Chart->Headline, QStringLiteral("Messung"));
    EXPECT_EQ(b->Chart->CommentLines, a->Chart->CommentLines);
    EXPECT_EQ(b->Chart->YUnit, QStringLiteral("V"));
    EXPECT_EQ(b->Chart->Curves[2]->CurveText, QStringLiteral("Druck"));
    ASSERT_EQ(b->Channels[0].size(), 100u);
    ASSERT_EQ(b->Channels[2].size(), 100u);
    EXPECT_TRUE(b->Channels[1].empty());
    for (size_t i = 0; i < 100; ++i) {
        // 15 significant digits
        EXPECT_NEAR(b->Channels[0][i].Y, a->Channels[0][i].Y, 1e-14);
        EXPECT_NEAR(b->Channels[2][i].X, a->Channels[2][i].X, 1e-13);
    }
    EXPECT_NEAR(double(b->Chart->Raster.XMax), 2, 1e-12);
    ASSERT_EQ(b->Chart->Comments.size(), 1u);
    EXPECT_EQ(b->Chart->Comments[0]->text(), QStringLiteral("Spitze"));
    EXPECT_NEAR(double(b->Chart->Comments[0]->PointX), double(a->Chart->Comments[0]->PointX), 1e-12);
    // The file is the same when written again.
    const QString again = dir.filePath(QStringLiteral("b.GRF"));
    ASSERT_TRUE(b->SaveGRF(again));
    QFile fa(file), fb(again);
    fa.open(QIODevice::ReadOnly);
    fb.open(QIODevice::ReadOnly);
    EXPECT_EQ(fa.readAll(), fb.readAll());
}

TEST_F(GrfFileTest, OlderFiles)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        int timeBase;
        QString xUnit;
        bool timeMode;
    };
    QByteArray noTimeBase(kSmallFile);
    noTimeBase.remove(0, 3);  // first line is now the x unit "t"
    noTimeBase.replace("t\r\nmV", "mV\r\nmV");
    QByteArray zero(kSmallFile);
    zero[0] = '0';
    QByteArray noMarker(kSmallFile);
    noMarker.replace("Test#FileVersion40\r\n1\r\n 4.50005000000000E+0004\r\n", "Test\r\n");
    const Case cases[] = {
        {"no time base", noTimeBase, 6, QStringLiteral("mV"), true},
        {"time base 0", zero, 0, QStringLiteral("t"), true},
        {"no marker", noMarker, 3, QStringLiteral("t"), false},
    };
    for (const Case& c : cases) {
        TGrfData d;
        QString error;
        ASSERT_TRUE(ParseGrf(c.bytes, d, &error)) << c.name;
        EXPECT_EQ(d.TimeBaseIndex, c.timeBase) << c.name;
        EXPECT_EQ(d.XUnit, c.xUnit) << c.name;
        EXPECT_EQ(d.HasTimeMode(), c.timeMode) << c.name;
        ASSERT_EQ(d.Curves.size(), 1u) << c.name;
        EXPECT_EQ(d.Curves[0].Samples.size(), 2u) << c.name;
    }
}

TEST_F(GrfFileTest, HeadlineHoldingTheMarkerReadsBack)
{
    TGrfData d = SmallRecording();
    d.Headline = QStringLiteral("A #FileVersion B\r\nC");
    TGrfData back;
    ASSERT_TRUE(ParseGrf(WriteGrf(d), back, nullptr));
    EXPECT_EQ(back.Headline, QStringLiteral("A #FileVersion B  C"));
    EXPECT_EQ(back.Version, 40);
    EXPECT_EQ(back.Comments.size(), 1u);
}

TEST_F(GrfFileTest, DamagedFilesAreRefusedAndChangeNothing)
{
    QTemporaryDir dir;
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    e->AddSample(0, 0, 1);
    e->AddSample(0, 0.1, 2);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    QByteArray negative(kSmallFile);
    negative.replace("255\r\n2\r\n", "255\r\n-1\r\n");
    QByteArray badVersion(kSmallFile);
    badVersion.replace("#FileVersion40", "#FileVersionXY");
    for (const Case& c : {Case{"negative", negative}, {"version", badVersion}}) {
        const QString path = WriteFile(dir, c.name, c.bytes);
        QString error;
        EXPECT_FALSE(e->LoadGRF(path, &error)) << c.name;
        EXPECT_TRUE(error.contains(QStringLiteral("beschädigt"))) << c.name << error.toStdString();
        ASSERT_EQ(e->Channels[0].size(), 2u) << c.name;
    }
    QString error;
    EXPECT_FALSE(e->LoadGRF(dir.filePath(QStringLiteral("missing.GRF")), &error));
    EXPECT_FALSE(error.isEmpty());
    // Five curves: the fifth is read and left aside.
    TGrfData five = SmallRecording();
    five.Curves.assign(5, five.Curves[0]);
    ASSERT_TRUE(e->LoadGRF(WriteFile(dir, "five", WriteGrf(five))));
    EXPECT_EQ(e->Channels[3].size(), 2u);
    EXPECT_EQ(e->Chart->Comments.size(), 1u);
}

// Views far beyond the recording, loaded on their own and one after the other into one
// element, keep every sample and leave a drawable chart.
TEST_F(GrfFileTest, ExtremeViewsLoadAndDraw)
{
    QTemporaryDir dir;
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    e->resize(400, 300);
    TGrfData d = SmallRecording();
    for (int i = 2; i < 500; ++i)
        d.Curves[0].Samples.push_back({i * 0.001, double(i % 7)});
    const double views[][2] = {{0, 1e15}, {-1e15, 1e15}, {1e15, 2e15}, {0, 1e300}, {-1e300, 0},
                               {0, 1e-300}, {5e-324, 1e-323}, {0, 10}};
    for (const auto& view : views) {
        SCOPED_TRACE(view[1]);
        d.ViewXMin = view[0];
        d.ViewXMax = view[1];
        ASSERT_TRUE(e->LoadGRF(WriteFile(dir, "view", WriteGrf(d))));
        EXPECT_EQ(e->Channels[0].size(), 500u);
        e->grab();  // paints every curve
    }
}

// A file that ends early, or whose counts promise more than it holds, gives the complete
// curves, points and comments before its end; the user is told that it was cut.
TEST_F(GrfFileTest, CutFilesLoadWhatTheyHold)
{
    TGrfData two = SmallRecording();
    two.Curves.push_back({QStringLiteral("zwei"), QStringLiteral("B"), 7, {{0, 1}, {1, 2}, {2, 3}}});
    const QByteArray whole = WriteGrf(two);
    // Where the second curve's last point ends, and where its second value starts.
    const qsizetype lastPoint = whole.indexOf(" 2.00000000000000E+0000\r\n 3.0") ;
    ASSERT_GT(lastPoint, 0);
    const qsizetype secondCurve = whole.indexOf("zwei");
    QByteArray manySamples(kSmallFile);
    manySamples.replace("255\r\n2\r\n", "255\r\n1000000000000000000\r\n");
    QByteArray manyComments(kSmallFile);
    manyComments.replace("\r\n1\r\nnote", "\r\n7\r\nnote");
    QByteArray manyLines(kSmallFile);
    manyLines.replace("1\r\na\r\n", "5\r\na\r\n");
    QByteArray badNumber = whole;
    badNumber.replace(" 1.00000000000000E+0000\r\n 2.00000000000000E+0000\r\n 2.0",
                      " 1.00000000000000E+0000\r\nzwei\r\n 2.0");

    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<size_t> points;  // per curve loaded
        size_t comments;
        int commentLines;
    };
    const Case cases[] = {
        // The count of the first curve's samples is absurd: the reader must neither trust it
        // for an allocation nor refuse the points that are there.
        {"huge sample count", manySamples, {2}, 0, 1},
        {"more comments than written", manyComments, {2}, 1, 1},
        // The comment lines swallow the rest of the file.
        {"more comment lines than written", manyLines, {}, 0, 5},
        {"inside a point", whole.left(lastPoint + 10), {2, 2}, 0, 1},
        {"inside a curve's head", whole.left(secondCurve + 6), {2}, 0, 1},
        {"inside the view", whole.left(60), {}, 0, 0},
        {"no number where one belongs", badNumber, {2, 1}, 0, 1},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGrfData d;
        QString error;
        ASSERT_TRUE(ParseGrf(c.bytes, d, &error)) << error.toStdString();
        EXPECT_TRUE(d.Cut);
        ASSERT_EQ(d.Curves.size(), c.points.size());
        for (size_t i = 0; i < c.points.size(); ++i)
            EXPECT_EQ(d.Curves[i].Samples.size(), c.points[i]) << "curve " << i;
        EXPECT_EQ(d.Comments.size(), c.comments);
        EXPECT_EQ(d.CommentLines.size(), c.commentLines);

        std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
        QString notice;
        ASSERT_TRUE(e->LoadGRF(WriteFile(dir, "cut", c.bytes), &error, &notice));
        EXPECT_TRUE(notice.contains(GrfCutNotice())) << notice.toStdString();
        for (size_t i = 0; i < c.points.size(); ++i)
            EXPECT_EQ(e->Channels[i].size(), c.points[i]) << "curve " << i;
    }
    // The points kept are the file's own, the cut pair is dropped.
    TGrfData d;
    ASSERT_TRUE(ParseGrf(whole.left(lastPoint + 10), d, nullptr));
    EXPECT_EQ(d.Curves[1].Samples[1].Y, 2);
    EXPECT_EQ(d.Curves[1].Text, QStringLiteral("zwei"));

    // A whole file, and one that ends after its curves, are not cut.
    ASSERT_TRUE(ParseGrf(whole, d, nullptr));
    EXPECT_FALSE(d.Cut);
    ASSERT_TRUE(ParseGrf(whole.left(whole.indexOf("1\r\nnote")), d, nullptr));
    EXPECT_FALSE(d.Cut);
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    QString notice;
    ASSERT_TRUE(e->LoadGRF(WriteFile(dir, "whole", whole), nullptr, &notice));
    EXPECT_TRUE(notice.isEmpty());
}

TEST_F(GrfFileTest, FailedWriteIsReported)
{
    // The folder of the file cannot be made: a file of that name is in the way.
    QTemporaryDir dir;
    std::unique_ptr<TFPGraf> e(NewElement<TFPGraf>(nullptr));
    const QString blocker = WriteFile(dir, "Data", QByteArray("old"));
    QString error;
    EXPECT_FALSE(e->SaveGRF(blocker + QStringLiteral("/a.GRF"), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile f(blocker);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}
