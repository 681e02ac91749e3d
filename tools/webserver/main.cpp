// The web-server program of the published front panel: tvwebserver [--link-port N]
// [--http-port N] [--bind ADDRESS] [--data FOLDER] [--secret-file FILE]. It prints the ports it
// listens on, one per line ("link-port N", "http-port N"), and serves until it is ended. The
// link's secret is read from the file (made when missing; by default "link.key" in the data
// folder, where the front panel looks for it too).

#include "WebServer.h"

#include "frontpanel/web/WebLinkSecurity.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tvwebserver"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves the published Tavrinol front panel."));
    parser.addHelpOption();
    const QCommandLineOption linkPort(QStringLiteral("link-port"),
                                      QStringLiteral("Port of the front panel's link (0: any)."),
                                      QStringLiteral("port"), QString::number(kWebLinkPort));
    const QCommandLineOption httpPort(QStringLiteral("http-port"),
                                      QStringLiteral("Port for browsers (0: any)."),
                                      QStringLiteral("port"), QStringLiteral("8080"));
    const QCommandLineOption bind(QStringLiteral("bind"),
                                  QStringLiteral("Address browsers reach the server on."),
                                  QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Data folder (pictures in its TempFiles)."),
                                  QStringLiteral("folder"));
    const QCommandLineOption secretFile(QStringLiteral("secret-file"),
                                        QStringLiteral("File of the link's secret (default: "
                                                       "link.key in the data folder)."),
                                        QStringLiteral("file"));
    parser.addOptions({linkPort, httpPort, bind, data, secretFile});
    parser.process(app);

    TWebServerOptions options;
    bool okLink = false;
    bool okHttp = false;
    const uint link = parser.value(linkPort).toUInt(&okLink);
    const uint http = parser.value(httpPort).toUInt(&okHttp);
    if (!okLink || !okHttp || link > 65535 || http > 65535 ||
        !options.Bind.setAddress(parser.value(bind))) {
        std::fprintf(stderr, "tvwebserver: invalid port or address\n");
        return 2;
    }
    options.LinkPort = static_cast<quint16>(link);
    options.HttpPort = static_cast<quint16>(http);
    options.DataFolder = parser.value(data);
    if (options.DataFolder.isEmpty())
        options.DataFolder = DefaultWebDataFolder();
    options.DataFolder = QDir(options.DataFolder).absolutePath() + u'/';
    const QString secret = parser.isSet(secretFile) ? parser.value(secretFile)
                                                    : WebLinkSecretFile(options.DataFolder);
    QString reason;
    switch (LoadOrCreateWebLinkSecret(secret, &options.Secret, &reason)) {
    case TWebSecretFault::None:
        break;
    case TWebSecretFault::Unsafe:
        std::fprintf(stderr, "tvwebserver: %s is not a file of yours that only you may read\n",
                     qPrintable(secret));
        return 1;
    default:
        std::fprintf(stderr, "tvwebserver: cannot use the secret file %s: %s\n", qPrintable(secret),
                     qPrintable(reason));
        return 1;
    }

    TWebServer server(options);
    QString error;
    if (!server.Listen(&error)) {
        std::fprintf(stderr, "tvwebserver: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("link-port %u\nhttp-port %u\n", server.LinkPort(), server.HttpPort());
    std::fflush(stdout);
    return app.exec();
}
