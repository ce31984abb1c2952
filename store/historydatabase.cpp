#include "historydatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {
// "Qiv1" in the file's header: the mark of a database this program made. A
// database without it belongs to somebody else and is never written to.
constexpr int ApplicationId = 0x51697631;
constexpr int SchemaVersion = 1;
constexpr auto OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// Another Qiv of the same user may hold the write lock for a moment.
const QString ConnectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000");

// SQLite's primary result codes, as Qt's driver reports them.
enum SqliteCode {
    Perm = 3,
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADb = 26
};

// Takes away what others may do with path, and gives its owner nothing more:
// a folder or file the user made read-only stays so.
void keepPrivate(const QString &path)
{
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    QFile::setPermissions(path, QFile::permissions(path) & owner);
}

QString tr(const char *text) { return QCoreApplication::translate("HistoryDatabase", text); }

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Why the file cannot be used, as the end of a sentence.
QString notOurs(const QString &path)
{
    return tr("%1 is not a history it can read, and it leaves the file as it is").arg(shown(path));
}

QString reasonFor(const QSqlError &error, const QString &path)
{
    switch (error.nativeErrorCode().toInt() & 0xFF) {
    case NotADb:
    case Corrupt:
        return notOurs(path);
    case ReadOnly:
    case Perm:
    case CantOpen:
        return tr("%1 cannot be written to").arg(shown(path));
    case Full:
        return tr("the disk that holds %1 is full").arg(shown(path));
    case IoErr:
        return tr("the disk would not store any more of %1").arg(shown(path));
    case Busy:
    case Locked:
        return tr("%1 is kept busy by another program").arg(shown(path));
    default:
        return tr("%1 could not be used (%2)").arg(shown(path), error.databaseText());
    }
}

// Lines, and who they were exchanged with: the normalized name is the key,
// the name as last shown goes with it. The full-text index reads the bodies
// from the lines table and is kept in step by the two triggers.
const char *const Schema[] = {
    "CREATE TABLE correspondents (id INTEGER PRIMARY KEY, place INTEGER NOT NULL, key BLOB NOT NULL,"
    " shown TEXT NOT NULL, UNIQUE (place, key))",
    "CREATE TABLE lines (id INTEGER PRIMARY KEY, correspondent INTEGER NOT NULL REFERENCES correspondents (id),"
    " time INTEGER NOT NULL, speaker INTEGER NOT NULL, name TEXT NOT NULL, body TEXT NOT NULL)",
    "CREATE INDEX lines_by_correspondent ON lines (correspondent, id)",
    "CREATE INDEX lines_by_time ON lines (time)",
    "CREATE VIRTUAL TABLE lines_text USING fts5 (body, content = 'lines', content_rowid = 'id',"
    " tokenize = 'unicode61 remove_diacritics 2')",
    "CREATE TRIGGER lines_indexed AFTER INSERT ON lines BEGIN"
    " INSERT INTO lines_text (rowid, body) VALUES (new.id, new.body); END",
    "CREATE TRIGGER lines_unindexed AFTER DELETE ON lines BEGIN"
    " INSERT INTO lines_text (lines_text, rowid, body) VALUES ('delete', old.id, old.body); END",
    "CREATE TABLE facts (name TEXT PRIMARY KEY, value)",
};
} // namespace

HistoryDatabase::HistoryDatabase(const QString &path)
    : m_path(path)
    , m_connectionName(QStringLiteral("history-%1").arg(quintptr(this), 0, 16))
{
}

HistoryDatabase::~HistoryDatabase()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool HistoryDatabase::refuse(const QString &reason)
{
    m_problem = tr("Qiv keeps no history in this run: %1.").arg(reason);
    if (m_db.isValid())
        m_db.close();
    return false;
}

