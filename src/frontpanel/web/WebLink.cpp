// The web-server link's line protocol, connection and server start.

#include "frontpanel/web/WebLink.h"

#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLinkSecurity.h"
#include "frontpanel/web/WebProtocol.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QIcon>
#include <QPainter>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <vector>

TWebLinkConfig& WebLinkConfig()
{
    static TWebLinkConfig config;
    return config;
}

void ResetWebLinkConfig()
{
    WebLinkConfig() = TWebLinkConfig();
}

namespace {

std::vector<std::unique_ptr<QProcess>>& Servers()
{
    static std::vector<std::unique_ptr<QProcess>> servers;
    return servers;
}

bool LaunchServer(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(5000))
        return false;
    Servers().push_back(std::move(process));
    return true;
}

} // namespace

void EndLaunchedWebServers()
{
    for (const auto& process : Servers()) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(1000);
        }
    }
    Servers().clear();
}

QList<qint64> LaunchedWebServers()
{
    QList<qint64> running;
    for (const auto& process : Servers())
        if (process->state() == QProcess::Running)
            running << process->processId();
    return running;
}

TWebLink::TWebLink(TFrontplatte* panel, const QString& serverProgram)
    : QObject(panel)
    , m_panel(panel)
    , m_program(serverProgram)
{
    m_socket = new QTcpSocket(this);
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &TWebLink::Start);
    m_handshake = new QTimer(this);
    m_handshake->setSingleShot(true);
    connect(m_handshake, &QTimer::timeout, this, [this] {
        // A peer that does not prove itself in time is no server of ours.
        if (m_expect == TExpect::Hello || m_expect == TExpect::HelloProof)
            m_socket->abort();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TWebLink::ReadLines);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            ConnectionFailed();
    });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_expect = TExpect::Hello;
        m_buffer.clear();
        m_handshake->start(WebLinkConfig().HandshakeTimeoutMs);
    });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_closed)
            ScheduleRetry();
    });
}

TWebLink::~TWebLink()
{
    Close();
}

QString TWebLink::DataFolder() const
{
    const QString folder = WebLinkConfig().DataFolder;
    return folder.isEmpty() ? DefaultWebDataFolder() : folder;
}

void TWebLink::Start()
{
    if (m_closed || m_socket->state() != QAbstractSocket::UnconnectedState)
        return;
    if (m_secret.isEmpty()) {
        const QString file = WebLinkSecretFile(DataFolder());
        QString reason;
        const TWebSecretFault fault = LoadOrCreateWebLinkSecret(file, &m_secret, &reason);
        if (fault != TWebSecretFault::None) {
            QString why;
            switch (fault) {
            case TWebSecretFault::CannotCreate:
                why = Lang3Q("sie lässt sich nicht anlegen", "it cannot be created",
                             "il ne peut pas être créé");
                break;
            case TWebSecretFault::Unsafe:
                why = Lang3Q("sie gehört nicht Ihnen, oder andere dürfen sie lesen oder ändern",
                             "it is not yours, or others may read or change it",
                             "il ne vous appartient pas, ou d'autres peuvent le lire ou le "
                             "modifier");
                break;
            default:
                why = Lang3Q("sie lässt sich nicht lesen", "it cannot be read",
                             "il ne peut pas être lu");
                break;
            }
            if (!reason.isEmpty())
                why += QStringLiteral(" (") + reason + u')';
            ReportOnce(Lang3Q("Die Schlüsseldatei der Web-Verbindung \"%1\" ist nicht "
                              "benutzbar: %2.\nDie Frontplatte wird nicht veröffentlicht.",
                              "The web link's key file \"%1\" cannot be used: %2.\nThe front "
                              "panel is not published.",
                              "Le fichier clé de la liaison web \"%1\" est inutilisable : %2.\n"
                              "Le panneau n'est pas publié.")
                           .arg(QDir::toNativeSeparators(file), why));
            Close();
            return;
        }
    }
    // The pictures go into the link's own folder, whatever the server names.
    WebState().DataFolder = DataFolder();
    m_socket->connectToHost(QHostAddress(QHostAddress::LocalHost), WebLinkConfig().Port);
}

void TWebLink::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_retry->stop();
    m_handshake->stop();
    m_socket->disconnect(this);
    m_socket->abort();
}

