#include "htmltext.h"

#include <QChar>
#include <optional>

namespace HtmlText {

namespace {

// The named character references people's clients actually send; any other
// name is left as it was written.
struct NamedEntity
{
    QLatin1StringView name;
    char32_t character;
};
constexpr NamedEntity NamedEntities[] = {
    {QLatin1StringView("amp"), U'&'},
    {QLatin1StringView("lt"), U'<'},
    {QLatin1StringView("gt"), U'>'},
    {QLatin1StringView("quot"), U'"'},
    {QLatin1StringView("apos"), U'\''},
    // Typed spaces travel as &nbsp; where HTML would fold them; read back,
    // they are the spaces that were typed.
    {QLatin1StringView("nbsp"), U' '},
    {QLatin1StringView("copy"), U'©'},
    {QLatin1StringView("reg"), U'®'},
    {QLatin1StringView("trade"), U'™'},
    {QLatin1StringView("euro"), U'€'},
    {QLatin1StringView("pound"), U'£'},
    {QLatin1StringView("yen"), U'¥'},
    {QLatin1StringView("cent"), U'¢'},
    {QLatin1StringView("sect"), U'§'},
    {QLatin1StringView("deg"), U'°'},
    {QLatin1StringView("plusmn"), U'±'},
    {QLatin1StringView("times"), U'×'},
    {QLatin1StringView("divide"), U'÷'},
    {QLatin1StringView("middot"), U'·'},
    {QLatin1StringView("bull"), U'•'},
    {QLatin1StringView("hellip"), U'…'},
    {QLatin1StringView("ndash"), U'–'},
    {QLatin1StringView("mdash"), U'—'},
    {QLatin1StringView("lsquo"), U'‘'},
    {QLatin1StringView("rsquo"), U'’'},
    {QLatin1StringView("ldquo"), U'“'},
    {QLatin1StringView("rdquo"), U'”'},
    {QLatin1StringView("laquo"), U'«'},
    {QLatin1StringView("raquo"), U'»'},
    {QLatin1StringView("iexcl"), U'¡'},
    {QLatin1StringView("iquest"), U'¿'},
    {QLatin1StringView("para"), U'¶'},
};
// Longer than any name above or any number of a real code point.
constexpr qsizetype LongestReference = 10;

std::optional<char32_t> numericCharacter(QStringView digits)
{
    bool ok = false;
    const bool hex = digits.startsWith(QLatin1Char('x')) || digits.startsWith(QLatin1Char('X'));
    const uint value = hex ? digits.sliced(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (!ok || value == 0 || surrogate || value > 0x10FFFF)
        return std::nullopt;
    return char32_t(value);
}

// The character a reference at text[at] ("&...;") stands for, and its length.
std::optional<std::pair<char32_t, qsizetype>> reference(QStringView text, qsizetype at)
{
    const qsizetype end = text.indexOf(QLatin1Char(';'), at + 1);
    if (end < 0 || end - at - 1 > LongestReference || end == at + 1)
        return std::nullopt;
    const QStringView name = text.sliced(at + 1, end - at - 1);
    if (name.startsWith(QLatin1Char('#'))) {
        if (const auto character = numericCharacter(name.sliced(1)))
            return std::pair(*character, end - at + 1);
        return std::nullopt;
    }
    for (const NamedEntity &entity : NamedEntities) {
        if (name == entity.name)
            return std::pair(entity.character, end - at + 1);
    }
    return std::nullopt;
}

void appendDecoded(QString &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (const auto found = reference(text, i)) {
                const char32_t character[] = {found->first};
                out += QString::fromUcs4(character, 1);
                i += found->second - 1;
                continue;
            }
        }
        out += text[i];
    }
}

// The tag's name in lower case, "/a" for a closing one; empty for no name.
QString tagName(QStringView tag)
{
    qsizetype end = tag.startsWith(QLatin1Char('/')) ? 1 : 0;
    while (end < tag.size() && tag[end].isLetterOrNumber())
        ++end;
    return tag.first(end).toString().toLower();
}

// The value of the tag's href attribute, quoted or not; empty without one.
QString hrefOf(QStringView tag)
{
    qsizetype i = tagName(tag).size();
    while (i < tag.size()) {
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        const qsizetype nameStart = i;
        while (i < tag.size() && !tag[i].isSpace() && tag[i] != QLatin1Char('='))
            ++i;
        const QStringView name = tag.sliced(nameStart, i - nameStart);
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        if (i >= tag.size() || tag[i] != QLatin1Char('=')) {
            if (i == nameStart)
                ++i;
            continue;
        }
        ++i;
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        qsizetype valueStart = i;
        qsizetype valueEnd;
        if (i < tag.size() && (tag[i] == QLatin1Char('"') || tag[i] == QLatin1Char('\''))) {
            const QChar quote = tag[i];
            valueStart = i + 1;
            valueEnd = tag.indexOf(quote, valueStart);
            if (valueEnd < 0)
                valueEnd = tag.size();
            i = valueEnd + 1;
        } else {
            while (i < tag.size() && !tag[i].isSpace())
                ++i;
            valueEnd = i;
        }
        if (name.compare(QLatin1String("href"), Qt::CaseInsensitive) == 0) {
            QString value;
            appendDecoded(value, tag.sliced(valueStart, valueEnd - valueStart));
            return value.trimmed();
        }
    }
    return QString();
}

// What a link adds to its text once its tag is gone.
void closeLink(QString &out, qsizetype textStart, const QString &address)
{
    if (address.isEmpty())
        return;
    const QString text = out.sliced(textStart).trimmed();
    if (text.isEmpty())
        out += address;
    else if (text != address)
        out += QStringLiteral(" (") + address + QLatin1Char(')');
}

bool isWhiteSpace(char c) { return c == ' ' || c == '\n' || c == '\r'; }
} // namespace

