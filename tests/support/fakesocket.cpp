#include "fakesocket.h"

void FakeSocket::connectToServer(const QString &host, qint32 port)
{
    lastHost = host;
    lastPort = port;
    ++connectCalls;
}

void FakeSocket::write(const QByteArray &bytes) { written.append(bytes); }

QByteArray FakeSocket::readAll()
{
    QByteArray data;
    data.swap(m_incoming);
    return data;
}

void FakeSocket::close()
{
    ++closeCalls;
    m_connected = false;
    m_incoming.clear();
}

void FakeSocket::acceptConnection()
{
    m_connected = true;
    emit connected();
}

void FakeSocket::deliver(const QByteArray &bytes)
{
    m_incoming.append(bytes);
    emit dataArrived();
}

void FakeSocket::deliverInChunks(const QByteArray &bytes, qsizetype chunkSize)
{
    for (qsizetype pos = 0; pos < bytes.size(); pos += chunkSize)
        deliver(bytes.mid(pos, chunkSize));
}

void FakeSocket::fail(const QString &description) { emit failed(description); }

QByteArray FakeSocket::takeWritten()
{
    QByteArray data;
    data.swap(written);
    return data;
}
