// Measurement recorder and sampler files byte for byte, what a failed write leaves behind,
// and the byte and line file components.
#include "TextTestSupport.h"
#include "common/FullDisk.h"
#include "components/ComponentTestSupport.h"
#include "components/file/FileComponents.h"
#include "components/file/MeasurementRecorder.h"
#include "components/file/RegisterFile.h"
#include "components/file/Sampler.h"
#include "platform/MessageBox.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Runs in a program folder of its own, on a fake clock.
class FileComponentsTest : public TTimedComponentTest<RegisterFileComponents, true> {
protected:
    void SetUp() override
    {
        TTimedComponentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + QLatin1Char('/');
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
    }
    QString Data(const QString& name) const { return dir.path() + QStringLiteral("/Data/") + name; }

    QTemporaryDir dir;
};

// Channel values and a falling "|Add".
void Record(TIOBauteil& rec, TTextInputs& in, const QStringList& channels)
{
    const int n = int(channels.size());
    in.SetAll(channels);
    in.Set(n, QStringLiteral("n:5"));
    rec.Calculate();
    in.Set(n, QStringLiteral("n:0"));
    rec.Calculate();
}

TEST_F(FileComponentsTest, RecorderWritesItsLinesByteForByte)
{
    auto rec = Create<TBTMesswertRecorder>();
    rec->SetInputCount(4);
    rec->Formats[1].Options = TFormatOptions{TFormatOption::Unformatted};
    rec->RecordDate = true;
    TTextInputs in(*rec);
    in.Set(3, QStringLiteral("-"));  // "/RST" open
    rec->SimReset();
    EXPECT_EQ(Contents(Data(QStringLiteral("Datei.TXT"))), QByteArray());
    Record(*rec, in, {"n:1.5", "t:a;b"});
    clock.clock.AdvanceSeconds(61.0);
    Record(*rec, in, {"n:-12.345", "t:Grüße"});
    // A rising edge and a steady "|Add" write nothing.
    in.Set(2, QStringLiteral("n:5"));
    rec->Calculate();
    rec->Calculate();
    const QByteArray date =
        QLocale::system().toString(QDate(2026, 1, 1), QLocale::ShortFormat).toLatin1();
    const QByteArray expected = " 0001.50;a;b;00:00:00;" + date + "\r\n"
                                + "-0012.35;Gr\xFC\xDF" "e;00:01:01;" + date + "\r\n";
    EXPECT_EQ(Contents(Data(QStringLiteral("Datei.TXT"))), expected);
}

TEST_F(FileComponentsTest, RecorderNumbersItsFilesAndStaysInTheDataFolder)
{
    auto rec = Create<TBTMesswertRecorder>();
    rec->Overwrite = false;
    rec->FilePrefix = QStringLiteral("../../Run");
    const QString stem = Data(QStringLiteral(".._.._Run"));
    Put(stem + QStringLiteral("1.TXT"), "one");
    Put(stem + QStringLiteral("2.TXT"), "two");
    rec->SimReset();
    EXPECT_EQ(rec->FileName, stem + QStringLiteral("3.TXT"));
    TTextInputs in(*rec);
    in.SetAll({"n:1", "n:5", "n:5"});
    rec->Calculate();
    in.Set(2, QStringLiteral("n:0"));  // falling "/RST" moves on
    rec->Calculate();
    EXPECT_EQ(rec->FileName, stem + QStringLiteral("4.TXT"));
    EXPECT_EQ(Contents(stem + QStringLiteral("1.TXT")), QByteArray("one"));
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/../Run.TXT")));
}

TEST_F(FileComponentsTest, RecorderKeepsWholeLinesWhenTheDiskIsFull)
{
    TFullDisk disk;
    if (!disk.Mount(64))
        GTEST_SKIP() << "no tmpfs";
    Ctx().ProgramFolder = disk.Path(QString()) + QLatin1Char('/');
    auto rec = Create<TBTMesswertRecorder>();
    rec->RecordTime = false;
    rec->Formats[0].Options = TFormatOptions{TFormatOption::Unformatted};
    TTextInputs in(*rec);
    in.Set(2, QStringLiteral("-"));
    rec->SimReset();
    Record(*rec, in, {"n:1"});
    const QByteArray before = Contents(rec->FileName);
    disk.Fill();
    TScopedMessageResponder messages;
    for (int k = 0; k < 50; ++k)
        Record(*rec, in, {"t:" + QString(200, QLatin1Char('x'))});
    const QByteArray after = Contents(rec->FileName);
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_EQ((after.size() - before.size()) % 202, 0);  // whole lines only
    EXPECT_LT(after.size(), before.size() + 50 * 202);
    // Told once, after the step, naming the file; told again in the next run.
    EXPECT_TRUE(messages.Requests().empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("Datei.TXT")));
    EXPECT_EQ(messages.Requests()[0].type, mtWarning);
    rec->SimReset();  // empties the file, which frees its room
    disk.Fill();
    Record(*rec, in, {"t:" + QString(200, QLatin1Char('x'))});
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Requests().size(), 2u);
}

