#include "platform/IniFile.h"

#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/FileIO.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#include <cmath>
#include <map>
#include <vector>

namespace {

struct TIniLine {
    QString raw;      // the line as it stands in the file
    bool isKey = false;
    QString key;      // trimmed
    QString value;    // trimmed, quotes still on
};

struct TIniSection {
    bool hasHeader = false; // false only for the lines before the first section
    QString name;
    QString header;
    std::vector<TIniLine> lines;
};

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

TIniLine ParseLine(const QString& raw)
{
    TIniLine line;
    line.raw = raw;
    const QString t = raw.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return line;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return line;
    const QString key = t.left(eq).trimmed();
    if (key.isEmpty())
        return line;
    line.isKey = true;
    line.key = key;
    line.value = t.mid(eq + 1).trimmed();
    return line;
}

// "[name]" with anything after the closing bracket ignored.
bool ParseHeader(const QString& raw, QString* name)
{
    const QString t = raw.trimmed();
    if (!t.startsWith(u'['))
        return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

QString Unquote(const QString& value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

// The stored form of a value: one line; quoted when reading would otherwise change it
// (blanks at either end, or quotes at both ends).
QString Encode(const QString& value)
{
    QString v = value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    const bool needsQuotes = v != v.trimmed()
        || (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'));
    return needsQuotes ? u'"' + v + u'"' : v;
}

// Decimal, or hexadecimal after "$" or "0x" (hexadecimal takes all 32 bits, as colours need).
bool ParseInteger(const QString& text, int* out)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.startsWith(u'-');
        s.remove(0, 1);
    }
    bool ok = false;
    qint64 v = 0;
    if (s.startsWith(u'$') || s.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const QString digits = s.mid(s.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty() || digits.size() > 8)
            return false;
        for (QChar c : digits) {
            const char16_t u = c.unicode();
            const bool hex = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f')
                || (u >= u'A' && u <= u'F');
            if (!hex)
                return false;
        }
        v = static_cast<qint64>(digits.toUInt(&ok, 16));
        if (!ok)
            return false;
        uint32_t bits = static_cast<uint32_t>(v);
        if (negative)
            bits = 0u - bits;
        *out = static_cast<int32_t>(bits);
        return true;
    }
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    v = s.toLongLong(&ok);
    if (!ok)
        return false;
    if (negative)
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    *out = static_cast<int>(v);
    return true;
}

// Up to 15 significant digits; exponents written as "1E20", "1,5E-7".
QString FormatFloat(double value, QChar separator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    QString s = QString::number(value, 'g', 15);
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        QString mantissa = s.left(e);
        QString exponent = s.mid(e + 1);
        bool negativeExp = exponent.startsWith(u'-');
        if (exponent.startsWith(u'-') || exponent.startsWith(u'+'))
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        s = mantissa + u'E' + (negativeExp ? QStringLiteral("-") : QString()) + exponent;
    }
    s.replace(u'.', separator);
    return s;
}

} // namespace

struct TIniFile::Data {
    QString fileName;
    std::vector<TIniSection> sections; // sections[0] holds the lines before the first header
    bool modified = false;
    bool unreadable = false; // the file exists but could not be read: never overwrite it
    QString lastError;

    const TIniSection* Find(const QString& section) const
    {
        for (const TIniSection& s : sections) {
            if (s.hasHeader && SameName(s.name, section))
                return &s;
        }
        return nullptr;
    }
    TIniSection* Find(const QString& section)
    {
        return const_cast<TIniSection*>(std::as_const(*this).Find(section));
    }
    static const TIniLine* FindKey(const TIniSection& s, const QString& key)
    {
        for (const TIniLine& line : s.lines) {
            if (line.isKey && SameName(line.key, key))
                return &line;
        }
        return nullptr;
    }
    const TIniLine* FindKey(const QString& section, const QString& key) const
    {
        const TIniSection* s = Find(section);
        return s ? FindKey(*s, key) : nullptr;
    }

    void Parse(const QString& text)
    {
        sections.clear();
        sections.emplace_back();
        QStringList rawLines = text.split(u'\n');
        if (!rawLines.isEmpty() && rawLines.last().isEmpty())
            rawLines.removeLast(); // the final line break ends the last line
        for (QString raw : rawLines) {
            if (raw.endsWith(u'\r'))
                raw.chop(1);
            QString name;
            if (ParseHeader(raw, &name)) {
                TIniSection s;
                s.hasHeader = true;
                s.name = name;
                s.header = raw;
                sections.push_back(std::move(s));
            } else {
                sections.back().lines.push_back(ParseLine(raw));
            }
        }
    }

    QString Text() const
    {
        QString text;
        for (const TIniSection& s : sections) {
            if (s.hasHeader)
                text += s.header + QStringLiteral("\r\n");
            for (const TIniLine& line : s.lines)
                text += line.raw + QStringLiteral("\r\n");
        }
        return text;
    }
};

