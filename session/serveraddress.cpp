#include "serveraddress.h"

#include <QHostAddress>

namespace {
std::optional<quint16> portNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int value = text.toInt();
    if (value < 1 || value > 65535)
        return std::nullopt;
    return quint16(value);
}

bool usableHost(const QString &host)
{
    if (host.isEmpty())
        return false;
    for (QChar c : host) {
        if (c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char('[') || c == QLatin1Char(']'))
            return false;
    }
    return true;
}
} // namespace

std::optional<ServerAddress> ServerAddress::parse(const QString &text)
{
    ServerAddress address;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        address.host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            portText = rest.mid(1);
            if (portText.isEmpty())
                return std::nullopt;
        }
        if (QHostAddress(address.host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    } else if (text.count(QLatin1Char(':')) > 1) {
        if (QHostAddress(text).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
        address.host = text;
    } else {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        address.host = colon < 0 ? text : text.left(colon);
        if (colon >= 0) {
            portText = text.mid(colon + 1);
            if (portText.isEmpty())
                return std::nullopt;
        }
    }
    if (!usableHost(address.host))
        return std::nullopt;
    if (!portText.isEmpty()) {
        const auto port = portNumber(portText);
        if (!port)
            return std::nullopt;
        address.port = *port;
    }
    return address;
}

QString ServerAddress::text() const
{
    const QString shownHost = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shownHost + QLatin1Char(':') + QString::number(port);
}
