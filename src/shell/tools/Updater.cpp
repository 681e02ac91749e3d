#include "shell/tools/Updater.h"

#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "ui/WidgetHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

const char* const TIUpdater::kDefaultServer = "https://update.tavrinol.example/UPDATE/";

namespace {

QString ShortDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString ErrorWord()
{
    return Lang3Q("Update", "Update", "Mise à jour");
}

} // namespace

QString ChecksumFromText(const QByteArray& text)
{
    const QString word = QString::fromLatin1(text).simplified().section(u' ', 0, 0).toLower();
    if (word.size() != 64)
        return {};
    for (QChar c : word)
        if (!c.isDigit() && (c < u'a' || c > u'f'))
            return {};
    return word;
}

TIUpdater::TIUpdater(QWidget* parent)
    : QDialog(parent)
    , ServerUrl(QString::fromLatin1(kDefaultServer))
    , m_network(new QNetworkAccessManager(this))
{
    setObjectName(QStringLiteral("IUpdater"));
    setWindowTitle(QStringLiteral("Internet Update"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);

    Panel1 = Named(new QWidget(this), "Panel1");
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    Panel1->setPalette(black);
    auto* grid = new QGridLayout(Panel1);
    auto silver = [this](const char* name, const QString& text) {
        auto* label = Named(new QLabel(text, Panel1), name);
        label->setStyleSheet(QStringLiteral("color: silver;"));
        return label;
    };
    Label2 = silver("Label2", QStringLiteral("Aktuelle Programmversion vom:"));
    L_PrgDatum = silver("L_PrgDatum", QStringLiteral("???"));
    Label3 = silver("Label3", QStringLiteral("Verfügbares Update vom:"));
    L_UpdateDatum = silver("L_UpdateDatum", QStringLiteral("???"));
    Label1 = silver("Label1", QStringLiteral("Dateigrösse:"));
    L_UpdateSize = silver("L_UpdateSize", QStringLiteral("???"));
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(L_PrgDatum, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(L_UpdateDatum, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(L_UpdateSize, 2, 1);
    L_Status = Named(new QLabel(Panel1), "L_Status");
    L_Status->setAlignment(Qt::AlignCenter);
    grid->addWidget(L_Status, 3, 0, 1, 2);
    layout->addWidget(Panel1);

    B_SucheUpdates = Named(new QPushButton(QStringLiteral("&Suche nach verfügbarem Update..."), this),
                           "B_SucheUpdates");
    B_Download = Named(new QPushButton(QStringLiteral("&Update starten..."), this), "B_Download");
    B_Download->setEnabled(false);
    layout->addWidget(B_SucheUpdates);
    layout->addWidget(B_Download);
    auto* row = new QHBoxLayout;
    ProgressBar = Named(new QProgressBar(this), "ProgressBar");
    ProgressBar->setTextVisible(false);
    B_DownloadAbbruch = Named(new QPushButton(QStringLiteral("&Abbrechen"), this), "B_DownloadAbbruch");
    B_DownloadAbbruch->setEnabled(false);
    row->addWidget(ProgressBar, 1);
    row->addWidget(B_DownloadAbbruch);
    layout->addLayout(row);
    cb_Auto = Named(new QCheckBox(QStringLiteral("Au&tomatisch benachrichtigen"), this), "cb_Auto");
    cb_Auto->hide();
    layout->addWidget(cb_Auto);
    B_Beenden = Named(new QPushButton(QStringLiteral("&Beenden"), this), "B_Beenden");
    layout->addWidget(B_Beenden);

    connect(B_SucheUpdates, &QPushButton::clicked, this, [this] { B_SucheUpdatesClick(); });
    connect(B_Download, &QPushButton::clicked, this, [this] { B_DownloadClick(); });
    connect(B_DownloadAbbruch, &QPushButton::clicked, this, [this] { B_DownloadAbbruchClick(); });
    connect(B_Beenden, &QPushButton::clicked, this, &QDialog::reject);

    TranslateCaptions();
    ProgramFileName = QCoreApplication::applicationFilePath();
    ProgramDate = QFileInfo(ProgramFileName).lastModified().date();
    L_PrgDatum->setText(ShortDate(ProgramDate));
    DownloadFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (DownloadFolder.isEmpty())
        DownloadFolder = QDir::homePath();
}

TIUpdater::~TIUpdater()
{
    if (m_transfer)
        m_transfer->abort();
}

void TIUpdater::TranslateCaptions()
{
    const int lang = Ctx().CurrentLanguage;
    if (lang == 0)
        return;
    const bool en = lang == 1;
    if (!en)
        setWindowTitle(QStringLiteral("Mise à jour Internet"));
    Label2->setText(en ? QStringLiteral("Current version from:") : QStringLiteral("Version courante du:"));
    Label3->setText(en ? QStringLiteral("Available update from:") : QStringLiteral("Version disponible:"));
    Label1->setText(en ? QStringLiteral("Filesize:") : QStringLiteral("Taille du fichier:"));
    B_SucheUpdates->setText(en ? QStringLiteral("&Search for update...")
                               : QStringLiteral("&Recherche d´une mise à jour..."));
    B_Download->setText(en ? QStringLiteral("Start &update...")
                           : QStringLiteral("&Début de la mise à jour..."));
    B_DownloadAbbruch->setText(en ? QStringLiteral("C&ancel") : QStringLiteral("&Annuler"));
    B_Beenden->setText(en ? QStringLiteral("&Close") : QStringLiteral("&Fermer"));
    cb_Auto->setText(en ? QStringLiteral("Au&tomatic notification")
                        : QStringLiteral("&Information automatique"));
}

QByteArray TIUpdater::Fetch(const QString& name, bool progress, QString* error)
{
    QNetworkRequest request(ServerUrl.resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(name)))));
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = m_network->get(request);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (progress) {
        m_transfer = reply;
        connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
            ProgressBar->setMaximum(int(std::clamp<qint64>(total > 0 ? total : UpdateSize, 1, INT_MAX)));
            ProgressBar->setValue(int(std::clamp<qint64>(received, 0, INT_MAX)));
        });
    }
    if (!reply->isFinished())
        loop.exec();
    m_transfer = nullptr;
    QByteArray body;
    if (reply->error() == QNetworkReply::NoError)
        body = reply->readAll();
    else if (error)
        *error = reply->errorString();
    const bool failed = reply->error() != QNetworkReply::NoError;
    reply->deleteLater();
    if (failed && error && error->isEmpty())
        *error = QStringLiteral("?");
    return body;
}

