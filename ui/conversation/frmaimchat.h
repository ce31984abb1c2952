#pragma once

// frmAimChat: one chat-room window (the main window keeps three of them as its
// chat slots). Shows the room transcript and the people present, sends the
// user's messages to the room and leaves the room when closed. The main
// window's chat slots hand it the room's traffic through the methods below.

#include "conversation/transcript.h"

#include "session/quortocsock.h"

#include <QByteArray>
#include <QSet>
#include <QWidget>

struct AppContext;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class MemberMenu;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

class frmAimChat : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAimChat)
public:
    explicit frmAimChat(AppContext &context, QWidget *parent = nullptr);
    ~frmAimChat() override;

    // Sets lbhere to the number of members; writing the value it already
    // shows changes nothing, so the refresh can never feed itself.
    void refreshHeadCount();

    // The slot's room, as the hidden fields keep it.
    bool holdsRoom() const; // a room name: the slot is taken
    bool isInRoom() const; // a chat ID: leaving means telling the server
    QString roomName() const;

    // The server confirmed the join of wireName as chat chatId.
    void enterRoom(const QByteArray &wireName, qint32 chatId);
    // Empties the transcript, as a join about to start does.
    void clearTranscript();
    // Whether the user muted the member by selecting them in the list.
    bool mutes(const QByteArray &normalizedName) const;
    void appendMessage(Transcript::Speaker speaker, const QString &name, const QString &text);
    void memberArrived(const QString &name, const QByteArray &normalizedName);
    // Every entry of the member goes, with a line for each.
    void memberLeft(const QString &name, const QByteArray &normalizedName);
    // The room is over without the user leaving it (the server took them out,
    // or the session ended): the window closes without asking or leaving.
    void dropRoom();
    void closeForSignOff();
    // The member list's menu.
    MemberMenu &memberMenu() { return *m_memberMenu; }

    QTextEdit *txtChat;
    QListWidget *lstHere;
    QLabel *Label2;
    QLabel *lbhere;
    QPlainTextEdit *txtMessage;
    QCheckBox *chkClear;
    QPushButton *cmdSend;
    QPushButton *cmdClearWindow;
    QPushButton *cmdInvite;
    // Never shown: Enter in the entry box clicks it.
    QPushButton *cmdsndlol;
    // Never shown: the room's chat ID as decimal text, empty while not in a room.
    QLineEdit *chatid;
    // Never shown: the room's name; empty marks the slot free for the next join.
    QLineEdit *chatname;

signals:
    // The close went through; the window is about to be deleted.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void send();
    // Asks for screen names and a message and invites them into the room.
    void invite();
    void buildLayout();
    // What became of a message of this room's that waited or that went last.
    void onSendSettled(QuorTOCSock::Ticket ticket, QuorTOCSock::SendOutcome outcome);

    AppContext &m_context;
    MemberMenu *m_memberMenu;
    QSet<QuorTOCSock::Ticket> m_waiting;
    QuorTOCSock::Ticket m_lastSent = 0;
};
