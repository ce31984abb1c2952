#pragma once

// SignOnFlow: the life of one session, beside the session control. It signs
// on and off, gives up a sign-on the server stops moving on (a server that
// accepts the connection and then stays silent would leave "Connecting..." up
// for ever), knows which server answers end a session and whether a dropped
// connection is news or only the close that follows an answer already given.
// A sign-on of the name whose session ended moments ago waits until the
// server has let go of that session (see ReSignOnGapMs).
// It says all of that through state() and one ended() signal. Create it right
// after the control and before any window's handler, so that it hears each of
// the control's events first and its state is current when they run.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QTimer;
class QuorTOCSock;

class SignOnFlow : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignOnFlow)
public:
    enum class State {
        Offline,
        Connecting, // from the sign-on until the server has sent the stored lists
        SignedOn,
        Ending, // the server ended the session and is about to hang up
        Waiting, // the connection dropped; signing on again is due (retryIn())
    };
    Q_ENUM(State)

    enum class Reason {
        SignedOff, // LogOff: the user, or whoever asked for it
        GaveUp, // the server stopped moving before the sign-on was complete
        Refused, // the server refused the sign-on
        SignedOnElsewhere, // the server signed this session off
        ConnectionLost, // the connection could not be made or dropped
    };
    Q_ENUM(Reason)

    // How long a sign-on may wait for the server's next bytes before it is
    // given up; a slow sign-on that keeps moving takes as long as it needs.
    static constexpr int DefaultTimeoutMs = 30000;
    // Open OSCAR Server takes a name's sign-on that comes within about 3 s of
    // that name's last session ending as a second instance of the session
    // that is going away; the new session then never hears of its buddies.
    // So a sign-on that soon waits out the rest, still shown as connecting.
    static constexpr int ReSignOnGapMs = 3000;
    // Signing on again after a dropped connection: the first wait is never
    // shorter than the gap above, each later one twice the one before, up to
    // five minutes, each a fifth shorter or longer at random, so that clients
    // dropped together do not all come back at the same moment.
    static constexpr int FirstRetryWaitMs = ReSignOnGapMs;
    static constexpr int MaxRetryWaitMs = 5 * 60 * 1000;

    explicit SignOnFlow(QuorTOCSock &btoc, QObject *parent = nullptr);
    void setTimeout(int milliseconds);
    void setReSignOnGap(int milliseconds) { m_reSignOnGapMs = milliseconds; }
    void setRetryWaits(int firstMs, int maxMs);

    // Signs name on; whatever session was under way is dropped first.
    void signOn(const QByteArray &name, const QByteArray &password, const QByteArray &host, qint32 port);
    void signOff();

    // Whether a session that was signed on and lost its connection (not one
    // refused or ended by the server or the user) is signed on again by itself.
    void setSignOnAgain(bool on);
    bool signsOnAgain() const { return m_signOnAgain; }
    // While Waiting: milliseconds until the next sign-on, else -1.
    qint64 retryIn() const;
    // The next sign-on now: the network is back, or the user asks for it.
    void retryNow();
    // No more signing on again until the next session drops.
    void cancelRetry();

    State state() const { return m_state; }

    // Whether code refuses a sign-on: bad account or password (or too many
    // places signed on), too soon again, refused, failed inside the server;
    // or the server signing this session off. Once signed on, only the last
    // ends anything.
    static bool endsSignOn(qint16 code);

signals:
    void stateChanged(SignOnFlow::State state);
    // The session is over. detail is what says why in the server's or the
    // connection's words (the refusal, the socket's error); for SignedOff the
    // name that was signed off; empty otherwise.
    void ended(SignOnFlow::Reason reason, const QByteArray &detail);
    // A sign-on again is due in so many milliseconds (after ended()).
    void retryScheduled(int milliseconds);

private:
    void setState(State state);
    void end(Reason reason, State state, const QByteArray &detail);
    void onLoggedIn();
    void onLoggedOut(const QByteArray &strUserName);
    void onError(qint16 intErrorCode, const QByteArray &strError);
    void onWinsockError(const QByteArray &strError);
    void giveUp();
    // Connects now; the wait for the server's answer starts.
    void connectNow();
    // After a lost connection: whether to sign on again, and when.
    bool retryAfter(Reason reason, State stateBefore);
    void retry();

    QuorTOCSock &m_btoc;
    QTimer *m_timer;
    QTimer *m_holdOff;
    int m_reSignOnGapMs = ReSignOnGapMs;
    // The sign-on under way, kept only until it has been sent.
    QByteArray m_name;
    QByteArray m_password;
    QString m_host;
    qint32 m_port = 0;
    // Whose session ended last, and when.
    QByteArray m_endedName;
    QElapsedTimer m_sinceEnd;
    State m_state = State::Offline;
    bool m_givingUp = false;
    bool m_signOnAgain = false;
    // Set from the first lost connection until a sign-on succeeds again.
    bool m_retrying = false;
    int m_retryWaitMs = 0;
    int m_firstRetryWaitMs = FirstRetryWaitMs;
    int m_maxRetryWaitMs = MaxRetryWaitMs;
    QTimer *m_retry;
};
