#pragma once
// A small browser view: shows the page at an address inside the program. Web pages are fetched
// with Qt Network and shown as rich text (no scripts, no pictures from the net); local files
// are read directly. Links on a shown page open in the same view. A page that cannot be
// fetched shows why, in the current language.

#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

class TWebView : public QTextBrowser {
    Q_OBJECT
public:
    explicit TWebView(QWidget* parent = nullptr);
    ~TWebView() override;

    // Opens the address; a text without a scheme counts as a web address ("www.example.com").
    // An empty text clears the view.
    void Navigate(const QString& address);
    // The address shown or being fetched (empty when none).
    QUrl Address() const { return m_address; }
    // Whether a page is being fetched.
    bool Loading() const { return m_reply != nullptr; }

    // Longest wait for a page.
    static constexpr int kTimeoutMs = 20000;

signals:
    // A page (or the message why it could not be shown) is in the view.
    void PageShown(const QUrl& address, bool ok);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void Open(const QUrl& url);
    void Finished(QNetworkReply* reply);
    void ShowFailure(const QString& reason);
    void AbortPending();

    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    QUrl m_address;
};
