#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/Help.h"
#include "platform/Locale.h"
#include "ui/Formats.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <climits>

// Readable failure messages.
namespace {

class FormatsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        SetDecimalSeparatorForTesting(u'.');
    }
    void TearDown() override { SetDecimalSeparatorForTesting(QChar()); }
};

// Expected texts are written with ","; each case runs with both separators.
const QChar kSeparators[] = {u',', u'.'};

QString WithSeparator(QString text, QChar sep)
{
    return text.replace(u',', sep);
}

} // namespace

TEST_F(FormatsTest, LocalizeDecimalTurnsBothPointsIntoTheSeparator)
{
    SetDecimalSeparatorForTesting(u',');
    EXPECT_EQ(LocalizeDecimal("1.5;2,5"), "1,5;2,5");
    SetDecimalSeparatorForTesting(u'.');
    EXPECT_EQ(LocalizeDecimal("1.5;2,5"), "1.5;2.5");
}

TEST_F(FormatsTest, ValueToTextGeneralNotation)
{
    struct Case { Extended value; const char* text; };
    const Case cases[] = {
        {0.0L, "0"},
        {-0.0L, "0"},
        {0.5L, "0,5"},
        {-0.5L, "-0,5"},
        {1.5L, "1,5"},
        {100.0L, "100"},
        {1.0L / 3.0L, "0,33333333"},
        {1.23456789L, "1,2345679"},
        {0.0001L, "0,0001"},              // E = -3: still fixed
        {0.001234L, "0,001234"},
        {0.00001L, "1E-0005"},             // E = -4: exponent
        {-2.5e-10L, "-2,5E-0010"},
        {12345678.0L, "12345678"},         // E = 8: fixed
        {-12345678.0L, "-12345678"},
        {100000000.0L, "1E0008"},          // E = 9: exponent
        {123456789.0L, "1,2345679E0008"},  // only 8 significant digits are kept
        {1234567891.0L, "1,2345679E0009"},
        {99999999.5L, "1E0008"},           // rounding carries into a new digit
        {1.5e20L, "1,5E0020"},
        {-1.5e20L, "-1,5E0020"},
        {1e100L, "1E0100"},
        {1e-100L, "1E-0100"},
        {1.25e4000L, "1,25E4000"},        // beyond the double range
        {1e-4000L, "1E-4000"},
    };
    for (QChar sep : kSeparators) {
        SetDecimalSeparatorForTesting(sep);
        for (const Case& c : cases)
            EXPECT_EQ(ValueToText(c.value), WithSeparator(c.text, sep))
                << "separator " << sep.toLatin1() << ", expected " << c.text;
    }
}

TEST_F(FormatsTest, ParseValueReadsNumbersInsideText)
{
    struct Case { const char* text; Extended value; };
    const Case cases[] = {
        {"", 0.0L},
        {"abc", 0.0L},
        {"12", 12.0L},
        {"12,5", 12.5L},
        {"12.5", 12.5L},
        {"U = -12,5 V", -12.5L},
        {"- 1 2 , 5", -12.5L},             // blanks are removed first
        {"+3", 3.0L},
        {"1E3", 1000.0L},
        {"2.5e-3 s", 0.0025L},
        {"x=7y", 7.0L},
        {".5", 0.5L},                      // a point right before the first digit counts
        {"-.5", -0.5L},
        {"U=-,25V", -0.25L},
        {"1.2.3", 1.2L},                   // reading stops where the number stops
        {"5-3", 5.0L},
        {"5E", 5.0L},
        {"$FF", 255.0L},
        {"$ff", 255.0L},
        {"$7FFFFFFF", 2147483647.0L},
        {"$FFFFFFFF", -1.0L},              // a 32-bit signed integer
        {"$XY", 0.0L},                     // not hexadecimal, and no digit
        {"$1G", 1.0L},                     // not hexadecimal: read as a decimal number
        {"$100000000", 100000000.0L},      // too big for 32 bits: read as decimal
        {"$", 0.0L},
        {"TRUE", 5.0L},
        {"true", 5.0L},
        {"is TrUe 3", 5.0L},
        {"false", 0.0L},
        {"FALSE 3", 0.0L},
        {"false but true", 5.0L},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseValue(QString::fromUtf8(c.text)), c.value) << c.text;
    // A number longer than any buffer is read whole.
    const QString digits = QStringLiteral("1") + QString(200, u'0');
    EXPECT_EQ(ParseValue(QStringLiteral("x ") + digits + QStringLiteral(" V")), 1e200L);
    EXPECT_EQ(ParseValue(QStringLiteral("-,") + digits), -0.1L);
}

