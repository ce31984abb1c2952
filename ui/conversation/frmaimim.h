#pragma once

// frmAimIM: one conversation with one correspondent. Sends what the user
// types, echoes it into the transcript, and blocks or warns the correspondent.
// The main window creates it, fills in whom it talks to and writes the
// correspondent's lines; the window itself never looks for its siblings.

#include "session/quortocsock.h"

#include <QByteArray>
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
    QTextEdit *txtIM;    // written only through the Transcript writer
    QLineEdit *txtMessage;
    QCheckBox *chkClear;
    QToolButton *cmdSend;
    QToolButton *cmdBlock;
    QToolButton *cmdWarn;
    QLineEdit *usersn;   // the user's own name for own lines; never shown
    QLabel *lbTyping;    // whether the correspondent is typing
    QPushButton *cmdUnblock; // shown while the correspondent is blocked
    QPushButton *cmdHistory; // the History window, on this conversation

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
    // name for their lines, and the kept history if the user keeps one.
    void openFor(const QByteArray &wireName, const QString &myName);
    // The user is signed on under myName now.
    void setOwnName(const QString &myName);
    // The correspondent's line; what they were typing has arrived.
    void appendIncoming(const QString &name, const QString &text);
    // The automatic reply sent for the user while away.
    void appendAutoReply(const QString &myName, const QString &text);
    void appendNotice(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    // Tells the user why a block or warning cannot go out; true when it cannot.
    bool refused(QuorTOCSock::SendCheck verdict, const QString &request);

    void refreshBlocked();

    AppContext &m_context;
    QByteArray m_correspondent;
    TypingReporter *m_typing;
};
