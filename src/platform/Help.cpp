#include "platform/Help.h"

#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QWhatsThis>

namespace {

std::function<bool(const QUrl&)> g_opener;
std::function<bool(const QUrl&)> g_viewer;
std::function<QString(int)> g_fallback;

bool OpenUrl(const QUrl& url)
{
    if (g_opener)
        return g_opener(url);
    if (g_viewer)
        return g_viewer(url);
    return QDesktopServices::openUrl(url);
}

void ReportMissingPage()
{
    MessageDlg(Lang3Q("Zu diesem Thema gibt es keine Hilfeseite.",
                      "There is no help page for this topic.",
                      "Il n'y a pas de page d'aide pour ce sujet."),
               mtInformation, mbOK);
}

void OpenFile(const QString& path)
{
    if (!OpenUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()))) {
        MessageDlg(Lang3Q("Die Hilfeseite kann nicht geöffnet werden.",
                          "The help page cannot be opened.",
                          "Impossible d'ouvrir la page d'aide."),
                   mtError, mbOK);
    }
}

// The page a topic number names: its own file, or the one the topic table gives.
QString TopicFile(int context)
{
    const QString number = QString::number(context);
    QString file = HelpPageFile(number);
    if (file.isEmpty()) {
        const TIniFile topics(ProgramPath(QStringLiteral("help/topics.ini")));
        const QString page = topics.ReadString(QStringLiteral("Topics"), number, QString()).trimmed();
        if (!page.isEmpty())
            file = HelpPageFile(page);
    }
    if (file.isEmpty() && g_fallback) {
        const QString page = g_fallback(context);
        if (!page.isEmpty())
            file = HelpPageFile(page);
    }
    return file;
}

} // namespace

QString HelpPageFile(const QString& name)
{
    static const char* const kLanguages[] = {"de", "en", "en"};
    const uint8_t language = Ctx().CurrentLanguage;
    QStringList folders;
    folders << QStringLiteral("help/%1/").arg(QLatin1String(kLanguages[language < 3 ? language : 0]));
    folders << QStringLiteral("help/en/") << QStringLiteral("help/de/") << QStringLiteral("help/");
    for (const QString& folder : folders) {
        const QString path = ProgramPath(folder + name + QStringLiteral(".html"));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

void OpenHelpTopic(int context)
{
    const QString file = TopicFile(context);
    if (file.isEmpty())
        ReportMissingPage();
    else
        OpenFile(file);
}

void OpenHelpContents()
{
    OpenHelpPage(QStringLiteral("index"));
}

void OpenHelpPage(const QString& name)
{
    const QString file = HelpPageFile(name);
    if (file.isEmpty())
        ReportMissingPage();
    else
        OpenFile(file);
}

void SetHelpTopicFallback(std::function<QString(int context)> fallback)
{
    g_fallback = std::move(fallback);
}

void SetHelpViewer(std::function<bool(const QUrl&)> viewer)
{
    g_viewer = std::move(viewer);
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
