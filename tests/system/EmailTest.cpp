#include "components/ComponentTestSupport.h"
#include "components/system/EmailSender.h"
#include "components/system/RegisterSystem.h"
#include "platform/MessageBox.h"
#include "textfile/TextTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

namespace {

using TEmailTest = TComponentTest<RegisterSystemComponents, true>;

TEST_F(TEmailTest, PlaceholdersRecipientsAndAttachments)
{
    QTemporaryDir dir;
    const QString attachment = dir.filePath(QStringLiteral("data.csv"));
    QFile file(attachment);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    TMailOrder order;
    order.RecipientLines = {QStringLiteral("  a@example.org\t"), QStringLiteral(" "),
                            QString(), QStringLiteral("b@example.org")};
    order.ExtraRecipient = QStringLiteral(" c@example.org\r\n");
    order.Parameters = {"one", "two", "three", "4", "5", "6", "7", "8", "9", "ten"};
    order.TextLines = {QStringLiteral("Temp: $P1 °C, limit $P10"), QStringLiteral("$P2$P2")};
    order.AttachmentLines = {attachment, dir.filePath(QStringLiteral("missing.txt")), " "};
    const TMail mail = PrepareMail(order);
    EXPECT_EQ(mail.Recipients,
              QStringList({"a@example.org", "b@example.org", "c@example.org"}));
    EXPECT_EQ(mail.BodyLines,
              QStringList({QStringLiteral("Temp: one °C, limit ten"), "twotwo"}));
    EXPECT_EQ(mail.Attachments, QStringList({attachment}));

    // A placeholder above the parameter count stays; an empty "$TO" adds nobody.
    order.Parameters = {"x", "y", "z"};
    order.TextLines = {QStringLiteral("$P5 $P3")};
    order.ExtraRecipient.clear();
    order.RecipientLines.clear();
    const TMail few = PrepareMail(order);
    EXPECT_EQ(few.BodyLines, QStringList({"$P5 z"}));
    EXPECT_TRUE(few.Recipients.isEmpty());
}

TEST_F(TEmailTest, HeadersCannotBeInjected)
{
    TMail mail;
    mail.SenderName = QStringLiteral("Lab \"1\"\r\nBcc: evil@example.org");
    mail.SenderAddress = QStringLiteral("lab@example.org>\r\nBcc: evil@example.org");
    mail.Recipients = {QStringLiteral("a@example.org\r\nX-Injected: 1")};
    mail.Subject = QStringLiteral("Alarm\r\nBcc: evil@example.org");
    const QByteArray text = ComposeMail(mail, QDateTime::currentDateTime(), "b");
    const QByteArray head = text.left(text.indexOf("\r\n\r\n"));
    for (const QByteArray& line : head.split('\n')) {
        EXPECT_FALSE(line.startsWith("Bcc:")) << line.constData();
        EXPECT_FALSE(line.startsWith("X-Injected:")) << line.constData();
    }
    EXPECT_TRUE(head.contains("Subject: AlarmBcc: evil@example.org\r\n"));

    // Text beyond ASCII goes into encoded words that give the text back.
    const QString subject = QStringLiteral("Temperatur überschritten: 25 °C – Kühlraum Nord, "
                                           "Gerät 7 meldet Störung");
    const QByteArray encoded = EncodeHeaderText(subject);
    QString decoded;
    for (QByteArray word : encoded.split('\n')) {
        word = word.trimmed();
        ASSERT_TRUE(word.startsWith("=?UTF-8?B?") && word.endsWith("?=")) << word.constData();
        EXPECT_LE(word.size(), 75);
        decoded += QString::fromUtf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)));
    }
    EXPECT_EQ(decoded, subject);
}

TEST_F(TEmailTest, RecordAndInputs)
{
    auto c = Create<TBTEmailSenden>();
    EXPECT_EQ(PinNames(c->Inputs), QStringList({"|SND", "$TO", "$SUB", "$P1"}));
    c->SetInputCount(3 + 12);
    EXPECT_EQ(c->Inputs.back()->Name(), QStringLiteral("$P12"));
    c->Server = {QStringLiteral("mail.example.org"), 587, QStringLiteral("u"),
                 QStringLiteral("p")};
    c->SenderAddress = QStringLiteral("lab@example.org");
    c->TextLines = {QStringLiteral("a"), QStringLiteral("b")};
    c->AttachmentLines = {QStringLiteral("/tmp/x")};
    c->RecipientLines = {QStringLiteral("r@example.org")};
    const QByteArray record = Write(*c);
    auto copy = Create<TBTEmailSenden>();
    ASSERT_TRUE(Read(*copy, record));
    EXPECT_EQ(copy->ParameterCount(), 12);
    EXPECT_EQ(copy->Server.Host, QStringLiteral("mail.example.org"));
    EXPECT_EQ(copy->Server.Port, 587);
    EXPECT_EQ(copy->Server.User, QStringLiteral("u"));
    EXPECT_EQ(copy->Server.Password, QStringLiteral("p"));
    EXPECT_EQ(copy->TextLines, c->TextLines);
    EXPECT_EQ(copy->AttachmentLines, c->AttachmentLines);
    EXPECT_EQ(copy->RecipientLines, c->RecipientLines);
    // Files before format 42 have no recipient block: such a record reads whole and leaves
    // no recipients.
    auto old = Create<TBTEmailSenden>();
    old->RecipientLines = {QStringLiteral("stale")};
    QByteArray older = record;
    older.chop(2 + 15);  // the count 1 (tag and byte) and "r@example.org" (tag, length, 13)
    ASSERT_TRUE(Read(*old, older, 41));
    EXPECT_TRUE(old->RecipientLines.isEmpty());
}

