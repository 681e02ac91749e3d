#include "common/FullDisk.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { SetDecimalSeparatorForTesting(QChar()); }

    QString Path(const QString& name) const { return dir.path() + u'/' + name; }

    void Put(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray Get(const QString& name) const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, LooksUpSectionsAndKeysWithoutRegardToCase)
{
    Put("a.ini", "; first line\n"
                 "[Options]\n"
                 "  Raster =  1 \r\n"
                 "Name=\"  quoted  \"\n"
                 "raster=0\n"
                 "half=\"open\n"
                 "\n"
                 "[Other]\n"
                 "X=5\n"
                 "[options]\n"
                 "Late=1\n");
    TIniFile ini(Path("a.ini"));

    EXPECT_EQ(ini.ReadString("OPTIONS", "RASTER", "d"), "1"); // first of the duplicates
    EXPECT_EQ(ini.ReadString("options", "name", "d"), "  quoted  ");
    EXPECT_EQ(ini.ReadString("Options", "Half", "d"), "\"open"); // no closing quote: kept
    EXPECT_EQ(ini.ReadString("other", "x", "d"), "5");
    EXPECT_EQ(ini.ReadString("Other", "Y", "d"), "d");
    EXPECT_EQ(ini.ReadString("Nowhere", "X", "d"), "d");
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_TRUE(ini.ValueExists("OPTIONS", "NAME"));
    EXPECT_FALSE(ini.ValueExists("Options", "Late")); // only the first section of a name counts
    EXPECT_EQ(ini.ReadSections(), QStringList({"Options", "Other"}));
    EXPECT_EQ(ini.ReadSection("OPTIONS"), QStringList({"Raster", "Name", "half"}));
    EXPECT_EQ(ini.ReadSectionValues("Options"),
              QStringList({"Raster=1", "Name=  quoted  ", "half=\"open"}));
    EXPECT_FALSE(ini.Modified());
}

