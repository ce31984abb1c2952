#pragma once

// SignOnFlow: the rules of one session's life, apart from any window. It
// gives up a sign-on the server never completes (a server that accepts the
// connection and then stays silent would leave "Connecting..." up for ever), knows which server errors
// end a session, and whether a dropped connection is news for the user or
// only the close that follows an answer already shown. The main window
// tells it what happened and asks it what follows.

#include <QObject>

class QTimer;
class QuorTOCSock;

class SignOnFlow : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignOnFlow)
public:
    // How long a sign-on may wait for the server before it is given up.
    static constexpr int DefaultTimeoutMs = 30000;

    explicit SignOnFlow(QuorTOCSock &btoc, QObject *parent = nullptr);
    void setTimeout(int milliseconds);

    // The user pressed Sign On; the wait for the server begins.
    void begin();
    // The server completed the sign-on.
    void signedOn();
    // The session is over: the user signed off, or it was lost or given up.
    void ended();

    // An ERROR arrived. A refused sign-on ends the wait; a refusal before the
    // sign-on completed and a sign-off by the server mean the server hangs up
    // next, and that close is part of the answer. True when the session ends.
    bool errorArrived(qint16 code);
    // The connection dropped: whether the user is to be told.
    bool connectionLostIsNews();

    bool isSignedOn() const { return m_signedOn; }
    bool isWaiting() const;
    // True while a sign-on is being given up: the sign-off the session
    // reports then is not one the user asked for.
    bool isGivingUp() const { return m_givingUp; }

    // Whether code refuses a sign-on: bad account or password, too soon
    // again, refused; or the server signing this session off.
    static bool endsSignOn(qint16 code);

signals:
    // The server kept the sign-on waiting too long; the connection is closed.
    void gaveUp();

private:
    void giveUp();

    QuorTOCSock &m_btoc;
    QTimer *m_timer;
    bool m_givingUp = false;
    bool m_signedOn = false;
    bool m_closeExpected = false;
};
