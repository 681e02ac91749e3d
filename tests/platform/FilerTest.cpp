#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

QByteArray Written(const std::function<void(TWriter&)>& write)
{
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    TWriter w(buf);
    write(w);
    return data;
}

// A reader over a copy of some bytes.
struct TReaderOver {
    explicit TReaderOver(const QByteArray& bytes) : data(bytes), buf(&data), reader(buf)
    {
        buf.open(QIODevice::ReadOnly);
    }
    QByteArray data;
    QBuffer buf;
    TReader reader;
};

// Runs fn and returns the EFilerError it throws; fails the test when it throws none.
EFilerError Thrown(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const EFilerError& e) {
        return e;
    }
    ADD_FAILURE() << "no EFilerError thrown";
    return EFilerError(EFilerError::InvalidData, QString());
}

// A device that claims `claimed` bytes but delivers only `real` of them, and that accepts
// at most `writeLimit` bytes before it refuses.
class TShortDevice : public QIODevice {
public:
    TShortDevice(QByteArray real, qint64 claimed, qint64 writeLimit)
        : m_real(std::move(real)), m_claimed(claimed), m_writeLimit(writeLimit)
    {
    }
    qint64 size() const override { return m_claimed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, std::max<qint64>(m_real.size() - pos(), 0));
        if (n <= 0)
            return -1;
        std::memcpy(data, m_real.constData() + pos(), size_t(n));
        return n;
    }
    qint64 writeData(const char*, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, m_writeLimit - m_written);
        if (n <= 0)
            return -1;
        m_written += n;
        return n;
    }

private:
    QByteArray m_real;
    qint64 m_claimed;
    qint64 m_writeLimit;
    qint64 m_written = 0;
};

class FilerTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
};

} // namespace

TEST_F(FilerTest, WriterProducesTheExactBytes)
{
    struct Case {
        const char* name;
        std::function<void(TWriter&)> write;
        QByteArray expected;
    };
    const QString ascii300(300, QLatin1Char('x'));
    const Case cases[] = {
        {"int 0", [](TWriter& w) { w.WriteInteger(0); }, Hex("0200")},
        {"int 127", [](TWriter& w) { w.WriteInteger(127); }, Hex("027F")},
        {"int -128", [](TWriter& w) { w.WriteInteger(-128); }, Hex("0280")},
        {"int 128", [](TWriter& w) { w.WriteInteger(128); }, Hex("038000")},
        {"int -129", [](TWriter& w) { w.WriteInteger(-129); }, Hex("037FFF")},
        {"int 32767", [](TWriter& w) { w.WriteInteger(32767); }, Hex("03FF7F")},
        {"int -32768", [](TWriter& w) { w.WriteInteger(-32768); }, Hex("030080")},
        {"int 32768", [](TWriter& w) { w.WriteInteger(32768); }, Hex("0400800000")},
        {"int min", [](TWriter& w) { w.WriteInteger(INT32_MIN); }, Hex("0400000080")},
        {"float 1", [](TWriter& w) { w.WriteFloat(1.0L); }, Hex("050000000000000080FF3F")},
        {"float -2", [](TWriter& w) { w.WriteFloat(-2.0L); }, Hex("05000000000000008000C0")},
        {"false", [](TWriter& w) { w.WriteBoolean(false); }, Hex("08")},
        {"true", [](TWriter& w) { w.WriteBoolean(true); }, Hex("09")},
        {"AB", [](TWriter& w) { w.WriteString(QStringLiteral("AB")); }, Hex("06024142")},
        {"empty", [](TWriter& w) { w.WriteString(QString()); }, Hex("0600")},
        {"255 chars", [](TWriter& w) { w.WriteString(QString(255, QLatin1Char('x'))); },
         Hex("06FF") + QByteArray(255, 'x')},
        {"300 chars", [&](TWriter& w) { w.WriteString(ascii300); },
         Hex("0C2C010000") + QByteArray(300, 'x')},
        {"umlaut", [](TWriter& w) { w.WriteString(QString::fromUtf8("Ä")); }, Hex("1402000000C384")},
        // The euro sign has a Windows-1252 byte, but only 7-bit text takes the 8-bit tags.
        {"euro", [](TWriter& w) { w.WriteString(QString::fromUtf8("€")); }, Hex("1403000000E282AC")},
        {"raw", [](TWriter& w) {
             w.WriteRawByte(0xAB);
             w.WriteRawInt16(-2);
             w.WriteRawInt32(0x01020304);
         },
         Hex("ABFEFF04030201")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.write).toHex(' '), c.expected.toHex(' ')) << c.name;
}

