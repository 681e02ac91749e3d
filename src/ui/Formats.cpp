#include "ui/Formats.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/Help.h"
#include "platform/Paths.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

QString Repeat(QChar c, int count)
{
    return count > 0 ? QString(count, c) : QString();
}

// Widths and digit counts come from stored data; keep them to what a text field can show.
int ClampCount(int32_t n)
{
    return std::clamp<int32_t>(n, 0, 255);
}

QString FixedNotation(double value, int decimals)
{
    return QString::fromLatin1(CFormat("%.*Lf", decimals, static_cast<Extended>(value)));
}

QString FormatExpo(int32_t digits, double value)
{
    const QString sign = value < 0 ? QString() : QStringLiteral(" ");
    if (std::isnan(value))
        return QStringLiteral(" NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral(" INF");
    const int p = std::clamp<int32_t>(digits, 2, 18);
    QString s = QString::fromLatin1(CFormat("%.*LE", p - 1, static_cast<Extended>(value)));
    return LocalizeDecimal(sign + s);
}

QString FormatFixed(bool noZero, int32_t digits, int32_t decimals, double value)
{
    const int d = ClampCount(digits);
    const int k = ClampCount(decimals);
    const int W = k > 0 ? d + k + 2 : d + 1;

    if (!std::isfinite(value))
        return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + Repeat(u'>', W - 1);

    QString s = FixedNotation(value, k);
    if (s.size() < W)
        s = Repeat(u' ', W - int(s.size())) + s;
    if (value < 0 && s.size() > W)
        return u'-' + Repeat(u'>', W - 1);
    if (value > 0 && (s.size() > W || s.at(0) != u' '))
        return u' ' + Repeat(u'>', W - 1);

    // Position 0 is the sign position.
    for (qsizetype i = 1; i < s.size(); ++i) {
        if (s.at(i) == u'-' || s.at(i) == u'+') {
            s[0] = s.at(i);
            s[i] = u' ';
        }
    }
    if (!noZero) {
        for (qsizetype i = 1; i < s.size(); ++i) {
            if (s.at(i) == u' ')
                s[i] = u'0';
        }
    } else {
        // Walks the sign (blank or "-") right until it stands before the first digit.
        for (qsizetype i = 1; i < s.size(); ++i) {
            if (s.at(i) == u' ') {
                s[i] = s.at(i - 1);
                s[i - 1] = u' ';
            }
        }
    }
    s.replace(u'.', u',');
    return LocalizeDecimal(s);
}

QString FormatFloat(int32_t digits, double value)
{
    const int n = ClampCount(digits);
    const bool neg = value < 0;
    const QString overflow = (neg ? QStringLiteral("-") : QStringLiteral(" ")) + Repeat(u'>', n + 1);
    if (!std::isfinite(value) || value > 1e12 || value < -1e12)
        return overflow;

    const QString s = FixedNotation(value, n);
    const int i = int(s.size()) - n - 1 - (neg ? 1 : 0); // integer digits
    const int r = n - i;                                  // fraction digits that fit
    if (r < 0)
        return overflow;

    QString t;
    if (!neg) {
        t = s.left(i);
        if (r > 0)
            t += s.mid(i, r + 1);
        t = u' ' + t;
    } else {
        t = s.left(i + 1);
        if (r > 0)
            t += s.mid(i + 1, r + 1);
    }
    // The fraction is cut, not rounded again.
    t.replace(u'.', u',');
    if (!t.contains(u','))
        t += u' ';
    for (qsizetype j = 1; j < t.size(); ++j) {
        if (t.at(j) == u'-' || t.at(j) == u'+') {
            t[0] = t.at(j);
            t[j] = u' ';
        }
    }
    return LocalizeDecimal(t);
}

QString FormatHex(int32_t digits, double value)
{
    const int n = ClampCount(digits);
    if (!(value >= 0) || value > 4294967295.0)
        return Repeat(u'>', n);
    const auto v = static_cast<uint32_t>(std::trunc(value));
    const QString t = QString::number(v, 16).toUpper().rightJustified(n, u'0');
    if (t.size() > n)
        return Repeat(u'>', n);
    return LocalizeDecimal(t);
}

QString FormatBinary(int32_t digits, double value)
{
    const int n = ClampCount(digits);
    // The largest value n bits hold, at most 32 bits.
    const uint64_t limit = n >= 32 ? 0xFFFFFFFFull : (uint64_t(1) << n) - 1;
    if (!(value >= 0) || std::trunc(value) > static_cast<double>(limit))
        return Repeat(u'>', n);
    const auto v = static_cast<uint64_t>(std::trunc(value));
    QString t;
    t.reserve(n);
    for (int bit = n - 1; bit >= 0; --bit)
        t += (bit < 64 && ((v >> bit) & 1u)) ? u'1' : u'0';
    return LocalizeDecimal(t);
}

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

int64_t TruncSeconds(double seconds)
{
    return static_cast<int64_t>(std::trunc(seconds));
}

// Seconds beyond this (about 31 million years) are not a time of day anyone asks for; it also
// keeps the integer conversions in range.
constexpr double kMaxSeconds = 1e15;

} // namespace

