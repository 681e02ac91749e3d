// The front panel's link to the web server over a real loopback socket, with the test in the
// server's place: the handshake on the shared secret, the commands and their answers, the token
// rule, publish modes, the server start on a refused connection, and what a server may send
// wrongly.

#include "WebTestSupport.h"

#include "frontpanel/web/WebLinkSecurity.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QIcon>
#include <QPixmap>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// The server's side of the link, driven by the test. It opens with the handshake on the
// link's secret (or with a wrong one, or none) and keeps the lines that come after it.
class TFakeServer {
public:
    enum class THello { Proper, WrongSecret, None };
    explicit TFakeServer(quint16 port = 0) { Listen(port); }

    bool Listen(quint16 port)
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            if (hello != THello::None)
                peer->write(QByteArray(kWebHelloServer) + ' ' + nonce + '\n');
            QObject::connect(peer, &QTcpSocket::readyRead, &server, [this] {
                buffer += peer->readAll();
                qsizetype i;
                while ((i = buffer.indexOf('\n')) >= 0) {
                    const QByteArray line = buffer.left(i);
                    buffer.remove(0, i + 1);
                    if (line.startsWith(kWebHelloPanel) && hello != THello::None)
                        Prove(line);
                    else
                        lines << QString::fromUtf8(line);
                }
            });
        });
        return server.listen(QHostAddress(QHostAddress::LocalHost), port);
    }
    void Prove(const QByteArray& line)
    {
        const QList<QByteArray> parts = line.split(' ');
        QByteArray secret;
        LoadOrCreateWebLinkSecret(WebLinkSecretFile(WebLinkConfig().DataFolder), &secret);
        if (hello == THello::WrongSecret)
            secret = QByteArray(64, 'f');
        panelProved = parts.size() == 3 &&
                      SameWebLinkProof(parts[2], WebLinkProof(secret, TWebLinkRole::Panel, nonce, parts[1]));
        peer->write(QByteArray(kWebHelloProof) + ' ' +
                    WebLinkProof(secret, TWebLinkRole::Server, nonce, parts.value(1)) + '\n');
    }
    quint16 Port() const { return server.serverPort(); }
    void Send(const QStringList& out)
    {
        for (const QString& line : out)
            peer->write(line.toUtf8() + '\n');
    }
    bool WaitConnected() { return WaitFor([this] { return peer != nullptr; }); }
    bool WaitLines(qsizetype n) { return WaitFor([this, n] { return lines.size() >= n; }); }
    bool WaitClosed()
    {
        return WaitFor([this] { return peer && peer->state() != QAbstractSocket::ConnectedState; });
    }
    // Reads one page answer (count, then the lines) from the received lines.
    bool TakePage(QStringList& page)
    {
        if (!WaitLines(1))
            return false;
        bool ok = false;
        const int count = lines.first().toInt(&ok);
        if (!ok || !WaitLines(count + 1))
            return false;
        page = lines.mid(1, count);
        lines.remove(0, count + 1);
        return true;
    }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray buffer;
    QStringList lines;
    THello hello = THello::Proper;
    QByteArray nonce = NewWebLinkNonce();
    bool panelProved = false;
};

class WebLinkTest : public WebFixture {
protected:
    void Connect()
    {
        WebLinkConfig().Port = fake.Port();
        window->StartWebServer();
        ASSERT_TRUE(fake.WaitConnected());
        ASSERT_TRUE(WaitFor([this] { return window->WebLink() && window->WebLink()->Connected(); }));
    }
    QStringList RequestPage(const QString& command, const QString& path = QString())
    {
        fake.Send({command, path});
        QStringList page;
        EXPECT_TRUE(fake.TakePage(page));
        fake.Send({QString::fromLatin1(kWebPageToken)});
        return page;
    }

    TFakeServer fake;
};

}  // namespace

