#include "platform/FileIO.h"

#include "platform/Context.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <functional>

namespace {

// Writes through a temporary file beside fileName that replaces it only when fill wrote
// everything and the data reached the disk.
bool WriteThroughSaveFile(const QString& fileName, QString* error,
                          const std::function<bool(QSaveFile&, QString*)>& fill)
{
    QSaveFile file(fileName);
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason.isEmpty() ? file.errorString() : reason;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(QString());
    QString reason;
    if (!fill(file, &reason))
        return fail(reason);
    // commit() closes the file without telling whether the buffered rest could be written:
    // flush it first and look at the outcome.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(QString());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool WriteWholeFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    return WriteThroughSaveFile(fileName, error, [&](QSaveFile& file, QString*) {
        return file.write(bytes) == bytes.size();
    });
}

bool CopyWholeFile(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QDir::toNativeSeparators(source) + QStringLiteral(": ") + in.errorString();
        return false;
    }
    return WriteThroughSaveFile(target, error, [&](QSaveFile& file, QString* reason) {
        char chunk[65536];
        for (;;) {
            const qint64 n = in.read(chunk, sizeof chunk);
            if (n < 0) {
                *reason = QDir::toNativeSeparators(source) + QStringLiteral(": ") + in.errorString();
                return false;
            }
            if (n == 0)
                return true;
            if (file.write(chunk, n) != n)
                return false;
        }
    });
}

bool WriteImageFile(const QString& fileName, const QImage& image, const char* format,
                    QString* error)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (image.isNull() || !writer.write(image)) {
            if (error)
                *error = image.isNull() ? Lang3Q("kein Bild", "no picture", "pas d'image")
                                        : writer.errorString();
            return false;
        }
    }
    return WriteWholeFile(fileName, bytes, error);
}

bool AppendToFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    QFile file(fileName);
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    // Unbuffered, so that nothing of a failed write is tried again when the file closes.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail();
    const qint64 before = file.size();
    if (file.write(bytes) == bytes.size())
        return true;
    const QString reason = file.errorString();
    file.resize(before);
    if (error)
        *error = reason;
    return false;
}

QString CannotWriteText(const QString& fileName, const QString& reason)
{
    QString text = Lang3Q("Die Datei \"%1\" kann nicht geschrieben werden.",
                          "The file \"%1\" cannot be written.",
                          "Impossible d'écrire le fichier \"%1\".")
                       .arg(QDir::toNativeSeparators(fileName));
    if (!reason.isEmpty())
        text += QStringLiteral(" (") + reason + u')';
    return text;
}

bool ReadWholeFile(const QString& fileName, qint64 maxBytes, QByteArray* out, QString* error)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(fileName);
    if (!info.exists())
        return fail(Lang3Q("Die Datei \"%1\" existiert nicht.", "The file \"%1\" does not exist.",
                           "Le fichier \"%1\" n'existe pas.")
                        .arg(shown));
    if (!info.isFile())
        return fail(Lang3Q("\"%1\" ist keine gewöhnliche Datei.", "\"%1\" is not a regular file.",
                           "\"%1\" n'est pas un fichier ordinaire.")
                        .arg(shown));
    const auto tooLarge = [&] {
        return fail(Lang3Q("Die Datei \"%1\" ist zu groß (mehr als %2 Bytes).",
                           "The file \"%1\" is too large (more than %2 bytes).",
                           "Le fichier \"%1\" est trop volumineux (plus de %2 octets).")
                        .arg(shown)
                        .arg(maxBytes));
    };
    if (info.size() > maxBytes)
        return tooLarge();
    QFile file(fileName);
    const auto unreadable = [&] {
        return fail(Lang3Q("Die Datei \"%1\" kann nicht gelesen werden.",
                           "The file \"%1\" cannot be read.",
                           "Impossible de lire le fichier \"%1\".")
                        .arg(shown) +
                    u'\n' + file.errorString());
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    // The file may have grown since it was measured: never read past the limit.
    QByteArray bytes;
    bytes.reserve(qsizetype(info.size()));
    char chunk[65536];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n <= 0)
            break;
        if (bytes.size() + n > maxBytes)
            return tooLarge();
        bytes.append(chunk, qsizetype(n));
    }
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    *out = std::move(bytes);
    return true;
}