QByteArray removeTags(QByteArrayView html)
{
    // Each pass removes from the first "<" through the nearest ">" after it;
    // what precedes that "<" never holds another one, so a single scan does.
    QByteArray text;
    text.reserve(html.size());
    qsizetype pos = 0;
    while (true) {
        const qsizetype open = html.indexOf('<', pos);
        const qsizetype close = open < 0 ? -1 : html.indexOf('>', open + 1);
        if (close < 0) {
            text.append(html.sliced(pos));
            return text;
        }
        text.append(html.sliced(pos, open - pos));
        pos = close + 1;
    }
}

QString escape(const QString &typed)
{
    QString html;
    html.reserve(typed.size() + typed.size() / 8);
    const qsizetype last = typed.size() - 1;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed[i];
        switch (c.unicode()) {
        case '&':
            html += QLatin1String("&amp;");
            break;
        case '<':
            html += QLatin1String("&lt;");
            break;
        case '>':
            html += QLatin1String("&gt;");
            break;
        case '"':
            html += QLatin1String("&quot;");
            break;
        case '\r':
            // CR LF is one line break.
            if (i < last && typed[i + 1] == QLatin1Char('\n'))
                break;
            html += QLatin1String("<br>");
            break;
        case '\n':
            html += QLatin1String("<br>");
            break;
        case ' ': {
            const bool folded = i == 0 || i == last || typed[i - 1] == QLatin1Char(' ')
                || typed[i - 1] == QLatin1Char('\n') || typed[i - 1] == QLatin1Char('\r');
            html += folded ? QLatin1String("&nbsp;") : QLatin1String(" ");
            break;
        }
        default:
            html += c;
            break;
        }
    }
    return html;
}

QString toPlainText(const QString &html)
{
    QString out;
    out.reserve(html.size());
    qsizetype pos = 0;
    // The open link: where its text starts in out, and its address.
    std::optional<std::pair<qsizetype, QString>> link;
    while (pos < html.size()) {
        const qsizetype open = html.indexOf(QLatin1Char('<'), pos);
        const qsizetype close = open < 0 ? -1 : html.indexOf(QLatin1Char('>'), open + 1);
        if (close < 0) {
            appendDecoded(out, QStringView(html).sliced(pos));
            break;
        }
        appendDecoded(out, QStringView(html).sliced(pos, open - pos));
        const QStringView tag = QStringView(html).sliced(open + 1, close - open - 1);
        const QString name = tagName(tag);
        if (name == QLatin1String("br")) {
            out += QLatin1Char('\n');
        } else if (name == QLatin1String("a") || name == QLatin1String("/a")) {
            if (link)
                closeLink(out, link->first, link->second);
            link.reset();
            if (name == QLatin1String("a"))
                link.emplace(out.size(), hrefOf(tag));
        }
        pos = close + 1;
    }
    if (link)
        closeLink(out, link->first, link->second);
    return out;
}

QByteArray guardQuotes(QByteArrayView html)
{
    QByteArray guarded;
    guarded.reserve(html.size());
    bool inTag = false;
    char attributeQuote = 0;
    for (qsizetype i = 0; i < html.size(); ++i) {
        const char c = html[i];
        const bool atEnd = i + 1 == html.size();
        const bool endsArgument = c == '"' && (atEnd || isWhiteSpace(html[i + 1]));
        if (!inTag) {
            inTag = c == '<';
            guarded += endsArgument ? QByteArrayView("&quot;") : QByteArrayView(&c, 1);
            continue;
        }
        if (attributeQuote == 0 && c == '>') {
            inTag = false;
        } else if (c == '\'' && attributeQuote != '"') {
            attributeQuote = attributeQuote == 0 ? '\'' : 0;
        } else if (c == '"' && attributeQuote == '\'') {
            // Inside a single-quoted value the quote is text, and the entity means the same.
            guarded += endsArgument ? QByteArrayView("&quot;") : QByteArrayView(&c, 1);
            continue;
        } else if (c == '"') {
            const bool closing = attributeQuote == '"';
            attributeQuote = closing ? 0 : '"';
            guarded += c;
            if (!endsArgument)
                continue;
            if (closing) {
                // Any white space separates attributes; a tab ends nothing.
                guarded += '\t';
            } else if (!atEnd) {
                // A value that starts with white space keeps it as a reference.
                guarded += "&#" + QByteArray::number(int(html[i + 1])) + ';';
            }
            if (!atEnd)
                ++i;
            continue;
        }
        guarded += c;
    }
    return guarded;
}

} // namespace HtmlText
