// Reading the server address and the command line.

#include "commandline.h"
#include "printers.h"
#include "productinfo.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct AddressCase
{
    const char *text;
    bool valid;
    const char *host;
    int port;
};

TEST(ServerAddress, AcceptsHostsWithOptionalPortsAndRejectsTheRest)
{
    const AddressCase cases[] = {
        {"toc.example.net", true, "toc.example.net", 5190},
        {"toc.example.net:9898", true, "toc.example.net", 9898},
        {"127.0.0.1:1", true, "127.0.0.1", 1},
        {"localhost:65535", true, "localhost", 65535},
        {"[::1]:5191", true, "::1", 5191},
        {"[::1]", true, "::1", 5190},
        {"::1", true, "::1", 5190},
        {"", false, "", 0},
        {":5190", false, "", 0},
        {"host:", false, "", 0},
        {"host:0", false, "", 0},
        {"host:65536", false, "", 0},
        {"host:-1", false, "", 0},
        {"host:+80", false, "", 0},
        {"host:80x", false, "", 0},
        {"ho st", false, "", 0},
        {"[::1]x", false, "", 0},
        {"[toc]:80", false, "", 0},
        {"a:b:c", false, "", 0},
        {"http://host", false, "", 0},
    };
    for (const AddressCase &c : cases) {
        const auto address = ServerAddress::parse(QLatin1String(c.text));
        ASSERT_EQ(address.has_value(), c.valid) << c.text;
        if (!c.valid)
            continue;
        EXPECT_EQ(address->host, QLatin1String(c.host)) << c.text;
        EXPECT_EQ(address->port, c.port) << c.text;
    }
}

TEST(CommandLine, DefaultsToTheLocalServerAndExplainsBadValues)
{
    QString error;
    const auto defaults = parseCommandLine({QStringLiteral("qiv")}, error);
    ASSERT_TRUE(defaults.has_value());
    EXPECT_EQ(defaults->server.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(defaults->server.port, 5190);
    EXPECT_EQ(defaults->updateUrl, QUrl(ProductInfo::DefaultUpdateUrl));
    EXPECT_FALSE(defaults->debugWire);

    const auto given
        = parseCommandLine({QStringLiteral("qiv"), QStringLiteral("--server"), QStringLiteral("toc.test:9000"),
                            QStringLiteral("--update-url=http://127.0.0.1:8000/u"), QStringLiteral("--debug-wire")},
                           error);
    ASSERT_TRUE(given.has_value());
    EXPECT_EQ(given->server.host, QStringLiteral("toc.test"));
    EXPECT_EQ(given->server.port, 9000);
    EXPECT_EQ(given->updateUrl, QUrl(QStringLiteral("http://127.0.0.1:8000/u")));
    EXPECT_TRUE(given->debugWire);

    const QStringList bad[] = {
        {"qiv", "--server", "toc.test:70000"}, {"qiv", "--server"},         {"qiv", "--update-url", "ftp://toc.test/u"},
        {"qiv", "--update-url", "not a url"},  {"qiv", "--no-such-option"}, {"qiv", "stray"},
    };
    for (const QStringList &arguments : bad) {
        error.clear();
        EXPECT_FALSE(parseCommandLine(arguments, error).has_value()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, LeavesQtsOwnWindowSystemOptionsToQt)
{
    QString error;
    const auto line = parseCommandLine({"qiv", "-platform", "offscreen", "--style=fusion", "-reverse", "--server",
                                        "toc.test:9000", "-qwindowgeometry", "200x100"},
                                       error);
    ASSERT_TRUE(line.has_value()) << error.toStdString();
    EXPECT_EQ(line->server.port, 9000);
    EXPECT_TRUE(windowSystemGiven({"qiv", "-platform", "offscreen"}));
}

TEST(CommandLine, ATerminalWithoutADisplayStillGetsHelpVersionAndErrors)
{
    struct Run
    {
        QStringList arguments;
        int exitCode;
        const char *stdoutStart;
        const char *stderrLine;
    };
    const Run runs[] = {
        {{"--help"}, 0, "Usage: qiv [options]", ""},
        {{"--version"}, 0, "Qiv 1.0.0\n", ""},
        {{"--server", "toc.test:0"}, 2, "", "qiv: --server: \"toc.test:0\" is not HOST or HOST:PORT"},
        {{}, 1, "", "qiv: no display to open windows on"},
    };
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        console.remove(QString::fromLatin1(variable));
    for (const Run &run : runs) {
        SCOPED_TRACE(run.arguments.join(' ').toStdString());
        QProcess qiv;
        qiv.setProcessEnvironment(console);
        qiv.start(QStringLiteral(QIV_PROGRAM), run.arguments);
        ASSERT_TRUE(qiv.waitForFinished(10000));
        EXPECT_EQ(qiv.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(qiv.exitCode(), run.exitCode);
        EXPECT_TRUE(qiv.readAllStandardOutput().startsWith(run.stdoutStart));
        const QByteArray errors = qiv.readAllStandardError();
        EXPECT_TRUE(errors.startsWith(run.stderrLine)) << errors.toStdString();
        if (run.exitCode == 1) {
            EXPECT_EQ(errors.count('\n'), 1) << "one line, not Qt's plugin report";
        }
    }
}

} // namespace