// The local SMTP server of the test, in its own process.
class TSmtpServer {
public:
    explicit TSmtpServer(const char* mode = "accept")
    {
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(SMTP_TEST_SERVER), m_dir.path(), QLatin1String(mode)});
        if (!m_process.waitForReadyRead(20000))
            return;
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("ready "))
            Port = line.mid(6).toInt();
    }
    ~TSmtpServer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
    // The mails received so far.
    std::vector<QJsonObject> Mails() const
    {
        std::vector<QJsonObject> mails;
        for (int n = 1;; ++n) {
            QFile f(QDir(m_dir.path()).filePath(QStringLiteral("mail-%1.json").arg(n)));
            if (!f.open(QIODevice::ReadOnly))
                return mails;
            mails.push_back(QJsonDocument::fromJson(f.readAll()).object());
        }
    }

    int Port = 0;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

// Steps the component until its mails are out (or 15 s have passed).
void StepUntilSent(TBTEmailSenden& c)
{
    QElapsedTimer timer;
    timer.start();
    while (c.Sending() && timer.elapsed() < 15000) {
        c.Calculate();
        QThread::msleep(5);
    }
    c.Calculate();
    QCoreApplication::processEvents();
}

TEST_F(TEmailTest, SendsThroughAnSmtpServer)
{
    TSmtpServer server;
    ASSERT_GT(server.Port, 0) << "the local SMTP server (python3-aiosmtpd) did not start";
    QTemporaryDir dir;
    const QString attachment = dir.filePath(QStringLiteral("werte.csv"));
    QFile file(attachment);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("t;U\n0;1,5\n");
    file.close();

    auto c = Create<TBTEmailSenden>();
    c->SetInputCount(3 + 2);
    c->SetLabel(QStringLiteral("Messplatz"));
    c->Server = {QStringLiteral("127.0.0.1"), server.Port, QStringLiteral("user"),
                 QStringLiteral("secret"), 10000};
    c->SenderAddress = QStringLiteral("lab@example.org");
    c->RecipientLines = {QStringLiteral("a@example.org"), QStringLiteral("  ")};
    c->TextLines = {QStringLiteral("Temperatur $P1 °C"), QStringLiteral("Grenze $P2")};
    c->AttachmentLines = {attachment, dir.filePath(QStringLiteral("fehlt.txt"))};
    TTextInputs in(*c);
    in.SetAll({"n:5", "t:b@example.org", "t:Grenzwert überschritten", "t:31,5", "t:30"});
    TScopedMessageResponder boxes;
    c->SimReset();
    c->Calculate();          // high: nothing
    in.Set(0, "n:0");
    c->Calculate();          // falling edge: one mail
    c->Calculate();
    in.Set(0, "n:5");
    c->Calculate();          // rising edge: nothing
    StepUntilSent(*c);

    const auto mails = server.Mails();
    ASSERT_EQ(mails.size(), 1u);
    const QJsonObject& m = mails[0];
    EXPECT_EQ(m["from"].toString(), QStringLiteral("lab@example.org"));
    EXPECT_EQ(m["to"].toArray(), QJsonArray({"a@example.org", "b@example.org"}));
    EXPECT_EQ(m["login"].toString(), QStringLiteral("user"));
    EXPECT_EQ(m["subject"].toString(), QStringLiteral("Grenzwert überschritten"));
    EXPECT_TRUE(m["header_from"].toString().contains(QStringLiteral("Messplatz")));
    EXPECT_EQ(m["body"].toString().trimmed(), QStringLiteral("Temperatur 31,5 °C\r\nGrenze 30"));
    const QJsonObject files = m["attachments"].toObject();
    EXPECT_EQ(files.keys(), QStringList({"werte.csv"}));
    EXPECT_EQ(files["werte.csv"].toString(), QStringLiteral("t;U\n0;1,5\n"));
    EXPECT_FALSE(c->Failed);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(TEmailTest, ARefusingOrSilentServerGivesTheErrorStateAndOneMessage)
{
    TSmtpServer refusing("refuse");
    ASSERT_GT(refusing.Port, 0);
    QTcpServer silent;  // takes connections and never greets
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    struct Case {
        const char* name;
        int port;
    } cases[] = {{"refusing", refusing.Port}, {"silent", int(silent.serverPort())}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Ctx().CurrentLanguage = 1;
        auto c = Create<TBTEmailSenden>();
        c->Server = {QStringLiteral("127.0.0.1"), k.port, {}, {}, 700};
        c->SenderAddress = QStringLiteral("lab@example.org");
        c->RecipientLines = {QStringLiteral("a@example.org")};
        TDrivers in(*c, true);
        TScopedMessageResponder boxes;
        c->SimReset();
        QElapsedTimer stepTime;
        stepTime.start();
        for (int edge = 0; edge < 2; ++edge) {
            c->Calculate();
            in.Set(0, false);
            c->Calculate();
            in.Set(0, true);
        }
        EXPECT_LT(stepTime.elapsed(), 300);  // the steps never wait for the server
        StepUntilSent(*c);
        EXPECT_TRUE(c->Failed);
        EXPECT_FALSE(c->LastError.isEmpty());
        EXPECT_TRUE(c->GetHint().contains(c->LastError));
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_TRUE(boxes.Requests()[0].text.startsWith(QStringLiteral("The e-mail was not sent")));
    }
    EXPECT_TRUE(refusing.Mails().empty());
}

} // namespace
