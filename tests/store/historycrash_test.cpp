// What a crash leaves of the history: a writer killed in the middle of its
// work, or stopped by a disk that takes no more (a file-size limit stands in
// for a full disk), has lost no line it reported written, and the database it
// leaves checks clean.

#include "printers.h"
#include "store/historystore.h"
#include "store/remembered.h"

#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// The writer's output so far: the numbers of the lines it reported written.
struct Writer
{
    Writer(const QString &folder, qint64 first, const QStringList &more = {})
    {
        process.start(QStringLiteral(QIV_HISTORY_WRITER), QStringList{folder, QString::number(first)} + more);
    }

    QList<QByteArray> reported()
    {
        output += process.readAllStandardOutput();
        QList<QByteArray> lines = output.split('\n');
        lines.removeLast(); // a number the kill cut short was never reported
        return lines;
    }

    QProcess process;
    QByteArray output;
};

// SQLite's own check of the file, and of the full-text index against the lines.
QString integrityOf(const QString &path)
{
    QString verdict;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
            verdict = db.lastError().text() + query.lastError().text();
        else
            verdict = query.value(0).toString();
        if (!query.exec(QStringLiteral("INSERT INTO lines_text (lines_text) VALUES ('integrity-check')")))
            verdict += query.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return verdict;
}

QSet<QString> keptBodies(const QString &folder)
{
    Remembered remembered;
    HistoryStore store(remembered, folder);
    QSet<QString> bodies;
    for (const HistoryStore::Line &line : store.lastLines(HistoryStore::Place::Conversation, "Friend", 1000000))
        bodies << line.body;
    return bodies;
}

QString body(const QByteArray &number)
{
    return QStringLiteral("line %1 of a long evening").arg(QString::fromLatin1(number));
}
} // namespace

TEST(HistoryCrashTest, AKilledWriterLosesNoLineItReportedWritten)
{
    QTemporaryDir folder;
    qint64 first = 1;
    for (int round = 0; round < 3; ++round) {
        Writer writer(folder.path(), first);
        ASSERT_TRUE(QTest::qWaitFor([&] { return writer.reported().size() >= 150; }, 60000))
            << writer.process.readAllStandardError().toStdString();
        writer.process.kill(); // SIGKILL, in the middle of whatever it was doing
        ASSERT_TRUE(writer.process.waitForFinished(10000));
        const QList<QByteArray> reported = writer.reported();

        EXPECT_EQ(integrityOf(folder.path() + QStringLiteral("/history.sqlite")), QStringLiteral("ok"));
        const QSet<QString> kept = keptBodies(folder.path());
        for (const QByteArray &number : reported)
            ASSERT_TRUE(kept.contains(body(number))) << "round " << round << ", line " << number.toStdString();
        EXPECT_LE(kept.size(), reported.last().toLongLong() + 1) << "only the line whose report the kill cut off";
        first = kept.size() + 1;
    }
}

TEST(HistoryCrashTest, ADiskThatTakesNoMoreStopsTheHistoryWithASentenceAndKeepsWhatWasWritten)
{
    QTemporaryDir folder;
    Writer writer(folder.path(), 1, {QStringLiteral("262144")});
    ASSERT_TRUE(writer.process.waitForFinished(60000));
    EXPECT_EQ(writer.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(writer.process.exitCode(), 0);
    QList<QByteArray> reported = writer.reported();
    ASSERT_FALSE(reported.isEmpty());
    const QByteArray last = reported.takeLast();
    EXPECT_TRUE(last.startsWith("stopped: Qiv stopped keeping the history: ")) << last.toStdString();
    EXPECT_GT(reported.size(), 0);

    EXPECT_EQ(integrityOf(folder.path() + QStringLiteral("/history.sqlite")), QStringLiteral("ok"));
    const QSet<QString> kept = keptBodies(folder.path());
    for (const QByteArray &number : reported)
        ASSERT_TRUE(kept.contains(body(number))) << number.toStdString();
}