TEST_F(WebLinkTest, NameExchangeSetsFolderNumberPictureAndHelpFile)
{
    const QString help = dir.path() + QStringLiteral("/Anleitung.txt");
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Hilfe");
    file.close();
    window->Options.HelpBtn = true;
    window->HelpFile = help;
    QPixmap icon(16, 16);
    icon.fill(Qt::blue);
    window->setWindowIcon(QIcon(icon));
    WebState().DataFolder.clear();
    WebState().ClientNumber = 4;
    Connect();

    EXPECT_TRUE(fake.panelProved);
    // The folder the server names is not where the pictures go: the link's own folder is.
    const QString named = dir.path() + QStringLiteral("/served");
    const QString folder = WebLinkConfig().DataFolder;
    fake.Send({QStringLiteral("Name?"), named});
    ASSERT_TRUE(fake.WaitLines(2));
    EXPECT_EQ(fake.lines, (QStringList{QStringLiteral("Frontplatte"), QStringLiteral("4")}));
    fake.Send({QString(), QStringLiteral("7")});
    ASSERT_TRUE(WaitFor([] { return WebState().ClientNumber == 7; }));
    EXPECT_EQ(WebState().DataFolder, folder);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(folder + QStringLiteral("/TempFiles/Anleitung.txt")); }));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/TempFiles/7.jpg")));
    EXPECT_FALSE(QFileInfo::exists(named));
}

TEST_F(WebLinkTest, PagesActionsAndRefreshLines)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    window->WebRefreshSeconds = 7;
    Connect();

    // A whole page: the HTML head once, the page head, the element.
    QStringList page = RequestPage(QStringLiteral("FPL=0"));
    ASSERT_GE(page.size(), 3);
    EXPECT_EQ(page.mid(0, 2), (QStringList{QStringLiteral("<head>"),
                                           QStringLiteral("<meta http-equiv=\"refresh\" content=\"7\">")}));
    EXPECT_EQ(page.filter(QStringLiteral("<head>")).size(), 1);
    EXPECT_TRUE(page.contains(QStringLiteral("<BASEFONT SIZE=\"2\">")));
    EXPECT_TRUE(page.join(u'\n').contains(QStringLiteral("Control=MainModul.S1&amp;Action=2")));

    // An element path: no HTML head, but the page head and the element's detail lines.
    page = RequestPage(QStringLiteral("FPL=0"), QStringLiteral("MainModul.S1"));
    EXPECT_EQ(page.first(), QStringLiteral("<BASEFONT SIZE=\"2\">"));
    EXPECT_TRUE(page.last().startsWith(QStringLiteral("<meta http-equiv=\"refresh\" content=\"3\"><img")));

    // An action reaches the element; the next page refreshes after 5 s once, then as set.
    fake.Send({QStringLiteral("Action!"), QStringLiteral("ClientNo=0&FPLNo=0&Control=MainModul.S1&Action=2"),
               QString(), QStringLiteral("2")});
    ASSERT_TRUE(WaitFor([&] { return !s1->Log.isEmpty(); }));
    EXPECT_EQ(s1->Log, QStringList{QStringLiteral("action 2")});
    EXPECT_TRUE(s1->On);
    EXPECT_EQ(RequestPage(QStringLiteral("FPL=0")).at(1), QStringLiteral("<meta http-equiv=\"refresh\" content=\"5\">"));
    EXPECT_EQ(RequestPage(QStringLiteral("FPL=0")).at(1), QStringLiteral("<meta http-equiv=\"refresh\" content=\"7\">"));
    window->WebRefreshSeconds = 0;
    EXPECT_EQ(RequestPage(QStringLiteral("FPL=0")).at(1), QStringLiteral("<meta http-equiv=\"cache-control\" content=\"no-cache\">"));

    // Page 2 of a panel with one tab: the heads, no elements.
    page = RequestPage(QStringLiteral("FPL=2"));
    EXPECT_FALSE(page.join(u'\n').contains(QStringLiteral("MainModul.S1")));
}