TEST_F(FormatsTest, ParseValueIgnoresTheLocaleAndKeepsExtendedPrecision)
{
    SetDecimalSeparatorForTesting(u',');
    EXPECT_EQ(ParseValue("0.1"), 0.1L); // the long double nearest to 0.1, not a double
    EXPECT_EQ(ParseValue("0,1"), 0.1L);
    EXPECT_EQ(TextToValue("xTrUex"), 5.0L);
    EXPECT_EQ(TextToValue("-4,5"), -4.5L);
}

TEST_F(FormatsTest, ValueToTextReadsBackThroughParseValue)
{
    const Extended values[] = {0.5L, -12.5L, 1.5e20L, 1e-5L, 12345678.0L, -3.25e-7L};
    for (QChar sep : kSeparators) {
        SetDecimalSeparatorForTesting(sep);
        for (Extended v : values)
            EXPECT_EQ(ParseValue(ValueToText(v)), v) << static_cast<double>(v);
    }
}

namespace {

struct FormatCase {
    TFormatOptions options;
    int32_t digits;
    int32_t decimals;
    bool showPlus;
    double value;
    const char* text; // with "," as the separator
};

using O = TFormatOption;

} // namespace

TEST_F(FormatsTest, FormatValueOfEveryMode)
{
    const FormatCase cases[] = {
        // Fixed: sign position, zero padding, overflow patterns.
        {{O::Fixed}, 3, 2, false, 1.5, " 001,50"},
        {{O::Fixed}, 3, 2, false, -1.5, "-001,50"},
        {{O::Fixed}, 3, 2, false, 0.0, " 000,00"},
        {{O::Fixed}, 3, 2, false, -123.5, "-123,50"},
        {{O::Fixed}, 3, 2, false, 1234.5, " >>>>>>"},
        {{O::Fixed}, 3, 2, false, -1234.5, "->>>>>>"},
        {{O::Fixed}, 3, 2, false, 999.996, " >>>>>>"},  // rounds to 1000,00
        {{O::Fixed, O::NoZero}, 3, 2, false, 1.5, "   1,50"},
        {{O::Fixed, O::NoZero}, 3, 2, false, -1.5, "  -1,50"},
        {{O::Fixed}, 3, 2, true, 1.5, "+001,50"},
        {{O::Fixed}, 3, 2, true, -1.5, "-001,50"},
        {{O::Fixed, O::NoZero}, 3, 2, true, 1.5, "  +1,50"},
        {{O::Fixed, O::NoZero}, 3, 2, true, -1.5, "  -1,50"},
        {{O::Fixed}, 2, 0, false, 7.0, " 07"},
        {{O::Fixed}, 2, 0, false, -7.0, "-07"},
        {{O::Fixed}, 2, 0, false, 123.0, " >>"},
        {{O::Fixed}, 2, 0, false, 2.5, " 02"},           // ties go to the even neighbour
        {{O::Fixed}, 2, 0, false, 3.5, " 04"},
        // Float: n positions, the fraction is cut.
        {{O::Float}, 3, 2, false, 1.23456, " 1,23"},
        {{O::Float}, 3, 2, false, 123.456, " 123 "},
        {{O::Float}, 3, 2, false, 0.001234, " 0,00"},
        {{O::Float}, 3, 2, false, 1234.5, " >>>>"},
        {{O::Float}, 3, 2, false, -1.5, "-1,50"},
        {{O::Float}, 3, 2, false, -1234.5, "->>>>"},
        {{O::Float}, 3, 2, true, 1.5, "+1,50"},
        {{O::Float}, 3, 2, true, -1.5, "-1,50"},
        {{O::Float}, 15, 2, false, 2e12, " >>>>>>>>>>>>>>>>"}, // above 10^12 although it fits
        {{O::Float}, 15, 2, false, 1e12, " 1000000000000,00"},
        // Expo: p significant digits, p bounded to 2..18.
        {{O::Expo}, 3, 2, false, 1234.0, " 1,23E+03"},
        {{O::Expo}, 3, 2, false, -1234.0, "-1,23E+03"},
        {{O::Expo}, 3, 2, false, 0.000123, " 1,23E-04"},
        {{O::Expo}, 3, 2, true, 1234.0, "+1,23E+03"},
        {{O::Expo}, 1, 2, false, 1234.0, " 1,2E+03"},
        {{O::Expo}, 30, 2, false, 1.0, " 1,00000000000000000E+00"},
        {{O::Expo}, 3, 2, false, 1e200, " 1,00E+200"},
        // Hexadecimal and Binary: no sign position, NoZero and ShowPlus have no effect.
        {{O::Hexadecimal}, 4, 2, false, 255.0, "00FF"},
        {{O::Hexadecimal}, 4, 2, false, 65535.9, "FFFF"},
        {{O::Hexadecimal}, 4, 2, false, 65536.0, ">>>>"},
        {{O::Hexadecimal}, 4, 2, false, -1.0, ">>>>"},
        {{O::Hexadecimal, O::NoZero}, 4, 2, true, 10.0, "000A"},
        {{O::Hexadecimal}, 8, 2, false, 4294967295.0, "FFFFFFFF"},
        {{O::Hexadecimal}, 10, 2, false, 4294967296.0, ">>>>>>>>>>"},
        {{O::Binary}, 4, 2, false, 5.0, "0101"},
        {{O::Binary}, 4, 2, false, 15.7, "1111"},
        {{O::Binary}, 4, 2, false, 16.0, ">>>>"},
        {{O::Binary}, 4, 2, false, -1.0, ">>>>"},
        {{O::Binary}, 32, 2, false, 4294967295.0, "11111111111111111111111111111111"},
        // Unformatted: 15 significant digits, short exponent.
        {{O::Unformatted}, 3, 2, false, 1.5, "1,5"},
        {{O::Unformatted}, 3, 2, false, -0.1, "-0,1"},
        {{O::Unformatted}, 3, 2, false, 1e20, "1E20"},
        {{O::Unformatted}, 3, 2, false, 1e-5, "1E-5"},
        {{O::Unformatted}, 3, 2, false, 123456789012345.0, "123456789012345"},
        {{O::Unformatted}, 3, 2, false, 1e15, "1E15"},
        {{O::Unformatted}, 3, 2, true, 2.0, "2"},
        // The first mode present wins; with no mode the text is empty.
        {{O::Fixed, O::Float}, 3, 2, false, 1.5, " 001,50"},
        {{O::Expo, O::Fixed}, 3, 2, false, 1234.0, " 1,23E+03"},
        {{O::NoZero}, 3, 2, false, 1.5, ""},
        {{}, 3, 2, true, 1.5, ""},
    };
    for (QChar sep : kSeparators) {
        SetDecimalSeparatorForTesting(sep);
        for (const FormatCase& c : cases) {
            TFormat f;
            f.Options = c.options;
            f.Digits = c.digits;
            f.Decimals = c.decimals;
            f.ShowPlus = c.showPlus;
            EXPECT_EQ(f.FormatValue(c.value), WithSeparator(c.text, sep))
                << "options " << int(c.options.ToByte()) << " digits " << c.digits << " value "
                << c.value << " separator " << sep.toLatin1();
        }
    }
}

