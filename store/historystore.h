#pragma once

// HistoryStore: the conversation and chat-room history on disk, written only
// while the user has "Keep a history" on. One SQLite database in the history
// folder holds every line of every correspondent and room, keyed by the
// normalized name, with a full-text index over what was said. A line reported
// written survives a crash. The text files earlier versions wrote in the same
// folder are read in once and left as they are.

#include "historydatabase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
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
        qint64 id = 0; // its place in the store once kept
    };

    // A line a search found, with the correspondent or room it was kept under.
    struct Match
    {
        Place place;
        QByteArray key; // normalized
        QString shownName; // as last seen
        Line line;
    };

    // The database's name inside the history folder.
    static inline const QString FileName = QStringLiteral("history.sqlite");
    // The newest matches a search returns at most.
    static constexpr int SearchLimit = 500;

    // folder: where the history is kept; empty keeps nothing.
    HistoryStore(const Remembered &remembered, const QString &folder);

    QString databasePath() const { return m_db.path(); }
    // Whether lines are written now: the user's choice, a place to keep them,
    // and nothing has gone wrong with it in this run.
    bool isKeeping() const;
    // Whether there is a history to read: one that is kept, or one left from
    // an earlier run. Opens it, and reads the old text files in the first time.
    bool isAvailable();
    // Why the history is not kept, in one sentence for the user; empty while
    // all is well.
    QString problem() const { return m_db.problem(); }

    // Keeps line under name; true once it is on the disk. name is shown as
    // given and filed under its normalized form; a name that normalizes to
    // nothing keeps nothing.
    bool append(Place place, QByteArrayView name, const Line &line);
    // The same for many lines in one transaction.
    bool append(Place place, QByteArrayView name, const QList<Line> &lines);
    // The last count lines kept for name, oldest first.
    QList<Line> lastLines(Place place, QByteArrayView name, int count);
    // The newest lines (at most limit) holding every word of words, or words
    // beginning so; newest first. Punctuation is no search syntax.
    QList<Match> search(const QString &words, int limit = SearchLimit);
    // The lines kept for the same correspondent as lineId: up to before lines
    // before it, the line itself and up to after lines after it, oldest first.
    QList<Line> around(qint64 lineId, int before, int after);
    // Deletes every line kept for name; true when nothing of it is left.
    bool forget(Place place, QByteArrayView name);
    // Deletes every line older than cutoff; how many went.
    int pruneOlderThan(const QDateTime &cutoff);
    // Deletes what is older than the user's "Keep history for" allows.
    void pruneExpired();

private:
    bool importTextFiles();
    // The correspondent's row, made when create is true; 0 when there is none.
    qint64 correspondent(Place place, const QByteArray &key, const QString &shownName, bool create);
    bool insert(qint64 correspondentId, const QList<Line> &lines);

    const Remembered &m_remembered;
    QString m_folder;
    HistoryDatabase m_db;
    // Correspondent rows and the name each was last shown as, by place and key.
    QHash<QPair<int, QByteArray>, QPair<qint64, QString>> m_correspondents;
};