// --- Number format -----------------------------------------------------------------------

QString FormatNumber(TFormatOptions options, int32_t digits, int32_t decimals, double value)
{
    if (value == 0)
        value = 0.0; // no "-0"
    if (options.Contains(TFormatOption::Unformatted))
        return GeneralText(value, 15, 15, 1, LocaleDecimalSeparator());
    if (options.Contains(TFormatOption::Expo))
        return FormatExpo(digits, value);
    if (options.Contains(TFormatOption::Fixed))
        return FormatFixed(options.Contains(TFormatOption::NoZero), digits, decimals, value);
    if (options.Contains(TFormatOption::Float))
        return FormatFloat(digits, value);
    if (options.Contains(TFormatOption::Hexadecimal))
        return FormatHex(digits, value);
    if (options.Contains(TFormatOption::Binary))
        return FormatBinary(digits, value);
    return QString();
}

QString FormatOptionName(TFormatOptions options)
{
    QString name;
    if (options.Contains(TFormatOption::Float))
        name = Translate(QStringLiteral("Fliesskomma"));
    if (options.Contains(TFormatOption::Fixed))
        name = Translate(QStringLiteral("Fest"));
    if (options.Contains(TFormatOption::Hexadecimal))
        name = Translate(QStringLiteral("Hexadezimal"));
    if (options.Contains(TFormatOption::Binary))
        name = Translate(QString::fromUtf8("Binär"));
    if (options.Contains(TFormatOption::Expo))
        name = Translate(QStringLiteral("Exponentiell"));
    if (options.Contains(TFormatOption::Unformatted))
        name = Translate(QStringLiteral("Unformatiert")) + QStringLiteral("/$String");
    return name;
}

bool TFormat::SignedMode() const
{
    return Options.Contains(TFormatOption::Fixed) || Options.Contains(TFormatOption::Float)
        || Options.Contains(TFormatOption::Expo);
}

QString TFormat::FormatValue(double value) const
{
    QString t = FormatNumber(Options, Digits, Decimals, value);
    if (ShowPlus && SignedMode() && !t.isEmpty()) {
        if (Options.Contains(TFormatOption::NoZero)) {
            // The blank just before the first non-blank takes the "+".
            qsizetype i = 0;
            while (t.at(i) == u' ' && i < t.size() - 1)
                ++i;
            if (i > 0 && t.at(i) != u'-')
                t[i - 1] = u'+';
        } else if (t.at(0) == u' ') {
            t[0] = u'+';
        }
    }
    return Prefix + t + Suffix;
}

QString TFormat::FormatText(const QString& text) const
{
    QString t = text;
    if (ShowPlus && SignedMode() && !t.isEmpty() && t.at(0) == u' ')
        t[0] = u'+';
    return Prefix + t + Suffix;
}

void TFormat::WriteData(TWriter& writer) const
{
    writer.WriteInteger(1); // record version
    writer.WriteInteger(Digits);
    writer.WriteInteger(Decimals);
    for (TFormatOption o : {TFormatOption::Fixed, TFormatOption::NoZero, TFormatOption::Float,
                            TFormatOption::Expo, TFormatOption::Binary,
                            TFormatOption::Hexadecimal, TFormatOption::Unformatted})
        writer.WriteBoolean(Options.Contains(o));
    writer.WriteBoolean(ShowPlus);
    writer.WriteString(Prefix);
    writer.WriteString(Suffix);
}

void TFormat::ReadData(TReader& reader)
{
    // Read completely before anything is changed, so a broken record leaves the format intact.
    reader.ReadInteger(); // record version
    const int32_t digits = reader.ReadInteger();
    const int32_t decimals = reader.ReadInteger();
    TFormatOptions options;
    for (TFormatOption o : {TFormatOption::Fixed, TFormatOption::NoZero, TFormatOption::Float,
                            TFormatOption::Expo, TFormatOption::Binary,
                            TFormatOption::Hexadecimal, TFormatOption::Unformatted}) {
        if (reader.ReadBoolean())
            options.Include(o);
    }
    const bool showPlus = reader.ReadBoolean();
    const QString prefix = reader.ReadString();
    const QString suffix = reader.ReadString();

    Digits = digits;
    Decimals = decimals;
    Options = options;
    ShowPlus = showPlus;
    Prefix = prefix;
    Suffix = suffix;
}

