#pragma once

// A QTcpSocket that is connected without a network: the server fuzz target
// pushes a client's bytes in and the connection reads them as from the wire.
// A client may be made a non-reader, whose unsent bytes seem to pile up.

#include <QTcpSocket>

class FuzzTcpSocket final : public QTcpSocket
{
public:
    explicit FuzzTcpSocket(bool reads)
        : m_reads(reads)
    {
        setSocketState(ConnectedState);
        setOpenMode(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }
    ~FuzzTcpSocket() override
    {
        // The base destructor would abort a socket it believes is connected.
        setSocketState(UnconnectedState);
        setOpenMode(QIODevice::NotOpen);
    }

    void feed(const QByteArray &bytes)
    {
        if (state() != ConnectedState)
            return;
        m_incoming.append(bytes);
        emit readyRead();
    }

    // The client hangs up.
    void hangUp()
    {
        if (state() == UnconnectedState)
            return;
        setSocketState(UnconnectedState);
        emit disconnected();
    }

    qint64 bytesAvailable() const override { return m_incoming.size() - m_readPos; }
    qint64 bytesToWrite() const override { return m_reads ? 0 : m_written * 1024; }
    void disconnectFromHost() override { hangUp(); }

    qint64 written() const { return m_written; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = qMin(maxSize, bytesAvailable());
        memcpy(data, m_incoming.constData() + m_readPos, size_t(n));
        m_readPos += n;
        if (m_readPos == m_incoming.size()) {
            m_incoming.clear();
            m_readPos = 0;
        }
        return n;
    }
    qint64 writeData(const char *, qint64 size) override
    {
        if (state() != ConnectedState)
            return -1;
        m_written += size;
        return size;
    }

private:
    bool m_reads;
    QByteArray m_incoming;
    qint64 m_readPos = 0;
    qint64 m_written = 0;
};
