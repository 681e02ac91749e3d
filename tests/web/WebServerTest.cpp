// The web-server program's parts, in-process and over real loopback sockets: the request
// parser's limits, pages, clicks and forms passed through to a linked front panel, the
// pictures' folder, and what a browser may send wrongly.

#include "WebTestSupport.h"

#include "HttpRequest.h"
#include "WebServer.h"
#include "frontpanel/web/WebLinkSecurity.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <vector>

#include <unistd.h>

namespace {

struct THttpReply {
    int status = 0;
    QByteArray head;
    QByteArray body;
};

// Sends the raw bytes and reads the reply until the server closes the connection.
THttpReply Http(quint16 port, const QByteArray& raw)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    QByteArray data;
    bool closed = false;
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] { data += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, &socket, [&] { closed = true; });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &socket, [&] { closed = true; });
    socket.write(raw);
    EXPECT_TRUE(WaitFor([&] { return closed; })) << raw.toStdString();
    data += socket.readAll();
    THttpReply reply;
    const qsizetype split = data.indexOf("\r\n\r\n");
    reply.head = data.left(split);
    reply.body = split < 0 ? QByteArray() : data.mid(split + 4);
    const QList<QByteArray> first = data.left(data.indexOf("\r\n")).split(' ');
    if (first.size() >= 2)
        reply.status = first[1].toInt();
    return reply;
}

THttpReply Get(quint16 port, const QByteArray& target)
{
    return Http(port, "GET " + target + " HTTP/1.1\r\nHost: localhost\r\n\r\n");
}

class WebServerTest : public WebFixture {
protected:
    void SetUp() override
    {
        WebFixture::SetUp();
        // The front panel and the server share the folder and with it the link's secret.
        WebLinkConfig().DataFolder = dir.path() + QStringLiteral("/served/");
        ASSERT_TRUE(Start(Options()));
    }
    TWebServerOptions Options() const
    {
        TWebServerOptions options;
        options.LinkPort = 0;
        options.HttpPort = 0;
        options.DataFolder = WebLinkConfig().DataFolder;
        LoadOrCreateWebLinkSecret(WebLinkSecretFile(options.DataFolder), &options.Secret);
        return options;
    }
    bool Start(const TWebServerOptions& options)
    {
        server = std::make_unique<TWebServer>(options);
        QString error;
        const bool ok = server->Listen(&error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    // A "front panel" of the test's own on the link port; proves itself with the secret given.
    std::unique_ptr<QTcpSocket> RawPanel(const QByteArray& secret)
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress(QHostAddress::LocalHost), server->LinkPort());
        QTcpSocket* s = socket.get();
        EXPECT_TRUE(WaitFor([s] { return s->canReadLine(); }));
        const QList<QByteArray> hello = s->readLine().trimmed().split(' ');
        EXPECT_EQ(hello.value(0), QByteArray(kWebHelloServer));
        const QByteArray nonce = NewWebLinkNonce();
        s->write(QByteArray(kWebHelloPanel) + ' ' + nonce + ' ' +
                 WebLinkProof(secret, TWebLinkRole::Panel, hello.value(1), nonce) + '\n');
        return socket;
    }
    void TearDown() override
    {
        window->StopWebServer();
        server.reset();
        WebFixture::TearDown();
    }
    void Link()
    {
        bool ready = false;
        QObject::connect(server.get(), &TWebServer::PanelReady, server.get(), [&] { ready = true; });
        WebLinkConfig().Port = server->LinkPort();
        window->StartWebServer();
        ASSERT_TRUE(WaitFor([&] { return ready; }));
    }
    quint16 Port() const { return server->HttpPort(); }

    std::unique_ptr<TWebServer> server;
};

}  // namespace