TEST_F(FormatsTest, DefaultFormatAndDecoration)
{
    SetDecimalSeparatorForTesting(u',');
    TFormat f;
    EXPECT_EQ(f.Options, TFormatOptions{O::Float});
    EXPECT_EQ(f.FormatValue(1.23456), " 1,23");
    f.Prefix = QString::fromUtf8("Ü=");
    f.Suffix = " V";
    EXPECT_EQ(f.FormatValue(-1.5), QString::fromUtf8("Ü=-1,50 V"));
    f.ShowPlus = true;
    EXPECT_EQ(f.FormatText(" 12"), QString::fromUtf8("Ü=+12 V"));
    EXPECT_EQ(f.FormatText("-12"), QString::fromUtf8("Ü=-12 V"));
    EXPECT_EQ(f.FormatText(""), QString::fromUtf8("Ü= V"));
    f.Options = {O::Hexadecimal};
    EXPECT_EQ(f.FormatText(" 12"), QString::fromUtf8("Ü= 12 V"));
    f.Options = {O::Fixed};
    f.ShowPlus = false;
    EXPECT_EQ(f.FormatText(" 12"), QString::fromUtf8("Ü= 12 V"));
}

TEST_F(FormatsTest, AbsurdStoredSizesStayBounded)
{
    // Sizes come from project files; they must not make huge or broken texts.
    const TFormatOptions modes[] = {{O::Fixed}, {O::Float}, {O::Hexadecimal}, {O::Binary}};
    for (TFormatOptions m : modes) {
        for (int32_t n : {INT32_MIN, -1, 0, 1000000000, INT32_MAX}) {
            const QString t = FormatNumber(m, n, n, 12.5);
            EXPECT_LE(t.size(), 520) << int(m.ToByte()) << " " << n;
        }
    }
    EXPECT_EQ(FormatNumber({O::Fixed}, 3, 2, qQNaN()), " >>>>>>");
    EXPECT_EQ(FormatNumber({O::Float}, 3, 2, -qInf()), "->>>>");
    EXPECT_EQ(FormatNumber({O::Hexadecimal}, 2, 2, qQNaN()), ">>");
}

