#include "updatenotice.h"

#include <QList>

namespace UpdateNotice {

namespace {
QByteArray response(QByteArrayView status, const QByteArray &body)
{
    return "HTTP/1.0 " + status.toByteArray() + "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}
} // namespace

bool startsRequest(QByteArrayView firstBytes)
{
    // "FLAPON" begins with F, so one byte tells them apart.
    return firstBytes.startsWith("G");
}

std::optional<QByteArray> respond(QByteArrayView request, QByteArrayView latestVersion)
{
    const qsizetype headerEnd = request.indexOf(QByteArrayView("\r\n\r\n"));
    if (headerEnd < 0 && request.size() <= MaxRequestSize)
        return std::nullopt;
    if (headerEnd < 0)
        return response("431 Request Header Fields Too Large", "The request is too large.\n");

    // "GET /path?query HTTP/1.1"
    const QByteArrayView requestLine = request.first(request.indexOf(QByteArrayView("\r\n")));
    const QList<QByteArray> words = requestLine.toByteArray().split(' ');
    if (words.size() != 3 || words[0] != "GET" || !words[2].startsWith("HTTP/"))
        return response("400 Bad Request", "Only the update check is answered here.\n");
    const QByteArray path = words[1].first(words[1].contains('?') ? words[1].indexOf('?') : words[1].size());
    if (path != Path)
        return response("404 Not Found", "Only the update check is answered here.\n");
    return response("200 OK",
                    "Qiv " + latestVersion.toByteArray()
                        + " is the latest version. This notice comes from your local TOC2 network.");
}

} // namespace UpdateNotice
