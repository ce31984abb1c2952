#pragma once

// frmAimChat: one chat-room window (the main window keeps three of them as its
// chat slots). Shows the room transcript and the people present, sends the
// user's messages to the room and leaves the room when closed. Incoming room
// traffic is written into it by the main window's chat slots, never read here.

#include <QWidget>

struct AppContext;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QListWidget;
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

    QTextEdit *txtChat;
    QListWidget *lstHere;
    QLabel *Label2;
    QLabel *lbhere;
    QPlainTextEdit *txtMessage;
    QCheckBox *chkClear;
    QPushButton *cmdSend;
    QPushButton *cmdClearWindow;
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
    void buildLayout();

    AppContext &m_context;
};
