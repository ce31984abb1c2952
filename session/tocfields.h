#pragma once

// Pure text work on TOC2 lines: cutting a server payload into fields, reading
// numbers and flags, trimming a host or room name. Nothing here touches a socket.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace TocFields {

inline constexpr int AllPieces = -1;

// Cuts at the first pieces-1 colons only, so the last field keeps any further
// colons (message texts, URLs, room names); AllPieces cuts at every colon.
QList<QByteArrayView> split(QByteArrayView payload, int pieces);

// A field read as an unsigned decimal number that fits the type. Signs,
// spaces, other characters, overflow and the empty field give nothing.
std::optional<qint32> toLong(QByteArrayView field);
std::optional<qint16> toInteger(QByteArrayView field);

// Without leading and trailing spaces (only the space character, as the
// server trims them).
QByteArrayView trimSpaces(QByteArrayView text);

// True unless the field is exactly "F".
inline bool flagF(QByteArrayView field) { return field != "F"; }
// True only when the field is exactly "T".
inline bool flagT(QByteArrayView field) { return field == "T"; }

} // namespace TocFields
