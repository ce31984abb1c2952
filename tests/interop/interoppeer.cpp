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
constexpr int RequestTimeoutMs = 10000;

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A binary that tests/interop/get-peer provides: the one the variable names,
// else the one in the build's cache. The path is empty when neither is there,
// and reason says why.
struct PeerBinary
{
    QString path;
    QString reason;
};

PeerBinary findPeerBinary(const char *variable, const char *cacheName, const char *peer, const char *getPeerName)
{
    const QString named = qEnvironmentVariable(variable);
    const QString binary = named.isEmpty() ? QStringLiteral(QIV_PEER_CACHE "/") + QLatin1String(cacheName) : named;
    if (QFileInfo(binary).isExecutable())
        return {binary, {}};
    if (!named.isEmpty())
        return {{}, QLatin1String(variable) + QStringLiteral(" names no executable file: ") + named};
    return {{},
            QLatin1String(peer) + QStringLiteral(" is not built: tests/interop/get-peer ") + QLatin1String(getPeerName)
                + QStringLiteral(" builds it (needs Go 1.26.2 or newer), or set ") + QLatin1String(variable)
                + QStringLiteral(" to its binary")};
}

PeerBinary oscarBinary()
{
    return findPeerBinary("QIV_OSCAR_SERVER", "open-oscar-server", "Open OSCAR Server", "oscar");
}

PeerBinary toxiproxyBinary()
{
    return findPeerBinary("QIV_TOXIPROXY_SERVER", "toxiproxy-server", "Toxiproxy", "toxiproxy");
}
} // namespace

bool peersRequired() { return qEnvironmentVariable("QIV_REQUIRE_PEERS") == QLatin1String("1"); }

PeerProcess::~PeerProcess() { stop(); }

QString PeerProcess::start()
{
    // A port found free may be taken by another program (a client's own end
    // of a connection, say) before the server binds it. At the first start
    // nobody knows the port yet, so new ones are picked; a restart keeps its
    // ports, since clients come back to them.
    constexpr int Attempts = 3;
    QString failure;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        failure = startOnce();
        if (failure.isEmpty()) {
            m_hasStarted = true;
            return failure;
        }
        if (m_hasStarted || !failure.contains(QLatin1String("address already in use")))
            break;
        choosePortsAgain();
    }
    return failure;
}

QString PeerProcess::startOnce()
{
    const Launch how = launch();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProcessEnvironment(how.environment);
    m_process->start(how.program, how.arguments);
    m_output.clear();
    if (!m_process->waitForStarted(StartTimeoutMs))
        return how.program + QStringLiteral(" did not start: ") + m_process->errorString();

    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        while (m_process->canReadLine()) {
            const QByteArray line = m_process->readLine();
            m_output += line;
            const QRegularExpressionMatch match = how.ready.match(QString::fromUtf8(line));
            if (match.hasMatch()) {
                if (match.lastCapturedIndex() >= 1)
                    m_port = quint16(match.captured(1).toUInt());
                // From now on its output is read as it comes, keeping only the
                // end: a server that logs every message would otherwise fill
                // this process's memory over a long run.
                QObject::connect(m_process.get(), &QProcess::readyReadStandardOutput, [this] { keepOutput(); });
                const QString notReady = awaitReady();
                if (!notReady.isEmpty())
                    stop();
                return notReady;
            }
        }
        if (m_process->state() != QProcess::Running)
            break;
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_output += m_process->readAll();
    stop();
    return how.program + QStringLiteral(" did not say it was listening; its output:\n") + QString::fromUtf8(m_output);
}

void PeerProcess::keepOutput()
{
    constexpr qsizetype KeptBytes = 64 * 1024;
    m_output += m_process->readAll();
    if (m_output.size() > 2 * KeptBytes)
        m_output.remove(0, m_output.size() - KeptBytes);
}

QString PeerProcess::lastOutput(int lines)
{
    if (m_process)
        keepOutput();
    const QList<QByteArray> all = m_output.trimmed().split('\n');
    return QString::fromUtf8(all.mid(qMax(0, int(all.size()) - lines)).join('\n'));
}

bool PeerProcess::isRunning() const { return m_process && m_process->state() == QProcess::Running; }

void PeerProcess::stop()
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
            {QStringLiteral("--port"), QString::number(m_port)},
            QProcessEnvironment::systemEnvironment(),
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)"))};
}

OscarPeer::OscarPeer() { choosePortsAgain(); }

void OscarPeer::choosePortsAgain()
{
    m_port = freeLoopbackPort();
    m_bosPort = freeLoopbackPort();
    m_apiPort = freeLoopbackPort();
}

QString OscarPeer::unavailableReason() const { return oscarBinary().reason; }

InteropPeer::Launch OscarPeer::launch()
{
    Launch how;
    how.program = QStringLiteral(QIV_OSCAR_SCRIPT);
    how.arguments = {m_data.path()};
    how.environment.insert(QStringLiteral("QIV_OSCAR_SERVER"), oscarBinary().path);
    how.environment.insert(QStringLiteral("QIV_OSCAR_TOC_PORT"), QString::number(m_port));
    how.environment.insert(QStringLiteral("QIV_OSCAR_BOS_PORT"), QString::number(m_bosPort));
    how.environment.insert(QStringLiteral("QIV_OSCAR_API_PORT"), QString::number(m_apiPort));
    how.ready = QRegularExpression(QStringLiteral("starting server.*listen_host=127\\.0\\.0\\.1:")
                                   + QString::number(m_port) + QStringLiteral("\\b"));
    return how;
}

