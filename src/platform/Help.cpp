#include "platform/Help.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QKeyEvent>
#include <QWhatsThis>
#include <QDesktopServices>
#include <QFileInfo>

namespace {

std::function<bool(const QUrl&)> g_opener;

bool OpenUrl(const QUrl& url)
{
    if (g_opener)
        return g_opener(url);
    return QDesktopServices::openUrl(url);
}

void OpenHelpPage(const QString& relative)
{
    const QString path = ProgramPath(relative);
    if (!QFileInfo(path).isFile()) {
        MessageDlg(Lang3Q("Zu diesem Thema gibt es keine Hilfeseite.",
                          "There is no help page for this topic.",
                          "Il n'y a pas de page d'aide pour ce sujet."),
                   mtInformation, mbOK);
        return;
    }
    if (!OpenUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()))) {
        MessageDlg(Lang3Q("Die Hilfeseite kann nicht geöffnet werden.",
                          "The help page cannot be opened.",
                          "Impossible d'ouvrir la page d'aide."),
                   mtError, mbOK);
    }
}

} // namespace

void OpenHelpTopic(int context)
{
    OpenHelpPage(QStringLiteral("help/%1.html").arg(context));
}

void OpenHelpContents()
{
    OpenHelpPage(QStringLiteral("help/index.html"));
}

void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener)
{
    g_opener = std::move(opener);
}

bool IsHelpRequest(QEvent* event)
{
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        return true;
    }
    return event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1;
}
