#include "platform/FileIO.h"

#include "platform/Context.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool WriteWholeFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    QSaveFile file(fileName);
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    if (file.write(bytes) != bytes.size())
        return fail();
    // commit() closes the file without telling whether the buffered rest could be written:
    // flush it first and look at the outcome.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail();
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
