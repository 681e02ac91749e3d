// What comes from the network: an HTTP request head as the web server reads it (request
// line, target, query values, a picture name inside the data folder), and a browser's query
// as the front panel splits it into names and values.

#include "FuzzSupport.h"

#include "HttpRequest.h"
#include "frontpanel/web/WebPublishing.h"

#include <QDir>
#include <QTemporaryDir>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const bool made = QDir().mkpath(folder.filePath(QStringLiteral("TempFiles")));
    (void)made;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    THttpRequest request;
    if (ParseHttpRequest(bytes, request) == THttpParse::Complete) {
        HttpQueryValue(request.Query, QStringLiteral("FPLNo"));
        HttpQueryValue(request.Query, QStringLiteral("Action"));
        if (const int fd = OpenTempFile(folder.path(), request.Path); fd >= 0)
            ::close(fd);
    }
    if (const int fd = OpenTempFile(folder.path(), bytes); fd >= 0)
        ::close(fd);
    ParseWebRequest(QString::fromUtf8(bytes));
    WebPictureName(QString::fromUtf8(bytes));
    return 0;
}