namespace {
// Empty once GET url answers 200, else what the peer's API did not do.
QString awaitApi(const QString &url, const QString &what, PeerProcess &peer)
{
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (httpStatus("GET", url) != 200) {
        if (deadline.hasExpired() || !peer.isRunning())
            return what + QStringLiteral(" did not answer at ") + url + QStringLiteral("; its output:\n")
                + peer.lastOutput();
        QEventLoop wait;
        QTimer::singleShot(50, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return {};
}
} // namespace

QString OscarPeer::awaitReady()
{
    return awaitApi(QStringLiteral("http://127.0.0.1:%1/version").arg(m_apiPort),
                    QStringLiteral("Open OSCAR Server's management API"), *this);
}

bool OscarPeer::createAccount(const QByteArray &name, const QByteArray &password)
{
    const QJsonObject account{{QStringLiteral("screen_name"), QString::fromLatin1(name)},
                              {QStringLiteral("password"), QString::fromLatin1(password)}};
    return httpStatus("POST", QStringLiteral("http://127.0.0.1:%1/user").arg(m_apiPort),
                      QJsonDocument(account).toJson())
        == 201;
}

bool OscarPeer::exemptFromRateLimits(const QByteArray &name)
{
    const QJsonObject bot{{QStringLiteral("is_bot"), true}};
    const int status = httpStatus(
        "PATCH", QStringLiteral("http://127.0.0.1:%1/user/%2/account").arg(m_apiPort).arg(QString::fromLatin1(name)),
        QJsonDocument(bot).toJson());
    return status == 204 || status == 304;
}

ToxiproxyPeer::ToxiproxyPeer() { choosePortsAgain(); }

void ToxiproxyPeer::choosePortsAgain() { m_port = freeLoopbackPort(); }

QString ToxiproxyPeer::unavailableReason() const { return toxiproxyBinary().reason; }

PeerProcess::Launch ToxiproxyPeer::launch()
{
    Launch how;
    how.program = toxiproxyBinary().path;
    how.arguments
        = {QStringLiteral("-host"), QStringLiteral("127.0.0.1"), QStringLiteral("-port"), QString::number(m_port)};
    how.ready = QRegularExpression(QStringLiteral("\"address\":\"127\\.0\\.0\\.1:") + QString::number(m_port)
                                   + QStringLiteral("\".*Starting Toxiproxy HTTP server"));
    return how;
}

QString ToxiproxyPeer::awaitReady()
{
    return awaitApi(QStringLiteral("http://127.0.0.1:%1/version").arg(m_port), QStringLiteral("Toxiproxy's API"),
                    *this);
}

quint16 ToxiproxyPeer::addProxy(const QString &name, quint16 upstreamPort)
{
    const QJsonObject proxy{{QStringLiteral("name"), name},
                            {QStringLiteral("listen"), QStringLiteral("127.0.0.1:0")},
                            {QStringLiteral("upstream"), QStringLiteral("127.0.0.1:%1").arg(upstreamPort)},
                            {QStringLiteral("enabled"), true}};
    QByteArray reply;
    if (httpStatus("POST", QStringLiteral("http://127.0.0.1:%1/proxies").arg(m_port), QJsonDocument(proxy).toJson(),
                   &reply)
        != 201)
        return 0;
    // The answer names the port it picked.
    const QString listen = QJsonDocument::fromJson(reply).object().value(QStringLiteral("listen")).toString();
    return quint16(listen.section(QLatin1Char(':'), -1).toUInt());
}

bool ToxiproxyPeer::addToxic(const QString &proxy, const QString &toxic, const QString &type, const QString &stream,
                             const QJsonObject &attributes)
{
    const QJsonObject body{{QStringLiteral("name"), toxic},
                           {QStringLiteral("type"), type},
                           {QStringLiteral("stream"), stream},
                           {QStringLiteral("toxicity"), 1.0},
                           {QStringLiteral("attributes"), attributes}};
    return httpStatus("POST", QStringLiteral("http://127.0.0.1:%1/proxies/%2/toxics").arg(m_port).arg(proxy),
                      QJsonDocument(body).toJson())
        == 200;
}

bool ToxiproxyPeer::removeToxic(const QString &proxy, const QString &toxic)
{
    return httpStatus("DELETE",
                      QStringLiteral("http://127.0.0.1:%1/proxies/%2/toxics/%3").arg(m_port).arg(proxy, toxic))
        == 204;
}

std::unique_ptr<InteropPeer> makePeer(const std::string &name)
{
    if (name == "oscar")
        return std::make_unique<OscarPeer>();
    return std::make_unique<LocalPeer>();
}

int httpStatus(const QByteArray &verb, const QString &url, const QByteArray &json, QByteArray *reply)
{
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url)};
    // Toxiproxy turns away requests whose agent looks like a browser's, as Qt's does.
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("qiv-tests"));
    if (!json.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply *answer = network.sendCustomRequest(request, verb, json);
    QEventLoop loop;
    QObject::connect(answer, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(RequestTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply)
        *reply = answer->readAll();
    answer->deleteLater();
    return status;
}
