#include "platform/SystemFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString& Root()
{
    static QString root;
    return root;
}

QString ConfigFolder()
{
    QString folder = Root();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/tavrinol");
    QDir().mkpath(folder);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace

QString WindowsFolder() { return ConfigFolder(); }

QString SystemFolder() { return ConfigFolder(); }

void SetSystemFolderRoot(const QString& folder) { Root() = folder; }
