// A published page in a real browser: headless Chromium loads the page of a linked front
// panel through the web server, follows the switch's picture link as a click does, and the
// element sees the click; a screenshot of the page goes to the test output folder.

#include "WebTestSupport.h"

#include "WebServer.h"
#include "frontpanel/web/WebLinkSecurity.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

class BrowserTest : public WebFixture {
protected:
    void SetUp() override
    {
        WebFixture::SetUp();
        browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (browser.isEmpty())
            GTEST_SKIP() << "chromium is not installed";
        TWebServerOptions options;
        options.LinkPort = 0;
        options.HttpPort = 0;
        options.DataFolder = dir.path() + QStringLiteral("/served/");
        WebLinkConfig().DataFolder = options.DataFolder;
        LoadOrCreateWebLinkSecret(WebLinkSecretFile(options.DataFolder), &options.Secret);
        server = std::make_unique<TWebServer>(options);
        ASSERT_TRUE(server->Listen());
        bool ready = false;
        QObject::connect(server.get(), &TWebServer::PanelReady, server.get(), [&] { ready = true; });
        WebLinkConfig().Port = server->LinkPort();
        window->StartWebServer();
        ASSERT_TRUE(WaitFor([&] { return ready; }));
    }
    void TearDown() override
    {
        window->StopWebServer();
        server.reset();
        WebFixture::TearDown();
    }

    // Runs the browser headless on the address with the given action arguments; its output.
    QByteArray Browse(const QStringList& action, const QString& address)
    {
        QProcess process;
        QStringList arguments{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                              QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
                              QStringLiteral("--user-data-dir=") + dir.path() + QStringLiteral("/browser"),
                              QStringLiteral("--window-size=800,600")};
        process.start(browser, arguments + action + QStringList{address});
        bool finished = false;
        QObject::connect(&process, &QProcess::finished, &process, [&] { finished = true; });
        QObject::connect(&process, &QProcess::errorOccurred, &process, [&] { finished = true; });
        EXPECT_TRUE(WaitFor([&] { return finished; }, 120000)) << "the browser did not end";
        if (!finished) {
            process.kill();
            process.waitForFinished(10000);
        }
        return process.readAllStandardOutput();
    }
    QString Address(const QString& target) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server->HttpPort()).arg(target);
    }

    QString browser;
    std::unique_ptr<TWebServer> server;
};

}  // namespace

TEST_F(BrowserTest, PublishedSwitchIsClickedInABrowser)
{
    root->BackgroundFromPanel = false;
    root->SetHintergrundFarbe(0xF0E0D0);
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    s1->Hint = QStringLiteral("Pumpe <1>");
    s1->resize(80, 40);

    const QByteArray dom = Browse({QStringLiteral("--dump-dom")}, Address(QStringLiteral("/Front?FPLNo=0")));
    ASSERT_TRUE(dom.contains("<title>Frontplatte</title>")) << dom.left(400).toStdString();
    EXPECT_TRUE(dom.contains("Pumpe &lt;1&gt;")) << "the hint stays text";
    const QRegularExpression link(QStringLiteral("href=\"(/Details\\?[^\"]+)\""));
    const QRegularExpressionMatch match = link.match(QString::fromUtf8(dom));
    ASSERT_TRUE(match.hasMatch());
    const QString target = match.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&"));

    // The click: the browser follows the link, the element toggles, the page comes back.
    const QByteArray after = Browse({QStringLiteral("--dump-dom")}, Address(target));
    EXPECT_TRUE(s1->On);
    EXPECT_EQ(s1->Log, QStringList{QStringLiteral("action 2")});
    EXPECT_TRUE(after.contains("<title>Frontplatte</title>"));

    // A picture of the page, with the switch now on.
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/test-output/web");
    QDir().mkpath(folder);
    const QString shot = folder + QStringLiteral("/published-page.png");
    QFile::remove(shot);
    Browse({QStringLiteral("--screenshot=") + shot}, Address(QStringLiteral("/Front?FPLNo=0")));
    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    // The page's background and the switch's green face both show.
    EXPECT_EQ(picture.pixelColor(picture.width() - 5, picture.height() - 5), QColor(0xD0, 0xE0, 0xF0));
    bool green = false;
    for (int y = 0; y < picture.height() && !green; y += 2)
        for (int x = 0; x < picture.width() && !green; x += 2)
        {
            const QColor c = picture.pixelColor(x, y);
            green = c.green() > 200 && c.red() < 60 && c.blue() < 60;  // the picture is a JPEG
        }
    EXPECT_TRUE(green);
}
