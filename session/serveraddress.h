#pragma once

// Where "Sign On" connects: the TOC server's host and port.

#include "tocprotocol.h"

#include <QString>
#include <optional>

struct ServerAddress
{
    static constexpr quint16 DefaultPort = TocProtocol::DefaultPort;

    QString host = QStringLiteral("127.0.0.1");
    quint16 port = DefaultPort;

    // Reads "HOST", "HOST:PORT", "[IPV6]" or "[IPV6]:PORT"; a bare IPv6 address
    // is taken whole as the host. Nothing for an empty host, a host with
    // spaces, or a port that is not a number from 1 to 65535.
    static std::optional<ServerAddress> parse(const QString &text);
    // "HOST:PORT", with an IPv6 host in brackets; parse reads it back.
    QString text() const;
};