TEST_F(IniFileTest, RewriteKeepsOrderAndUntouchedLinesAndWritesCrLf)
{
    Put("a.ini", "; settings\n"
                 "[HAUPTFENSTER]\n"
                 "MAX=1\n"
                 "X = 10\n"
                 "junk line\n"
                 "\n"
                 "[History]\r\n"
                 "D1=c:\\a.prj\n");
    {
        TIniFile ini(Path("a.ini"));
        ini.WriteInteger("hauptfenster", "x", 20);   // changed in place, key spelling kept
        ini.WriteString("HauptFenster", "Y", "30");  // new key before the blank line
        ini.WriteString("history", "D1", "c:\\a.prj"); // same value: nothing changes
        ini.WriteBool("OPTIONS", "RASTER", true);    // new section at the end
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(Get("a.ini"), QByteArray("; settings\r\n"
                                       "[HAUPTFENSTER]\r\n"
                                       "MAX=1\r\n"
                                       "X=20\r\n"
                                       "junk line\r\n"
                                       "Y=30\r\n"
                                       "\r\n"
                                       "[History]\r\n"
                                       "D1=c:\\a.prj\r\n"
                                       "[OPTIONS]\r\n"
                                       "RASTER=1\r\n"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey)
{
    Put("a.ini", "[A]\nk=1\nK=2\nj=3\n[B]\nx=1\n[a]\nk=9\n");
    {
        TIniFile ini(Path("a.ini"));
        ini.DeleteKey("a", "K");
        EXPECT_FALSE(ini.ValueExists("A", "k"));
        EXPECT_EQ(ini.ReadString("A", "j", ""), "3");
        ini.EraseSection("b");
        EXPECT_FALSE(ini.SectionExists("B"));
        ini.DeleteKey("Missing", "k"); // harmless
        EXPECT_TRUE(ini.Modified());
    } // the destructor writes
    EXPECT_EQ(Get("a.ini"), QByteArray("[A]\r\nj=3\r\n[a]\r\nk=9\r\n"));
}

TEST_F(IniFileTest, TextIsWindows1252)
{
    Put("in.ini", QByteArray("[S]\nK=Gr\xF6\xDF" "e \xFC\x80\n"));
    TIniFile in(Path("in.ini"));
    EXPECT_EQ(in.ReadString("s", "k", ""), QString::fromUtf8("Größe ü€"));

    {
        TIniFile out(Path("out.ini"));
        out.WriteString(QString::fromUtf8("Maße"), "K", QString::fromUtf8("Ä €"));
    }
    EXPECT_EQ(Get("out.ini"), QByteArray("[Ma\xDF" "e]\r\nK=\xC4 \x80\r\n"));
    TIniFile back(Path("out.ini"));
    EXPECT_EQ(back.ReadString(QString::fromUtf8("maße"), "k", "d"), QString::fromUtf8("Ä €"));
}

TEST_F(IniFileTest, ValuesThatReadingWouldChangeAreQuoted)
{
    const QString values[] = {"  padded ", "\"quoted\"", "plain", "", "a \"b\" c"};
    {
        TIniFile ini(Path("q.ini"));
        int i = 0;
        for (const QString& v : values)
            ini.WriteString("S", QString("K%1").arg(i++), v);
    }
    TIniFile ini(Path("q.ini"));
    int i = 0;
    for (const QString& v : values)
        EXPECT_EQ(ini.ReadString("S", QString("K%1").arg(i++), "d"), v);
    EXPECT_TRUE(Get("q.ini").contains("K2=plain\r\nK3=\r\n"));
}

TEST_F(IniFileTest, ReadIntegerAndReadBool)
{
    struct Case {
        const char* text;
        int expected; // with the default 77
    };
    const Case cases[] = {
        {"42", 42},         {" -12 ", -12},     {"+7", 7},          {"$1F", 31},
        {"0x1f", 31},       {"$ff00ff", 0xFF00FF}, {"$FFFFFFFF", -1}, {"-$10", -16},
        {"\"5\"", 5},       {"12abc", 77},      {"abc", 77},        {"", 77},
        {"$", 77},          {"$1G", 77},        {"1.5", 77},        {"99999999999", 77},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"$123456789", 77},
    };
    QByteArray file = "[N]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "k" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    Put("n.ini", file);
    TIniFile ini(Path("n.ini"));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].text);
        const QString key = "K" + QString::number(i);
        EXPECT_EQ(ini.ReadInteger("n", key, 77), cases[i].expected);
        if (cases[i].expected == 77) {
            EXPECT_TRUE(ini.ReadBool("n", key, true));
            EXPECT_FALSE(ini.ReadBool("n", key, false));
        } else {
            EXPECT_EQ(ini.ReadBool("n", key, false), cases[i].expected != 0);
        }
    }
    Put("b.ini", "[B]\nzero=0\nminus=-1\n");
    TIniFile b(Path("b.ini"));
    EXPECT_FALSE(b.ReadBool("B", "zero", true));
    EXPECT_TRUE(b.ReadBool("B", "minus", false));
    EXPECT_TRUE(b.ReadBool("B", "missing", true));
}

TEST_F(IniFileTest, FloatsReadWithEitherSeparatorAndWriteTheLocaleOne)
{
    Put("f.ini", "[F]\ncomma=1,5\npoint=-2.25\nexp=1,5E-7\njunk=1,2,3\nword=abc\n");
    {
        TIniFile ini(Path("f.ini"));
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "COMMA", 0), 1.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "point", 0), -2.25);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "exp", 0), 1.5e-7);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "junk", 9.5), 9.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "word", 9.5), 9.5);
        EXPECT_DOUBLE_EQ(ini.ReadFloat("f", "missing", 9.5), 9.5);
    }

    struct Case {
        double value;
        QChar separator;
        const char* text;
    };
    const Case cases[] = {
        {0.1 + 0.2, u',', "0,3"},       {1.5, u'.', "1.5"},        {-2.75, u',', "-2,75"},
        {1e20, u',', "1E20"},           {1.5e-7, u',', "1,5E-7"},  {123456789.123456, u'.', "123456789.123456"},
        {100, u',', "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetDecimalSeparatorForTesting(c.separator);
        TIniFile ini(Path("w.ini"));
        ini.WriteFloat("F", "V", c.value);
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(Get("w.ini"), QByteArray("[F]\r\nV=") + c.text + "\r\n");
        TIniFile back(Path("w.ini"));
        EXPECT_NEAR(back.ReadFloat("F", "V", 0), c.value, std::abs(c.value) * 1e-14);
    }
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsNotCreatedWithoutChanges)
{
    {
        TIniFile ini(Path("none.ini"));
        EXPECT_TRUE(ini.ReadSections().isEmpty());
        EXPECT_EQ(ini.ReadInteger("A", "B", 3), 3);
        EXPECT_TRUE(ini.UpdateFile());
    }
    EXPECT_FALSE(QFile::exists(Path("none.ini")));
}

