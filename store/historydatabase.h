#pragma once

// HistoryDatabase: the one SQLite connection behind the history. It opens a
// file only when it is a Qiv history or a new one and never writes to anything
// else, sets it up so that a line reported written survives a crash, and turns
// SQLite's failures into the one sentence the user reads. After a failed write
// it writes nothing more for the rest of the run; reading goes on.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>

class QSqlQuery;

class HistoryDatabase
{
    Q_DISABLE_COPY_MOVE(HistoryDatabase)
public:
    // path: the database file; empty keeps nothing.
    explicit HistoryDatabase(const QString &path);
    ~HistoryDatabase();

    QString path() const { return m_path; }

    // Opens the file, first creating it (owner-only, in an owner-only folder)
    // when create is true. False when it is absent or cannot be used; then
    // problem() says why, and later calls do not try again.
    bool open(bool create);
    bool isOpen() const { return m_db.isOpen(); }
    // Whether writing has stopped for this run, or was never possible.
    bool hasFailed() const { return !m_problem.isEmpty(); }
    // One calm sentence on why the history is not kept; empty while all is well.
    QString problem() const { return m_problem; }

    // Runs work inside one transaction and commits it. Any failure rolls it
    // all back, sets problem() and stops writing; false then.
    bool write(const std::function<bool()> &work);

    // A query on this connection, prepared from sql.
    QSqlQuery prepared(const QString &sql);
    // Runs query; on failure keeps its error for the failing write.
    bool run(QSqlQuery &query);
    bool run(const QString &sql);

    // Small named values kept in the database itself (what has been done once).
    QVariant fact(const QString &name);
    bool setFact(const QString &name, const QVariant &value);

    // Moves what the write-ahead log holds into the file and empties the log,
    // so that deleted lines leave no copy behind in it.
    void checkpoint();

private:
    bool refuse(const QString &reason);
    bool useFile(bool create);
    bool createSchema();

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    QSqlError m_lastError;
    QString m_problem;
};