// --- Shared routines ---------------------------------------------------------------------

void ShowHelp(int context)
{
    OpenHelpTopic(context);
}

QString FindDataFile(const QString& name)
{
    QString f = name;
    f.replace(u'\\', u'/');
    f = f.mid(f.lastIndexOf(u'/') + 1);

    QString result = name.isEmpty() ? name : ResolvePath(name);
    if (!Ctx().ProjectFolder.isEmpty() && !f.isEmpty()) {
        const QString inProject = ResolvePath(f, Ctx().ProjectFolder);
        if (FileExists(inProject))
            result = inProject;
    }
    const QString inData = ProgramPath(QStringLiteral("Data/") + f);
    if (!f.isEmpty() && FileExists(inData))
        result = inData;
    if (!FileExists(result) && !name.isEmpty())
        result = inData;
    return result;
}

QString SafeFileName(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
        case u'"':
        case u'*':
        case u'/':
        case u':':
        case u'<':
        case u'>':
        case u'?':
        case u'\\':
        case u'|':
            c = u'_';
            break;
        default:
            break;
        }
    }
    return out;
}

QString TimeToTextMs(double seconds, double baseDate, bool trim)
{
    Q_UNUSED(baseDate); // only the time of day is shown
    if (!(seconds >= 0) || seconds > kMaxSeconds)
        return QString();
    const int64_t s = TruncSeconds(seconds);
    const int64_t h = s / 3600;
    int hour = int(h % 24);
    int minute = int((s % 3600) / 60);
    int second = int(s % 60);

    int64_t ms = RoundHalfEven((static_cast<Extended>(seconds) - s) * 1000);
    if (ms >= 1000) {
        ms = 0;
        if (++second == 60) {
            second = 0;
            if (++minute == 60) {
                minute = 0;
                if (++hour == 24)
                    hour = 0;
            }
        }
    }
    QString m = QString::number(ms).rightJustified(3, u'0');
    if (trim) {
        while (m.endsWith(u'0'))
            m.chop(1);
    }

    // The time as a Windows long time format shows it by default: 24 hours with seconds.
    // Qt's long format adds the time zone and many short formats drop the seconds, so the
    // pattern is fixed; the system locale supplies the digits.
    QString text = QLocale::system().toString(QTime(hour, minute, second), QStringLiteral("HH:mm:ss"));
    if (!m.isEmpty())
        text += u',' + m;
    return text;
}

QString DateToText(double seconds, double baseDate)
{
    if (!(seconds >= 0) || seconds > kMaxSeconds || !(std::fabs(baseDate) < 1e8))
        return QString();
    const int64_t days = TruncSeconds(seconds) / 3600 / 24;
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(baseDate)) + days);
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString DurationToText(double seconds)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > kMaxSeconds)
        return QString();
    const Extended whole = std::trunc(static_cast<Extended>(seconds));
    int64_t v = static_cast<int64_t>(std::fabs(whole));
    int64_t ms = RoundHalfEven(std::fabs(static_cast<Extended>(seconds) - whole) * 1000);
    if (ms >= 1000) { // the fraction rounds up to a whole second
        ms = 0;
        ++v;
    }

    QString t;
    if (v >= 86400) {
        t += QString::number(v / 86400) + QStringLiteral("d ");
        v %= 86400;
    }
    if (v >= 3600) {
        t += QString::number(v / 3600) + QStringLiteral("h ");
        v %= 3600;
    }
    if (v >= 60) {
        if (!t.isEmpty() && v / 60 < 10)
            t += u'0';
        t += QString::number(v / 60) + u':';
        v %= 60;
    }
    if (!t.isEmpty() && v < 10)
        t += u'0';
    t += QString::number(v);
    if (seconds < 0)
        t = u'-' + t;
    if (ms != 0)
        t += u'.' + QString::number(ms).rightJustified(3, u'0');
    return t;
}

QString ColorToHtml(int32_t color)
{
    if (color < 0)
        color = 14215660; // RGB 236, 233, 216 stands for every system colour
    const auto c = static_cast<uint32_t>(color);
    auto hex2 = [](uint32_t b) { return QString::number(b & 0xFF, 16).toUpper().rightJustified(2, u'0'); };
    return u'#' + hex2(c) + hex2(c >> 8) + hex2(c >> 16);
}

QString WebServerFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = Ctx().ProgramFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return ResolvePath(QStringLiteral("TvWebServer10/"), folder);
}
