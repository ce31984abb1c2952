// The start-up window: its hand-over to the main window, the exit question
// and the update check against a local HTTP server.

#include "info/frmint.h"
#include "printers.h"
#include "scripteddialogs.h"
#include "screenshots.h"
#include "serverframes.h"
#include "windowregistry.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Answers every HTTP request with one canned response, or never answers.
class TinyHttpServer : public QObject
{
public:
    explicit TinyHttpServer(QByteArray response, bool silent = false)
        : m_response(std::move(response))
        , m_silent(silent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection()) {
                connect(client, &QTcpSocket::readyRead, client, [this, client] {
                    m_request += client->readAll();
                    if (!m_request.contains("\r\n\r\n") || m_silent)
                        return;
                    client->write(m_response);
                    client->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QUrl url() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/glenvo/qiv/update.php?v=1.0.0").arg(m_server.serverPort()));
    }
    QByteArray requestLine() const { return m_request.left(m_request.indexOf("\r\n")); }

private:
    QTcpServer m_server;
    QByteArray m_response;
    bool m_silent;
    QByteArray m_request;
};

QByteArray httpResponse(const QByteArray &status, const QByteArray &body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}

struct StartWindow
{
    explicit StartWindow(const QUrl &url = QUrl(QStringLiteral("http://127.0.0.1:1/")))
        : window(dialogs, windows, url, [this] { return &mainWindow; })
    {
        window.setEndProgram([this] { ++endCalls; });
        window.show();
    }
    ScriptedDialogs dialogs;
    WindowRegistry windows;
    QWidget mainWindow;
    int endCalls = 0;
    frmInt window;
};

TEST(StartWindow, LetsGoShowsTheMainWindowAndHidesItself)
{
    StartWindow start;
    EXPECT_EQ(start.window.windowTitle(), QStringLiteral("Qiv Login"));
    EXPECT_TRUE(start.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(start.windows.windows(), QList<QWidget *>{&start.window});
    saveScreenshot(&start.window, QStringLiteral("start-window"));

    QTest::mouseClick(start.window.cmdStart, Qt::LeftButton);
    EXPECT_TRUE(start.mainWindow.isVisible());
    EXPECT_FALSE(start.window.isVisible());
    EXPECT_TRUE(start.dialogs.shown.isEmpty());
}

TEST(StartWindow, ClosingAsksAndOnlyYesEndsTheProgram)
{
    StartWindow start;
    start.dialogs.yesNoAnswers = {false, true};
    QTest::mouseClick(start.window.Image3, Qt::LeftButton);
    ASSERT_EQ(start.dialogs.shown.size(), 1);
    EXPECT_EQ(start.dialogs.shown[0].text, QStringLiteral("Are you sure you want to exit?"));
    EXPECT_EQ(start.dialogs.shown[0].title, QStringLiteral("Qiv"));
    EXPECT_TRUE(start.window.isVisible());
    EXPECT_EQ(start.endCalls, 0);

    start.window.close();
    EXPECT_EQ(start.dialogs.shown.size(), 2);
    EXPECT_EQ(start.endCalls, 1);
}

struct AnswerCase
{
    const char *name;
    QByteArray response;
    QString shown;
};

TEST(StartWindow, TheUpdateAnswerIsShownUnchangedAsPlainText)
{
    const AnswerCase cases[] = {
        {"several lines with markup", httpResponse("200 OK", "Qiv 1.0.1 is out!\n<b>Get it</b> at the site.\n"),
         QStringLiteral("Qiv 1.0.1 is out!\n<b>Get it</b> at the site.\n")},
        {"an error page", httpResponse("404 Not Found", "<h1>Not here</h1>"), QStringLiteral("<h1>Not here</h1>")},
        {"an empty body", httpResponse("200 OK", ""), QString()},
        {"UTF-8 text",
         httpResponse("200 OK",
                      "Neue Version verf\xc3\xbc"
                      "gbar"),
         QStringLiteral("Neue Version verfügbar")},
    };
    for (const AnswerCase &c : cases) {
        TinyHttpServer server(c.response);
        StartWindow start(server.url());
        start.window.lbupdate->setText(QStringLiteral("old answer"));
        QTest::mouseClick(start.window.cmdUpdate, Qt::LeftButton);
        EXPECT_EQ(start.window.lbupdate->text(), c.shown) << c.name;
        EXPECT_EQ(start.window.lbupdate->textFormat(), Qt::PlainText) << c.name;
        EXPECT_EQ(server.requestLine(), QByteArray("GET /glenvo/qiv/update.php?v=1.0.0 HTTP/1.1")) << c.name;
    }
}

TEST(StartWindow, AFailedUpdateCheckSaysSoAndNeverHangs)
{
    // A port nobody listens on any more refuses the connection.
    QUrl refusedUrl;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
        refusedUrl = QUrl(QStringLiteral("http://127.0.0.1:%1/glenvo/qiv/update.php?v=1.0.0").arg(closed.serverPort()));
    }
    StartWindow refused(refusedUrl);
    refused.window.checkForUpdates();
    EXPECT_TRUE(refused.window.lbupdate->text().contains(QStringLiteral("refused")))
        << refused.window.lbupdate->text().toStdString();

    TinyHttpServer silent(QByteArray(), true);
    StartWindow waiting(silent.url());
    waiting.window.setUpdateTimeout(300);
    QElapsedTimer clock;
    clock.start();
    waiting.window.checkForUpdates();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(waiting.window.lbupdate->text().contains(QStringLiteral("did not answer in time")))
        << waiting.window.lbupdate->text().toStdString();
    EXPECT_TRUE(waiting.window.isVisible());
}

} // namespace
