#pragma once
// The front panel's link to the web-server program: a TCP client on the local machine that
// answers the server's line commands in the GUI thread, as the socket's data arrive.
//
// Before any command the two prove to each other that they share the secret of the link
// (WebLinkSecurity.h); a peer that does not is told to the user once and gets nothing: no
// caption, no page, no click. The pictures go into the link's own data folder, never into a
// folder the peer names.
//
//   "Name?"      + data folder line   -> caption, client number; then reads the new number
//   "Action!"    + request + action   -> the root page dispatches the request
//   "ShutDown!"                       -> the link stops
//   "FPL=<n>"    + element path line  -> line count and the page's HTML lines; then reads
//                                        the page token
//
// A connection that is refused starts the server program once; connecting is retried with a
// growing pause while the link is up. Numbers the server sends that are no numbers are
// ignored and the link stays up.

#include "frontpanel/web/WebProtocol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QTcpSocket;
class QTimer;
class TFrontplatte;

struct TWebLinkConfig {
    quint16 Port = kWebLinkPort;
    // The folder for the pictures (its "TempFiles") and the link's secret; empty: the default.
    QString DataFolder;
    // How long a connected peer may take to prove itself.
    int HandshakeTimeoutMs = 5000;
    // Starts the server program; default: a process of this program's that ends with it
    // (EndLaunchedWebServers).
    std::function<bool(const QString& program, const QStringList& arguments)> Launch;
    int FirstRetryMs = 250;
    int LongestRetryMs = 5000;
};
TWebLinkConfig& WebLinkConfig();
void ResetWebLinkConfig();

// Ends the server programs this program has started (at its end), and the process numbers of
// those still running.
void EndLaunchedWebServers();
QList<qint64> LaunchedWebServers();

class TWebLink : public QObject {
public:
    TWebLink(TFrontplatte* panel, const QString& serverProgram);
    ~TWebLink() override;

    // Connects (and launches the server program once when the connection is refused).
    void Start();
    // Disconnects for good; no more lines are handled.
    void Close();
    // Connected to a peer that proved it is the server.
    bool Connected() const;
    // The data folder pictures go to.
    QString DataFolder() const;
    // Whether the server program was launched by this link.
    bool Launched() const { return m_launched; }

    // Set by an action: the next page head refreshes after 5 s once.
    bool RefreshOnce = false;

    // The HTML head lines of a whole page.
    void WriteHtmlHead(QStringList& lines, int32_t refreshSeconds);

private:
    enum class TExpect {
        Hello, HelloProof, Command, NameFolder, NameNumber, ActionRequest, ActionNumber,
        PagePath, PageToken
    };

    void ReadLines();
    void HandleLine(const QString& line);
    // The handshake; false when the peer failed it (the connection is dropped then).
    bool HandleHello(const QByteArray& line);
    void RefusePeer();
    void ReportOnce(const QString& text);
    void SendLine(const QString& line);
    void AnswerName(const QString& folder);
    void AfterName();
    void AnswerPage(const QString& path);
    void ConnectionFailed();
    void ScheduleRetry();

    TFrontplatte* m_panel;
    QString m_program;
    QTcpSocket* m_socket = nullptr;
    QTimer* m_retry = nullptr;
    QTimer* m_handshake = nullptr;
    QByteArray m_secret;
    QByteArray m_serverNonce;
    QByteArray m_panelNonce;
    bool m_reported = false;
    int m_retryMs = 0;
    bool m_launched = false;
    bool m_closed = false;
    TExpect m_expect = TExpect::Command;
    int32_t m_page = 0;
    QString m_request;
    QByteArray m_buffer;
};