bool HistoryDatabase::open(bool create)
{
    if (m_db.isOpen())
        return true;
    if (hasFailed() || m_path.isEmpty())
        return false;
    if (!useFile(create))
        return false;
    // A private folder first, so that no file in it is ever readable by others.
    keepPrivate(QFileInfo(m_path).path());

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!m_db.isValid())
        return refuse(tr("Qt's SQLite driver is not installed"));
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(ConnectOptions);
    if (!m_db.open())
        return refuse(reasonFor(m_db.lastError(), m_path));

    // Only reads until the file is known to be a history of ours: a file that
    // is no database, or another program's database, is closed untouched.
    QSqlQuery header(m_db);
    if (!header.exec(QStringLiteral("SELECT (SELECT count(*) FROM sqlite_master), a.application_id, v.user_version"
                                    " FROM pragma_application_id() AS a, pragma_user_version() AS v"))
        || !header.next())
        return refuse(reasonFor(header.lastError(), m_path));
    const bool empty = header.value(0).toInt() == 0;
    if (!empty && header.value(1).toInt() != ApplicationId)
        return refuse(notOurs(m_path));
    if (!empty && header.value(2).toInt() > SchemaVersion)
        return refuse(tr("%1 was written by a newer Qiv").arg(shown(m_path)));
    header.finish();

    // The write-ahead log with a sync at every commit: a committed line is on
    // the disk before append() returns, so neither a killed program nor a
    // machine that loses power takes it back; a crash can only cost the line
    // whose commit had not finished. One sync per line is nothing at the pace
    // people type. Deleted text is overwritten, not just unlinked.
    QSqlQuery mode(m_db);
    if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !mode.next()
        || mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return refuse(tr("%1 cannot be written to").arg(shown(m_path)));
    mode.finish();
    if (!run(QStringLiteral("PRAGMA synchronous = FULL")) || !run(QStringLiteral("PRAGMA secure_delete = ON")))
        return refuse(reasonFor(m_lastError, m_path));
    // A new history gets its tables; for any other the write lock alone shows,
    // before a line waits on it, whether the file can be written to.
    if (!write([&] { return !empty || createSchema(); }))
        return refuse(reasonFor(m_lastError, m_path));
    for (const QString &file : {m_path, m_path + QStringLiteral("-wal"), m_path + QStringLiteral("-shm")}) {
        if (QFileInfo::exists(file))
            keepPrivate(file);
    }
    return true;
}

bool HistoryDatabase::useFile(bool create)
{
    const QFileInfo file(m_path);
    if (file.exists() && !file.isFile())
        return refuse(notOurs(m_path));
    if (file.exists())
        return file.isWritable() || refuse(tr("%1 cannot be written to").arg(shown(m_path)));
    if (!create)
        return false;
    // Made here, owner-only from the first byte: SQLite gives its log files
    // the permissions of the database file.
    const bool madeFolder = !QFileInfo::exists(file.path());
    QFile made(m_path);
    if (!QDir().mkpath(file.path()))
        return refuse(tr("%1 cannot be written to").arg(shown(m_path)));
    if (madeFolder)
        QFile::setPermissions(file.path(), OwnerOnly | QFileDevice::ExeOwner);
    if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly))
        return refuse(tr("%1 cannot be written to").arg(shown(m_path)));
    return true;
}

bool HistoryDatabase::createSchema()
{
    for (const char *statement : Schema) {
        if (!run(QString::fromLatin1(statement)))
            return false;
    }
    return run(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId))
        && run(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
}

bool HistoryDatabase::write(const std::function<bool()> &work)
{
    if (!m_db.isOpen() || hasFailed())
        return false;
    // IMMEDIATE: the write lock now, so a busy database fails here, not halfway.
    if (run(QStringLiteral("BEGIN IMMEDIATE"))) {
        if (work() && run(QStringLiteral("COMMIT")))
            return true;
        const QSqlError failure = m_lastError;
        run(QStringLiteral("ROLLBACK"));
        m_lastError = failure;
    }
    m_problem
        = tr("Qiv stopped keeping the history: %1. What it kept so far is safe.").arg(reasonFor(m_lastError, m_path));
    return false;
}

QSqlQuery HistoryDatabase::prepared(const QString &sql)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql))
        m_lastError = query.lastError();
    return query;
}

bool HistoryDatabase::run(QSqlQuery &query)
{
    if (query.exec())
        return true;
    m_lastError = query.lastError();
    return false;
}

bool HistoryDatabase::run(const QString &sql)
{
    QSqlQuery query(m_db);
    if (query.exec(sql))
        return true;
    m_lastError = query.lastError();
    return false;
}

QVariant HistoryDatabase::fact(const QString &name)
{
    QSqlQuery query = prepared(QStringLiteral("SELECT value FROM facts WHERE name = ?"));
    query.addBindValue(name);
    return run(query) && query.next() ? query.value(0) : QVariant();
}

bool HistoryDatabase::setFact(const QString &name, const QVariant &value)
{
    QSqlQuery query = prepared(QStringLiteral("INSERT OR REPLACE INTO facts (name, value) VALUES (?, ?)"));
    query.addBindValue(name);
    query.addBindValue(value);
    return run(query);
}

void HistoryDatabase::checkpoint()
{
    if (m_db.isOpen())
        run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}
