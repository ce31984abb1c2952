#include "weblinks.h"

#include <QUrl>

namespace WebLinks {

namespace {
const QLatin1StringView Schemes[]
    = {QLatin1StringView("https://"), QLatin1StringView("http://"), QLatin1StringView("mailto:")};

// A letter, digit, + - or . before the scheme would make it part of a longer
// one: "xhttp://" is not ours.
bool continuesScheme(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

bool endsAddress(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c == QLatin1Char('<') || c == QLatin1Char('>')
        || c == QLatin1Char('"');
}

// The length of the scheme written at text[at], or 0.
qsizetype schemeAt(QStringView text, qsizetype at)
{
    for (const QLatin1StringView scheme : Schemes) {
        if (text.sliced(at).startsWith(scheme, Qt::CaseInsensitive))
            return scheme.size();
    }
    return 0;
}

// The address without what closes the sentence after it, and without a
// closing bracket it does not open itself ("text (http://x)").
qsizetype trimmedLength(QStringView address)
{
    static const QString SentenceEnd = QStringLiteral(".,;:!?'");
    static const QString Opening = QStringLiteral("([{");
    static const QString Closing = QStringLiteral(")]}");
    qsizetype end = address.size();
    while (end > 0) {
        const QChar last = address[end - 1];
        if (SentenceEnd.contains(last)) {
            --end;
            continue;
        }
        const qsizetype bracket = Closing.indexOf(last);
        if (bracket >= 0) {
            const QStringView kept = address.first(end);
            if (kept.count(Closing[bracket]) > kept.count(Opening[bracket])) {
                --end;
                continue;
            }
        }
        break;
    }
    return end;
}

bool isAddress(QStringView candidate, qsizetype schemeLength)
{
    if (candidate.size() <= schemeLength)
        return false;
    // A host name or an IP address right after the slashes.
    const QChar first = candidate[schemeLength];
    if (candidate[schemeLength - 1] == QLatin1Char('/') && !first.isLetterOrNumber() && first != QLatin1Char('['))
        return false;
    return isOpenable(QUrl(candidate.toString()));
}
} // namespace

QList<Span> find(QStringView text)
{
    QList<Span> spans;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype scheme = at == 0 || !continuesScheme(text[at - 1]) ? schemeAt(text, at) : 0;
        if (scheme == 0) {
            ++at;
            continue;
        }
        qsizetype end = at + scheme;
        while (end < text.size() && !endsAddress(text[end]))
            ++end;
        const QStringView candidate = text.sliced(at, trimmedLength(text.sliced(at, end - at)));
        if (isAddress(candidate, scheme)) {
            spans.append({at, candidate.size()});
            at += candidate.size();
        } else {
            at += scheme;
        }
    }
    return spans;
}

bool isOpenable(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto")) {
        const QString address = url.path();
        const qsizetype at = address.indexOf(QLatin1Char('@'));
        return at > 0 && at < address.size() - 1;
    }
    return false;
}

} // namespace WebLinks
