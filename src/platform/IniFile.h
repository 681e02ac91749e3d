#pragma once
// INI files with Windows semantics: sections and keys compared without regard to case, the
// order of sections and keys kept, lines ended with CR LF, text in Windows-1252. The file is
// read once when the object is made (objects made from an unchanged file share one parse);
// changes are kept in memory and written by UpdateFile() (and by the destructor when something
// changed) through a temporary file and a rename. A file larger than kMaxIniFileSize, or one
// that is not a regular file, counts as unreadable: it reads as empty and is never overwritten.

#include <QString>
#include <QtGlobal>
#include <QStringList>
#include <memory>

class TIniFile {
public:
    static constexpr qint64 kMaxIniFileSize = 8 * 1024 * 1024;

    explicit TIniFile(const QString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    QString FileName() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Decimal, or hexadecimal with "$" or "0x"; def when missing or not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // A number other than 0 is true; def when missing or not a number.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value); // "1" / "0"
    // Accepts "." and "," as the decimal point; writes with the locale's separator.
    double ReadFloat(const QString& section, const QString& key, double def) const;
    void WriteFloat(const QString& section, const QString& key, double value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const;       // the keys
    QStringList ReadSectionValues(const QString& section) const; // "key=value" lines
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);

    // Writes pending changes; creates the folder when missing. False with LastError() set
    // when the file cannot be written.
    bool UpdateFile();
    // Forgets the pending changes, for a caller that took the failure of UpdateFile() and
    // reports it itself (the destructor would try again and report it a second time).
    void DiscardChanges();
    bool Modified() const;
    QString LastError() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};