namespace {

// The parsed content of the files read last, so that the many objects made from one file
// (the settings file at start-up) parse it once. An entry counts only while the file holds
// the very bytes it was parsed from.
struct TParsedFile {
    QByteArray bytes;
    std::vector<TIniSection> sections;
};

QMutex g_parsedLock;
std::map<QString, TParsedFile>& ParsedFiles()
{
    static std::map<QString, TParsedFile> files;
    return files;
}

void RememberParsed(const QString& fileName, const QByteArray& bytes,
                    const std::vector<TIniSection>& sections)
{
    const QMutexLocker lock(&g_parsedLock);
    auto& files = ParsedFiles();
    if (files.size() >= 16)
        files.clear();
    files[fileName] = TParsedFile{bytes, sections};
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : d(std::make_unique<Data>())
{
    d->fileName = fileName.isEmpty() ? QString() : ResolvePath(fileName);
    d->sections.emplace_back();
    if (d->fileName.isEmpty())
        return;
    const QFileInfo info(d->fileName);
    if (!info.exists() && !info.isSymLink())
        return; // a missing file reads as empty
    QByteArray bytes;
    QString error;
    if (!ReadWholeFile(d->fileName, kMaxIniFileSize, &bytes, &error)) {
        d->unreadable = true;
        d->lastError = error;
        return;
    }
    {
        const QMutexLocker lock(&g_parsedLock);
        const auto& files = ParsedFiles();
        if (auto it = files.find(d->fileName); it != files.end() && it->second.bytes == bytes) {
            d->sections = it->second.sections;
            return;
        }
    }
    d->Parse(FromCp1252(bytes));
    RememberParsed(d->fileName, bytes, d->sections);
}

TIniFile::~TIniFile()
{
    if (d->modified && !UpdateFile())
        MessageDlg(d->lastError, mtError, mbOK);
}

QString TIniFile::FileName() const
{
    return d->fileName;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const TIniLine* line = d->FindKey(section, key);
    return line ? Unquote(line->value) : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString k = key.trimmed();
    if (k.isEmpty())
        return;
    const QString stored = Encode(value);
    TIniSection* s = d->Find(section);
    if (!s) {
        TIniSection added;
        added.hasHeader = true;
        added.name = section.trimmed();
        added.header = u'[' + added.name + u']';
        d->sections.push_back(std::move(added));
        s = &d->sections.back();
    }
    for (TIniLine& line : s->lines) {
        if (line.isKey && SameName(line.key, k)) {
            if (line.value == stored)
                return;
            line.value = stored;
            line.raw = line.key + u'=' + stored;
            d->modified = true;
            return;
        }
    }
    // New keys go after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    size_t at = s->lines.size();
    while (at > 0 && s->lines[at - 1].raw.trimmed().isEmpty())
        --at;
    TIniLine line;
    line.isKey = true;
    line.key = k;
    line.value = stored;
    line.raw = k + u'=' + stored;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    d->modified = true;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const TIniLine* line = d->FindKey(section, key);
    int value = 0;
    if (line && ParseInteger(Unquote(line->value), &value))
        return value;
    return def;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
    const TIniLine* line = d->FindKey(section, key);
    if (!line)
        return def;
    QString text = Unquote(line->value).trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : def;
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    WriteString(section, key, FormatFloat(value, LocaleDecimalSeparator()));
}

bool TIniFile::SectionExists(const QString& section) const
{
    return d->Find(section) != nullptr;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return d->FindKey(section, key) != nullptr;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    for (const TIniSection& s : d->sections) {
        if (s.hasHeader && !names.contains(s.name, Qt::CaseInsensitive))
            names.append(s.name);
    }
    return names;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const TIniSection* s = d->Find(section)) {
        for (const TIniLine& line : s->lines) {
            if (line.isKey && !keys.contains(line.key, Qt::CaseInsensitive))
                keys.append(line.key);
        }
    }
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString& section) const
{
    QStringList result;
    const TIniSection* s = d->Find(section);
    if (!s)
        return result;
    for (const QString& key : ReadSection(section))
        result.append(key + u'=' + Unquote(Data::FindKey(*s, key)->value));
    return result;
}

void TIniFile::EraseSection(const QString& section)
{
    auto& sections = d->sections;
    const auto before = sections.size();
    std::erase_if(sections, [&](const TIniSection& s) {
        return s.hasHeader && SameName(s.name, section);
    });
    if (sections.size() != before)
        d->modified = true;
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    TIniSection* s = d->Find(section);
    if (!s)
        return;
    const auto before = s->lines.size();
    std::erase_if(s->lines,
                  [&](const TIniLine& line) { return line.isKey && SameName(line.key, key); });
    if (s->lines.size() != before)
        d->modified = true;
}

bool TIniFile::UpdateFile()
{
    if (!d->modified)
        return true;
    auto fail = [&](const QString& reason) {
        d->lastError = CannotWriteText(d->fileName, reason);
        return false;
    };
    if (d->fileName.isEmpty())
        return fail(QString());
    if (d->unreadable)
        return fail(Lang3Q("sie war nicht lesbar", "it could not be read",
                           "il n'était pas lisible"));
    QString folderError;
    if (!EnsureFolderFor(d->fileName, &folderError))
        return fail(folderError);
    QString reason;
    const QByteArray bytes = ToCp1252(d->Text());
    if (!WriteWholeFile(d->fileName, bytes, &reason))
        return fail(reason);
    RememberParsed(d->fileName, bytes, d->sections);
    d->modified = false;
    d->lastError.clear();
    return true;
}

void TIniFile::DiscardChanges()
{
    d->modified = false;
}

bool TIniFile::Modified() const
{
    return d->modified;
}

QString TIniFile::LastError() const
{
    return d->lastError;
}
