#pragma once
// The "Internet Update" window: asks the update server whether a newer package of the program
// exists (date and size from the server's listing), downloads it into the user's download
// folder, checks it against the SHA-256 checksum published beside it ("<name>.sha256") and
// tells the user where it lies. The program never runs what it downloads.
//
// Server layout under ServerUrl: "LISTING.TXT" with one line per file, the date first
// (month-day-year, two digits each, one separator between), then the time, the size
// right-aligned ending before the name, then the name (the listing style of FTP servers);
// the files themselves and their checksum files.

#include <QDate>
#include <QDialog>
#include <QString>
#include <QUrl>

class QCheckBox;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QWidget;

class TIUpdater : public QDialog {
public:
    explicit TIUpdater(QWidget* parent = nullptr);
    ~TIUpdater() override;

    // The server's update folder.
    static const char* const kDefaultServer;
    static constexpr int kTimeoutMs = 15000;

    QUrl ServerUrl;
    QString ProgramFileName;
    QDate ProgramDate;          // date of the program file
    QString UpdateFileName;     // set by the main window
    QDate UpdateDate;
    qint64 UpdateSize = 0;
    bool Cancelled = false;
    QString DownloadFolder;     // where downloads go (the user's download folder)
    QString DownloadedFile;     // the file of the last good download

    QWidget* Panel1;
    QLabel* Label2;
    QLabel* L_PrgDatum;
    QLabel* Label3;
    QLabel* L_UpdateDatum;
    QLabel* Label1;
    QLabel* L_UpdateSize;
    QLabel* L_Status;
    QPushButton* B_SucheUpdates;
    QPushButton* B_Download;
    QProgressBar* ProgressBar;
    QPushButton* B_DownloadAbbruch;
    QPushButton* B_Beenden;
    QCheckBox* cb_Auto;

    void TranslateCaptions();
    // Reads the listing; true when it names the update file (date and size taken from the first
    // line that does). A connection failure is reported and reads as no listing.
    bool ReadListing();
    // The listing line for the update file parsed; false when no line names it. A line whose
    // date or size is not a number is reported and ends the search.
    bool ParseListing(const QString& listing);
    bool IsUpdateAvailable();
    void B_SucheUpdatesClick();
    // Downloads, verifies and keeps the update file; true when it is in DownloadFolder.
    bool B_DownloadClick();
    void B_DownloadAbbruchClick();

private:
    // GET of a file under ServerUrl; the body, or an error text in *error. With progress the
    // bar follows the transfer and the cancel button aborts it.
    QByteArray Fetch(const QString& name, bool progress, QString* error);
    void SetStatus(const QColor& colour, const QString& text);

    QNetworkAccessManager* m_network;
    QNetworkReply* m_transfer = nullptr;  // the download going on
};

// The SHA-256 of a checksum file's text: its first word when it is 64 hexadecimal digits
// (lower case), else empty.
QString ChecksumFromText(const QByteArray& text);
