#pragma once

// ConnectionWatch: notices a connection that died without a word. A cable
// pulled on the far side of a router, a VPN that stalls or a Wi-Fi that roams
// leave the socket open with nothing moving through it, and neither TOC
// server says anything by itself to a client that says nothing (Open OSCAR
// Server never sends keep-alives, nor answers them). So once the server has
// been quiet for a while, the session asks it something it must answer; no
// answer in time means the connection is gone. Waits on timers only; the
// session control tells it what arrives and what goes out.

#include <QObject>

class QTimer;

class ConnectionWatch : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionWatch)
public:
    // A server quiet this long is asked for an answer...
    static constexpr int DefaultQuietMs = 60000;
    // ...and given this long to give it: a dead connection is noticed within
    // a minute and a half of its last word.
    static constexpr int DefaultAnswerMs = 30000;

    explicit ConnectionWatch(QObject *parent = nullptr);
    void setTimes(int quietMs, int answerMs);

    // Signed on: silence from now on counts.
    void start();
    void stop();
    // Bytes arrived from the server.
    void heard();
    // The question went out; its answer, or anything else, is due in time.
    void asked();

signals:
    // The server has been quiet: ask it something (then call asked()).
    void questionDue();
    // Nothing came back in time: the connection is dead.
    void silent();

private:
    QTimer *m_quiet;
    QTimer *m_answer;
    bool m_watching = false;
};