TEST_F(FilerTest, ReaderAcceptsEveryTagOfItsKind)
{
    struct IntCase {
        const char* bytes;
        int32_t value;
    };
    const IntCase ints[] = {
        {"0280", -128}, {"027F", 127}, {"030080", -32768}, {"03FF7F", 32767},
        {"0400000080", INT32_MIN}, {"04FFFFFF7F", INT32_MAX}, {"0401000000", 1}, // a wide tag for a small value
    };
    for (const IntCase& c : ints) {
        TReaderOver r(Hex(c.bytes));
        EXPECT_EQ(r.reader.ReadInteger(), c.value) << c.bytes;
        EXPECT_TRUE(r.reader.AtEnd()) << c.bytes;
        TReaderOver f(Hex(c.bytes));
        EXPECT_EQ(f.reader.ReadFloat(), Extended(c.value)) << c.bytes;
    }

    TReaderOver fl(Hex("05000000000000008000C0"));
    EXPECT_EQ(fl.reader.ReadFloat(), -2.0L);

    struct StrCase {
        QByteArray bytes;
        QString value;
    };
    const StrCase strs[] = {
        {Hex("06024142"), QStringLiteral("AB")},
        {Hex("0600"), QString()},
        {Hex("0603") + "a\x80\xE4", QString::fromUtf8("a€ä")}, // 8-bit text is Windows-1252
        {Hex("0C03000000") + "a\x80\xE4", QString::fromUtf8("a€ä")},
        {Hex("1402000000C384"), QString::fromUtf8("Ä")},
        // Characters outside Windows-1252 are kept.
        {Hex("1407000000E4B8ADF09F9880"), QString::fromUtf8("中😀")},
        // Wide string: the count is in UTF-16 units.
        {Hex("1204000000") + Hex("4100C4003DD800DE"), QString::fromUtf8("AÄ😀")},
        {Hex("1200000000"), QString()},
    };
    for (const StrCase& c : strs) {
        TReaderOver r(c.bytes);
        EXPECT_EQ(r.reader.ReadString(), c.value) << c.bytes.toHex().constData();
        EXPECT_TRUE(r.reader.AtEnd()) << c.bytes.toHex().constData();
    }

    TReaderOver b(Hex("0908"));
    EXPECT_TRUE(b.reader.ReadBoolean());
    EXPECT_FALSE(b.reader.ReadBoolean());
}

TEST_F(FilerTest, ReadBooleanConsumesOnlyTheTag)
{
    TReaderOver r(Hex("0205" "09"));
    EXPECT_EQ(r.reader.NextValue(), TValueType::Int8);
    EXPECT_FALSE(r.reader.ReadBoolean());
    EXPECT_EQ(r.reader.BytesLeft(), 2);
    EXPECT_EQ(r.reader.ReadRawByte(), 0x05);
    EXPECT_TRUE(r.reader.ReadBoolean());
    EXPECT_TRUE(r.reader.AtEnd());
    EXPECT_EQ(Thrown([&] { r.reader.NextValue(); }).kind(), EFilerError::ReadError);
}

TEST_F(FilerTest, WrongTagIsAnInvalidPropertyValue)
{
    struct Case {
        const char* bytes;
        std::function<void(TReader&)> read;
    };
    const Case cases[] = {
        {"09", [](TReader& r) { r.ReadInteger(); }},
        {"06024142", [](TReader& r) { r.ReadInteger(); }},
        {"050000000000000080FF3F", [](TReader& r) { r.ReadInteger(); }},
        {"08", [](TReader& r) { r.ReadFloat(); }},
        {"0600", [](TReader& r) { r.ReadFloat(); }},
        {"0205", [](TReader& r) { r.ReadString(); }},
        {"09", [](TReader& r) { r.ReadString(); }},
        {"00", [](TReader& r) { r.ReadInteger(); }},
        {"FF", [](TReader& r) { r.ReadString(); }},
    };
    for (const Case& c : cases) {
        TReaderOver r(Hex(c.bytes));
        const EFilerError e = Thrown([&] { c.read(r.reader); });
        EXPECT_EQ(e.kind(), EFilerError::InvalidValue) << c.bytes;
        EXPECT_EQ(e.message(), QString::fromUtf8("Ungültiger Eigenschaftswert")) << c.bytes;
    }
}

