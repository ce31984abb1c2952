#pragma once

// The one HTTP request the local network answers: Qiv's update check, asked
// on the same port as TOC so that a program pointed at the local network
// needs nothing else. Anything that is not a small GET is refused.

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace UpdateNotice {

// The notice's path; its query (the asking version) does not change the answer.
inline constexpr QByteArrayView Path = "/glenvo/qiv/update.php";
// A request header larger than this is not an update check.
inline constexpr qsizetype MaxRequestSize = 8192;

// Whether a connection's first bytes start an HTTP request rather than "FLAPON".
bool startsRequest(QByteArrayView firstBytes);
// The whole response once request holds a complete header; nothing while
// more is needed. A request too large or not a GET gets an error response.
std::optional<QByteArray> respond(QByteArrayView request, QByteArrayView latestVersion);

} // namespace UpdateNotice