TEST_F(WebLinkTest, TwentyFiveWrongTokensAreToleratedTheNextDropsTheLink)
{
    window->SetRunMode(false);  // a mode switch: 25 misses allowed
    Connect();
    QStringList out;
    for (int i = 0; i < 26; ++i)
        out << QStringLiteral("FPL=0") << QString() << (i == 10 ? QString::fromLatin1(kWebPageToken) : QStringLiteral("falsch"));
    fake.Send(out);
    QStringList page;
    for (int i = 0; i < 26; ++i)
        ASSERT_TRUE(fake.TakePage(page)) << i;
    ASSERT_TRUE(WaitFor([&] { return window->TokenMisses == 0; }));
    EXPECT_TRUE(window->WebLink() && window->WebLink()->Connected());

    fake.Send({QStringLiteral("FPL=0"), QString()});
    ASSERT_TRUE(fake.TakePage(page));
    fake.Send({QStringLiteral("falsch")});
    EXPECT_TRUE(fake.WaitClosed());
    EXPECT_EQ(window->WebLink(), nullptr);
}

TEST_F(WebLinkTest, WrongNumbersFromTheServerAreIgnoredAndTheLinkStays)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    Connect();
    fake.Send({QStringLiteral("FPL=zwei"), QString(), QStringLiteral("Action!"),
               QStringLiteral("MainModul.S1=1"), QStringLiteral("x"), QStringLiteral("Quatsch"),
               QStringLiteral("Name?"), QString()});
    ASSERT_TRUE(fake.WaitLines(2));
    EXPECT_EQ(fake.lines, (QStringList{QStringLiteral("Frontplatte"), QStringLiteral("0")}));
    fake.lines.clear();
    fake.Send({QStringLiteral("keine Zahl")});
    EXPECT_FALSE(RequestPage(QStringLiteral("FPL=0")).isEmpty());
    EXPECT_EQ(WebState().ClientNumber, 0);
    EXPECT_TRUE(s1->Log.isEmpty());
    EXPECT_TRUE(window->WebLink()->Connected());
}

TEST_F(WebLinkTest, ShutDownEndsTheLink)
{
    Connect();
    fake.Send({QStringLiteral("ShutDown!")});
    EXPECT_TRUE(fake.WaitClosed());
    EXPECT_EQ(window->WebLink(), nullptr);
}

TEST_F(WebLinkTest, PublishModesDecideWhenTheLinkExists)
{
    WebLinkConfig().Port = fake.Port();
    window->SetPublishMode(0);
    window->StartWebServer();  // as at a run's start
    EXPECT_EQ(window->WebLink(), nullptr);

    window->SetPublishMode(1);
    EXPECT_EQ(window->WebLink(), nullptr) << "only while running";
    window->SetRunMode(true);
    window->StartWebServer();
    EXPECT_NE(window->WebLink(), nullptr);
    window->SetRunMode(false);
    window->SetPublishMode(1);  // as after a stop
    EXPECT_EQ(window->WebLink(), nullptr);

    window->SetPublishMode(2);
    ASSERT_NE(window->WebLink(), nullptr);
    EXPECT_TRUE(fake.WaitConnected());
}

TEST_F(WebLinkTest, RefusedConnectionStartsTheServerProgramOnce)
{
    // A port nobody listens on until the "program" starts.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress(QHostAddress::LocalHost), 0));
        port = probe.serverPort();
    }
    TFakeServer late(0);
    late.server.close();
    const QString program = dir.path() + QStringLiteral("/tvwebserver");
    QFile(program).open(QIODevice::WriteOnly);
    window->WebServerPath = program;
    WebLinkConfig().Port = port;
    WebLinkConfig().FirstRetryMs = 10;
    QStringList launches;
    WebLinkConfig().Launch = [&](const QString& path, const QStringList& arguments) {
        launches << path + u' ' + arguments.join(u' ');
        return late.server.listen(QHostAddress(QHostAddress::LocalHost), port);
    };
    window->StartWebServer();
    ASSERT_TRUE(late.WaitConnected());
    EXPECT_EQ(launches, QStringList{program + QStringLiteral(" --link-port %1 --data %2")
                                                  .arg(port)
                                                  .arg(WebLinkConfig().DataFolder)});
    EXPECT_TRUE(window->WebLink()->Launched());
}

