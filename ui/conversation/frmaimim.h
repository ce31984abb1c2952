#pragma once

// frmAimIM: one conversation with one correspondent. Sends what the user
// types, echoes it into the transcript, and blocks or warns the correspondent.
// The main window creates it, fills in whom it talks to and writes the
// correspondent's lines; the window itself never looks for its siblings.

#include "session/quortocsock.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QMap>
#include <QTextCursor>
#include <QPointer>
#include <QWidget>

struct AppContext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TypingReporter;
class QTextEdit;
class QToolButton;

class frmAimIM : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAimIM)
public:
    // Registers itself as an open window; it is deleted when closed.
    explicit frmAimIM(AppContext &context, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *currentname; // the correspondent as the window was opened for
    QTextEdit *txtIM; // written only through the Transcript writer
    QLineEdit *txtMessage;
    QCheckBox *chkClear;
    QToolButton *cmdSend;
    QToolButton *cmdBlock;
    QToolButton *cmdWarn;
    QLineEdit *usersn; // the user's own name for own lines; never shown
    QLabel *lbTyping; // whether the correspondent is typing
    QPushButton *cmdUnblock; // shown while the correspondent is blocked
    QPushButton *cmdHistory; // the History window, on this conversation
    QPushButton *cmdSendLater; // shown while lines wait for an offline correspondent

    void Send();
    void Block();
    void Warn();
    void Unblock();
    // The correspondent's typing state as their client reported it.
    void showTypingStatus(qint16 intTypingStatus);

    // Whom the window talks to: the name exactly as the server sent it (or as
    // the user asked for it), shown in currentname and sent back unchanged.
    void setCorrespondent(const QByteArray &wireName);
    QByteArray correspondent() const { return m_correspondent; }

    // Opened for a correspondent: caption, whom it talks to, the user's own
    // name for their lines, and the kept history if the user keeps one. A
    // window the user did not ask for shows without taking the keyboard.
    enum class Opening { ByTheUser, ByAMessage };
    void openFor(const QByteArray &wireName, const QString &myName, Opening opening = Opening::ByTheUser);
    // The user is signed on under myName now.
    void setOwnName(const QString &myName);
    // The correspondent's line (an automatic reply marked as one); what they
    // were typing has arrived.
    void appendIncoming(const QString &name, const QString &text, bool autoReply = false);
    // The automatic reply sent for the user while away.
    void appendAutoReply(const QString &myName, const QString &text);
    // The user's last line went (verdict) as ticket: a line that waits for
    // the server's speed limit says so until it goes, and a line the server
    // drops says so too.
    void followSend(QuorTOCSock::Ticket ticket, QuorTOCSock::SendCheck verdict);
    // The server says the correspondent is not online: the last line that
    // went is marked as not delivered and can be sent when they sign on.
    void lastLineUndelivered();
    // The lines marked as not delivered go once the correspondent signs on.
    void SendLater();
    void appendNotice(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    // Tells the user why a block or warning cannot go out; true when it cannot.
    bool refused(QuorTOCSock::SendCheck verdict, const QString &request);

    void refreshBlocked();
    void onSendSettled(QuorTOCSock::Ticket ticket, QuorTOCSock::SendOutcome outcome);
    // A line that went is marked should the connection turn out to have been
    // dead already, until the server is heard from after it.
    void followUntilHeard(QuorTOCSock::Ticket ticket, const QTextCursor &mark);
    // A line that went (or waits to) as ticket ends at mark.
    void marked(QTextCursor mark, QuorTOCSock::Ticket ticket, QuorTOCSock::SendCheck verdict);
    void undelivered(const QByteArray &message, QTextCursor mark);
    void onHeldDelivered(quint64 id, QuorTOCSock::SendCheck verdict, QuorTOCSock::Ticket ticket);

    AppContext &m_context;
    QByteArray m_correspondent;
    TypingReporter *m_typing;
    // Opened by a message while the user typed elsewhere: where the keyboard
    // goes back to should the window system hand it to this window anyway.
    QPointer<QWidget> m_keyboardOwner;
    QElapsedTimer m_shownByMessage;
    // Lines still waiting to go, and the end of the last line that went.
    QHash<QuorTOCSock::Ticket, QTextCursor> m_waiting;
    QMap<QuorTOCSock::Ticket, QTextCursor> m_unheard;
    QuorTOCSock::Ticket m_lastSent = 0;
    QTextCursor m_lastSentEnd;
    QByteArray m_lastSentMessage;
    // Lines the correspondent never got, and lines held until they sign on.
    QList<std::pair<QByteArray, QTextCursor>> m_undelivered;
    QHash<quint64, QTextCursor> m_held;
};