bool TIUpdater::ReadListing()
{
    QString error;
    const QByteArray listing = Fetch(QStringLiteral("LISTING.TXT"), false, &error);
    if (!error.isEmpty()) {
        MessageBoxText(Lang3Q("Es kann keine Verbindung zum Server aufgebaut werden.",
                              "Can´t connect to the server.", "Can´t connect to the server.") +
                           QStringLiteral("\n") + error,
                       QStringLiteral("Update"), mbOK, mtError);
        return false;
    }
    return ParseListing(QString::fromUtf8(listing));
}

bool TIUpdater::ParseListing(const QString& listing)
{
    const QString wanted = UpdateFileName.toLower();
    if (wanted.isEmpty())
        return false;
    const QStringList lines = listing.split(u'\n');
    for (QString line : lines) {
        line.remove(u'\r');
        const qsizetype p = line.toLower().indexOf(wanted);  // 0-based start of the name
        if (p < 0)
            continue;
        bool okDay = false, okMonth = false, okYear = false, okSize = false;
        const int month = line.mid(0, 2).toInt(&okMonth);
        const int day = line.mid(3, 2).toInt(&okDay);
        const int year = 2000 + line.mid(6, 2).toInt(&okYear);
        const qint64 size = p > 24 ? line.mid(24, p - 24).trimmed().toLongLong(&okSize) : 0;
        const QDate date(year, month, day);
        if (!okDay || !okMonth || !okYear || !okSize || !date.isValid() || size < 0) {
            MessageBoxText(Lang3Q("Die Liste des Servers ist nicht lesbar: ",
                                  "The server's listing cannot be read: ",
                                  "La liste du serveur est illisible : ") +
                               line,
                           ErrorWord(), mbOK, mtError);
            return false;
        }
        UpdateDate = date;
        UpdateSize = size;
        return true;
    }
    return false;
}

bool TIUpdater::IsUpdateAvailable()
{
    return ReadListing() && UpdateDate > ProgramDate;
}

void TIUpdater::SetStatus(const QColor& colour, const QString& text)
{
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::WindowText, colour);
    Panel1->setPalette(palette);
    L_Status->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    L_Status->setText(text);
}

