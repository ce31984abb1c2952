#pragma once

// A scripted connection for tests, window benchmarks and the client's fuzz
// targets: records every byte written and lets the caller connect, deliver
// arrivals in any chunking and fail, synchronously.

#include "session/tocsocket.h"

#include <QByteArray>
#include <QList>
#include <QString>

class FakeSocket final : public TocSocket
{
    Q_OBJECT
public:
    using TocSocket::TocSocket;

    void connectToServer(const QString &host, qint32 port) override;
    bool isConnected() const override { return m_connected; }
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void close() override;

    // Test side.
    void acceptConnection(); // the server answers: connected
    void deliver(const QByteArray &bytes); // one arrival
    void deliverInChunks(const QByteArray &bytes, qsizetype chunkSize);
    void fail(const QString &description);
    QByteArray takeWritten(); // everything written since the last take

    QString lastHost;
    qint32 lastPort = -1;
    int connectCalls = 0;
    int closeCalls = 0;
    QByteArray written;

private:
    bool m_connected = false;
    QByteArray m_incoming;
};
