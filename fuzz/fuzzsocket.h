#pragma once

// The session's connection seam driven by a fuzz target: arrivals are pushed
// in synchronously and everything the control writes is kept for checking.

#include "tocsocket.h"

class FuzzSocket final : public TocSocket
{
public:
    using TocSocket::TocSocket;

    void connectToServer(const QString &, qint32) override { ++connectCalls; }
    bool isConnected() const override { return m_connected; }
    void write(const QByteArray &bytes) override { written.append(bytes); }
    QByteArray readAll() override
    {
        QByteArray data;
        data.swap(m_incoming);
        return data;
    }
    void close() override
    {
        m_connected = false;
        m_incoming.clear();
    }

    void accept()
    {
        m_connected = true;
        emit connected();
    }
    void deliver(const QByteArray &bytes)
    {
        m_incoming.append(bytes);
        emit dataArrived();
    }
    void fail() { emit failed(QStringLiteral("The connection was reset.")); }

    QByteArray written;
    int connectCalls = 0;

private:
    bool m_connected = false;
    QByteArray m_incoming;
};
