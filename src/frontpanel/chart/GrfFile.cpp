#include "frontpanel/chart/GrfFile.h"

#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/ValueText.h"

#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <limits>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kMarker = QStringLiteral("#FileVersion");

// A text line as it may stand in the file: line breaks would split it.
QString OneLine(const QString& text)
{
    QString s = text;
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

// Reads the file's lines the way the text-file routines did: numbers skip blank lines and
// leading blanks, end at a blank and take the rest of their line; texts are whole lines.
// After a failed number every later read gives 0 or an empty text.
class TLineReader {
public:
    explicit TLineReader(const QByteArray& bytes)
    {
        const QString text = FromCp1252(bytes);
        m_lines = text.split(u'\n');
        for (QString& line : m_lines)
            if (line.endsWith(u'\r'))
                line.chop(1);
        // A final line break does not start another line.
        if (!m_lines.isEmpty() && m_lines.back().isEmpty())
            m_lines.removeLast();
    }

    qsizetype Remaining() const { return m_failed ? 0 : m_lines.size() - m_pos; }
    // A read found the file's end or no number where one belongs: the data stop there.
    bool Failed() const { return m_failed; }

    QString Text()
    {
        if (!m_failed && m_pos >= m_lines.size())
            m_failed = true;
        if (m_failed)
            return QString();
        return m_lines.at(m_pos++);
    }

    double Number()
    {
        const QString token = Token();
        if (m_failed)
            return 0;
        bool ok = false;
        const double v = token.toDouble(&ok);
        if (!ok) {
            m_failed = true;
            return 0;
        }
        return v;
    }

    int64_t Integer()
    {
        const QString token = Token();
        if (m_failed)
            return 0;
        bool ok = false;
        const qlonglong v = token.toLongLong(&ok);
        if (!ok) {
            m_failed = true;
            return 0;
        }
        return v;
    }

private:
    QString Token()
    {
        while (!m_failed && m_pos < m_lines.size() && m_lines.at(m_pos).trimmed().isEmpty())
            ++m_pos;
        if (m_failed || m_pos >= m_lines.size()) {
            m_failed = true;
            return QString();
        }
        const QString line = m_lines.at(m_pos++).trimmed();
        const qsizetype end = line.indexOf(QRegularExpression(QStringLiteral("[ \t]")));
        return end < 0 ? line : line.left(end);
    }

    QStringList m_lines;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

QString Damaged()
{
    return Lang3Q("Die Schreiberdatei ist beschädigt: sie gibt eine negative Anzahl an.",
                  "The recorder file is damaged: it gives a negative count.",
                  "Le fichier d'enregistrement est endommagé : il indique un nombre négatif.");
}

// A count read from the file; false for a negative one. How many items really follow is
// found by reading them: a count is never trusted for an allocation.
bool TakeCount(TLineReader& in, qsizetype& count)
{
    const int64_t n = in.Integer();
    if (n < 0)
        return false;
    count = qsizetype(std::min<int64_t>(n, std::numeric_limits<qsizetype>::max()));
    return true;
}

} // namespace

QString GrfCutNotice()
{
    return Lang3Q("Die Schreiberdatei endet vor ihren letzten Daten (oder ist dort beschädigt). "
                  "Geladen wurden die vollständigen Kurven und Punkte davor.",
                  "The recorder file ends before its last data (or is damaged there). The "
                  "complete curves and points before that were loaded.",
                  "Le fichier d'enregistrement s'arrête avant ses dernières données (ou y est "
                  "endommagé). Les courbes et points complets précédents ont été chargés.");
}

QString GrfNumber(double value)
{
    if (std::isnan(value))
        return QStringLiteral(" NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral(" INF");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", std::fabs(value));
    // "d.ddddddddddddddE+xx" with the exponent widened to four digits.
    const char* e = std::strchr(buffer, 'E');
    const int exponent = std::atoi(e + 1);
    char out[64];
    std::snprintf(out, sizeof out, "%c%.*sE%c%04d", value < 0 ? '-' : ' ', int(e - buffer), buffer,
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    return QString::fromLatin1(out);
}

QByteArray WriteGrf(const TGrfData& data)
{
    QStringList lines;
    lines << QString::number(data.TimeBaseIndex) << OneLine(data.XUnit) << OneLine(data.YUnit);
    for (double v : {data.ViewXMin, data.ViewXMax, data.ViewYMin, data.ViewYMax, data.XMinLimit,
                     data.XMaxLimit, data.YMinLimit, data.YMaxLimit})
        lines << GrfNumber(v);
    lines << OneLine(data.Headline) + kMarker + QStringLiteral("40");
    lines << QString::number(data.TimeMode) << GrfNumber(data.StartZeit);
    lines << QString::number(data.CommentLines.size());
    for (const QString& line : data.CommentLines)
        lines << OneLine(line);
    lines << QString::number(data.Curves.size());
    for (const TGrfData::Curve& curve : data.Curves) {
        lines << OneLine(curve.Text) << OneLine(curve.Name) << QString::number(curve.Color)
              << QString::number(curve.Samples.size());
        for (const TChartSample& s : curve.Samples)
            lines << GrfNumber(s.X) << GrfNumber(s.Y);
    }
    lines << QString::number(data.Comments.size());
    for (const TGrfData::Comment& c : data.Comments)
        lines << OneLine(c.Text) << GrfNumber(c.AnchorX) << GrfNumber(c.AnchorY) << GrfNumber(c.PointX)
              << GrfNumber(c.PointY);
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToCp1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool ParseGrf(const QByteArray& bytes, TGrfData& out, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    TGrfData data;
    TLineReader in(bytes);
    QString first = in.Text();
    const int64_t index = RoundHalfEven(ParseValue(first));
    if (index == 0 && first != QStringLiteral("0")) {
        // An old file: no time-base line; its first line is the x unit.
        data.TimeBaseIndex = 6;
        data.XUnit = first;
    } else {
        data.TimeBaseIndex = int32_t(std::clamp<int64_t>(index, INT32_MIN, INT32_MAX));
        data.XUnit = in.Text();
    }
    data.YUnit = in.Text();
    data.ViewXMin = in.Number();
    data.ViewXMax = in.Number();
    data.ViewYMin = in.Number();
    data.ViewYMax = in.Number();
    data.XMinLimit = in.Number();
    data.XMaxLimit = in.Number();
    data.YMinLimit = in.Number();
    data.YMaxLimit = in.Number();
    const QString head = in.Text();
    // The last marker counts, so a headline that itself holds the marker text still reads.
    const qsizetype at = head.lastIndexOf(kMarker);
    if (at >= 0) {
        data.Headline = head.left(at);
        bool ok = false;
        data.Version = head.mid(at + kMarker.size(), 10).trimmed().toInt(&ok);
        if (!ok)
            return fail(Lang3Q("Die Schreiberdatei ist beschädigt: ihre Versionsangabe ist keine Zahl.",
                               "The recorder file is damaged: its version is no number.",
                               "Le fichier d'enregistrement est endommagé : sa version n'est pas un "
                               "nombre."));
    } else {
        data.Headline = head;
        data.Version = 0;
    }
    if (data.HasTimeMode()) {
        data.TimeMode = int32_t(in.Integer());
        data.StartZeit = in.Number();
    }
    // From here on a file that ends early (or holds no number where one belongs) keeps what
    // was read completely before that point.
    qsizetype n = 0;
    if (!TakeCount(in, n))
        return fail(Damaged());
    for (qsizetype i = 0; i < n; ++i) {
        const QString line = in.Text();
        if (in.Failed())
            break;
        data.CommentLines << line;
    }
    qsizetype curves = 0;
    if (!TakeCount(in, curves))
        return fail(Damaged());
    for (qsizetype i = 0; i < curves && !in.Failed(); ++i) {
        TGrfData::Curve curve;
        curve.Text = in.Text();
        curve.Name = in.Text();
        curve.Color = int32_t(in.Integer());
        qsizetype m = 0;
        if (!TakeCount(in, m))
            return fail(Damaged());
        if (in.Failed())
            break;
        curve.Samples.reserve(size_t(std::min(m, in.Remaining() / 2)));
        for (qsizetype j = 0; j < m; ++j) {
            const double x = in.Number();
            const double y = in.Number();
            if (in.Failed())
                break;
            curve.Samples.push_back({x, y});
        }
        data.Curves.push_back(std::move(curve));
    }
    qsizetype k = 0;
    // A file that ends after its curves simply has no comments.
    if (in.Remaining() > 0 && !TakeCount(in, k))
        return fail(Damaged());
    for (qsizetype i = 0; i < k && !in.Failed(); ++i) {
        TGrfData::Comment c;
        c.Text = in.Text();
        c.AnchorX = in.Number();
        c.AnchorY = in.Number();
        c.PointX = in.Number();
        c.PointY = in.Number();
        if (!in.Failed())
            data.Comments.push_back(std::move(c));
    }
    data.Cut = in.Failed();
    out = std::move(data);
    return true;
}
