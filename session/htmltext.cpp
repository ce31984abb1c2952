#include "htmltext.h"

namespace HtmlText {

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

} // namespace HtmlText
