// Shared values, names and the request parser of the published pages.

#include "frontpanel/web/WebPublishing.h"

#include <QDir>
#include <QUrl>

TWebState& WebState()
{
    static TWebState state;
    return state;
}

void ResetWebState()
{
    WebState() = TWebState();
}

QString HtmlText(const QString& text)
{
    return text.toHtmlEscaped();
}

QString WebPictureName(const QString& webName)
{
    QString name = webName;
    for (QChar& c : name)
        if (c == u':' || c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u' ';
    if (name == QStringLiteral(".") || name == QStringLiteral(".."))
        name = QStringLiteral("_");
    return name;
}

QString WebTempFolder()
{
    if (WebState().DataFolder.isEmpty())
        return QString();
    return QDir(WebState().DataFolder).filePath(QStringLiteral("TempFiles"));
}

QString WebPictureFile(const QString& webName)
{
    const QString folder = WebTempFolder();
    if (folder.isEmpty())
        return QString();
    return QDir(folder).filePath(WebPictureName(webName) + QStringLiteral(".jpg"));
}

QString WebTempFileUrl(const QString& fileName)
{
    return QStringLiteral("/TempFiles/") + QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

QString WebPictureUrl(const QString& webName)
{
    return WebTempFileUrl(WebPictureName(webName) + QStringLiteral(".jpg"));
}

namespace {

QString DecodeQueryText(QString text)
{
    text.replace(u'+', u' ');
    return QUrl::fromPercentEncoding(text.toUtf8());
}

}  // namespace

std::vector<TWebRequestPair> ParseWebRequest(const QString& request)
{
    std::vector<TWebRequestPair> pairs;
    if (request.toUtf8().size() > kWebLongestRequest)
        return pairs;
    qsizetype start = 0;
    while (start <= request.size()) {
        qsizetype end = request.indexOf(u'&', start);
        if (end < 0)
            end = request.size();
        QStringView part = QStringView(request).mid(start, end - start);
        start = end + 1;
        const qsizetype at = part.indexOf(QStringLiteral("MainModul"));
        if (at > 0)
            part = part.mid(at);
        part = part.left(kWebRequestPartLength);
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf(u'=');
        const QStringView name = eq < 0 ? part : part.left(eq);
        const QStringView value = eq < 0 ? QStringView() : part.mid(eq + 1);
        pairs.emplace_back(DecodeQueryText(name.toString()), DecodeQueryText(value.toString()));
    }
    return pairs;
}

bool ParseWebNumber(const QString& text, int32_t& number)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok)
        number = value;
    return ok;
}
