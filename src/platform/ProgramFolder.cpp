#include "platform/ProgramFolder.h"

#include "platform/Context.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString WithSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// Tries a real write: permission bits alone miss read-only mounts and ACLs.
bool CanWriteIn(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(WithSlash(folder) + QStringLiteral(".write-test-XXXXXX"));
    return probe.open();
}

} // namespace

QString DetermineProgramFolder(const QString& executableDir)
{
    const QString dir = QDir::cleanPath(QDir(executableDir).absolutePath());
    if (CanWriteIn(dir))
        return WithSlash(dir);
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + QStringLiteral("/.local/share/tavrinol");
    QDir().mkpath(user);
    return WithSlash(QDir::cleanPath(user));
}

void InitProgramFolder()
{
    Ctx().ProgramFolder = DetermineProgramFolder(QCoreApplication::applicationDirPath());
}
