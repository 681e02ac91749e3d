#pragma once
// The web server of the published front panel. It listens on two local ports: one for the
// front panel's line link (the front panel connects as a client) and one for browsers. A
// browser's page request becomes an "FPL=" exchange over the link, a click ("/Details") or a
// form ("/Submit") an "Action!" followed by a redirect back to the page, and "/TempFiles/"
// serves the pictures the front panel writes into the data folder. Link exchanges run one at
// a time, in the order the requests came; every exchange has a time limit.
//
// A front panel takes the link only once it proved that it knows the link's secret
// (WebLinkSecurity.h); until then it gets nothing and the panel linked before keeps the link.
// Browsers: a request head must arrive whole within RequestTimeoutMs and an answer be taken
// within ResponseTimeoutMs; when every connection is taken, the one that has waited longest
// for its request head makes room for the newcomer.

#include "frontpanel/web/WebProtocol.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>

class QTcpServer;
class QTcpSocket;
class QTimer;

struct TWebServerOptions {
    QHostAddress Bind = QHostAddress(QHostAddress::LocalHost);  // address browsers reach
    quint16 LinkPort = kWebLinkPort;  // the front panel's link (always on 127.0.0.1); 0 = any
    quint16 HttpPort = 8080;   // browsers; 0 = any
    QString DataFolder;        // pictures in its "TempFiles" subfolder
    QByteArray Secret;         // the link's secret; a front panel must prove it knows it
    int ExchangeTimeoutMs = 10000;  // also the time a front panel has to prove itself
    int RequestTimeoutMs = 10000;   // for a browser's whole request head
    int ResponseTimeoutMs = 30000;  // for a browser to take its answer
    int MostConnections = 64;
    int MostQueued = 64;
    int MostLinkCandidates = 8;     // front panels still to prove themselves
};

class TWebServer : public QObject {
    Q_OBJECT
public:
    // Limits on what the front panel may send for one page.
    static constexpr int kMostPageLines = 200000;
    static constexpr qsizetype kMostPageBytes = 32 * 1024 * 1024;

    explicit TWebServer(const TWebServerOptions& options, QObject* parent = nullptr);
    ~TWebServer() override;

    // Starts listening; false with a message when a port cannot be taken.
    bool Listen(QString* error = nullptr);
    quint16 LinkPort() const;
    quint16 HttpPort() const;
    QString DataFolder() const { return m_options.DataFolder; }

    bool PanelConnected() const;
    // The front panel's caption and number, known once it answered "Name?".
    QString PanelCaption() const { return m_caption; }
    int ClientNumber() const { return m_clientNumber; }
    // Asks the front panel to end its link.
    void SendShutDown();

signals:
    void PanelReady();          // the front panel answered "Name?"
    void PanelGone();           // the front panel's connection ended
    void ExchangeDone();        // one link exchange ended (answered, failed or timed out)

private:
    struct TExchange {
        enum Kind { Name, Page, Action } kind = Page;
        int page = 0;
        QString path;
        QByteArray request;
        int action = 0;
        QPointer<QTcpSocket> http;
        bool headOnly = false;
        QByteArray redirect;
    };

    void NewPanel();
    // A connection that has not proved itself yet: its handshake line.
    void CandidateData(QTcpSocket* socket);
    void AdoptPanel(QTcpSocket* socket, const QByteArray& rest);
    void DropPanel();
    void PanelData();
    void PanelLine(const QString& line);
    void SendLine(const QByteArray& line);
    void Queue(TExchange exchange);
    void StartNext();
    void Finish(int status, const QByteArray& type, const QByteArray& body);
    void TimedOut();

    void NewBrowser();
    // Makes room for one more browser: closes the connection that has waited longest for its
    // request head; false when every connection is past its head.
    bool EvictWaitingBrowser();
    void Respond(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body,
                 bool headOnly = false, const QByteArray& location = QByteArray());
    void BrowserData(QTcpSocket* socket);
    void Route(QTcpSocket* socket, const QByteArray& method, const QByteArray& path,
               const QByteArray& query);

    TWebServerOptions m_options;
    QTcpServer* m_linkServer = nullptr;
    QTcpServer* m_httpServer = nullptr;
    QTcpSocket* m_panel = nullptr;
    QByteArray m_panelBuffer;
    QString m_caption;
    int m_clientNumber = 0;
    int m_nextClient = 1;
    qint64 m_nextBrowser = 0;   // arrival order of browser connections

    std::deque<TExchange> m_queue;
    bool m_busy = false;
    TExchange m_current;
    int m_step = 0;             // lines of the current answer read so far
    int m_lineCount = -1;       // page lines announced
    QStringList m_lines;
    qsizetype m_pageBytes = 0;
    QTimer* m_timeout = nullptr;
};

// Writes a whole HTTP response and closes the connection once it is sent, or after timeoutMs
// when the browser does not take it.
void SendHttpResponse(QTcpSocket* socket, int status, const QByteArray& type,
                      const QByteArray& body, bool headOnly, const QByteArray& location,
                      int timeoutMs);