bool TWebLink::Connected() const
{
    return !m_closed && m_socket->state() == QAbstractSocket::ConnectedState &&
           m_expect != TExpect::Hello && m_expect != TExpect::HelloProof;
}

void TWebLink::ReportOnce(const QString& text)
{
    if (m_reported)
        return;
    m_reported = true;
    MessageBoxAfterStep(text, QString(), mtWarning);
}

void TWebLink::RefusePeer()
{
    ReportOnce(Lang3Q("Am Port %1 antwortet ein Programm, das nicht der Web-Server dieses "
                      "Programms ist. Die Frontplatte wird ihm nicht veröffentlicht.",
                      "On port %1 a program answers that is not this program's web server. The "
                      "front panel is not published to it.",
                      "Sur le port %1 répond un programme qui n'est pas le serveur web de ce "
                      "programme. Le panneau ne lui est pas publié.")
                   .arg(WebLinkConfig().Port));
    m_socket->abort();
    ScheduleRetry();
}

bool TWebLink::HandleHello(const QByteArray& line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (m_expect == TExpect::Hello) {
        if (parts.size() != 2 || parts[0] != kWebHelloServer || parts[1].size() < 16 ||
            parts[1].size() > 128)
            return false;
        m_serverNonce = parts[1];
        m_panelNonce = NewWebLinkNonce();
        m_socket->write(QByteArray(kWebHelloPanel) + ' ' + m_panelNonce + ' ' +
                        WebLinkProof(m_secret, TWebLinkRole::Panel, m_serverNonce, m_panelNonce) +
                        '\n');
        m_expect = TExpect::HelloProof;
        return true;
    }
    if (parts.size() != 2 || parts[0] != kWebHelloProof ||
        !SameWebLinkProof(parts[1], WebLinkProof(m_secret, TWebLinkRole::Server, m_serverNonce,
                                                 m_panelNonce)))
        return false;
    m_handshake->stop();
    m_retryMs = 0;
    m_expect = TExpect::Command;
    return true;
}

void TWebLink::ConnectionFailed()
{
    if (m_closed)
        return;
    if (!m_launched && !m_program.isEmpty() &&
        m_socket->error() == QAbstractSocket::ConnectionRefusedError) {
        m_launched = true;
        const QStringList arguments{QStringLiteral("--link-port"),
                                    QString::number(WebLinkConfig().Port),
                                    QStringLiteral("--data"), DataFolder()};
        if (WebLinkConfig().Launch)
            WebLinkConfig().Launch(m_program, arguments);
        else
            LaunchServer(m_program, arguments);
    }
    ScheduleRetry();
}

void TWebLink::ScheduleRetry()
{
    if (m_closed || m_retry->isActive())
        return;
    const TWebLinkConfig& config = WebLinkConfig();
    m_retryMs = m_retryMs == 0 ? config.FirstRetryMs
                               : std::min(m_retryMs * 2, config.LongestRetryMs);
    m_retry->start(m_retryMs);
}

void TWebLink::ReadLines()
{
    m_buffer += m_socket->readAll();
    QByteArray line;
    while (!m_closed && m_socket->state() == QAbstractSocket::ConnectedState &&
           TakeWebLine(m_buffer, line)) {
        if (m_expect == TExpect::Hello || m_expect == TExpect::HelloProof) {
            if (!HandleHello(line)) {
                RefusePeer();
                return;
            }
            continue;
        }
        HandleLine(QString::fromUtf8(line));
    }
}

void TWebLink::SendLine(const QString& line)
{
    QString text = line;
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    m_socket->write(text.toUtf8() + '\n');
}

