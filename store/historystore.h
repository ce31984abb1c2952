#pragma once

// HistoryStore: the conversation and chat-room history on disk, kept only
// while the user has "Keep a history" on. One plain-text file per
// correspondent and per room, one line per entry, appended as it happens. A
// crash can cost at most the line being written, never the file.

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

class Remembered;

class HistoryStore
{
    Q_DISABLE_COPY_MOVE(HistoryStore)
public:
    enum class Place { Conversation, ChatRoom };
    enum class Speaker { Self, Other };

    struct Line
    {
        QDateTime time;
        Speaker speaker = Speaker::Other;
        bool autoReply = false;
        QString name;
        QString body;
    };

    // folder: where the files go; empty keeps nothing.
    HistoryStore(const Remembered &remembered, const QString &folder);

    // Whether lines are kept now: the user's choice, and a place to keep them.
    bool isKeeping() const;
    void append(Place place, QByteArrayView name, const Line &line) const;
    // The last count whole lines kept for name, oldest first.
    QList<Line> lastLines(Place place, QByteArrayView name, int count) const;

    // The file of name (normalized here), or empty when name cannot have one.
    QString filePath(Place place, QByteArrayView name) const;
    // The normalized name with every byte outside a-z and 0-9 written as %XX:
    // no separator, dot or other byte can lead out of the folder.
    static QString fileStem(QByteArrayView normalizedName);

private:
    const Remembered &m_remembered;
    QString m_folder;
};
