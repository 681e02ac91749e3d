// The maker's links of a device class: stored per class, shown in the dialog, the first
// non-empty one opened in the browser view; and the browser view against a local web server.
#include "hardware/HardwareTestSupport.h"

#include "hardware/framework/BtHardware.h"
#include "hardware/framework/HerstellerDlg.h"
#include "platform/IniFile.h"
#include "platform/ModalDialogs.h"
#include "widgets/WebView.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class MakerLinksTest : public HardwareFixture {
protected:
    QString LinksFile() const { return dir.filePath(QStringLiteral("HardwareLinks.ini")); }
    // A local page whose text names it.
    QString Page(const QString& name)
    {
        const QString path = dir.filePath(name + QStringLiteral(".html"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<html><body><p>Seite %1</p></body></html>").arg(name).toUtf8());
        return QUrl::fromLocalFile(path).toString();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(MakerLinksTest, AClassWithoutLinksShowsNothingAndGetsItsSectionOnClosing)
{
    auto lpt = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    TIniFile links(LinksFile());
    TScopedDialogResponder dialogs;
    QStringList shown;
    QString address = QStringLiteral("unset");
    dialogs.Answer([&](QDialog& dialog) {
        auto& d = static_cast<THerstellerDlg&>(dialog);
        d.show();
        shown = {d.LinkEdit1->text(), d.LinkEdit2->text(), d.LinkEdit3->text()};
        address = d.WebBrowser1->Address().toString();
        d.close();
        return 1;
    });
    ShowManufacturerLinksOf(*lpt, &links);
    EXPECT_EQ(dialogs.Count(), 1);
    EXPECT_EQ(shown, QStringList({QString(), QString(), QString()}));
    EXPECT_TRUE(address.isEmpty());
    TIniFile reread(LinksFile());
    EXPECT_TRUE(reread.SectionExists(QStringLiteral("TLPTInterface")));
    EXPECT_TRUE(reread.ValueExists(QStringLiteral("TLPTInterface"), QStringLiteral("Link3")));
}

TEST_F(MakerLinksTest, TheFirstLinkSetOpensAtOnceAndEachButtonOpensItsField)
{
    auto lpt = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    lpt->Interface->Name = QStringLiteral("Parallel\rport");
    const QString second = Page(QStringLiteral("zwei"));
    const QString third = Page(QStringLiteral("drei"));
    TIniFile links(LinksFile());
    links.WriteString(QStringLiteral("TLPTInterface"), QStringLiteral("Link2"), second);
    TScopedDialogResponder dialogs;
    QString title, opened, openedText, afterButton, afterButtonText;
    dialogs.Answer([&](QDialog& dialog) {
        auto& d = static_cast<THerstellerDlg&>(dialog);
        d.show();
        title = d.windowTitle();
        opened = d.WebBrowser1->Address().toString();
        openedText = d.WebBrowser1->toPlainText();
        d.LinkEdit3->setText(third);  // the user's edit is kept
        d.Button3->click();
        afterButton = d.WebBrowser1->Address().toString();
        afterButtonText = d.WebBrowser1->toPlainText();
        return 1;
    });
    ShowManufacturerLinksOf(*lpt, &links);
    EXPECT_EQ(title, QStringLiteral("Parallel port"));
    EXPECT_EQ(opened, second);
    EXPECT_TRUE(openedText.contains(QStringLiteral("Seite zwei"))) << openedText.toStdString();
    EXPECT_EQ(afterButton, third);
    EXPECT_TRUE(afterButtonText.contains(QStringLiteral("Seite drei")));
    EXPECT_EQ(links.ReadString(QStringLiteral("TLPTInterface"), QStringLiteral("Link3"), {}), third);
}

TEST_F(MakerLinksTest, DevicesOfOneClassShareTheirLinksAndOtherClassesDoNot)
{
    auto first = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    auto second = CreateHardwareComponent(QStringLiteral("TLPTInterface"));
    auto other = CreateHardwareComponent(QStringLiteral("TwPort"));
    ASSERT_TRUE(other && other->Interface);
    TIniFile links(LinksFile());
    TScopedDialogResponder dialogs;
    QStringList seen;
    dialogs.Answer([&](QDialog& dialog) {
        static_cast<THerstellerDlg&>(dialog).LinkEdit1->setText(QStringLiteral("www.example.com"));
        return 1;
    });
    for (int k = 0; k < 2; ++k) {
        dialogs.Answer([&](QDialog& dialog) {
            seen << static_cast<THerstellerDlg&>(dialog).LinkEdit1->text();
            return 1;
        });
    }
    ShowManufacturerLinksOf(*first, &links);
    ShowManufacturerLinksOf(*second, &links);
    ShowManufacturerLinksOf(*other, &links);
    EXPECT_EQ(seen, QStringList({QStringLiteral("www.example.com"), QString()}));
}

TEST(WebViewTest, ShowsAServedPageAndSaysWhyWhenTheServerIsGone)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            const QByteArray body = "<html><body><h1>Datenblatt</h1><a href=\"/b\">b</a></body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                          "Connection: close\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    });
    TWebView view;
    // Navigates and waits for the page (or the failure) to be shown; false on a time-out.
    bool ok = false;
    auto open = [&view, &ok](const QString& address) {
        QEventLoop loop;
        bool shown = false;
        auto connection = QObject::connect(&view, &TWebView::PageShown, &loop, [&](const QUrl&, bool good) {
            shown = true;
            ok = good;
            loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        view.Navigate(address);
        if (!shown)
            loop.exec();
        QObject::disconnect(connection);
        return shown;
    };
    ASSERT_TRUE(open(QStringLiteral("http://127.0.0.1:%1/a").arg(server.serverPort())));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Datenblatt")));

    const quint16 port = server.serverPort();
    server.close();
    ASSERT_TRUE(open(QStringLiteral("http://127.0.0.1:%1/a").arg(port)));
    EXPECT_FALSE(ok);
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Die Seite kann nicht angezeigt werden.")));
    EXPECT_FALSE(view.Loading());

    view.Navigate(QStringLiteral("ftp://127.0.0.1/x"));
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Diese Adresse kann hier nicht geöffnet werden.")));
}
