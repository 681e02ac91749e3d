// The web server: the front panel's link, the browser side and the exchanges between them.

#include "WebServer.h"

#include "HttpRequest.h"
#include "frontpanel/web/WebLinkSecurity.h"
#include "frontpanel/web/WebProtocol.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <unistd.h>

namespace {

QByteArray ReasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 303: return "See Other";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 414: return "URI Too Long";
    case 431: return "Request Header Fields Too Large";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Error";
    }
}

QByteArray MessagePage(const QString& german, const QString& english)
{
    return (QStringLiteral("<html><head><title>TvWebServer</title></head><body><p>") +
            german.toHtmlEscaped() + QStringLiteral("</p><p>") + english.toHtmlEscaped() +
            QStringLiteral("</p></body></html>\n"))
        .toUtf8();
}

// A page number from the query: FPLNo, else the "FPL<n>." of a form field name, else 0.
int PageOf(const QByteArray& query)
{
    bool ok = false;
    const int page = HttpQueryValue(query, QStringLiteral("FPLNo")).toInt(&ok);
    if (ok && page >= 0 && page < 1000)
        return page;
    static const QRegularExpression field(QStringLiteral("FPL(\\d{1,3})\\."));
    const QRegularExpressionMatch match = field.match(QString::fromLatin1(query));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace

void SendHttpResponse(QTcpSocket* socket, int status, const QByteArray& type,
                      const QByteArray& body, bool headOnly, const QByteArray& location,
                      int timeoutMs)
{
    if (!socket)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + ReasonOf(status) + "\r\n";
    if (!type.isEmpty())
        head += "Content-Type: " + type + "\r\n";
    if (!location.isEmpty())
        head += "Location: " + location + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    head += "Cache-Control: no-cache\r\nConnection: close\r\n\r\n";
    socket->write(head);
    if (!headOnly)
        socket->write(body);
    socket->disconnectFromHost();
    // A browser that does not take its answer does not hold the connection for long.
    QTimer::singleShot(timeoutMs, socket, [socket] { socket->abort(); });
}

void TWebServer::Respond(QTcpSocket* socket, int status, const QByteArray& type,
                         const QByteArray& body, bool headOnly, const QByteArray& location)
{
    SendHttpResponse(socket, status, type, body, headOnly, location, m_options.ResponseTimeoutMs);
}

TWebServer::TWebServer(const TWebServerOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
    m_linkServer = new QTcpServer(this);
    m_httpServer = new QTcpServer(this);
    m_timeout = new QTimer(this);
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, this, &TWebServer::TimedOut);
    connect(m_linkServer, &QTcpServer::newConnection, this, &TWebServer::NewPanel);
    connect(m_httpServer, &QTcpServer::newConnection, this, &TWebServer::NewBrowser);
    if (!m_options.DataFolder.isEmpty())
        QDir().mkpath(QDir(m_options.DataFolder).filePath(QStringLiteral("TempFiles")));
}

TWebServer::~TWebServer()
{
    if (m_panel)
        m_panel->disconnect(this);
}

bool TWebServer::Listen(QString* error)
{
    if (m_options.Secret.isEmpty()) {
        if (error)
            *error = QStringLiteral("no link secret");
        return false;
    }
    if (!m_linkServer->listen(QHostAddress(QHostAddress::LocalHost), m_options.LinkPort)) {
        if (error)
            *error = QStringLiteral("link port %1: %2").arg(m_options.LinkPort).arg(m_linkServer->errorString());
        return false;
    }
    if (!m_httpServer->listen(m_options.Bind, m_options.HttpPort)) {
        if (error)
            *error = QStringLiteral("http port %1: %2").arg(m_options.HttpPort).arg(m_httpServer->errorString());
        m_linkServer->close();
        return false;
    }
    return true;
}

quint16 TWebServer::LinkPort() const
{
    return m_linkServer->serverPort();
}

quint16 TWebServer::HttpPort() const
{
    return m_httpServer->serverPort();
}

bool TWebServer::PanelConnected() const
{
    return m_panel && m_panel->state() == QAbstractSocket::ConnectedState;
}

void TWebServer::SendShutDown()
{
    if (PanelConnected())
        SendLine("ShutDown!");
}

// --- The front panel's link ----------------------------------------------------------------------