void TIUpdater::B_SucheUpdatesClick()
{
    B_SucheUpdates->setEnabled(false);
    B_Download->setEnabled(false);
    const bool found = ReadListing();
    if (found) {
        L_UpdateDatum->setText(ShortDate(UpdateDate));
        L_UpdateSize->setText(QString::number(qRound64(double(UpdateSize) / 1024.0)) +
                              QStringLiteral(" kB"));
    } else {
        L_UpdateDatum->setText(QStringLiteral("???"));
        L_UpdateSize->setText(QStringLiteral("???"));
    }
    B_Download->setEnabled(found);
    B_SucheUpdates->setEnabled(true);
    if (!found)
        return;
    if (UpdateDate > ProgramDate)
        SetStatus(QColor(255, 128, 128),
                  Lang3Q("Aktualisierung empfohlen!", "Update recommended!", "Mise à jour recommandé!"));
    else
        SetStatus(QColor(179, 255, 179),
                  Lang3Q("+++ aktuell +++", "+++ up-to-date +++", "+++ à jour +++"));
}

bool TIUpdater::B_DownloadClick()
{
    Cancelled = false;
    DownloadedFile.clear();
    B_SucheUpdates->setEnabled(false);
    B_Download->setEnabled(false);
    B_Beenden->setEnabled(false);
    B_DownloadAbbruch->setEnabled(true);
    // Whatever ends the transfer, the window can be used again.
    const auto buttons = qScopeGuard([this] {
        Cancelled = false;
        B_SucheUpdates->setEnabled(true);
        B_Download->setEnabled(true);
        B_Beenden->setEnabled(true);
        B_DownloadAbbruch->setEnabled(false);
    });
    ProgressBar->setRange(0, int(std::clamp<qint64>(UpdateSize, 1, INT_MAX)));
    ProgressBar->setValue(0);

    const auto fail = [](const QString& text) {
        MessageBoxText(text, ErrorWord(), mbOK, mtError);
        return false;
    };
    QString error;
    const QByteArray data = Fetch(UpdateFileName, true, &error);
    if (Cancelled)
        return false;
    if (!error.isEmpty())
        return fail(Lang3Q("Das Update konnte nicht geladen werden.\n",
                           "The update could not be downloaded.\n",
                           "La mise à jour n'a pas pu être téléchargée.\n") +
                    error);
    const QByteArray checksumText = Fetch(UpdateFileName + QStringLiteral(".sha256"), false, &error);
    const QString expected = ChecksumFromText(checksumText);
    if (!error.isEmpty() || expected.isEmpty())
        return fail(Lang3Q("Zum Update gibt es keine lesbare Prüfsumme; es wird nicht gespeichert.",
                           "The update has no readable checksum; it is not saved.",
                           "La mise à jour n'a pas de somme de contrôle lisible ; elle n'est pas "
                           "enregistrée."));
    const QString actual =
        QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
    if (actual != expected)
        return fail(Lang3Q("Die Prüfsumme des Updates stimmt nicht; die Datei ist beschädigt oder "
                           "verändert und wird nicht gespeichert.",
                           "The update's checksum does not match; the file is damaged or altered "
                           "and is not saved.",
                           "La somme de contrôle de la mise à jour ne correspond pas ; le fichier "
                           "est endommagé ou modifié et n'est pas enregistré."));

    const QString target = QDir(DownloadFolder).filePath(QFileInfo(UpdateFileName).fileName());
    QString writeError;
    if (!WriteWholeFile(target, data, &writeError))
        return fail(Lang3Q("Das Update konnte nicht gespeichert werden: ",
                           "The update could not be saved: ",
                           "La mise à jour n'a pas pu être enregistrée : ") +
                    QDir::toNativeSeparators(target) + u'\n' + writeError);
    DownloadedFile = target;
    ProgressBar->setValue(ProgressBar->maximum());
    MessageBoxText(Lang3Q("Das Update wurde geprüft und gespeichert:\n",
                          "The update was verified and saved:\n",
                          "La mise à jour a été vérifiée et enregistrée :\n") +
                       QDir::toNativeSeparators(target) +
                       Lang3Q("\n\nBeenden Sie das Programm, bevor Sie es installieren.",
                              "\n\nClose the program before you install it.",
                              "\n\nQuittez le programme avant de l'installer."),
                   ErrorWord(), mbOK, mtInformation);
    return true;
}

void TIUpdater::B_DownloadAbbruchClick()
{
    Cancelled = true;
    ProgressBar->setValue(0);
    if (m_transfer)
        m_transfer->abort();
}
