#include "transcriptcontent.h"

#include <QTextBlock>
#include <QTextEdit>

QList<std::pair<QString, QString>> linksOf(const QTextEdit *view)
{
    QList<std::pair<QString, QString>> links;
    bool inLink = false;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            // A link cut into several runs is one link.
            if (format.isAnchor() && inLink && links.last().second == format.anchorHref())
                links.last().first += it.fragment().text();
            else if (format.isAnchor())
                links.append({it.fragment().text(), format.anchorHref()});
            inLink = format.isAnchor();
        }
        inLink = false;
    }
    return links;
}

bool hasRichContent(const QTextEdit *view)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                return true;
        }
    }
    for (const auto &[shown, address] : linksOf(view)) {
        const bool web = address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
            || address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)
            || address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
        if (!web || shown != address)
            return true;
    }
    return false;
}