void TWebServer::NewPanel()
{
    while (QTcpSocket* socket = m_linkServer->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_panel)
                DropPanel();
            socket->deleteLater();
        });
        int candidates = 0;
        for (QTcpSocket* other : m_linkServer->findChildren<QTcpSocket*>())
            if (other != m_panel && other != socket && other->property("tvNonce").isValid())
                ++candidates;
        if (candidates >= m_options.MostLinkCandidates) {
            socket->abort();
            continue;
        }
        // It proves that it knows the secret, or it goes; the linked panel stays meanwhile.
        const QByteArray nonce = NewWebLinkNonce();
        socket->setProperty("tvNonce", nonce);
        socket->setProperty("tvBuffer", QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { CandidateData(socket); });
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { socket->abort(); });
        deadline->start(m_options.ExchangeTimeoutMs);
        socket->write(QByteArray(kWebHelloServer) + ' ' + nonce + '\n');
    }
}

void TWebServer::CandidateData(QTcpSocket* socket)
{
    if (socket == m_panel || socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray buffer = socket->property("tvBuffer").toByteArray() + socket->read(4096);
    const qsizetype end = buffer.indexOf('\n');
    if (end < 0) {
        if (buffer.size() > 1024)
            socket->abort();
        else
            socket->setProperty("tvBuffer", buffer);
        return;
    }
    QByteArray line = buffer.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    const QList<QByteArray> parts = line.split(' ');
    const QByteArray nonce = socket->property("tvNonce").toByteArray();
    if (parts.size() != 3 || parts[0] != kWebHelloPanel || parts[1].size() < 16 ||
        parts[1].size() > 128 ||
        !SameWebLinkProof(parts[2], WebLinkProof(m_options.Secret, TWebLinkRole::Panel, nonce,
                                                 parts[1]))) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(kWebHelloProof) + ' ' +
                  WebLinkProof(m_options.Secret, TWebLinkRole::Server, nonce, parts[1]) + '\n');
    AdoptPanel(socket, buffer.mid(end + 1) + socket->readAll());
}

void TWebServer::AdoptPanel(QTcpSocket* socket, const QByteArray& rest)
{
    socket->disconnect(this, nullptr);
    for (QTimer* deadline : socket->findChildren<QTimer*>()) {
        deadline->stop();
        deadline->deleteLater();
    }
    socket->setProperty("tvNonce", QVariant());
    socket->setProperty("tvBuffer", QVariant());
    // The newest proven front panel takes the link.
    DropPanel();
    m_panel = socket;
    m_panelBuffer = rest;
    m_clientNumber = m_nextClient++;
    connect(socket, &QTcpSocket::readyRead, this, &TWebServer::PanelData);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket == m_panel)
            DropPanel();
        socket->deleteLater();
    });
    TExchange name;
    name.kind = TExchange::Name;
    Queue(std::move(name));
    if (!m_panelBuffer.isEmpty())
        QTimer::singleShot(0, this, &TWebServer::PanelData);
}

void TWebServer::DropPanel()
{
    if (!m_panel)
        return;
    QTcpSocket* panel = m_panel;
    m_panel = nullptr;
    m_caption.clear();
    m_panelBuffer.clear();
    panel->disconnect(this);
    panel->abort();
    panel->deleteLater();
    if (m_busy) {
        m_timeout->stop();
        m_busy = false;
        if (m_current.http)
            Respond(m_current.http, 502, "text/html; charset=utf-8",
                             MessagePage(QStringLiteral("Die Frontplatte hat die Verbindung beendet."),
                                         QStringLiteral("The front panel closed its link.")),
                             m_current.headOnly);
        emit ExchangeDone();
    }
    for (TExchange& waiting : m_queue)
        if (waiting.http)
            Respond(waiting.http, 503, "text/html; charset=utf-8",
                             MessagePage(QStringLiteral("Keine Frontplatte verbunden."),
                                         QStringLiteral("No front panel is connected.")),
                             waiting.headOnly);
    m_queue.clear();
    emit PanelGone();
}

void TWebServer::SendLine(const QByteArray& line)
{
    if (m_panel)
        m_panel->write(line + '\n');
}

void TWebServer::PanelData()
{
    if (!m_panel)
        return;
    m_panelBuffer += m_panel->readAll();
    QByteArray line;
    while (m_panel && TakeWebLine(m_panelBuffer, line))
        PanelLine(QString::fromUtf8(line));
}

