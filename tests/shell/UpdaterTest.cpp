// The internet updater against a small HTTP server of the test: the listing, a good download,
// a file whose checksum does not match, a server that is gone, and a cancelled transfer. The
// buttons come back after each.

#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "shell/tools/Updater.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kFile = QStringLiteral("Tavrinol-Ombrel40(Update).exe");

// Answers GET requests from a table of paths; a path in Stall gets its headers and half its
// body, and then OnStall runs.
class TTestServer : public QTcpServer {
public:
    TTestServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    // Stops listening and drops every open connection.
    void Shutdown()
    {
        close();
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->abort();
    }
    QUrl Url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/UPDATE/").arg(serverPort())); }

    QHash<QString, QByteArray> Files;  // path below /UPDATE/ -> body
    QString Stall;
    std::function<void()> OnStall;

private:
    void Serve(QTcpSocket* socket)
    {
        QByteArray& request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString path = QUrl::fromPercentEncoding(request.split(' ').value(1)).mid(8);
        request.clear();
        if (!Files.contains(path)) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        const QByteArray body = Files.value(path);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
        if (path == Stall) {
            socket->write(body.left(body.size() / 2));
            socket->flush();
            QTimer::singleShot(0, this, [this] { OnStall(); });
            return;
        }
        socket->write(body);
    }
    QHash<QTcpSocket*, QByteArray> m_requests;
};

QByteArray Sha256(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(downloads.isValid());
        updater.ServerUrl = server.Url();
        updater.UpdateFileName = kFile;
        updater.DownloadFolder = downloads.path();
        updater.ProgramDate = QDate(2026, 3, 1);
        server.Files[QStringLiteral("LISTING.TXT")] =
            "03-05-26  10:12AM               " + QByteArray::number(payload.size()) + " " +
            kFile.toUtf8() + "\r\n";
        server.Files[kFile] = payload;
        server.Files[kFile + QStringLiteral(".sha256")] = Sha256(payload) + "  " + kFile.toUtf8() + "\n";
    }
    void TearDown() override { ResetContext(); }
    void ExpectButtonsBack()
    {
        EXPECT_TRUE(updater.B_SucheUpdates->isEnabled());
        EXPECT_TRUE(updater.B_Download->isEnabled());
        EXPECT_TRUE(updater.B_Beenden->isEnabled());
        EXPECT_FALSE(updater.B_DownloadAbbruch->isEnabled());
    }
    QString Target() const { return QDir(downloads.path()).filePath(kFile); }

    const QByteArray payload = QByteArray(100000, 'x') + "installer";
    TTestServer server;
    QTemporaryDir downloads;
    TIUpdater updater;
    TScopedMessageResponder messages;
};

} // namespace

TEST_F(UpdaterTest, SearchShowsDateSizeAndAdvice)
{
    updater.B_SucheUpdatesClick();
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_EQ(updater.UpdateDate, QDate(2026, 3, 5));
    EXPECT_EQ(updater.L_UpdateSize->text(), QStringLiteral("98 kB"));
    EXPECT_EQ(updater.L_Status->text(), QStringLiteral("Aktualisierung empfohlen!"));
    EXPECT_TRUE(updater.B_Download->isEnabled());
    EXPECT_TRUE(updater.IsUpdateAvailable());
}

TEST_F(UpdaterTest, ListingLines)
{
    const struct {
        const char* listing;
        bool found;
        QDate date;
        qint64 size;
    } cases[] = {
        // the first matching line decides; the name matches in any case and anywhere
        {"03-01-26  09:00AM                 1536 tavrinol-ombrel40(update).exe.old\r\n"
         "04-02-26  09:00AM                  511 Tavrinol-Ombrel40(Update).exe\r\n",
         true, QDate(2026, 3, 1), 1536},
        {"12-31-25  11:59PM                  511 other.exe\r\n", false, QDate(), 0},
    };
    for (const auto& c : cases) {
        updater.UpdateDate = QDate();
        updater.UpdateSize = 0;
        EXPECT_EQ(updater.ParseListing(QString::fromLatin1(c.listing)), c.found) << c.listing;
        EXPECT_EQ(updater.UpdateDate, c.date);
        EXPECT_EQ(updater.UpdateSize, c.size);
    }
    // An update of the program's own day is up to date; sizes round to whole kB.
    const struct {
        const char* date;
        int size;
        const char* shown;
        const char* status;
    } shown[] = {{"03-01-26", 1536, "2 kB", "+++ aktuell +++"},
                 {"02-28-26", 511, "0 kB", "+++ aktuell +++"},
                 {"03-02-26", 1024, "1 kB", "Aktualisierung empfohlen!"}};
    for (const auto& s : shown) {
        server.Files[QStringLiteral("LISTING.TXT")] = QByteArray(s.date) + "  10:12AM" +
                                                       QByteArray::number(s.size).rightJustified(21) +
                                                       " " + kFile.toUtf8() + "\r\n";
        updater.B_SucheUpdatesClick();
        EXPECT_EQ(updater.L_UpdateSize->text(), QString::fromLatin1(s.shown)) << s.date;
        EXPECT_EQ(updater.L_Status->text(), QString::fromUtf8(s.status)) << s.date;
    }
    // A line whose size is no number is reported and found nothing.
    EXPECT_FALSE(updater.ParseListing(QStringLiteral("03-01-26  09:00AM             12x4 ") + kFile));
    EXPECT_EQ(messages.Requests().size(), 1u);
}

// A good file lands in the download folder, is never run, and the user is told where it is.
TEST_F(UpdaterTest, GoodDownloadIsVerifiedAndKept)
{
    updater.B_SucheUpdatesClick();
    EXPECT_TRUE(updater.B_DownloadClick());
    QFile file(Target());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), payload);
    EXPECT_FALSE(QFileInfo(Target()).isExecutable());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].type, mtInformation);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QDir::toNativeSeparators(Target())));
    ExpectButtonsBack();
}

// A wrong or missing checksum, a server gone and a cancelled transfer keep no file, and the
// window can be used again.
TEST_F(UpdaterTest, FailuresKeepNoFileAndGiveTheButtonsBack)
{
    updater.B_SucheUpdatesClick();
    const struct {
        const char* what;
        std::function<void()> arrange;
        bool message;
    } cases[] = {
        {"bad checksum",
         [&] { server.Files[kFile + QStringLiteral(".sha256")] = Sha256("something else"); }, true},
        {"no checksum", [&] { server.Files.remove(kFile + QStringLiteral(".sha256")); }, true},
        {"cancelled",
         [&] {
             server.Stall = kFile;
             server.OnStall = [&] { updater.B_DownloadAbbruch->click(); };
         },
         false},
        {"server gone", [&] { server.Shutdown(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        c.arrange();
        EXPECT_FALSE(updater.B_DownloadClick());
        EXPECT_FALSE(QFileInfo::exists(Target()));
        EXPECT_EQ(messages.Requests().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(messages.Requests()[0].type, mtError);
        }
        ExpectButtonsBack();
    }
    // With the server gone the search says it cannot connect and offers no download.
    messages.Clear();
    updater.B_SucheUpdatesClick();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith(
        QStringLiteral("Es kann keine Verbindung zum Server aufgebaut werden.")));
    EXPECT_EQ(updater.L_UpdateDatum->text(), QStringLiteral("???"));
    EXPECT_FALSE(updater.B_Download->isEnabled());
}