TEST_F(FilerTest, ErrorTextsFollowTheLanguage)
{
    struct Case {
        uint8_t language;
        const char* readError;
        const char* invalidValue;
    };
    const Case cases[] = {
        {0, "Stream-Lesefehler", "Ungültiger Eigenschaftswert"},
        {1, "Stream read error", "Invalid property value"},
        {2, "Erreur de lecture du flux", "Valeur de propriété incorrecte"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        TReaderOver empty{QByteArray()};
        EXPECT_EQ(Thrown([&] { empty.reader.ReadInteger(); }).message(), QString::fromUtf8(c.readError));
        TReaderOver wrong(Hex("08"));
        EXPECT_EQ(Thrown([&] { wrong.reader.ReadInteger(); }).message(),
                  QString::fromUtf8(c.invalidValue));
        EXPECT_STREQ(EFilerError::streamReadError().what(), c.readError);
    }
}

// One stream of every kind of value, read back from behind a header; cut at every byte it must
// fail with a read error and never read past the data.
TEST_F(FilerTest, RoundTripAndEveryTruncationIsAReadError)
{
    const QString utf8Text = QString::fromUtf8("Grüße 中 😀");
    const QString longText(300, QLatin1Char('L'));
    QByteArray stream = Hex("AABBCCDDEE"); // not part of the values
    stream += Written([&](TWriter& w) {
        w.WriteInteger(-5);
        w.WriteInteger(1000);
        w.WriteInteger(-100000);
        w.WriteFloat(3.25L);
        w.WriteBoolean(true);
        w.WriteString(QStringLiteral("short"));
        w.WriteString(longText);
        w.WriteString(utf8Text);
        w.WriteRawShortString(QString::fromUtf8("Käse"), 10);
        w.WriteRawReal48(-2.5);
        w.WriteRawExtended(-0.0L);
    });
    stream += Hex("12020000004100C400"); // wide string "AÄ"

    auto readAll = [&](TReader& r) {
        EXPECT_EQ(r.ReadInteger(), -5);
        EXPECT_EQ(r.ReadInteger(), 1000);
        EXPECT_EQ(r.ReadInteger(), -100000);
        EXPECT_EQ(r.ReadFloat(), 3.25L);
        EXPECT_TRUE(r.ReadBoolean());
        EXPECT_EQ(r.ReadString(), QStringLiteral("short"));
        EXPECT_EQ(r.ReadString(), longText);
        EXPECT_EQ(r.ReadString(), utf8Text);
        EXPECT_EQ(r.ReadRawShortString(10), QString::fromUtf8("Käse"));
        EXPECT_EQ(r.ReadRawReal48(), -2.5);
        const Extended z = r.ReadRawExtended();
        EXPECT_TRUE(z == 0 && std::signbit(z));
        EXPECT_EQ(r.ReadString(), QString::fromUtf8("AÄ"));
    };

    {
        TReaderOver full(stream);
        full.buf.seek(5);
        readAll(full.reader);
        EXPECT_TRUE(full.reader.AtEnd());
    }
    for (qsizetype cut = 5; cut < stream.size(); ++cut) {
        TReaderOver part(stream.left(cut));
        part.buf.seek(5);
        const EFilerError e = Thrown([&] {
            // Values before the cut read correctly; value checks after the error are not reached.
            readAll(part.reader);
        });
        EXPECT_EQ(e.kind(), EFilerError::ReadError) << "cut at " << cut;
        EXPECT_EQ(e.message(), QString::fromUtf8("Stream-Lesefehler")) << "cut at " << cut;
    }
}

TEST_F(FilerTest, DamagedLengthsFailWithoutReadingOrAllocating)
{
    const char* cases[] = {
        "0C FFFFFF7F 41",      // long string, 2 GB announced
        "0C FFFFFFFF 41",      // negative length
        "14 00000080 41",      // UTF-8 string, most negative length
        "12 FFFFFF7F 4100",    // wide string, count doubles past 32 bits
        "12 FFFFFFFF 4100",    // wide string, negative count
        "12 02000000 4100C4",  // wide string, odd number of bytes left
        "06 05 41424344",      // short string, one byte short
    };
    for (const char* c : cases) {
        TReaderOver r(QByteArray::fromHex(QByteArray(c).replace(' ', "")));
        EXPECT_EQ(Thrown([&] { r.reader.ReadString(); }).kind(), EFilerError::ReadError) << c;
    }
    TReaderOver r(Hex("0102"));
    EXPECT_EQ(Thrown([&] { r.reader.ReadBytes(-1); }).kind(), EFilerError::ReadError);
    EXPECT_EQ(Thrown([&] { r.reader.ReadBytes(qint64(1) << 40); }).kind(), EFilerError::ReadError);
    EXPECT_EQ(r.reader.ReadBytes(2), Hex("0102"));
}

TEST_F(FilerTest, DeviceThatDeliversLessThanItClaims)
{
    TShortDevice dev(Hex("04010203"), 100, 0);
    dev.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    TReader r(dev);
    EXPECT_GT(r.BytesLeft(), 5);
    EXPECT_EQ(Thrown([&] { r.ReadInteger(); }).kind(), EFilerError::ReadError);
}

TEST_F(FilerTest, DeviceThatRefusesBytesIsAWriteError)
{
    for (qint64 limit : {0, 1, 3}) {
        TShortDevice dev(QByteArray(), 0, limit);
        dev.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        TWriter w(dev);
        const EFilerError e = Thrown([&] {
            w.WriteString(QStringLiteral("four"));
        });
        EXPECT_EQ(e.kind(), EFilerError::WriteError) << limit;
        EXPECT_EQ(e.message(), QString::fromUtf8("Stream-Schreibfehler")) << limit;
    }
}

TEST_F(FilerTest, RawShortStringFieldHasFixedSize)
{
    struct Case {
        QString text;
        int maxLen;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("Hello"), 8, Hex("05") + "Hello" + QByteArray(3, '\0')},
        {QStringLiteral("ABCDEFGHIJKL"), 10, Hex("0A") + "ABCDEFGHIJ"},
        {QString::fromUtf8("Grüße €"), 8, Hex("07") + "Gr\xFC\xDF" "e \x80" + QByteArray(1, '\0')},
        {QString(), 3, Hex("00000000")},
        {QStringLiteral("Arial"), 31, Hex("05") + "Arial" + QByteArray(26, '\0')}, // a font-name field
    };
    for (const Case& c : cases) {
        const QByteArray field = Written([&](TWriter& w) { w.WriteRawShortString(c.text, c.maxLen); });
        EXPECT_EQ(field.toHex(' '), c.bytes.toHex(' ')) << c.maxLen;
        TReaderOver r(field);
        EXPECT_EQ(r.reader.ReadRawShortString(c.maxLen), c.text.left(c.maxLen)) << c.maxLen;
        EXPECT_TRUE(r.reader.AtEnd());
    }

    // A length byte beyond the field is cut to the field; what follows the field stays unread.
    TReaderOver damaged(Hex("FF") + "abcd" + "Z");
    EXPECT_EQ(damaged.reader.ReadRawShortString(4), QStringLiteral("abcd"));
    EXPECT_EQ(damaged.reader.ReadRawByte(), 'Z');
}