void TWebServer::PanelLine(const QString& line)
{
    if (!m_busy)
        return;  // nothing asked: stray lines are dropped
    switch (m_current.kind) {
    case TExchange::Name:
        if (m_step == 0) {
            m_caption = line;
            m_step = 1;
        } else {
            SendLine(QByteArray::number(m_clientNumber));
            Finish(0, QByteArray(), QByteArray());
            emit PanelReady();
        }
        break;
    case TExchange::Page: {
        if (m_lineCount < 0) {
            if (line.isEmpty())
                return;
            bool ok = false;
            const int count = line.trimmed().toInt(&ok);
            if (!ok || count < 0 || count > kMostPageLines) {
                Finish(502, "text/html; charset=utf-8",
                       MessagePage(QStringLiteral("Die Frontplatte hat eine ungültige Seite gesendet."),
                                   QStringLiteral("The front panel sent an invalid page.")));
                DropPanel();
                return;
            }
            m_lineCount = count;
        } else {
            m_lines << line;
            m_pageBytes += line.size();
            if (m_pageBytes > kMostPageBytes) {
                Finish(502, "text/html; charset=utf-8",
                       MessagePage(QStringLiteral("Die Seite der Frontplatte ist zu groß."),
                                   QStringLiteral("The front panel's page is too large.")));
                DropPanel();
                return;
            }
        }
        if (static_cast<int>(m_lines.size()) == m_lineCount) {
            SendLine(kWebPageToken);
            QByteArray html = m_current.path.isEmpty() ? QByteArray("<html>\n") : QByteArray("<html><body>\n");
            html += m_lines.join(u'\n').toUtf8();
            html += "\n</body></html>\n";
            Finish(200, "text/html; charset=utf-8", html);
        }
        break;
    }
    case TExchange::Action:
        break;
    }
}

void TWebServer::Queue(TExchange exchange)
{
    if (static_cast<int>(m_queue.size()) >= m_options.MostQueued) {
        Respond(exchange.http, 503, "text/html; charset=utf-8",
                         MessagePage(QStringLiteral("Zu viele Anfragen."),
                                     QStringLiteral("Too many requests.")),
                         exchange.headOnly);
        return;
    }
    m_queue.push_back(std::move(exchange));
    StartNext();
}

void TWebServer::StartNext()
{
    while (!m_busy && !m_queue.empty() && PanelConnected()) {
        m_current = std::move(m_queue.front());
        m_queue.pop_front();
        m_step = 0;
        m_lineCount = -1;
        m_lines.clear();
        m_pageBytes = 0;
        switch (m_current.kind) {
        case TExchange::Name:
            m_busy = true;
            SendLine("Name?");
            SendLine(QDir::toNativeSeparators(m_options.DataFolder).toUtf8());
            m_timeout->start(m_options.ExchangeTimeoutMs);
            break;
        case TExchange::Page:
            m_busy = true;
            SendLine("FPL=" + QByteArray::number(m_current.page));
            SendLine(m_current.path.toUtf8());
            m_timeout->start(m_options.ExchangeTimeoutMs);
            break;
        case TExchange::Action:
            // Nothing comes back; the browser goes back to its page.
            SendLine("Action!");
            SendLine(m_current.request);
            SendLine(QByteArray::number(m_current.action));
            Respond(m_current.http, 303, QByteArray(), QByteArray(), false,
                             m_current.redirect);
            emit ExchangeDone();
            break;
        }
    }
}

void TWebServer::Finish(int status, const QByteArray& type, const QByteArray& body)
{
    m_timeout->stop();
    m_busy = false;
    if (status != 0 && m_current.http)
        Respond(m_current.http, status, type, body, m_current.headOnly);
    emit ExchangeDone();
    QTimer::singleShot(0, this, &TWebServer::StartNext);
}

void TWebServer::TimedOut()
{
    if (!m_busy)
        return;
    Finish(504, "text/html; charset=utf-8",
           MessagePage(QStringLiteral("Die Frontplatte antwortet nicht."),
                       QStringLiteral("The front panel does not answer.")));
    // The link is out of step now: start afresh.
    DropPanel();
}

// --- Browsers ----------------------------------------------------------------------------------

void TWebServer::NewBrowser()
{
    while (QTcpSocket* socket = m_httpServer->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (m_httpServer->findChildren<QTcpSocket*>().size() > m_options.MostConnections &&
            !EvictWaitingBrowser()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setProperty("tvBuffer", QByteArray());
        socket->setProperty("tvArrived", m_nextBrowser++);
        // The whole request head within the time, however slowly it trickles in.
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] { socket->abort(); socket->deleteLater(); });
        deadline->start(m_options.RequestTimeoutMs);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { BrowserData(socket); });
    }
}

bool TWebServer::EvictWaitingBrowser()
{
    QTcpSocket* oldest = nullptr;
    for (QTcpSocket* socket : m_httpServer->findChildren<QTcpSocket*>()) {
        if (socket->property("tvDone").toBool() || !socket->property("tvArrived").isValid() ||
            socket->state() != QAbstractSocket::ConnectedState)
            continue;
        if (!oldest ||
            socket->property("tvArrived").toLongLong() < oldest->property("tvArrived").toLongLong())
            oldest = socket;
    }
    if (!oldest)
        return false;
    oldest->abort();
    oldest->setParent(nullptr);  // out of the count at once
    oldest->deleteLater();
    return true;
}

