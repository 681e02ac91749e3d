#include "platform/Paths.h"

#include "platform/Context.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

bool HasDrivePrefix(const QString& s)
{
    return s.size() >= 2 && s.at(1) == u':' && s.at(0).unicode() < 128 && s.at(0).isLetter();
}

// The entry of folder whose name equals name without regard to case; name itself when it
// exists as written or when nothing matches.
QString MatchComponent(const QString& folder, const QString& name)
{
    const QString exact = folder.isEmpty() ? name : folder + name;
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return name;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString ResolvePath(const QString& stored, const QString& baseFolder)
{
    QString path = stored;
    path.replace(u'\\', u'/');
    if (HasDrivePrefix(path))
        path.remove(0, 2);
    if (path.isEmpty())
        return baseFolder;

    QString base;
    if (!path.startsWith(u'/') && !baseFolder.isEmpty()) {
        base = baseFolder;
        base.replace(u'\\', u'/');
        if (!base.endsWith(u'/'))
            base += u'/';
    }

    const bool trailingSlash = path.endsWith(u'/');
    QString result;
    if (path.startsWith(u'/')) {
        result = QStringLiteral("/");
        // Keep a UNC-like double slash as it was written.
        if (path.startsWith(QStringLiteral("//")))
            result = QStringLiteral("//");
    } else {
        result = base;
    }

    // The base folder is taken as it is; only the stored part is matched.
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    bool exists = true; // the folder reached so far exists
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        QString name = part;
        if (exists && part != u"." && part != u"..") {
            name = MatchComponent(result, part);
            exists = QFileInfo(result.isEmpty() ? name : result + name).isDir();
        } else if (exists) {
            exists = QFileInfo(result.isEmpty() ? name : result + name).isDir();
        }
        result += name;
        if (i + 1 < parts.size() || trailingSlash)
            result += u'/';
    }
    return result;
}

QString ProgramPath(const QString& relative)
{
    return ResolvePath(relative, Ctx().ProgramFolder);
}

bool EnsureFolderFor(const QString& filePath, QString* error)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return true;
    if (error) {
        *error = Lang3Q("Der Ordner \"%1\" kann nicht angelegt werden.",
                        "The folder \"%1\" cannot be created.",
                        "Impossible de créer le dossier \"%1\".")
                     .arg(QDir::toNativeSeparators(folder));
    }
    return false;
}