TEST_F(FilerTest, Extended80RoundTripAndHostLayout)
{
    const Extended values[] = {
        0.0L,
        -0.0L,
        1.0L,
        -1.0L,
        0.5L,
        3.14159265358979323846264338327950288L,
        1.0L / 3.0L,
        -123456.789L,
        9223372036854775808.0L,  // 2^63
        18446744073709551615.0L, // 2^64 - 1, all mantissa bits
        1e4000L,
        -1e-4000L,
        LDBL_MAX,
        LDBL_MIN,
        std::numeric_limits<Extended>::denorm_min(),
        3 * std::numeric_limits<Extended>::denorm_min(),
        -LDBL_MIN / 1024,
        std::numeric_limits<Extended>::infinity(),
        -std::numeric_limits<Extended>::infinity(),
        std::numeric_limits<Extended>::quiet_NaN(),
    };
    for (const Extended v : values) {
        uint8_t enc[10];
        EncodeExtended80(v, enc);
        const Extended back = DecodeExtended80(enc);
        if (std::isnan(v)) {
            EXPECT_TRUE(std::isnan(back));
        } else {
            EXPECT_EQ(back, v) << static_cast<double>(v);
        }
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << static_cast<double>(v);
#if defined(__x86_64__) || defined(__i386__)
        uint8_t host[10];
        std::memcpy(host, &v, 10);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(enc), 10).toHex(),
                  QByteArray(reinterpret_cast<const char*>(host), 10).toHex())
            << static_cast<double>(v);
