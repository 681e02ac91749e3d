#include "widgets/WebView.h"

#include "platform/Context.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

namespace {

// Largest page taken into the view; the rest of a longer one is cut off.
constexpr qint64 kMaxPageBytes = 8 * 1024 * 1024;

QString DecodePage(const QByteArray& bytes, const QString& contentType)
{
    const int at = contentType.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const QString name = contentType.mid(at + 8).section(u';', 0, 0).trimmed().remove(u'"');
        QStringDecoder decoder(name.toLatin1().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    // The page's own meta tag or the UTF-8 default.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return decoder.isValid() ? QString(decoder.decode(bytes)) : QString::fromUtf8(bytes);
}

} // namespace

TWebView::TWebView(QWidget* parent) : QTextBrowser(parent), m_network(new QNetworkAccessManager(this))
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        Open(m_address.resolved(link));
    });
    connect(m_network, &QNetworkAccessManager::finished, this, &TWebView::Finished);
}

TWebView::~TWebView()
{
    AbortPending();
}

void TWebView::Navigate(const QString& address)
{
    const QString text = address.trimmed();
    if (text.isEmpty()) {
        AbortPending();
        m_address.clear();
        clear();
        return;
    }
    Open(QUrl::fromUserInput(text));
}

void TWebView::AbortPending()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void TWebView::Open(const QUrl& url)
{
    AbortPending();
    m_address = url;
    if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly)) {
            ShowFailure(file.errorString());
            return;
        }
        const QByteArray bytes = file.read(kMaxPageBytes);
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
            setHtml(DecodePage(bytes, QString()));
        else
            setPlainText(QString::fromUtf8(bytes));
        emit PageShown(url, true);
        return;
    }
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
        ShowFailure(Lang3Q("Diese Adresse kann hier nicht geöffnet werden.",
                           "This address cannot be opened here.",
                           "Cette adresse ne peut pas être ouverte ici."));
        return;
    }
    setHtml(QStringLiteral("<p>%1</p>").arg(
        Lang3Q("Seite wird geladen ...", "Loading page ...", "Chargement de la page ...")
            .toHtmlEscaped()));
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kTimeoutMs);
    m_reply = m_network->get(request);
}

void TWebView::Finished(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return; // an aborted request
    m_reply = nullptr;
    if (reply->error() != QNetworkReply::NoError) {
        ShowFailure(reply->errorString());
        return;
    }
    m_address = reply->url();
    const QByteArray bytes = reply->read(kMaxPageBytes);
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    if (type.startsWith(QLatin1String("text/html"), Qt::CaseInsensitive) || type.isEmpty())
        setHtml(DecodePage(bytes, type));
    else if (type.startsWith(QLatin1String("text/"), Qt::CaseInsensitive))
        setPlainText(DecodePage(bytes, type));
    else
        setHtml(QStringLiteral("<p>%1</p>").arg(
            Lang3Q("Diese Seite ist kein Text (%1).", "This page is not text (%1).",
                   "Cette page n'est pas du texte (%1).")
                .arg(type)
                .toHtmlEscaped()));
    emit PageShown(m_address, true);
}

void TWebView::ShowFailure(const QString& reason)
{
    setHtml(QStringLiteral("<p><b>%1</b></p><p>%2</p><p>%3</p>")
                .arg(Lang3Q("Die Seite kann nicht angezeigt werden.", "The page cannot be shown.",
                            "La page ne peut pas être affichée.")
                         .toHtmlEscaped(),
                     m_address.toDisplayString().toHtmlEscaped(), reason.toHtmlEscaped()));
    emit PageShown(m_address, false);
}

QVariant TWebView::loadResource(int type, const QUrl& name)
{
    // Pictures and style sheets of web pages are not fetched; local ones are.
    const QUrl url = m_address.resolved(name);
    if (url.isLocalFile())
        return QTextBrowser::loadResource(type, url);
    return QVariant();
}