TEST_F(IniFileTest, CreatesTheMissingFolderAndFindsAnExistingFileInAnyCase)
{
    {
        TIniFile ini(Path("New/Deeper/x.ini"));
        ini.WriteString("S", "K", "V");
        ASSERT_TRUE(ini.UpdateFile()) << ini.LastError().toStdString();
    }
    EXPECT_EQ(Get("New/Deeper/x.ini"), QByteArray("[S]\r\nK=V\r\n"));

    Put("settings/quorin.ini", "[OPTIONS]\nRASTER=1\n");
    TIniFile ini(dir.path() + "\\Settings\\QUORIN.INI");
    EXPECT_EQ(ini.FileName(), Path("settings/quorin.ini"));
    EXPECT_TRUE(ini.ReadBool("Options", "Raster", false));
}

TEST_F(IniFileTest, AFailedWriteIsReportedAndNotLost)
{
    Put("plain.txt", "I am a file");
    const QString target = Path("plain.txt/sub/x.ini"); // the parent is a regular file
    TScopedMessageResponder messages;
    {
        Ctx().CurrentLanguage = 1;
        TIniFile ini(target);
        ini.WriteString("S", "K", "V");
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_TRUE(ini.Modified());
        EXPECT_TRUE(ini.LastError().startsWith("The file \"" + target + "\" cannot be written"))
            << ini.LastError().toStdString();
        EXPECT_EQ(ini.ReadString("S", "K", ""), "V"); // still in memory
        Ctx().CurrentLanguage = 0;
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_TRUE(ini.LastError().contains("kann nicht geschrieben werden"));
        EXPECT_TRUE(messages.Requests().empty());
    } // the destructor tries once more and says so
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].type, mtError);
    EXPECT_TRUE(messages.Requests()[0].text.contains(target));
    EXPECT_EQ(Get("plain.txt"), QByteArray("I am a file"));
}

