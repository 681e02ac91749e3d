#pragma once
// E-mail over SMTP (libcurl): the message text with its headers and attachments, and one
// blocking send. Headers carry no line breaks from the caller's texts, and texts beyond
// ASCII go into encoded words, so no caller's text can add a header.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>

struct TMailServer {
    QString Host;
    int Port = 25;
    QString User;      // no login when empty
    QString Password;
    int TimeoutMs = 30000;  // for connecting and for the whole exchange
};

struct TMail {
    QString SenderName;
    QString SenderAddress;
    QStringList Recipients;
    QString Subject;
    QStringList BodyLines;
    QStringList Attachments;  // paths of existing files
};

// A header text with every control character (line breaks included) taken out.
QString HeaderSafe(const QString& text);
// The text as it may stand in a header: ASCII as it is, anything else as UTF-8 encoded words.
QByteArray EncodeHeaderText(const QString& text);
// The whole message: headers, the body as UTF-8 text and the attachments, MIME multipart when
// there are attachments. Attachments that cannot be read are left out.
QByteArray ComposeMail(const TMail& mail, const QDateTime& date, const QByteArray& boundary);

// Sends the mail; empty on success, else what went wrong (the SMTP library's words). A set
// cancel flag ends the exchange early.
QString SendMail(const TMailServer& server, const TMail& mail,
                 const std::atomic<bool>* cancel = nullptr);
