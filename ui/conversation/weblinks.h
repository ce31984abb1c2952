#pragma once

// WebLinks: the web and mail addresses in a line of plain text, the only
// things a transcript turns into links. An address counts only with its
// scheme written out (http://, https:// or mailto:), so no other scheme and
// no guess at a bare "www." ever becomes something to click.

#include <QList>
#include <QString>
#include <QStringView>

class QUrl;

namespace WebLinks {

struct Span
{
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Span &) const = default;
};

// Where the addresses are, in order, without the punctuation that closes the
// sentence or the brackets around them.
QList<Span> find(QStringView text);

// Whether url is one of the addresses a link may open.
bool isOpenable(const QUrl &url);

} // namespace WebLinks