// A byte writer on a full disk keeps every byte that fit, loses the rest and says so once.
TEST_F(FileComponentsTest, ByteWriterOnAFullDiskKeepsWhatFitAndTellsOnce)
{
    TFullDisk disk;
    if (!disk.Mount(64))
        GTEST_SKIP() << "no tmpfs";
    auto w = Create<TBTFileWrite>();
    w->FileName = disk.Path(QStringLiteral("out.bin"));
    TTextInputs in(*w);
    in.Set(9, QStringLiteral("-"));
    w->SimReset();
    TScopedMessageResponder messages;
    int written = 0;
    for (; written < 6000; ++written) {  // past the file's first page
        for (int bit = 0; bit < 8; ++bit)
            in.Set(bit, QStringLiteral("n:%1").arg((written >> bit & 1) * 5));
        in.Set(8, QStringLiteral("n:5"));
        w->Calculate();
        in.Set(8, QStringLiteral("n:0"));
        w->Calculate();
        if (written == 100)
            disk.Fill();
    }
    const QByteArray kept = Contents(w->FileName);
    ASSERT_GE(kept.size(), 101);
    for (int k = 0; k < kept.size(); ++k)
        ASSERT_EQ(uint8_t(kept[k]), uint8_t(k)) << k;
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("out.bin")));
}

// Four steps of "RUN" high with the sample period between them, then "RUN" low.
void RecordFrames(TBTSampler& s, TTextInputs& in, TFakeClock& clock, int frames)
{
    in.SetAll({"n:5", "n:5", "n:0.5", "n:-2"});
    for (int k = 0; k < frames; ++k) {
        in.Set(2, QStringLiteral("n:%1").arg(0.5 + k));
        s.Calculate();
        clock.AdvanceMs(s.PeriodMs);
    }
    in.Set(0, QStringLiteral("n:0"));
    s.Calculate();
}

TEST_F(FileComponentsTest, SamplerRecordsFramesAndPlaysThemBack)
{
    auto s = Create<TBTSampler>();
    s->SetInputCount(4);
    s->SetOutputCount(4);
    s->PeriodMs = 100;
    s->RecordToFile = true;
    s->SampleFile = Data(QStringLiteral("take.smp"));
    TTextInputs in(*s);
    s->SimReset();
    RecordFrames(*s, in, clock.clock, 3);
    QByteArray expected;
    for (float v : {0.5f, -2.0f, 1.5f, -2.0f, 2.5f, -2.0f}) {
        char le[4];
        qToLittleEndian(v, le);
        expected.append(le, 4);
    }
    EXPECT_EQ(Contents(s->WorkingFile()), expected);
    EXPECT_EQ(Contents(s->SampleFile), expected);

    // Playback: the recorded values at the recorded period, then from the start again.
    in.SetAll({"n:5", "n:0", "n:9", "n:9"});
    std::vector<QStringList> seen;
    for (int k = 0; k < 5; ++k) {
        s->Calculate();
        seen.push_back(OutputsFromTop(*s));  // "REC", "PLY", "A1", "A2"
        clock.clock.AdvanceMs(50);
        s->Calculate();  // between two sample times nothing changes
        EXPECT_EQ(OutputsFromTop(*s), seen.back());
        clock.clock.AdvanceMs(50);
    }
    const std::vector<QStringList> played = {{"0", "5", "0.5", "-2"}, {"0", "5", "1.5", "-2"},
                                             {"0", "5", "2.5", "-2"}, {"0", "5", "2.5", "-2"},
                                             {"0", "5", "0.5", "-2"}};
    EXPECT_EQ(seen, played);
}

