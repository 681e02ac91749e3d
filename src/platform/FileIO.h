#pragma once
// Reading and writing whole files safely.
//
// Writing goes through a temporary file beside the target that replaces it only when every
// byte reached the disk, so a full disk or a size limit leaves the old file as it was.
// Appending adds a whole record or nothing: a write that fails cuts the file back.
// Reading takes regular files only (a device or a pipe could block or never end) and refuses
// a file larger than the caller's limit before reading it.

#include <QByteArray>
#include <QString>

class QImage;

// Replaces fileName by bytes. False with *error (the cause, in the current language where the
// system gives one) when the file could not be written completely; the old file then stays.
bool WriteWholeFile(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);

// Replaces target by a copy of source, the same way; the source is read in pieces.
bool CopyWholeFile(const QString& source, const QString& target, QString* error = nullptr);

// Encodes the picture ("JPG", "BMP", "PNG" ...) and replaces fileName by it.
bool WriteImageFile(const QString& fileName, const QImage& image, const char* format,
                    QString* error = nullptr);

// Appends bytes to fileName (created when missing). When not all of them can be written the
// file is cut back to its former length, so no half record stays; false with *error then.
bool AppendToFile(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);

// "The file "<name>" cannot be written." in the current language, with the reason in
// brackets when there is one.
QString CannotWriteText(const QString& fileName, const QString& reason = QString());

// Reads a regular file of at most maxBytes. False with *error (a full sentence in the current
// language naming the file) when it is missing, not a regular file, larger, or unreadable.
bool ReadWholeFile(const QString& fileName, qint64 maxBytes, QByteArray* out,
                   QString* error = nullptr);