void TWebLink::HandleLine(const QString& line)
{
    switch (m_expect) {
    case TExpect::Command:
        if (line == QStringLiteral("Name?")) {
            m_expect = TExpect::NameFolder;
        } else if (line == QStringLiteral("Action!")) {
            m_expect = TExpect::ActionRequest;
        } else if (line == QStringLiteral("ShutDown!")) {
            m_panel->StopWebServer();
        } else if (line.startsWith(QStringLiteral("FPL="))) {
            if (ParseWebNumber(line.mid(4, 20), m_page) && m_page >= 0)
                m_expect = TExpect::PagePath;
        }
        break;
    case TExpect::NameFolder:
        m_expect = TExpect::NameNumber;
        AnswerName(line);
        break;
    case TExpect::NameNumber:
        if (line.isEmpty())
            break;
        m_expect = TExpect::Command;
        ParseWebNumber(line, WebState().ClientNumber);
        AfterName();
        break;
    case TExpect::ActionRequest:
        m_request = line;
        m_expect = TExpect::ActionNumber;
        break;
    case TExpect::ActionNumber: {
        if (line.isEmpty())
            break;
        m_expect = TExpect::Command;
        int32_t action = 0;
        if (ParseWebNumber(line, action) && m_panel->RootDesign && m_panel->PublishMode != 0) {
            m_panel->RootDesign->HandleWebRequest(m_request, action);
            RefreshOnce = true;
        }
        break;
    }
    case TExpect::PagePath:
        m_expect = TExpect::PageToken;
        AnswerPage(line);
        break;
    case TExpect::PageToken:
        if (line.isEmpty())
            break;
        m_expect = TExpect::Command;
        m_panel->CheckToken(line);
        break;
    case TExpect::Hello:
    case TExpect::HelloProof:
        break;  // taken by the handshake
    }
}

void TWebLink::AnswerName(const QString&)
{
    // The folder the server names is not taken: the pictures stay in the link's own folder.
    SendLine(m_panel->windowTitle().isEmpty() ? m_panel->Title : m_panel->windowTitle());
    SendLine(QString::number(WebState().ClientNumber));
}

void TWebLink::AfterName()
{
    const QString folder = WebTempFolder();
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    // The front panel's picture: its own icon, else the program's.
    QIcon icon = m_panel->windowIcon();
    if (icon.isNull())
        icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        const QList<QSize> sizes = icon.availableSizes();
        const QSize size = sizes.isEmpty() ? QSize(32, 32) : sizes.first();
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            icon.paint(&painter, picture.rect());
        }
        WriteImageFile(QDir(folder).filePath(QString::number(WebState().ClientNumber) +
                                             QStringLiteral(".jpg")),
                       picture, "JPG");
    }
    // The help file, copied once.
    if (m_panel->Options.HelpBtn && !m_panel->HelpFile.isEmpty()) {
        QString name = m_panel->HelpFile;
        name.replace(u'\\', u'/');
        const QString fileName = QFileInfo(name).fileName();
        const QString local = Ctx().ProgramFolder + fileName;
        if (QFileInfo::exists(local))
            m_panel->HelpFile = local;
        const QString target = QDir(folder).filePath(fileName);
        if (!fileName.isEmpty() && !QFileInfo::exists(target))
            CopyWholeFile(QString(m_panel->HelpFile).replace(u'\\', u'/'), target);
    }
}

void TWebLink::WriteHtmlHead(QStringList& lines, int32_t refreshSeconds)
{
    lines << QStringLiteral("<head>");
    if (RefreshOnce) {
        lines << QStringLiteral("<meta http-equiv=\"refresh\" content=\"5\">");
        RefreshOnce = false;
    } else if (refreshSeconds > 0) {
        lines << QStringLiteral("<meta http-equiv=\"refresh\" content=\"%1\">").arg(refreshSeconds);
    }
    lines << QStringLiteral("<meta http-equiv=\"cache-control\" content=\"no-cache\">")
          << QStringLiteral("<script type=\"text/JavaScript\">")
          << QStringLiteral("function detectScrollbar()")
          << QStringLiteral("{if (navigator.appName == \"Microsoft Internet Explorer\") "
                            "{window.name=document.body.scrollTop;}")
          << QStringLiteral("else {window.name=window.pageYOffset;}}")
          << QStringLiteral("function doScroll()")
          << QStringLiteral("{if (window.name) window.scrollTo(0, window.name);}</script></head>")
          << QStringLiteral("<body onload=\"doScroll()\" onunload=\"detectScrollbar()\">");
}

void TWebLink::AnswerPage(const QString& path)
{
    QStringList lines;
    if (path.isEmpty())
        WriteHtmlHead(lines, m_panel->WebRefreshSeconds);
    m_panel->BuildWebPage(m_page, path, lines);
    SendLine(QString::number(lines.size()));
    for (const QString& line : lines)
        SendLine(line);
}
