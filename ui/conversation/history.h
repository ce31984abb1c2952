#pragma once

// History: the conversation and chat-room history files, kept only while the
// user has "Keep a history" on. One plain-text file per correspondent and per
// room, one line per transcript entry, appended as the entry is written.
// A crash can cost at most the line being written, never the file.

#include "transcript.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

class QTextEdit;
class Remembered;

class History
{
    Q_DISABLE_COPY_MOVE(History)
public:
    enum class Place { Conversation, ChatRoom };

    struct Line
    {
        QDateTime time;
        Transcript::Speaker speaker = Transcript::Speaker::Other;
        bool autoReply = false;
        QString name;
        QString body;
    };

    // How many lines a window shows when it opens.
    static constexpr int ShownLines = 20;

    // folder: where the files go; empty keeps nothing.
    History(const Remembered &remembered, const QString &folder);

    // Shows the last lines kept for name under a "History" heading, then keeps
    // every entry later written into view under that name (replacing whatever
    // view was kept under before).
    void follow(QTextEdit *view, Place place, QByteArrayView name);

    void append(Place place, QByteArrayView name, const Line &line) const;
    // The last count whole lines kept for name, oldest first.
    QList<Line> lastLines(Place place, QByteArrayView name, int count) const;

    // The file of name (normalized here), or empty when name cannot have one.
    QString filePath(Place place, QByteArrayView name) const;
    // The normalized name with every byte outside a-z and 0-9 written as %XX:
    // no separator, dot or other byte can lead out of the folder.
    static QString fileStem(QByteArrayView normalizedName);

    // Called by the transcript writer for every entry it writes.
    static void recordEntry(QTextEdit *view, Transcript::Speaker speaker, const QString &name, const QString &body,
                            const QString &separator);

private:
    const Remembered &m_remembered;
    QString m_folder;
};