// The server program the link starts runs as this program's own process and ends with it.
TEST_F(WebLinkTest, TheServerProgramItStartedEndsWithTheProgram)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress(QHostAddress::LocalHost), 0));
        port = probe.serverPort();
    }
    // A "server" that never answers and would run for a minute.
    const QString program = dir.path() + QStringLiteral("/tvwebserver");
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sleep 60\n");
    }
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    window->WebServerPath = program;
    WebLinkConfig().Port = port;
    WebLinkConfig().FirstRetryMs = 10;
    window->StartWebServer();
    ASSERT_TRUE(WaitFor([] { return LaunchedWebServers().size() == 1; }));
    const qint64 pid = LaunchedWebServers().front();
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)));

    window->StopWebServer();
    EXPECT_EQ(LaunchedWebServers().size(), 1) << "a dropped link leaves the server running";
    EndLaunchedWebServers();
    EXPECT_TRUE(LaunchedWebServers().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)));
}

// A program on the link port that does not know the secret gets nothing from the front panel:
// no caption, no page, no click reaches an element; the user is told once.
TEST_F(WebLinkTest, APeerWithoutTheSecretGetsNothing)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    TScopedMessageResponder messages;
    for (const TFakeServer::THello hello : {TFakeServer::THello::None, TFakeServer::THello::WrongSecret}) {
        window->StopWebServer();
        TFakeServer intruder;
        intruder.hello = hello;
        WebLinkConfig().Port = intruder.Port();
        WebLinkConfig().HandshakeTimeoutMs = 300;
        window->StartWebServer();
        ASSERT_TRUE(intruder.WaitConnected());
        intruder.Send({QStringLiteral("Name?"), dir.path() + QStringLiteral("/elsewhere"),
                       QStringLiteral("FPL=0"), QString(),
                       QStringLiteral("Action!"), QStringLiteral("MainModul.S1=1"), QStringLiteral("2")});
        EXPECT_TRUE(intruder.WaitClosed());
        QCoreApplication::processEvents();
        for (const QString& line : intruder.lines)
            EXPECT_FALSE(line.contains(QStringLiteral("Frontplatte")) || line == QStringLiteral("0") ||
                         line.contains(QStringLiteral("<")))
                << qPrintable(line);
        EXPECT_FALSE(window->WebLink()->Connected());
        EXPECT_TRUE(s1->Log.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/elsewhere")));
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_TRUE(messages.Requests()[0].text.contains(QString::number(intruder.Port())));
        messages.Clear();
    }
}

// The secret's file is the user's alone; one that others may read is refused, and so is a
// symbolic link in its place.
TEST_F(WebLinkTest, TheSecretFileIsTheUsersAlone)
{
    const QString file = WebLinkSecretFile(dir.path() + QStringLiteral("/keys"));
    QByteArray first;
    QByteArray again;
    ASSERT_EQ(LoadOrCreateWebLinkSecret(file, &first), TWebSecretFault::None);
    ASSERT_EQ(LoadOrCreateWebLinkSecret(file, &again), TWebSecretFault::None);
    EXPECT_EQ(first, again);
    EXPECT_GE(first.size(), 64);
    EXPECT_EQ(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                          QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());

    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ReadOther);
    QByteArray secret;
    EXPECT_EQ(LoadOrCreateWebLinkSecret(file, &secret), TWebSecretFault::Unsafe);
    EXPECT_TRUE(secret.isEmpty());
    const QString linked = WebLinkSecretFile(dir.path() + QStringLiteral("/linked"));
    QDir().mkpath(QFileInfo(linked).absolutePath());
    ASSERT_TRUE(QFile::link(file, linked));
    EXPECT_EQ(LoadOrCreateWebLinkSecret(linked, &secret), TWebSecretFault::Unsafe);

    // The link does not start with a key it cannot trust.
    TScopedMessageResponder messages;
    WebLinkConfig().DataFolder = QFileInfo(file).absolutePath();
    WebLinkConfig().Port = fake.Port();
    window->StartWebServer();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("link.key")));
    EXPECT_EQ(fake.peer, nullptr);
}