TEST_F(IniFileTest, FilesThatCannotBeReadWhole)
{
    // Nothing here may block or grow without bound; each reads as empty, says why, and is
    // never overwritten.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.ini")).constData(), 0600), 0);
    Put("huge.ini", "[S]\r\nK=" + QByteArray(TIniFile::kMaxIniFileSize, 'v') + "\r\n");
    QDir().mkpath(Path("folder.ini"));
    TScopedMessageResponder messages;
    struct Case {
        QString name;
        const char* why;
    } const cases[] = {
        {Path("pipe.ini"), "keine gewöhnliche Datei"},
        {QStringLiteral("/dev/zero"), "keine gewöhnliche Datei"},
        {Path("folder.ini"), "keine gewöhnliche Datei"},
        {Path("huge.ini"), "zu groß"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const qint64 sizeBefore = QFileInfo(c.name).size();
        {
            TIniFile ini(c.name);
            EXPECT_TRUE(ini.ReadSections().isEmpty());
            EXPECT_TRUE(ini.LastError().contains(QString::fromUtf8(c.why)))
                << ini.LastError().toStdString();
            ini.WriteString("S", "K", "neu");
            EXPECT_FALSE(ini.UpdateFile());
        }
        EXPECT_EQ(QFileInfo(c.name).size(), sizeBefore);
    }
    EXPECT_EQ(messages.Requests().size(), std::size(cases));
}

TEST_F(IniFileTest, AFileChangedBetweenTwoObjectsIsReadAgain)
{
    // Objects made from one file share its parse; a change of the same size within the same
    // moment must still be seen, and so must the object's own write.
    Put("x.ini", "[S]\r\nK=1\r\n");
    EXPECT_EQ(TIniFile(Path("x.ini")).ReadInteger("S", "K", 0), 1);
    Put("x.ini", "[S]\r\nK=2\r\n");
    EXPECT_EQ(TIniFile(Path("x.ini")).ReadInteger("S", "K", 0), 2);
    {
        TIniFile ini(Path("x.ini"));
        ini.WriteInteger("S", "K", 3);
        ASSERT_TRUE(ini.UpdateFile());
    }
    EXPECT_EQ(TIniFile(Path("x.ini")).ReadInteger("S", "K", 0), 3);
    TIniFile changed(Path("x.ini"));
    changed.WriteInteger("S", "L", 4); // a change to one object is not seen by the next
    EXPECT_FALSE(TIniFile(Path("x.ini")).ValueExists("S", "L"));
    changed.DiscardChanges();
}

TEST_F(IniFileTest, AFullDiskKeepsTheOldFiles)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    const QString iniName = disk.Path(QStringLiteral("QUORIN.INI"));
    const QString plainName = disk.Path(QStringLiteral("plain.dat"));
    {
        TIniFile ini(iniName);
        ini.WriteString("Options", "Raster", "1");
        ASSERT_TRUE(ini.UpdateFile());
    }
    ASSERT_TRUE(WriteWholeFile(plainName, "old"));
    const QByteArray oldIni = [&] {
        QFile f(iniName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    disk.Fill();

    TScopedMessageResponder messages;
    {
        TIniFile ini(iniName);
        ini.WriteString("History", "D1", QString(3000, u'p'));
        EXPECT_FALSE(ini.UpdateFile());
        EXPECT_FALSE(ini.LastError().isEmpty());
    } // the destructor tries once more and reports it
    EXPECT_EQ(messages.Requests().size(), 1u);
    QString error;
    EXPECT_FALSE(WriteWholeFile(plainName, QByteArray(3000, 'n'), &error));
    EXPECT_FALSE(error.isEmpty());

    QFile ini(iniName);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), oldIni);
    QByteArray plain;
    ASSERT_TRUE(ReadWholeFile(plainName, 100, &plain));
    EXPECT_EQ(plain, "old");
}

// The copy, the picture and the append on a full disk: each fails with a reason, the copy and
// the picture leave the old file as it was, the append cuts back to the last whole record.
TEST_F(IniFileTest, CopiesPicturesAndAppendsOnAFullDiskKeepWhatWasThere)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    const QString copied = disk.Path(QStringLiteral("program"));
    const QString picture = disk.Path(QStringLiteral("plot.bmp"));
    const QString log = disk.Path(QStringLiteral("log.txt"));
    ASSERT_TRUE(WriteWholeFile(copied, "old program"));
    ASSERT_TRUE(WriteWholeFile(picture, "old picture"));
    ASSERT_TRUE(AppendToFile(log, "line 1\n"));
    Put(QStringLiteral("big"), QByteArray(30000, 'b'));  // on the ordinary disk
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::red);
    disk.Fill();

    QString error;
    EXPECT_FALSE(CopyWholeFile(Path(QStringLiteral("big")), copied, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(WriteImageFile(picture, image, "BMP", &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(AppendToFile(log, QByteArray(20000, 'x'), &error));
    EXPECT_FALSE(error.isEmpty());
    for (const auto& [name, old] : {std::pair{copied, QByteArray("old program")},
                                    std::pair{picture, QByteArray("old picture")},
                                    std::pair{log, QByteArray("line 1\n")}}) {
        QByteArray bytes;
        ASSERT_TRUE(ReadWholeFile(name, 1 << 20, &bytes));
        EXPECT_EQ(bytes, old) << qPrintable(name);
    }
    // Room again: the copy is whole and the picture reads back.
    QFile::remove(disk.Path(QStringLiteral(".filler")));
    EXPECT_TRUE(CopyWholeFile(Path(QStringLiteral("big")), copied));
    EXPECT_EQ(QFileInfo(copied).size(), 30000);
    EXPECT_TRUE(WriteImageFile(picture, image, "BMP"));
    EXPECT_EQ(QImage(picture).pixel(5, 5), qRgb(255, 0, 0));
}

} // namespace