TEST_F(FileComponentsTest, SamplerNeverLosesTheSampleFile)
{
    auto s = Create<TBTSampler>();
    s->SetInputCount(4);
    s->SetOutputCount(4);
    s->RecordToFile = true;
    TTextInputs in(*s);
    // A recording cut off by the end of the run still reaches the sample file.
    s->SampleFile = Data(QStringLiteral("end.smp"));
    s->SimReset();
    in.SetAll({"n:5", "n:5", "n:1", "n:2"});
    s->Calculate();
    s->SimEnd();
    EXPECT_EQ(Contents(s->SampleFile).size(), 8);

    TFullDisk disk;
    if (!disk.Mount(64))
        GTEST_SKIP() << "no tmpfs";
    s->SampleFile = disk.Path(QStringLiteral("keep.smp"));
    Put(s->SampleFile, QByteArray(16, '\x11'));
    s->SimReset();
    disk.Fill();
    TScopedMessageResponder messages;
    RecordFrames(*s, in, clock.clock, 2);
    EXPECT_EQ(Contents(s->SampleFile), QByteArray(16, '\x11'));
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("keep.smp")));

    // A working file on the full disk holds whole frames only, and the user is told.
    QFile::remove(disk.Path(QStringLiteral(".filler")));
    const QByteArray temp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(disk.Path(QString())));
    auto onDisk = Create<TBTSampler>();
    qputenv("TMPDIR", temp);
    ASSERT_TRUE(onDisk->WorkingFile().startsWith(disk.Path(QString())));
    onDisk->SetInputCount(5);
    onDisk->SetOutputCount(5);
    onDisk->PeriodMs = 1;
    TTextInputs three(*onDisk);
    onDisk->SimReset();
    messages.Clear();
    disk.Fill();
    QFile::resize(disk.Path(QStringLiteral(".filler")),
                  QFileInfo(disk.Path(QStringLiteral(".filler"))).size() - 4096);
    three.SetAll({"n:5", "n:5", "n:1", "n:2", "n:3"});
    for (int k = 0; k < 2000; ++k) {
        onDisk->Calculate();
        clock.clock.AdvanceMs(1);
    }
    const qint64 size = QFileInfo(onDisk->WorkingFile()).size();
    EXPECT_GT(size, 0);
    EXPECT_LT(size, 2000 * 12);
    EXPECT_EQ(size % 12, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Requests().size(), 1u);
}

TEST_F(FileComponentsTest, ByteReaderDeliversOneBytePerFallingClock)
{
    Put(Data(QStringLiteral("two.bin")), QByteArray("\x81\x02", 2));
    auto r = Create<TBTFileRead>();
    r->FileName = QStringLiteral("two.bin");
    TTextInputs in(*r);
    r->SimReset();
    auto clockOnce = [&](const char* reset) {
        in.SetAll({"n:5", QString::fromLatin1(reset)});
        r->Calculate();
        in.Set(0, QStringLiteral("n:0"));
        r->Calculate();
        QStringList out = OutputsFromTop(*r);  // "D0" .. "D7", "/EOF"
        return out.join(QString());
    };
    EXPECT_EQ(clockOnce("-"), QStringLiteral("500000055"));   // 0x81, a byte was there
    EXPECT_EQ(clockOnce("-"), QStringLiteral("050000005"));   // 0x02
    EXPECT_EQ(clockOnce("-"), QStringLiteral("000000000"));   // none left
    EXPECT_EQ(clockOnce("n:0"), QStringLiteral("000000005")); // reset to the start, no read
    EXPECT_EQ(clockOnce("-"), QStringLiteral("500000055"));   // from the first byte again
}

TEST_F(FileComponentsTest, ByteWriterAppendsAndEmptiesItsFile)
{
    auto w = Create<TBTFileWrite>();
    w->FileName = Data(QStringLiteral("out.bin"));
    TTextInputs in(*w);
    w->SimReset();
    auto clockOnce = [&](int byte, const char* reset) {
        for (int bit = 0; bit < 8; ++bit)
            in.Set(bit, QStringLiteral("n:%1").arg((byte >> bit & 1) * 5));
        in.Set(9, QString::fromLatin1(reset));
        in.Set(8, QStringLiteral("n:5"));
        w->Calculate();
        in.Set(8, QStringLiteral("n:0"));
        w->Calculate();
    };
    clockOnce(129, "-");
    clockOnce(7, "-");
    EXPECT_EQ(Contents(w->FileName), QByteArray("\x81\x07"));
    clockOnce(9, "n:0");  // appended, then emptied by "/RST" newly low on the falling edge
    EXPECT_EQ(Contents(w->FileName), QByteArray());
    clockOnce(9, "-");    // still suspended until a falling edge sees "/RST" high
    clockOnce(10, "-");
    EXPECT_EQ(Contents(w->FileName), QByteArray("\x0a"));
}

