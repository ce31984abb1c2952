#include "commandline.h"

#include "productinfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
// QGuiApplication and QApplication read these themselves; with one dash or
// two, a value as the next argument or after "=".
const QStringList QtOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("title"),
    QStringLiteral("qwindowicon"),     QStringLiteral("icon"),
    QStringLiteral("session"),         QStringLiteral("display"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
};
const QStringList QtFlags = {
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),        QStringLiteral("dograb"),
    QStringLiteral("sync"),    QStringLiteral("testability"), QStringLiteral("qmljsdebugger"),
};

// The option's name without dashes and value, or empty for a plain argument.
QString optionName(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-')))
        return QString();
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(QLatin1Char('='), 0, 0);
}

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const QString name = i == 0 ? QString() : optionName(argument);
        if (QtFlags.contains(name))
            continue;
        if (QtOptionsWithValue.contains(name)) {
            if (!argument.contains(QLatin1Char('=')))
                ++i; // its value
            continue;
        }
        kept << argument;
    }
    return kept;
}
} // namespace

bool windowSystemGiven(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (optionName(argument) == QLatin1String("platform"))
            return true;
    }
    for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    return false;
}

std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Qiv, a small TOC2 instant-messaging client."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("The TOC server \"Sign On\" connects to (default: the one remembered, else 127.0.0.1:%1).")
            .arg(ServerAddress::DefaultPort),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption updateOption(
        QStringLiteral("update-url"),
        QStringLiteral("Where \"Check for updates\" asks (default %1).").arg(ProductInfo::DefaultUpdateUrl),
        QStringLiteral("URL"), ProductInfo::DefaultUpdateUrl);
    const QCommandLineOption debugWireOption(
        QStringLiteral("debug-wire"),
        QStringLiteral("Logs every frame sent and received (the password masked) on standard error."));
    parser.addOption(serverOption);
    parser.addOption(updateOption);
    parser.addOption(debugWireOption);
    if (!parser.parse(withoutQtOptions(arguments))) {
        error = parser.errorText();
        return std::nullopt;
    }
    CommandLine line;
    const bool help = parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"));
    if (help || parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Action::PrintAndExit;
        // Without an application object Qt cannot name the program itself.
        line.output = help ? parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("qiv"))
                           : QCoreApplication::applicationName() + QLatin1Char(' ')
                + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return line;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }

    if (parser.isSet(serverOption)) {
        const QString value = parser.value(serverOption);
        const auto server = ServerAddress::parse(value);
        if (!server) {
            error = QStringLiteral("--server: \"%1\" is not HOST or HOST:PORT with a port from 1 to 65535.").arg(value);
            return std::nullopt;
        }
        line.server = *server;
        line.serverGiven = true;
    }
    line.debugWire = parser.isSet(debugWireOption);
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