void TWebServer::BrowserData(QTcpSocket* socket)
{
    if (socket->property("tvDone").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("tvBuffer").toByteArray();
    buffer += socket->read(kHttpLongestHead + 1 - buffer.size());
    socket->setProperty("tvBuffer", buffer);
    THttpRequest request;
    switch (ParseHttpRequest(buffer, request)) {
    case THttpParse::Incomplete:
        return;
    case THttpParse::TooLarge:
        socket->setProperty("tvDone", true);
        socket->readAll();
        Respond(socket, 431, "text/plain; charset=utf-8", "Request too large\n");
        return;
    case THttpParse::Bad:
        socket->setProperty("tvDone", true);
        Respond(socket, 400, "text/plain; charset=utf-8", "Bad request\n");
        return;
    case THttpParse::TargetTooLong:
        // A form with many or long fields: nothing of it is passed on, and the user is told.
        socket->setProperty("tvDone", true);
        socket->readAll();
        Respond(
            socket, 414, "text/html; charset=utf-8",
            MessagePage(QStringLiteral("Die Anfrage ist zu lang (höchstens %1 Bytes); sie wurde "
                                       "nicht an die Frontplatte weitergegeben.")
                            .arg(kWebLongestRequest),
                        QStringLiteral("The request is too long (at most %1 bytes); it was not "
                                       "passed on to the front panel.")
                            .arg(kWebLongestRequest)));
        return;
    case THttpParse::Complete:
        break;
    }
    socket->setProperty("tvDone", true);
    socket->setProperty("tvBuffer", QByteArray());
    for (QTimer* idle : socket->findChildren<QTimer*>())
        idle->stop();
    Route(socket, request.Method, request.Path, request.Query);
}

void TWebServer::Route(QTcpSocket* socket, const QByteArray& method, const QByteArray& path,
                       const QByteArray& query)
{
    const bool headOnly = method == "HEAD";
    if (method != "GET" && !headOnly) {
        Respond(socket, 405, "text/plain; charset=utf-8", "Method not allowed\n");
        return;
    }
    if (path.startsWith("/TempFiles/")) {
        QString file;
        const int fd = OpenTempFile(m_options.DataFolder, path, &file);
        QFile data;
        if (fd < 0 || !data.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ||
            data.size() > kMostPageBytes) {
            if (fd >= 0 && !data.isOpen())
                ::close(fd);
            Respond(socket, 404, "text/plain; charset=utf-8", "Not found\n", headOnly);
            return;
        }
        Respond(socket, 200, ContentTypeOf(file), data.read(kMostPageBytes), headOnly);
        return;
    }
    const bool page = path == "/" || path == "/Front" || path == "/Element";
    const bool action = path == "/Details" || path == "/Submit";
    if (!page && !action) {
        Respond(socket, 404, "text/plain; charset=utf-8", "Not found\n", headOnly);
        return;
    }
    if (!PanelConnected()) {
        Respond(socket, 503, "text/html; charset=utf-8",
                         MessagePage(QStringLiteral("Keine Frontplatte verbunden."),
                                     QStringLiteral("No front panel is connected.")),
                         headOnly);
        return;
    }
    TExchange exchange;
    exchange.http = socket;
    exchange.headOnly = headOnly;
    exchange.page = PageOf(query);
    if (page) {
        exchange.kind = TExchange::Page;
        if (path == "/Element") {
            exchange.path = HttpQueryValue(query, QStringLiteral("Control"));
            exchange.path.replace(u'\r', u' ').replace(u'\n', u' ');
            if (exchange.path.isEmpty()) {
                Respond(socket, 400, "text/plain; charset=utf-8", "Bad request\n", headOnly);
                return;
            }
        }
    } else {
        exchange.kind = TExchange::Action;
        exchange.request = query;
        if (path == "/Submit") {
            exchange.action = 12;
        } else {
            bool ok = false;
            exchange.action = HttpQueryValue(query, QStringLiteral("Action")).toInt(&ok);
            if (!ok || exchange.action < 0 || exchange.action > 9999) {
                Respond(socket, 400, "text/plain; charset=utf-8", "Bad request\n", headOnly);
                return;
            }
        }
        exchange.redirect = "/Front?ClientNo=" + QByteArray::number(m_clientNumber) +
                            "&FPLNo=" + QByteArray::number(exchange.page);
    }
    Queue(std::move(exchange));
}
