#pragma once

// The main window's side of one-to-one conversations: finds or opens the
// conversation window for each incoming message, writes the sender's line,
// answers once per sender while away, and opens conversations on request.

#include "conversation/frmaimim.h"

#include <QByteArray>
#include <QObject>
#include <QString>

struct AppContext;
class AwayMessages;
class QWidget;

class ConversationRouter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversationRouter)
public:
    // strMyName is the main window's own member, read at each use.
    ConversationRouter(AppContext &context, AwayMessages &away, const QString &strMyName, QObject *parent = nullptr);

    // Position, oldest first, of the first open window whose Tag is exactly
    // strMatch, or -1. Valid only until a window opens or closes.
    int FormByTag(const QString &strMatch) const;
    QWidget *windowAt(int position) const;

    // The handler for the session's InstantMessage event.
    void onInstantMessage(const QByteArray &strUserName, const QByteArray &strMessage, bool blnAutoResponse,
                          const QByteArray &strUserClass);

    // The handler for the session's TypingStatus event: shown in the
    // correspondent's open conversation; it opens none.
    void onTypingStatus(const QByteArray &strUserName, qint16 intTypingStatus);

    // Asks for a screen name, offering suggested, and opens a new conversation
    // with it, even when one is open already. Nothing for an empty answer.
    frmAimIM *startConversation(const QString &suggested = QString());
    // The conversation with wireName, raised if open, else opened.
    frmAimIM *showConversation(const QByteArray &wireName);
    // The user is signed on, possibly under another name than before.
    void userSignedOn();
    // The open conversation with wireName, or null.
    frmAimIM *conversationWith(const QByteArray &wireName) const;

private:
    // A message to somebody offline ("ERROR:901") is marked in its conversation.
    void onError(qint16 intErrorCode);
    frmAimIM *openConversation(const QString &tag, const QByteArray &wireName,
                               frmAimIM::Opening opening = frmAimIM::Opening::ByTheUser);
    void answerWhileAway(frmAimIM &window, const QByteArray &strUserName, const QString &shownName, bool openedNow);

    AppContext &m_context;
    AwayMessages &m_away;
    const QString &m_strMyName;
};
