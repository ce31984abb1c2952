#include "transcriptlinks.h"

#include "transcript.h"
#include "weblinks.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {
// The link the character at position belongs to, or empty.
QString linkAt(const QTextEdit *view, int position)
{
    const QTextDocument *document = view->document();
    if (position < 0 || position >= document->characterCount() - 1)
        return QString();
    QTextCursor cursor(view->document());
    // A cursor's format is that of the character before it.
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    return format.isAnchor() ? format.anchorHref() : QString();
}
} // namespace

TranscriptLinks::TranscriptLinks(QTextEdit *view, const UrlOpener &opener)
    : QObject(view)
    , m_view(view)
    , m_viewport(view->viewport())
    , m_opener(opener)
{
}

void TranscriptLinks::attach(QTextEdit *view, const UrlOpener &opener)
{
    if (isAttached(view))
        return;
    auto *links = new TranscriptLinks(view, opener);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::LinksAccessibleByMouse
                                  | Qt::LinksAccessibleByKeyboard);
    view->installEventFilter(links);
    view->viewport()->installEventFilter(links);
}

bool TranscriptLinks::isAttached(const QTextEdit *view)
{
    return view->findChild<TranscriptLinks *>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

QString TranscriptLinks::linkAtCaret(const QTextEdit *view)
{
    const QTextCursor caret = view->textCursor();
    const int position = caret.hasSelection() ? caret.selectionStart() : caret.position();
    const QString after = linkAt(view, position);
    return after.isEmpty() ? linkAt(view, position - 1) : after;
}

bool TranscriptLinks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QString address = linkAtCaret(m_view);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !address.isEmpty()) {
            open(address);
            return true;
        }
    } else if (watched == m_viewport
               && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const QString address = m_view->anchorAt(mouse->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress)
            m_pressed = address;
        else if (!address.isEmpty() && address == std::exchange(m_pressed, QString())
                 && !m_view->textCursor().hasSelection())
            open(address);
    }
    return false;
}

void TranscriptLinks::open(const QString &address)
{
    // Only the writer makes links, and only of these; anything else is refused all the same.
    const QUrl url(address);
    if (!WebLinks::isOpenable(url))
        return;
    if (!m_opener(url))
        Transcript::appendNotice(m_view, tr("Nothing on this computer opened %1.").arg(address));
}
