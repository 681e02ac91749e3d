// The front panel's link to the web server over a real loopback socket, with the test in the
// server's place: the commands and their answers, the token rule, publish modes, the server
// start on a refused connection, and what a server may send wrongly.

#include "WebTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QIcon>
#include <QPixmap>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// The server's side of the link, driven by the test.
class TFakeServer {
public:
    explicit TFakeServer(quint16 port = 0) { Listen(port); }

    bool Listen(quint16 port)
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, &server, [this] {
                buffer += peer->readAll();
                qsizetype i;
                while ((i = buffer.indexOf('\n')) >= 0) {
                    lines << QString::fromUtf8(buffer.left(i));
                    buffer.remove(0, i + 1);
                }
            });
        });
        return server.listen(QHostAddress(QHostAddress::LocalHost), port);
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

    const QString folder = dir.path() + QStringLiteral("/served");
    fake.Send({QStringLiteral("Name?"), folder});
    ASSERT_TRUE(fake.WaitLines(2));
    EXPECT_EQ(fake.lines, (QStringList{QStringLiteral("Frontplatte"), QStringLiteral("4")}));
    fake.Send({QString(), QStringLiteral("7")});
    ASSERT_TRUE(WaitFor([] { return WebState().ClientNumber == 7; }));
    EXPECT_EQ(WebState().DataFolder, folder);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(folder + QStringLiteral("/TempFiles/Anleitung.txt")); }));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/TempFiles/7.jpg")));
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
    EXPECT_EQ(launches, QStringList{program + QStringLiteral(" --link-port %1").arg(port)});
    EXPECT_TRUE(window->WebLink()->Launched());
}
