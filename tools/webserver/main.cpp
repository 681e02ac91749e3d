// The web-server program of the published front panel: tvwebserver [--link-port N]
// [--http-port N] [--bind ADDRESS] [--data FOLDER]. It prints the ports it listens on, one
// per line ("link-port N", "http-port N"), and serves until it is ended.

#include "WebServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
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
    parser.addOptions({linkPort, httpPort, bind, data});
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
    if (options.DataFolder.isEmpty()) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (base.isEmpty())
            base = QDir::tempPath();
        options.DataFolder = QDir(base).filePath(QStringLiteral("TvWebServer10"));
    }
    options.DataFolder = QDir(options.DataFolder).absolutePath() + u'/';

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
