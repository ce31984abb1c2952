#include "commandline.h"

#include "productinfo.h"

#include <QCommandLineParser>

std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Qiv, a small TOC2 instant-messaging client."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("The TOC server \"Sign On\" connects to (default 127.0.0.1:%1).").arg(ServerAddress::DefaultPort),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption updateOption(
        QStringLiteral("update-url"),
        QStringLiteral("Where \"Check for updates\" asks (default %1).").arg(ProductInfo::DefaultUpdateUrl),
        QStringLiteral("URL"), ProductInfo::DefaultUpdateUrl);
    parser.addOption(serverOption);
    parser.addOption(updateOption);
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }

    CommandLine line;
    if (parser.isSet(serverOption)) {
        const QString value = parser.value(serverOption);
        const auto server = ServerAddress::parse(value);
        if (!server) {
            error = QStringLiteral("--server: \"%1\" is not HOST or HOST:PORT with a port from 1 to 65535.").arg(value);
            return std::nullopt;
        }
        line.server = *server;
    }
    const QString url = parser.value(updateOption);
    line.updateUrl = QUrl(url, QUrl::StrictMode);
    const QString scheme = line.updateUrl.scheme();
    if (!line.updateUrl.isValid() || line.updateUrl.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        error = QStringLiteral("--update-url: \"%1\" is not an http:// or https:// address.").arg(url);
        return std::nullopt;
    }
    return line;
}
