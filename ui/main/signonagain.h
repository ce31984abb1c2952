#pragma once

// SignOnAgain: "Sign on again if the connection drops" on the sign-on panel.
// Keeps the choice, and while the session signs itself on again after a
// drop, says on the status line when the next try comes and offers to stop
// it; once signed on again, the rooms the user was in are joined again and an
// away message is posted again. Conversation windows are left as they are,
// with what was typed in them.

#include "chatslots.h"

#include <QObject>
#include <QString>

class AwayMessages;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class Remembered;
class SignOnFlow;

class SignOnAgain : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignOnAgain)
public:
    // Connects to the flow itself: create it before whoever closes the
    // session's windows when it ends, so that it sees them still open.
    SignOnAgain(SignOnFlow &flow, Remembered &remembered, ChatSlots &rooms, AwayMessages &away, QCheckBox &choice,
                QPushButton &cancel, QLabel &status, QObject *parent = nullptr);

private:
    void onEnded(const QByteArray &detail);
    void showCountdown();
    void restore();

    SignOnFlow &m_flow;
    Remembered &m_remembered;
    ChatSlots &m_rooms;
    AwayMessages &m_away;
    QCheckBox &m_choice;
    QPushButton &m_cancel;
    QLabel &m_status;
    QTimer *m_countdown;
    // What the dropped session had, to be restored once signed on again.
    QList<ChatSlots::Room> m_roomsToJoin;
    QString m_awayText;
    QString m_lostBecause;
};
