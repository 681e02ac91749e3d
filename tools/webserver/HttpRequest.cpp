// Bounded parsing of HTTP request heads and targets.

#include "HttpRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsTokenChar(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsTargetChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F;
}

}  // namespace

THttpParse ParseHttpRequest(const QByteArray& buffer, THttpRequest& request)
{
    qsizetype end = buffer.indexOf("\r\n\r\n");
    qsizetype endLength = 4;
    const qsizetype bare = buffer.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end)) {
        end = bare;
        endLength = 2;
    }
    if (end < 0)
        return buffer.size() > kHttpLongestHead ? THttpParse::TooLarge : THttpParse::Incomplete;
    if (end + endLength > kHttpLongestHead)
        return THttpParse::TooLarge;

    qsizetype lineEnd = buffer.indexOf('\n');
    QByteArray line = buffer.left(lineEnd);
    if (line.endsWith('\r'))
        line.chop(1);
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3)
        return THttpParse::Bad;
    const QByteArray& method = parts[0];
    const QByteArray& target = parts[1];
    const QByteArray& version = parts[2];
    if (method.isEmpty() || method.size() > 16 ||
        !std::all_of(method.begin(), method.end(), IsTokenChar))
        return THttpParse::Bad;
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return THttpParse::Bad;
    if (target.isEmpty() || target[0] != '/' ||
        !std::all_of(target.begin(), target.end(), IsTargetChar))
        return THttpParse::Bad;
    // Header lines: each needs a name and a colon; their values are not used.
    const QList<QByteArray> headers = buffer.mid(lineEnd + 1, end - lineEnd - 1).split('\n');
    for (QByteArray header : headers) {
        if (header.endsWith('\r'))
            header.chop(1);
        if (header.isEmpty())
            continue;
        if (header.indexOf(':') <= 0)
            return THttpParse::Bad;
    }
    if (target.size() > kHttpLongestTarget)
        return THttpParse::TargetTooLong;
    const qsizetype question = target.indexOf('?');
    request.Method = method;
    request.Path = question < 0 ? target : target.left(question);
    request.Query = question < 0 ? QByteArray() : target.mid(question + 1);
    return THttpParse::Complete;
}

QString HttpQueryValue(const QByteArray& query, const QString& key)
{
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        QByteArray name = eq < 0 ? pair : pair.left(eq);
        name.replace('+', ' ');
        if (QUrl::fromPercentEncoding(name) != key)
            continue;
        QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        value.replace('+', ' ');
        return QUrl::fromPercentEncoding(value);
    }
    return QString();
}

int OpenTempFile(const QString& dataFolder, const QByteArray& path, QString* fileName)
{
    static const QByteArray prefix("/TempFiles/");
    if (dataFolder.isEmpty() || !path.startsWith(prefix))
        return -1;
    const QString name = QUrl::fromPercentEncoding(path.mid(prefix.size()));
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") ||
        name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0)))
        return -1;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control)
            return -1;
    // The pictures' folder where it really lies below the data folder: a link in its place
    // leads elsewhere and serves nothing.
    const QDir folder(QDir(dataFolder).filePath(QStringLiteral("TempFiles")));
    const QString data = QDir(dataFolder).canonicalPath();
    if (data.isEmpty())
        return -1;
    const QString root = data + QStringLiteral("/TempFiles");
    const QString wanted = folder.filePath(name);
    const int fd = ::open(QFile::encodeName(wanted).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    // What was opened, wherever the path led by now.
    struct stat info {};
    char real[PATH_MAX + 1];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(link.constData(), real, PATH_MAX);
    const QString opened = n > 0 ? QFile::decodeName(QByteArray(real, qsizetype(n))) : QString();
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || opened.isEmpty() ||
        !opened.startsWith(root + u'/') || opened.mid(root.size() + 1).contains(u'/')) {
        ::close(fd);
        return -1;
    }
    if (fileName)
        *fileName = opened;
    return fd;
}

QByteArray ContentTypeOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg"))
        return "image/jpeg";
    if (suffix == QStringLiteral("png"))
        return "image/png";
    if (suffix == QStringLiteral("gif"))
        return "image/gif";
    if (suffix == QStringLiteral("htm") || suffix == QStringLiteral("html"))
        return "text/html; charset=utf-8";
    if (suffix == QStringLiteral("txt"))
        return "text/plain; charset=utf-8";
    if (suffix == QStringLiteral("pdf"))
        return "application/pdf";
    return "application/octet-stream";
}
