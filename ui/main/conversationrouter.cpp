#include "conversationrouter.h"

#include "appcontext.h"
#include "attention.h"
#include "awaymessages.h"
#include "dialogs.h"
#include "conversation/frmaimim.h"
#include "session/quortocsock.h"
#include "session/screenname.h"
#include "windowregistry.h"
#include "session/wiretext.h"

#include <QLineEdit>

ConversationRouter::ConversationRouter(AppContext &context, AwayMessages &away, const QString &strMyName,
                                       QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_away(away)
    , m_strMyName(strMyName)
{
    connect(&context.btoc, &QuorTOCSock::InstantMessage, this, &ConversationRouter::onInstantMessage,
            Qt::DirectConnection);
    connect(&context.btoc, &QuorTOCSock::TypingStatus, this, &ConversationRouter::onTypingStatus, Qt::DirectConnection);
    connect(&context.btoc, &QuorTOCSock::Error, this, &ConversationRouter::onError, Qt::DirectConnection);
}

void ConversationRouter::onError(qint16 intErrorCode)
{
    if (intErrorCode != TocProtocol::NotAvailable)
        return;
    if (frmAimIM *window = conversationWith(m_context.btoc.errorArgument()))
        window->lastLineUndelivered();
}

int ConversationRouter::FormByTag(const QString &strMatch) const
{
    const QList<QWidget *> open = m_context.windows.windows();
    for (int position = 0; position < open.size(); ++position) {
        if (WindowRegistry::tag(open[position]) == strMatch)
            return position;
    }
    return -1;
}

QWidget *ConversationRouter::windowAt(int position) const
{
    const QList<QWidget *> open = m_context.windows.windows();
    return position >= 0 && position < open.size() ? open[position] : nullptr;
}

frmAimIM *ConversationRouter::openConversation(const QString &tag, const QByteArray &wireName,
                                               frmAimIM::Opening opening)
{
    auto *window = new frmAimIM(m_context);
    WindowRegistry::setTag(window, tag);
    window->openFor(wireName, m_strMyName, opening);
    return window;
}

void ConversationRouter::onInstantMessage(const QByteArray &strUserName, const QByteArray &strMessage,
                                          bool blnAutoResponse, const QByteArray &)
{
    const QString shownName = WireText::fromWireHtml(strUserName);
    const QString text = WireText::fromWireHtml(strMessage);
    const QString key = WireText::fromWire(ScreenName::NormalizeName(strUserName));

    // Only conversations carry a Tag, so the window found is one.
    auto *window = qobject_cast<frmAimIM *>(windowAt(FormByTag(key)));
    const bool openedNow = !window;
    if (openedNow)
        window = openConversation(key, strUserName, frmAimIM::Opening::ByAMessage);
    window->appendIncoming(shownName, text, blnAutoResponse);
    m_context.attention.messageArrived(window, shownName, text);

    // An automatic reply is never answered with another: two people away
    // would trade their away messages for ever.
    if (m_away.isAway() && !blnAutoResponse)
        answerWhileAway(*window, strUserName, shownName, openedNow);
}

void ConversationRouter::answerWhileAway(frmAimIM &window, const QByteArray &strUserName, const QString &shownName,
                                         bool openedNow)
{
    if (m_away.hasAnswered(strUserName))
        return;
    const QString awayText = m_away.awayText();
    // Only a conversation that this message opened gets the style prefix.
    const QByteArray message = WireText::toWireHtml(openedNow ? m_context.txtFont.text() : QString(), awayText);
    // Counted as answered either way, so a reply that cannot go out is
    // reported once per away period rather than at every message.
    m_away.addAnswered(strUserName);

    QuorTOCSock::Ticket ticket = 0;
    const QuorTOCSock::SendCheck verdict = m_context.btoc.trySendIM(strUserName, message, true, &ticket);
    if (verdict == QuorTOCSock::SendCheck::TooLong) {
        window.appendNotice(tr("No automatic reply was sent to %1: the away message "
                               "is too long for the server.")
                                .arg(shownName));
        return;
    }
    window.appendAutoReply(m_strMyName, awayText);
    window.followSend(ticket, verdict);
}

frmAimIM *ConversationRouter::conversationWith(const QByteArray &wireName) const
{
    return qobject_cast<frmAimIM *>(windowAt(FormByTag(WireText::fromWire(ScreenName::NormalizeName(wireName)))));
}

void ConversationRouter::onTypingStatus(const QByteArray &strUserName, qint16 intTypingStatus)
{
    if (frmAimIM *window = conversationWith(strUserName))
        window->showTypingStatus(intTypingStatus);
}

frmAimIM *ConversationRouter::showConversation(const QByteArray &wireName)
{
    frmAimIM *window = conversationWith(wireName);
    if (!window)
        window = openConversation(WireText::fromWire(ScreenName::NormalizeName(wireName)), wireName);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmAimIM *ConversationRouter::startConversation(const QString &suggested)
{
    const QString answer = m_context.dialogs.askText(
        nullptr, tr("Enter the screenname you would like to Instant message"), QStringLiteral("IM"), suggested);
    if (answer.isEmpty())
        return nullptr;
    const QByteArray name = ScreenName::NormalizeName(WireText::toWire(answer));
    return openConversation(WireText::fromWire(name), name);
}

void ConversationRouter::userSignedOn()
{
    // A conversation kept open across a sign-on under another name writes the
    // user's new lines under the name they now go out as.
    for (QWidget *open : m_context.windows.windows()) {
        if (auto *conversation = qobject_cast<frmAimIM *>(open))
            conversation->setOwnName(m_strMyName);
    }
}