TEST_F(FormatsTest, FormatOptionNameTakesTheLastModePresent)
{
    BuildTranslationTable();
    struct Case { TFormatOptions options; uint8_t language; const char* name; };
    const Case cases[] = {
        {{O::Float}, 0, "Fliesskomma"},
        {{O::Fixed}, 0, "Fest"},
        {{O::Float, O::Fixed}, 0, "Fest"},
        {{O::Fixed, O::Expo, O::Hexadecimal}, 0, "Exponentiell"},
        {{O::Binary}, 0, "Binär"},
        {{O::Binary}, 1, "Binary"},
        {{O::Hexadecimal}, 2, "Hexadécimal"},
        {{O::Unformatted}, 0, "Unformatiert/$String"},
        {{O::Unformatted, O::Float}, 1, "Unformatted/$String"},
        {{O::NoZero}, 0, ""},
        {{}, 1, ""},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        EXPECT_EQ(FormatOptionName(c.options), QString::fromUtf8(c.name)) << c.name;
    }
    FreeTranslationTable();
}

TEST_F(FormatsTest, OptionSetUsesOneBitPerOption)
{
    static_assert(sizeof(TFormatOptions) == 1);
    TFormatOptions s{O::Fixed, O::Unformatted};
    EXPECT_EQ(s.ToByte(), 0x41);
    s.Include(O::NoZero);
    s.Exclude(O::Fixed);
    EXPECT_EQ(s.ToByte(), 0x42);
    EXPECT_TRUE(TFormatOptions::FromByte(0x20).Contains(O::Hexadecimal));
}

namespace {

QByteArray Write(const TFormat& f)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    f.WriteData(writer);
    return bytes;
}

} // namespace

