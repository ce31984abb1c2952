#pragma once

// The connection seam of the session control: what it needs of a TCP client.
// Production uses TcpTocSocket; tests substitute a scripted fake.

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;
class QTimer;

class TocSocket : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void connectToServer(const QString &host, qint32 port) = 0;
    virtual bool isConnected() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Drops the connection at once; nothing pending is sent and no signal follows.
    virtual void close() = 0;

signals:
    void connected();
    void dataArrived();
    // description is a sentence a person can read, not a machine code.
    void failed(const QString &description);
};

// Owns a QTcpSocket; reports a clean close by the server as a failure too, so
// that a dropped session is never silent.
class TcpTocSocket final : public TocSocket
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TcpTocSocket)
public:
    // The operating system may keep trying a silent address for minutes.
    static constexpr int DefaultConnectTimeoutMs = 20000;

    explicit TcpTocSocket(QObject *parent = nullptr);

    // The sentence a person reads for error. A failure before the connection
    // was made names the server it was meant for; after it, the session is
    // what was lost.
    static QString describeFailure(QAbstractSocket::SocketError error, bool wasConnected, const QString &host, int port,
                                   const QString &fallback = QString());
    void setConnectTimeout(int milliseconds);

    void connectToServer(const QString &host, qint32 port) override;
    bool isConnected() const override;
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void close() override;

private:
    void giveUpConnecting();

    QTcpSocket *m_socket;
    QTimer *m_connectTimer;
    QString m_host;
    int m_port = 0;
    bool m_wasConnected = false;
};
