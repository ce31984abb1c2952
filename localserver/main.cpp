// qiv-localserver: a small TOC2 network on this machine, to try Qiv on.

#include "tocserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qiv-localserver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QIV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A local TOC2 network to try Qiv on: accounts are made at first sign-on and kept "
                       "until the server stops; the buddy QivBot is always online and waits in the room "
                       "\"lobby\".\nIt listens on 127.0.0.1 (this machine only) unless --listen says otherwise. "
                       "It is a sandbox and a test peer, not a server for a real network."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port to listen on (default 5190; 0 picks a free port)."),
                                        QStringLiteral("port"), QString::number(TocServer::DefaultPort));
    const QCommandLineOption listenOption(
        QStringLiteral("listen"), QStringLiteral("Address to listen on (default 127.0.0.1, this machine only)."),
        QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption maxConnectionsOption(
        QStringLiteral("max-connections"),
        QStringLiteral("Connections served at once; more are hung up (default %1).")
            .arg(TocServer::DefaultMaxConnections),
        QStringLiteral("count"), QString::number(TocServer::DefaultMaxConnections));
    parser.addOption(portOption);
    parser.addOption(listenOption);
    parser.addOption(maxConnectionsOption);
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "qiv-localserver: not a port number: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }
    const QHostAddress address(parser.value(listenOption));
    if (address.isNull()) {
        std::fprintf(stderr, "qiv-localserver: not an address: %s\n", qPrintable(parser.value(listenOption)));
        return 2;
    }

    bool countOk = false;
    const int maxConnections = parser.value(maxConnectionsOption).toInt(&countOk);
    if (!countOk || maxConnections < 1) {
        std::fprintf(stderr, "qiv-localserver: not a connection count: %s\n",
                     qPrintable(parser.value(maxConnectionsOption)));
        return 2;
    }

    TocServer server;
    server.setMaxConnections(maxConnections);
    if (!server.listen(address, quint16(port))) {
        std::fprintf(stderr, "qiv-localserver: cannot listen on %s:%u: %s\n", qPrintable(address.toString()), port,
                     qPrintable(server.errorString()));
        return 1;
    }
    // Scripts read this one line to learn the port.
    std::printf("listening on %s:%u\n", qPrintable(server.serverAddress().toString()), unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