TEST_F(FormatsTest, StreamRecordBytes)
{
    const TFormat f;
    EXPECT_EQ(Write(f).toHex(' '),
              QByteArray("02 01 02 03 02 02 08 08 09 08 08 08 08 08 06 00 06 00"));

    TFormat g;
    g.Options = {O::Fixed, O::NoZero, O::Unformatted};
    g.Digits = 300;
    g.Decimals = -1;
    g.ShowPlus = true;
    g.Prefix = "U=";
    g.Suffix = " V";
    EXPECT_EQ(Write(g).toHex(' '),
              QByteArray("02 01 03 2c 01 02 ff 09 09 08 08 08 08 09 09 06 02 55 3d 06 02 20 56"));
}

TEST_F(FormatsTest, StreamRoundTripAndBrokenRecord)
{
    TFormat g;
    g.Options = {O::Expo, O::NoZero};
    g.Digits = 100000;
    g.Decimals = 7;
    g.ShowPlus = true;
    g.Prefix = QString::fromUtf8("Ü ");
    g.Suffix = QString::fromUtf8(" °C");
    QByteArray bytes = Write(g);

    TFormat r;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TReader reader(in);
    r.ReadData(reader);
    EXPECT_EQ(r.Options, g.Options);
    EXPECT_EQ(r.Digits, g.Digits);
    EXPECT_EQ(r.Decimals, g.Decimals);
    EXPECT_EQ(r.ShowPlus, g.ShowPlus);
    EXPECT_EQ(r.Prefix, g.Prefix);
    EXPECT_EQ(r.Suffix, g.Suffix);
    EXPECT_TRUE(reader.AtEnd());

    // A record cut short throws and leaves the format as it was.
    QByteArray cut = bytes.left(bytes.size() - 2);
    QBuffer cutIn(&cut);
    cutIn.open(QIODevice::ReadOnly);
    TReader cutReader(cutIn);
    TFormat keep;
    EXPECT_THROW(keep.ReadData(cutReader), EFilerError);
    EXPECT_EQ(keep.Options, TFormatOptions{O::Float});
    EXPECT_EQ(keep.Digits, 3);
    EXPECT_TRUE(keep.Prefix.isEmpty());
}

