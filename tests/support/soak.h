#pragma once

// A long conversation between two people at real Qiv windows: instant
// messages both ways (a conversation window each) and chat lines in a room
// they are both in, as fast as the server carries them. What each window
// shows is checked at every sample: every line once, in the order sent,
// exactly as typed. At every sample the process's figures are read, after
// the transcripts are emptied, so that the lines they hold do not count as
// growth.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class DesktopUser;
class QTextEdit;
class frmAimChat;
class frmAimIM;

class Soak
{
public:
    struct Sample
    {
        int ims = 0; // instant messages so far, both ways together
        int chatLines = 0; // chat lines so far, both people together
        qint64 residentKb = 0;
        qint64 heapKb = 0;
        int openFiles = 0;
        // Processor time of this process (both Qivs) per message, IM or chat
        // line, since the sample before; checking the windows is left out.
        double cpuUsPerMessage = 0;
    };

    // a and b are signed on.
    Soak(DesktopUser &a, DesktopUser &b);
    ~Soak();
    Soak(const Soak &) = delete;
    Soak &operator=(const Soak &) = delete;
    // Opens a conversation each way and takes both into room; returns what
    // went wrong, or an empty string.
    QString setUp(const QString &room);
    // ims instant messages (half each way) and chatLines chat lines, spread
    // evenly; a sample every sampleEvery instant messages. Returns what went
    // wrong, or an empty string.
    QString run(int ims, int chatLines, int sampleEvery, const std::function<void(const Sample &)> &sampled = {});
    const QList<Sample> &samples() const { return m_samples; }

private:
    // One side: its person, their windows, and what they sent since the
    // last sample.
    struct Side
    {
        DesktopUser *user = nullptr;
        QString name;
        frmAimIM *conversation = nullptr;
        frmAimChat *room = nullptr;
        int imsIn = 0;
        int chatIn = 0;
        QStringList imsSent;
        QStringList chatSent;
    };

    static QString message(const Side &from, const char *kind, int number);
    // Waits until every line sent has arrived where it should.
    QString awaitArrivals(int imsEachWay, int chatLines);
    // Every window shows exactly the lines sent since the last sample.
    QString check() const;
    static QString checkLines(const QTextEdit *view, const QString &speaker, const QStringList &expected,
                              const QString &where);
    void sample(int ims, int chatLines, qint64 cpuSinceUs);

    Side m_sides[2];
    QList<QMetaObject::Connection> m_counting;
    QList<Sample> m_samples;
    qint64 m_lastCpuUs = 0;
    int m_lastMessages = 0;
};
