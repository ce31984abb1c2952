#include "tocquote.h"

namespace TocQuote {

namespace {
bool isSpecial(char c)
{
    switch (c) {
    case '\\':
    case '$':
    case '"':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
        return true;
    default:
        return false;
    }
}
} // namespace

QByteArray EscapeArg(QByteArrayView text)
{
    // One pass gives the same result as replacing the backslash first and the
    // other eight after it: each special character gets exactly one backslash.
    QByteArray escaped;
    escaped.reserve(text.size() + text.size() / 8 + 2);
    for (char c : text) {
        if (isSpecial(c))
            escaped.append('\\');
        escaped.append(c);
    }
    return escaped;
}

QByteArray quoted(QByteArrayView text) { return '"' + EscapeArg(text) + '"'; }

QByteArray quotedSparingly(QByteArrayView text)
{
    QByteArray escaped("\"");
    for (char c : text) {
        if (c == '\\' || c == '"')
            escaped.append('\\');
        escaped.append(c);
    }
    return escaped + '"';
}

std::optional<QList<QByteArray>> splitCommandLine(QByteArrayView line)
{
    QList<QByteArray> words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        QByteArray word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const char c = line[i++];
                if (c == '\\') {
                    if (i >= n)
                        return std::nullopt;
                    word.append(line[i++]);
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    word.append(c);
                }
            }
            if (!closed)
                return std::nullopt;
        } else {
            while (i < n && line[i] != ' ')
                word.append(line[i++]);
        }
        words.append(word);
    }
    return words;
}

} // namespace TocQuote