TEST_F(FileComponentsTest, LineReaderGivesTheIndexedLine)
{
    Put(Data(QStringLiteral("lines.txt")), "first\r\nsecond\nthird\rfourth\r\n");
    auto r = Create<TBTFileReadLine>();
    r->FileName = QStringLiteral("lines.txt");
    TTextInputs in(*r);
    r->SimReset();
    struct Case {
        const char* index;
        QStringList out;  // "$LN", "/EOF"
    };
    const Case cases[] = {
        {"n:0", {"first", "0"}}, {"n:3.2", {"fourth", "0"}}, {"n:4", {"", "5"}},
        {"n:-1", {"", "5"}},     // the marker keeps what was there
        {"n:2", {"third", "0"}}, {"n:-2", {"", "5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        in.SetAll({QString::fromLatin1(c.index), "-"});
        r->Calculate();
        EXPECT_EQ(OutputsFromTop(*r), c.out);
    }
    // Another file takes effect at the next falling "|RST".
    Put(Data(QStringLiteral("other.txt")), "other");
    r->FileName = QStringLiteral("other.txt");
    in.SetAll({"n:0", "-"});
    r->Calculate();
    EXPECT_EQ(OutFromTop(*r, 0), QStringLiteral("first"));
    in.SetAll({"n:0", "n:0"});
    r->Calculate();
    EXPECT_EQ(OutFromTop(*r, 0), QStringLiteral("other"));
}

TEST_F(FileComponentsTest, SettingsSurviveTheRecord)
{
    auto rec = Create<TBTMesswertRecorder>();
    rec->SetInputCount(5);
    rec->Channels = 3;
    rec->FilePrefix = QStringLiteral("Messung");
    rec->Overwrite = false;
    rec->Formats[2].Decimals = 5;
    auto recCopy = Create<TBTMesswertRecorder>();
    ASSERT_TRUE(Read(*recCopy, Write(*rec)));
    EXPECT_EQ(recCopy->Channels, 3);
    EXPECT_EQ(recCopy->FilePrefix, QStringLiteral("Messung"));
    EXPECT_FALSE(recCopy->Overwrite);
    EXPECT_EQ(recCopy->Formats[2].Decimals, 5);
    // A record of file-format version 39 has no formats.
    QByteArray old = ComponentPart(5, 0, 39);
    {
        QBuffer buffer(&old);
        buffer.open(QIODevice::Append);
        TWriter w(buffer);
        w.WriteInteger(3);
        w.WriteString(QStringLiteral("Alt"));
        w.WriteBoolean(true);
        w.WriteBoolean(false);
        w.WriteBoolean(true);
    }
    auto older = Create<TBTMesswertRecorder>();
    ASSERT_TRUE(Read(*older, old, 39));
    EXPECT_EQ(older->FilePrefix, QStringLiteral("Alt"));
    EXPECT_TRUE(older->RecordDate);
    EXPECT_EQ(older->Formats[2].Decimals, 2);

    auto s = Create<TBTSampler>();
    s->SetInputCount(9);
    s->SetOutputCount(9);
    s->Channels = 7;
    s->PeriodMs = 20;
    s->SampleFile = QStringLiteral("x.smp");
    auto sCopy = Create<TBTSampler>();
    ASSERT_TRUE(Read(*sCopy, Write(*s)));
    EXPECT_EQ(sCopy->Channels, 7);
    EXPECT_EQ(sCopy->OutputCount, 9);
    EXPECT_EQ(sCopy->PeriodMs, 20);
    EXPECT_EQ(sCopy->SampleFile, QStringLiteral("x.smp"));
    EXPECT_TRUE(sCopy->GetHint().endsWith(QStringLiteral("\rT = 20 ms")));
    EXPECT_NE(sCopy->WorkingFile(), s->WorkingFile());
}

} // namespace