TEST(HttpRequestTest, HeadsAreParsedWithinLimits)
{
    struct Case {
        QByteArray raw;
        THttpParse result;
    };
    const Case cases[] = {
        {"GET /Front?FPLNo=1 HTTP/1.1\r\nHost: x\r\n\r\n", THttpParse::Complete},
        {"GET / HTTP/1.0\n\n", THttpParse::Complete},
        {"GET /Front HTTP/1.1\r\nHost: x\r\n", THttpParse::Incomplete},
        {"GET /a b HTTP/1.1\r\n\r\n", THttpParse::Bad},
        {"get / HTTP/1.1\r\n\r\n", THttpParse::Bad},
        {"GET Front HTTP/1.1\r\n\r\n", THttpParse::Bad},
        {"GET / HTTP/2.0\r\n\r\n", THttpParse::Bad},
        {"GET / HTTP/1.1\r\nno colon\r\n\r\n", THttpParse::Bad},
        {"GET /\x01 HTTP/1.1\r\n\r\n", THttpParse::Bad},
        {"\r\n\r\n", THttpParse::Bad},
        {"GET /" + QByteArray(kHttpLongestTarget, 'a') + " HTTP/1.1\r\n\r\n", THttpParse::TargetTooLong},
        {"GET /" + QByteArray(kHttpLongestTarget - 1, 'a') + " HTTP/1.1\r\n\r\n", THttpParse::Complete},
        {"GET / HTTP/1.1\r\nX: " + QByteArray(kHttpLongestHead, 'a') + "\r\n\r\n", THttpParse::TooLarge},
        {QByteArray(kHttpLongestHead + 1, 'G'), THttpParse::TooLarge},
    };
    for (const Case& c : cases) {
        THttpRequest request;
        EXPECT_EQ(ParseHttpRequest(c.raw, request), c.result) << c.raw.left(60).toStdString();
    }
    THttpRequest request;
    ASSERT_EQ(ParseHttpRequest("GET /Details?Control=MainModul.S1&Action=2 HTTP/1.1\r\n\r\n", request), THttpParse::Complete);
    EXPECT_EQ(request.Method, "GET");
    EXPECT_EQ(request.Path, "/Details");
    EXPECT_EQ(request.Query, "Control=MainModul.S1&Action=2");
    EXPECT_EQ(HttpQueryValue(request.Query, QStringLiteral("Action")), QStringLiteral("2"));
    EXPECT_EQ(HttpQueryValue("a=x+y%26z", QStringLiteral("a")), QStringLiteral("x y&z"));
}

TEST_F(WebServerTest, PagesClicksAndFormsReachTheFrontPanel)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    TWebProbe* n2 = AddProbe(root, QStringLiteral("N2"), 1);
    Link();
    EXPECT_EQ(server->PanelCaption(), QStringLiteral("Frontplatte"));
    // The number the server assigned arrives at the front panel after the server is ready.
    EXPECT_TRUE(WaitFor([&] { return WebState().ClientNumber == server->ClientNumber(); }));

    THttpReply reply = Get(Port(), "/Front?ClientNo=1&FPLNo=0");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.head.contains("Content-Type: text/html; charset=utf-8"));
    EXPECT_TRUE(reply.body.startsWith("<html>\n<head>\n"));
    EXPECT_TRUE(reply.body.contains("<TITLE>Frontplatte</TITLE>"));
    EXPECT_TRUE(reply.body.contains("SRC=\"/TempFiles/MainModul.S1.jpg\""));
    EXPECT_EQ(Get(Port(), "/").status, 200);

    // The element's picture from the data folder the server named.
    reply = Get(Port(), "/TempFiles/MainModul.S1.jpg");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.head.contains("Content-Type: image/jpeg"));
    EXPECT_TRUE(reply.body.startsWith("\xFF\xD8"));

    // A click: the element toggles and the browser goes back to the page.
    reply = Get(Port(), "/Details?ClientNo=1&FPLNo=0&Control=MainModul.S1&Action=2");
    EXPECT_EQ(reply.status, 303);
    EXPECT_TRUE(reply.head.contains("Location: /Front?ClientNo=1&FPLNo=0"));
    ASSERT_TRUE(WaitFor([&] { return s1->On; }));

    // A form: its field names carry the page; a typed "&", "=" and "+" stay in the value.
    reply = Get(Port(), "/Submit?Client1.FPL0.MainModul.N2=1%2B1%3D2+%26+mehr");
    EXPECT_EQ(reply.status, 303);
    ASSERT_TRUE(WaitFor([&] { return !n2->Log.isEmpty(); }));
    EXPECT_EQ(n2->Log, QStringList{QStringLiteral("submit 1+1=2 & mehr")});

    // The detail page of one element.
    reply = Get(Port(), "/Element?FPLNo=0&Control=MainModul.S1");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.body.contains("content=\"3\"><img src=\"/TempFiles/MainModul.S1.jpg\""));
    EXPECT_FALSE(reply.body.contains("<head>"));
}

