#include "interoppeer.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTimer>

namespace {
constexpr int StartTimeoutMs = 20000;

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
} // namespace

InteropPeer::~InteropPeer() { stop(); }

QString InteropPeer::start()
{
    const Launch how = launch();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProcessEnvironment(how.environment);
    m_process->start(how.program, how.arguments);
    if (!m_process->waitForStarted(StartTimeoutMs))
        return how.program + QStringLiteral(" did not start: ") + m_process->errorString();

    QByteArray output;
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        while (m_process->canReadLine()) {
            const QByteArray line = m_process->readLine();
            output += line;
            const QRegularExpressionMatch match = how.ready.match(QString::fromUtf8(line));
            if (match.hasMatch()) {
                if (match.lastCapturedIndex() >= 1)
                    m_tocPort = quint16(match.captured(1).toUInt());
                return {};
            }
        }
        if (m_process->state() != QProcess::Running)
            break;
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    output += m_process->readAll();
    stop();
    return how.program + QStringLiteral(" did not say it was listening for TOC; its output:\n")
        + QString::fromUtf8(output);
}

void InteropPeer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate(); // SIGTERM to the server's own process ID
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
}

InteropPeer::Launch LocalPeer::launch()
{
    // The port picked at the first start is asked for again after a stop.
    return {QStringLiteral(QIV_LOCALSERVER_PATH),
            {QStringLiteral("--port"), QString::number(m_tocPort)},
            QProcessEnvironment::systemEnvironment(),
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)"))};
}

OscarPeer::OscarPeer()
    : m_bosPort(freeLoopbackPort())
    , m_apiPort(freeLoopbackPort())
{
    m_tocPort = freeLoopbackPort();
}

QString OscarPeer::unavailableReason() const
{
    const QString binary = qEnvironmentVariable("QIV_OSCAR_SERVER");
    if (binary.isEmpty())
        return QStringLiteral("Open OSCAR Server is not installed: set QIV_OSCAR_SERVER to its "
                              "server binary to run these tests against it");
    if (!QFileInfo(binary).isExecutable())
        return QStringLiteral("QIV_OSCAR_SERVER names no executable file: ") + binary;
    return {};
}

InteropPeer::Launch OscarPeer::launch()
{
    Launch how;
    how.program = QStringLiteral(QIV_OSCAR_SCRIPT);
    how.arguments = {m_data.path()};
    how.environment.insert(QStringLiteral("QIV_OSCAR_TOC_PORT"), QString::number(m_tocPort));
    how.environment.insert(QStringLiteral("QIV_OSCAR_BOS_PORT"), QString::number(m_bosPort));
    how.environment.insert(QStringLiteral("QIV_OSCAR_API_PORT"), QString::number(m_apiPort));
    how.ready = QRegularExpression(QStringLiteral("starting server.*listen_host=127\\.0\\.0\\.1:")
                                   + QString::number(m_tocPort) + QStringLiteral("\\b"));
    return how;
}

bool OscarPeer::createAccount(const QByteArray &name, const QByteArray &password)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/user").arg(m_apiPort)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    const QJsonObject account{{QStringLiteral("screen_name"), QString::fromLatin1(name)},
                              {QStringLiteral("password"), QString::fromLatin1(password)}};
    QNetworkReply *reply = network.post(request, QJsonDocument(account).toJson());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    return status == 201;
}

std::unique_ptr<InteropPeer> makePeer(const std::string &name)
{
    if (name == "oscar")
        return std::make_unique<OscarPeer>();
    return std::make_unique<LocalPeer>();
}
