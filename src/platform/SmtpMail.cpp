#include "platform/SmtpMail.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <curl/curl.h>

#include <mutex>

namespace {

bool IsAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0x7E)
            return false;
    return true;
}

// Base64 in lines of 76 characters, each ended by CR LF.
QByteArray Base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    out.reserve(encoded.size() + encoded.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}

// An address as it may stand in a header: without blanks, angle brackets and control characters.
QByteArray AddressText(const QString& address)
{
    QString a = HeaderSafe(address).trimmed();
    a.remove(u'<');
    a.remove(u'>');
    a.remove(u' ');
    return a.toUtf8();
}

struct TUpload {
    QByteArray data;
    qsizetype at = 0;
};

size_t ReadUpload(char* buffer, size_t size, size_t count, void* user)
{
    auto* upload = static_cast<TUpload*>(user);
    const size_t n = std::min(size * count, size_t(upload->data.size() - upload->at));
    memcpy(buffer, upload->data.constData() + upload->at, n);
    upload->at += qsizetype(n);
    return n;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* cancel = static_cast<const std::atomic<bool>*>(user);
    return cancel && cancel->load() ? 1 : 0;
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

QString HeaderSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out += c;
    return out;
}

QByteArray EncodeHeaderText(const QString& text)
{
    const QString safe = HeaderSafe(text);
    if (IsAscii(safe))
        return safe.toLatin1();
    // Encoded words of at most 75 characters; a character is never split between two.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const bool pair = safe[i].isHighSurrogate() && i + 1 < safe.size();
        const QByteArray bytes = safe.mid(i, pair ? 2 : 1).toUtf8();
        if (pair)
            ++i;
        // 45 bytes of UTF-8 give 60 characters of Base64, 72 with the frame.
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
    }
    flush();
    return out;
}

QByteArray ComposeMail(const TMail& mail, const QDateTime& date, const QByteArray& boundary)
{
    QByteArray head;
    const QByteArray name = EncodeHeaderText(mail.SenderName);
    head += "From: ";
    if (!name.isEmpty()) {
        QByteArray quoted = name;
        if (IsAscii(HeaderSafe(mail.SenderName))) {
            quoted.replace('\\', "");
            quoted.replace('"', "");
            quoted = '"' + quoted + '"';
        }
        head += quoted + ' ';
    }
    head += '<' + AddressText(mail.SenderAddress) + ">\r\n";
    QByteArrayList to;
    for (const QString& r : mail.Recipients)
        to << AddressText(r);
    head += "To: " + to.join(",\r\n ") + "\r\n";
    head += "Subject: " + EncodeHeaderText(mail.Subject) + "\r\n";
    head += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    head += "MIME-Version: 1.0\r\n";

    const QByteArray textPart = "Content-Type: text/plain; charset=UTF-8\r\n"
                                "Content-Transfer-Encoding: base64\r\n\r\n"
                                + Base64Lines(mail.BodyLines.join(QStringLiteral("\r\n")).toUtf8());
    QByteArrayList files;
    for (const QString& path : mail.Attachments) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray fileName = EncodeHeaderText(QFileInfo(path).fileName());
        files << "Content-Type: application/octet-stream\r\n"
                 "Content-Transfer-Encoding: base64\r\n"
                 "Content-Disposition: attachment; filename=\"" + fileName + "\"\r\n\r\n"
                     + Base64Lines(file.readAll());
    }
    if (files.isEmpty())
        return head + textPart;
    QByteArray body = head + "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    body += "--" + boundary + "\r\n" + textPart;
    for (const QByteArray& part : files)
        body += "--" + boundary + "\r\n" + part;
    body += "--" + boundary + "--\r\n";
    return body;
}

QString SendMail(const TMailServer& server, const TMail& mail, const std::atomic<bool>* cancel)
{
    if (HeaderSafe(server.Host).trimmed().isEmpty())
        return QStringLiteral("no server");
    if (mail.Recipients.isEmpty())
        return QStringLiteral("no recipient");
    InitCurlOnce();
    CURL* curl = curl_easy_init();
    if (!curl)
        return QStringLiteral("out of memory");
    const QByteArray boundary =
        "=_" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    TUpload upload{ComposeMail(mail, QDateTime::currentDateTime(), boundary)};
    const QByteArray scheme = server.Port == 465 ? "smtps://" : "smtp://";
    const QByteArray url = scheme + HeaderSafe(server.Host).trimmed().toUtf8() + ':'
                           + QByteArray::number(server.Port);
    const QByteArray from = '<' + AddressText(mail.SenderAddress) + '>';
    curl_slist* recipients = nullptr;
    QByteArrayList addresses;
    for (const QString& r : mail.Recipients)
        addresses << '<' + AddressText(r) + '>';
    for (const QByteArray& a : addresses)
        recipients = curl_slist_append(recipients, a.constData());
    const QByteArray user = server.User.toUtf8();
    const QByteArray password = server.Password.toUtf8();

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // STARTTLS whenever the server offers it.
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadUpload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(server.TimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(server.TimeoutMs));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK)
        return QString();
    return QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
}
