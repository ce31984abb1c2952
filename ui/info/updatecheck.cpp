#include "updatecheck.h"

#include "session/wiretext.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

namespace UpdateCheck {

QString failureText(QNetworkReply::NetworkError error, bool timedOut)
{
    // Our own time-out aborts the reply, which Qt reports as cancelled.
    if (timedOut)
        error = QNetworkReply::TimeoutError;
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("The update server refused the connection. Please try again later.");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("The update server could not be found. Check your network connection.");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("The update server closed the connection before answering.");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("The update server did not answer in time. Please try again later.");
    default:
        return QStringLiteral("Could not check for updates. Please try again later.");
    }
}

QString fetch(QNetworkAccessManager &network, const QUrl &url, int timeoutMs)
{
    QNetworkRequest request(url);
    QNetworkReply *reply = network.get(request);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&timer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();

    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    const QNetworkReply::NetworkError error = reply->error();
    reply->deleteLater();
    if (!body.isEmpty() || error == QNetworkReply::NoError)
        return WireText::fromWire(body);
    return failureText(error, timedOut);
}

} // namespace UpdateCheck