TEST_F(FormatsTest, DurationToText)
{
    struct Case { double seconds; const char* text; };
    const Case cases[] = {
        {0.0, "0"},
        {59.0, "59"},
        {60.0, "1:00"},
        {3725.25, "1h 02:05.250"},
        {-3725.25, "-1h 02:05.250"},
        {3600.0, "1h 00"},
        {86400.0 + 3600 + 60 + 1, "1d 1h 01:01"},
        {2 * 86400.0 + 11 * 60 + 5, "2d 11:05"},
        {0.5, "0.500"},
        {-0.25, "-0.250"},
        {12.0004, "12"},                 // the fraction rounds to 0.000
        {59.9999, "1:00"},               // ... or to a whole second that carries
        {86399.9999, "1d 00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DurationToText(c.seconds), c.text) << c.seconds;
}

TEST_F(FormatsTest, TimeToTextMs)
{
    struct Case { double seconds; bool trim; const char* text; };
    const Case cases[] = {
        {3725.25, false, "01:02:05,250"},
        {3725.25, true, "01:02:05,25"},
        {3725.0, false, "01:02:05,000"},
        {3725.0, true, "01:02:05"},
        {59.9996, false, "00:01:00,000"},       // milliseconds carry into the second
        {86399.9999, true, "00:00:00"},         // ... and hour 24 becomes 0
        {2 * 86400.0 + 5.5, true, "00:00:05,5"},
        {-1.0, false, ""},
    };
    for (const Case& c : cases) {
        QString expected = QString::fromUtf8(c.text);
        if (!expected.isEmpty()) // the system locale writes the digits
            expected = QLocale::system().toString(QTime::fromString(expected.left(8), "HH:mm:ss"),
                                                  QStringLiteral("HH:mm:ss"))
                + expected.mid(8);
        EXPECT_EQ(TimeToTextMs(c.seconds, 45000.0, c.trim), expected) << c.seconds;
    }
}

TEST_F(FormatsTest, DateToTextCountsWholeDaysFromTheBaseDate)
{
    const QLocale system = QLocale::system();
    // Day 45000 after 1899-12-30 is 2023-03-15.
    EXPECT_EQ(DateToText(0.0, 45000.0), system.toString(QDate(2023, 3, 15), QLocale::ShortFormat));
    EXPECT_EQ(DateToText(86399.0, 45000.0), system.toString(QDate(2023, 3, 15), QLocale::ShortFormat));
    EXPECT_EQ(DateToText(2 * 86400.0 + 5, 45000.0),
              system.toString(QDate(2023, 3, 17), QLocale::ShortFormat));
    EXPECT_EQ(DateToText(-0.5, 45000.0), "");
}

TEST_F(FormatsTest, SafeFileNameReplacesOnlyForbiddenCharacters)
{
    EXPECT_EQ(SafeFileName("Messung 1: Wert?"), "Messung 1_ Wert_");
    EXPECT_EQ(SafeFileName("\"*/:<>?\\|"), "_________");
    const QString kept = QString::fromUtf8("Grösse 12.txt\t\x01 -_()");
    EXPECT_EQ(SafeFileName(kept), kept);
}

TEST_F(FormatsTest, ColorToHtml)
{
    struct Case { int32_t color; const char* html; };
    const Case cases[] = {
        {0x0000FF, "#FF0000"}, {0x00FF00, "#00FF00"}, {0xFF0000, "#0000FF"},
        {0x123456, "#563412"}, {0, "#000000"},        {0x0A0B0C, "#0C0B0A"},
        {-1, "#ECE9D8"},       {INT32_MIN, "#ECE9D8"}, {-2147483000, "#ECE9D8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToHtml(c.color), c.html) << c.color;
}

TEST_F(FormatsTest, FindDataFilePrefersTheProgramsDataFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString program = tmp.path() + "/prog/";
    const QString project = tmp.path() + "/proj/";
    const QString elsewhere = tmp.path() + "/other/";
    for (const QString& dir : {program + "DATA", project, elsewhere})
        ASSERT_TRUE(QDir().mkpath(dir));
    auto touch = [](const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    touch(project + "only_project.csv");
    touch(project + "both.csv");
    touch(program + "DATA/Both.CSV");
    touch(elsewhere + "own.csv");
    QDir().mkpath(project + "folder.csv"); // a folder is not a data file
    Ctx().ProgramFolder = program;
    Ctx().ProjectFolder = project;

    struct Case { QString name; QString result; };
    const Case cases[] = {
        {"C:\\Messung\\only_project.csv", project + "only_project.csv"},
        {"C:\\Messung\\both.csv", program + "DATA/Both.CSV"},
        {elsewhere + "both.csv", program + "DATA/Both.CSV"},
        {elsewhere + "own.csv", elsewhere + "own.csv"},
        {"C:\\Messung\\missing.csv", program + "DATA/missing.csv"},
        {"folder.csv", program + "DATA/folder.csv"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindDataFile(c.name), c.result) << c.name.toStdString();
}

TEST_F(FormatsTest, WebServerFolderLiesInTheSharedDataFolder)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        GTEST_SKIP() << "no data location on this system";
    if (!base.endsWith(u'/'))
        base += u'/';
    const QString folder = WebServerFolder();
    EXPECT_TRUE(folder.startsWith(base)) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith("/") && folder.mid(base.size()).compare("TvWebServer10/", Qt::CaseInsensitive) == 0)
        << folder.toStdString();
}

TEST_F(FormatsTest, ShowHelpOpensTheTopicPage)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/help"));
    QFile page(tmp.path() + "/help/18235.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    Ctx().ProgramFolder = tmp.path() + "/";
    QList<QUrl> opened;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened << url;
        return true;
    });
    ShowHelp(18235);
    SetUrlOpenerForTesting({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().toLocalFile().endsWith("/help/18235.html"));
}