#endif
    }

    struct Known {
        const char* bytes;
        Extended value;
    };
    const Known known[] = {
        {"0000000000000080FF3F", 1.0L},
        {"00000000000000800040", 2.0L},
        {"0000000000000000" "0080", -0.0L},
        {"0100000000000000" "0000", std::numeric_limits<Extended>::denorm_min()},
        {"0000000000000080" "FF7F", std::numeric_limits<Extended>::infinity()},
    };
    for (const Known& k : known) {
        const QByteArray b = Hex(k.bytes);
        const Extended v = DecodeExtended80(reinterpret_cast<const uint8_t*>(b.constData()));
        EXPECT_EQ(v, k.value) << k.bytes;
        EXPECT_EQ(std::signbit(v), std::signbit(k.value)) << k.bytes;
    }
    const QByteArray nanBytes = Hex("000000000000C0FFFFFF");
    const Extended nan = DecodeExtended80(reinterpret_cast<const uint8_t*>(nanBytes.constData()));
    EXPECT_TRUE(std::isnan(nan) && std::signbit(nan));
}

TEST_F(FilerTest, Real48KnownBytesAndRoundTrip)
{
    struct Known {
        double value;
        const char* bytes;
    };
    const Known known[] = {
        {0.0, "000000000000"},
        {1.0, "810000000000"},
        {-1.0, "810000000080"},
        {0.5, "800000000000"},
        {3.0, "820000000040"},
        {10.0, "840000000020"},
        {-0.75, "8000000000C0"},
        {2.0 - std::ldexp(1.0, -45), "820000000000"}, // rounds up into the next exponent
        {1.0 + std::ldexp(1.0, -39), "810100000000"}, // lowest mantissa bit
        {std::ldexp(1.0, -128), "010000000000"},      // smallest value
        {std::ldexp(1.0, -140), "000000000000"},      // below it: 0
        {std::numeric_limits<double>::quiet_NaN(), "000000000000"},
        {1e300, "FFFFFFFFFF7F"},                      // beyond the range: the largest value
        {-std::numeric_limits<double>::infinity(), "FFFFFFFFFFFF"},
    };
    for (const Known& k : known) {
        uint8_t enc[6];
        EncodeReal48(k.value, enc);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(enc), 6).toHex().toUpper(), QByteArray(k.bytes))
            << k.value;
    }
    EXPECT_EQ(DecodeReal48(reinterpret_cast<const uint8_t*>(Hex("810000000080").constData())), -1.0);
    EXPECT_EQ(DecodeReal48(reinterpret_cast<const uint8_t*>(Hex("00FFFFFFFFFF").constData())), 0.0);

    const double values[] = {1.0, -1.0, 0.1, -123.456, 1e30, -1e-30, 1.7e38, 3e-39, 65535.0};
    for (const double v : values) {
        uint8_t enc[6];
        EncodeReal48(v, enc);
        const double back = DecodeReal48(enc);
        EXPECT_NEAR(back, v, std::fabs(v) * std::ldexp(1.0, -40)) << v;
        uint8_t again[6];
        EncodeReal48(back, again);
        EXPECT_EQ(std::memcmp(enc, again, 6), 0) << v;
    }
}

TEST_F(FilerTest, CheckCountNamesWhatWasCounted)
{
    EXPECT_EQ(TReader::CheckCount(0, 0, 10, "Elemente"), 0);
    EXPECT_EQ(TReader::CheckCount(10, 0, 10, "Elemente"), 10);

    struct Case {
        uint8_t language;
        int32_t value;
        const char* message;
    };
    const Case cases[] = {
        {0, -1, "Ungültige Anzahl (-1) für Elemente im Datenstrom"},
        {1, 11, "Invalid count (11) of Elemente in the stream"},
        {2, 2000000000, "Nombre invalide (2000000000) de Elemente dans le flux"},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        const EFilerError e = Thrown([&] { TReader::CheckCount(c.value, 0, 10, "Elemente"); });
        EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
    }
}
