// What the web-server program sends over the front panel's link, after a proper handshake: the
// command lines and their follow-up lines as the link reads them (names, pages with element
// paths, actions on a page with a switch, a numeric input and a list, tokens, shut-down). Each
// input arrives on a connection of its own, which closes after it.

#include "FuzzSupport.h"

#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLink.h"
#include "frontpanel/web/WebLinkSecurity.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace {

bool Wait(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(5000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

QByteArray TakeLine(QTcpSocket& socket)
{
    if (!Wait([&] { return socket.canReadLine() || socket.state() != QAbstractSocket::ConnectedState; }))
        return QByteArray();
    return socket.readLine().trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static QTcpServer* server = nullptr;
    static TFrontplatte* panel = nullptr;
    static QByteArray secret;
    if (!server) {
        server = new QTcpServer();
        server->listen(QHostAddress(QHostAddress::LocalHost), 0);
        WebLinkConfig().Port = server->serverPort();
        WebLinkConfig().DataFolder = Ctx().ProgramFolder + QStringLiteral("web/");
        WebLinkConfig().FirstRetryMs = 1;
        WebLinkConfig().LongestRetryMs = 1;
        LoadOrCreateWebLinkSecret(WebLinkSecretFile(WebLinkConfig().DataFolder), &secret);
        panel = new TFrontplatte();
        panel->WebServerPath.clear();
        panel->PublishMode = 2;
        for (const char* name : {"TSchalter", "TNumEingabe", "TAuswahlliste"}) {
            TFP_Element* element = panel->RootDesign->AddElement(QString::fromLatin1(name));
            element->ElementName = QString::fromLatin1(name + 1);
            element->WebPublish = true;
            element->resize(8, 8);  // small pictures keep each page quick
        }
    }
    if (!panel->WebLink())
        panel->StartWebServer();
    if (!Wait([] { return server->hasPendingConnections(); }))
        return 0;
    QTcpSocket* socket = server->nextPendingConnection();
    const QByteArray serverNonce = NewWebLinkNonce();
    socket->write(QByteArray(kWebHelloServer) + ' ' + serverNonce + '\n');
    const QList<QByteArray> hello = TakeLine(*socket).split(' ');
    if (hello.size() == 3) {
        socket->write(QByteArray(kWebHelloProof) + ' ' +
                      WebLinkProof(secret, TWebLinkRole::Server, serverNonce, hello[1]) + '\n');
        socket->write(reinterpret_cast<const char*>(data), qint64(size));
        socket->flush();
    }
    socket->disconnectFromHost();
    Wait([&] { return socket->state() == QAbstractSocket::UnconnectedState; });
    // The link has taken everything once it connects again (or was ended by what it read).
    Wait([] { return !panel->WebLink() || server->hasPendingConnections(); });
    delete socket;
    boxes.Clear();
    return 0;
}
