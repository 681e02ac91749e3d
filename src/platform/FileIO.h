#pragma once
// Reading and writing whole files safely.
//
// Writing goes through a temporary file beside the target that replaces it only when every
// byte reached the disk, so a full disk or a size limit leaves the old file as it was.
// Reading takes regular files only (a device or a pipe could block or never end) and refuses
// a file larger than the caller's limit before reading it.

#include <QByteArray>
#include <QString>

// Replaces fileName by bytes. False with *error (the cause, in the current language where the
// system gives one) when the file could not be written completely; the old file then stays.
bool WriteWholeFile(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);

// Reads a regular file of at most maxBytes. False with *error (a full sentence in the current
// language naming the file) when it is missing, not a regular file, larger, or unreadable.
bool ReadWholeFile(const QString& fileName, qint64 maxBytes, QByteArray* out,
                   QString* error = nullptr);