TEST_F(WebServerTest, WrongRequestsAreAnsweredAndChangeNothing)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    QFile secret(dir.path() + QStringLiteral("/served/secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("geheim");
    secret.close();

    // Without a front panel.
    EXPECT_EQ(Get(Port(), "/Front").status, 503);
    Link();

    struct Case {
        QByteArray raw;
        int status;
    };
    const Case cases[] = {
        {"GET /TempFiles/..%2Fsecret.txt HTTP/1.1\r\n\r\n", 404},
        {"GET /TempFiles/../secret.txt HTTP/1.1\r\n\r\n", 404},
        {"GET /TempFiles/%2E%2E HTTP/1.1\r\n\r\n", 404},
        {"GET /TempFiles/ HTTP/1.1\r\n\r\n", 404},
        {"GET /TempFiles/fehlt.jpg HTTP/1.1\r\n\r\n", 404},
        {"GET /etc/passwd HTTP/1.1\r\n\r\n", 404},
        {"GET /Details?Control=MainModul.S1&Action=zwei HTTP/1.1\r\n\r\n", 400},
        {"GET /Details?Control=MainModul.S1 HTTP/1.1\r\n\r\n", 400},
        {"GET /Element?FPLNo=0 HTTP/1.1\r\n\r\n", 400},
        {"POST /Submit HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", 405},
        {"\x16\x03\x01\x02garbage\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a'), 431},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Http(Port(), c.raw).status, c.status) << c.raw.left(50).toStdString();
    // A form too long to pass on is refused whole, and the reply says why.
    QByteArray form = "/Submit?";
    while (form.size() <= kWebLongestRequest)
        form += "Client1.FPL0.MainModul.S1=1&";
    const THttpReply tooLong = Get(Port(), form);
    EXPECT_EQ(tooLong.status, 414);
    EXPECT_TRUE(tooLong.body.contains("zu lang")) << tooLong.body.toStdString();

    // Nothing reached the element, and the link still serves pages.
    EXPECT_EQ(Get(Port(), "/Front?FPLNo=0").status, 200);
    EXPECT_TRUE(s1->Log.isEmpty());
    EXPECT_FALSE(s1->On);
}

TEST_F(WebServerTest, FrontPanelThatDoesNotAnswerTimesOut)
{
    TWebServerOptions options = Options();
    options.ExchangeTimeoutMs = 200;
    ASSERT_TRUE(Start(options));
    // A silent "front panel": proves itself and never answers.
    bool gone = false;
    QObject::connect(server.get(), &TWebServer::PanelGone, server.get(), [&] { gone = true; });
    const auto silent = RawPanel(options.Secret);
    ASSERT_TRUE(WaitFor([&] { return server->PanelConnected(); }));
    ASSERT_TRUE(WaitFor([&] { return gone; })) << "the unanswered name exchange ends the link";
    EXPECT_FALSE(server->PanelConnected());
}

// A program that does not know the secret never becomes the front panel: it is dropped, and
// the front panel linked before keeps serving the browsers.
TEST_F(WebServerTest, AFrontPanelWithoutTheSecretIsRefused)
{
    AddProbe(root, QStringLiteral("S1"));
    Link();
    const int number = server->ClientNumber();
    bool gone = false;
    QObject::connect(server.get(), &TWebServer::PanelGone, server.get(), [&] { gone = true; });
    const auto intruder = RawPanel(QByteArray(64, 'f'));
    QTcpSocket* s = intruder.get();
    EXPECT_TRUE(WaitFor([s] { return s->state() != QAbstractSocket::ConnectedState; }));
    EXPECT_FALSE(s->readAll().contains("Name?"));
    // One that sends nothing at all is dropped after the exchange time.
    QTcpSocket mute;
    mute.connectToHost(QHostAddress(QHostAddress::LocalHost), server->LinkPort());
    EXPECT_TRUE(WaitFor([&] { return mute.state() == QAbstractSocket::ConnectedState; }));
    EXPECT_FALSE(gone);
    EXPECT_EQ(server->ClientNumber(), number);
    EXPECT_TRUE(server->PanelConnected());
    const THttpReply reply = Get(Port(), "/Front?FPLNo=0");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.body.contains("MainModul.S1"));
}

// A picture file swapped for a link to a file outside the pictures' folder, or that folder
// swapped for a link, is never served; idle and slow browsers make room for others in time.
TEST_F(WebServerTest, LinksOutOfThePictureFolderAndIdleBrowsersAreNotServed)
{
    const QString served = WebLinkConfig().DataFolder;
    QDir().mkpath(served + QStringLiteral("TempFiles"));
    QFile secret(dir.path() + QStringLiteral("/geheim.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("geheim");
    secret.close();
    QFile picture(served + QStringLiteral("TempFiles/bild.jpg"));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write("bild");
    picture.close();
    ASSERT_TRUE(QFile::link(secret.fileName(), served + QStringLiteral("TempFiles/link.jpg")));
    QDir().mkpath(dir.path() + QStringLiteral("/outside"));
    ASSERT_TRUE(QFile::copy(secret.fileName(), dir.path() + QStringLiteral("/outside/bild.jpg")));
    EXPECT_EQ(Get(Port(), "/TempFiles/bild.jpg").body, QByteArray("bild"));
    EXPECT_EQ(Get(Port(), "/TempFiles/link.jpg").status, 404);
    EXPECT_EQ(Get(Port(), "/TempFiles/link.key").status, 404);
    QString name;
    const int fd = OpenTempFile(served, "/TempFiles/bild.jpg", &name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_TRUE(name.endsWith(QStringLiteral("/TempFiles/bild.jpg")));
    // The folder itself replaced by a link to another folder.
    ASSERT_TRUE(QDir(served).rename(QStringLiteral("TempFiles"), QStringLiteral("Old")));
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/outside"), served + QStringLiteral("TempFiles")));
    EXPECT_EQ(OpenTempFile(served, "/TempFiles/bild.jpg"), -1);

    TWebServerOptions options = Options();
    options.MostConnections = 4;
    options.RequestTimeoutMs = 300;
    ASSERT_TRUE(Start(options));
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < 4; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(QHostAddress(QHostAddress::LocalHost), server->HttpPort());
        idle.back()->write("GET / HT");  // and nothing more
        ASSERT_TRUE(idle.back()->waitForBytesWritten(5000));
    }
    QCoreApplication::processEvents();
    // Every place is taken by a browser that sends nothing: the newcomer is answered at once
    // (no front panel is linked to this server: 503).
    EXPECT_EQ(Get(server->HttpPort(), "/Front").status, 503);
    // A slow sender is cut off at the time for the whole head, however it trickles.
    QTcpSocket slow;
    slow.connectToHost(QHostAddress(QHostAddress::LocalHost), server->HttpPort());
    bool closed = false;
    QObject::connect(&slow, &QTcpSocket::disconnected, &slow, [&] { closed = true; });
    QElapsedTimer sent;
    sent.start();
    while (!closed && !sent.hasExpired(5000)) {
        slow.write("X");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_TRUE(closed);
}

TEST_F(WebServerTest, TheProgramStartsItsServerAndServesThePage)
{
#ifndef TVWEBSERVER_PROGRAM
    GTEST_SKIP() << "server program path unknown";
#else
    server.reset();
    AddProbe(root, QStringLiteral("S1"));
    // The program starts the server it finds on a refused connection.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress(QHostAddress::LocalHost), 0));
        port = probe.serverPort();
    }
    QProcess process;
    WebLinkConfig().Port = port;
    WebLinkConfig().FirstRetryMs = 20;
    WebLinkConfig().Launch = [&](const QString& program, const QStringList& arguments) {
        process.start(program, arguments + QStringList{QStringLiteral("--http-port"), QStringLiteral("0")});
        return true;
    };
    window->WebServerPath = QStringLiteral(TVWEBSERVER_PROGRAM);
    WebLinkConfig().DataFolder = dir.path() + QStringLiteral("/own/");
    WebState().DataFolder.clear();
    window->StartWebServer();
    QByteArray out;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [&] { out += process.readAllStandardOutput(); });
    ASSERT_TRUE(WaitFor([&] { return out.contains("http-port ") && out.endsWith('\n'); }));
    const quint16 http = static_cast<quint16>(out.mid(out.indexOf("http-port ") + 10).trimmed().toUInt());
    ASSERT_TRUE(WaitFor([&] { return WebState().ClientNumber != 0; }));  // linked and named
    THttpReply reply = Get(http, "/Front?FPLNo=0");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.body.contains("MainModul.S1"));
    window->StopWebServer();
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(30000));
#endif
}
