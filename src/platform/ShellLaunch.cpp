#include "platform/ShellLaunch.h"

#include "platform/Context.h"
#include "platform/Paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

TLauncher& InstalledLauncher()
{
    static TLauncher launcher;
    return launcher;
}

bool IsAddress(const QString& file)
{
    return file.contains(QLatin1String("://"))
           || file.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

// The program to start: an executable file by its path, or a bare name found on the PATH.
QString ProgramOf(const QString& file, const QFileInfo& info)
{
    if (info.isFile() && info.isExecutable())
        return info.absoluteFilePath();
    if (!info.exists() && !file.contains(u'/') && !file.contains(u'\\'))
        return QStandardPaths::findExecutable(file);
    return QString();
}

bool OpenLocal(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

TLaunchResult SystemLaunch(const TLaunchRequest& request)
{
    const QString operation = request.Operation.trimmed().toUpper();
    const QString file = request.File.trimmed();
    if (file.isEmpty())
        return TLaunchResult::NotFound;
    if (IsAddress(file)) {
        if (!operation.isEmpty() && operation != QLatin1String("OPEN"))
            return TLaunchResult::Unsupported;
        return QDesktopServices::openUrl(QUrl(file)) ? TLaunchResult::Done : TLaunchResult::Failed;
    }
    const QString path = ResolvePath(file);
    const QFileInfo info(path);
    if (operation.isEmpty() || operation == QLatin1String("OPEN")) {
        const QString program = ProgramOf(file, info);
        if (!program.isEmpty()) {
            const QString folder =
                request.Folder.isEmpty() ? QString() : ResolvePath(request.Folder);
            return QProcess::startDetached(program, QProcess::splitCommand(request.Parameters),
                                           folder)
                       ? TLaunchResult::Done
                       : TLaunchResult::Failed;
        }
        if (!info.exists())
            return TLaunchResult::NotFound;
        return OpenLocal(path) ? TLaunchResult::Done : TLaunchResult::Failed;
    }
    if (operation == QLatin1String("EXPLORE")) {
        if (!info.exists())
            return TLaunchResult::NotFound;
        return OpenLocal(info.isDir() ? path : info.absolutePath()) ? TLaunchResult::Done
                                                                     : TLaunchResult::Failed;
    }
    if (operation == QLatin1String("PRINT")) {
        if (!info.isFile())
            return TLaunchResult::NotFound;
        const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
        if (lp.isEmpty())
            return TLaunchResult::Failed;
        return QProcess::startDetached(lp, {path}) ? TLaunchResult::Done : TLaunchResult::Failed;
    }
    return TLaunchResult::Unsupported;
}

TLaunchResult Launch(const TLaunchRequest& request)
{
    const TLauncher& launcher = InstalledLauncher();
    return launcher ? launcher(request) : SystemLaunch(request);
}

void SetLauncher(TLauncher launcher)
{
    InstalledLauncher() = std::move(launcher);
}

QString LaunchFailureText(TLaunchResult result, const TLaunchRequest& request)
{
    switch (result) {
    case TLaunchResult::Done:
        return QString();
    case TLaunchResult::NotFound:
        return Lang3Q("\"%1\" wurde nicht gefunden.", "\"%1\" was not found.",
                      "\"%1\" est introuvable.")
            .arg(request.File);
    case TLaunchResult::Unsupported:
        return Lang3Q("Die Aktion \"%2\" ist für \"%1\" nicht möglich.",
                      "The action \"%2\" is not possible for \"%1\".",
                      "L'action \"%2\" n'est pas possible pour \"%1\".")
            .arg(request.File, request.Operation);
    case TLaunchResult::Failed:
        break;
    }
    return Lang3Q("\"%1\" lässt sich nicht starten oder öffnen.",
                  "\"%1\" cannot be started or opened.",
                  "\"%1\" ne peut pas être démarré ou ouvert.")
        .arg(request.File);
}
