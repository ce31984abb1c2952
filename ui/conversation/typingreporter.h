#pragma once

// TypingReporter: tells a correspondent whether the user is typing to them.
// Typing while the box has text, "typed" after a pause without keys, nothing
// once the box is empty or the message has gone. A change reaches the wire at
// most once a gap; in between only the latest state waits.

#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QTimer;

class TypingReporter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TypingReporter)
public:
    static constexpr int DefaultGapMs = 1000;
    static constexpr int DefaultPauseMs = 5000;

    // send puts one typing state on the wire.
    TypingReporter(std::function<void(qint16)> send, QObject *parent = nullptr);
    void setIntervals(int gapMs, int pauseMs);

    // The user changed the text in the box.
    void textEdited(const QString &text);
    // The message went out.
    void messageSent();

private:
    void want(qint16 state);
    void flush();

    std::function<void(qint16)> m_send;
    QTimer *m_pause;
    QTimer *m_gap;
    QElapsedTimer m_sinceLastSent;
    qint16 m_sent;
    qint16 m_wanted;
    int m_gapMs = DefaultGapMs;
};
