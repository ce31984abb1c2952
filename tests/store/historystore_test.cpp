// The history database: what goes in comes out by name, by word and around a
// match; forgetting and pruning; the text files of earlier versions; and a
// file that is not a history of ours.

#include "printers.h"
#include "store/historystore.h"
#include "store/remembered.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using Place = HistoryStore::Place;
using Speaker = HistoryStore::Speaker;

class HistoryStoreTest : public ::testing::Test
{
protected:
    HistoryStoreTest() { remembered.setKeepsHistory(true); }

    bool append(Place place, QByteArrayView name, const QString &body,
                const QDateTime &time = QDateTime::currentDateTime())
    {
        return history.append(place, name, {time, Speaker::Other, false, QString::fromUtf8(name), body});
    }

    QStringList bodies(Place place, QByteArrayView name)
    {
        QStringList found;
        for (const HistoryStore::Line &line : history.lastLines(place, name, 1000))
            found << line.body;
        return found;
    }

    QStringList filesInFolder() const
    {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    Remembered remembered; // no settings file: the choices live for the test only
    HistoryStore history{remembered, folder.path()};
};
} // namespace

TEST_F(HistoryStoreTest, LinesComeBackByNameByWordAndAroundAMatchUntilForgotten)
{
    // Names are keys, never paths; a name that normalizes to nothing keeps nothing.
    for (const QByteArray name : {"../../etc/passwd", "a\\b:c", "J\xc3\xbcrgen"})
        EXPECT_TRUE(append(Place::Conversation, name, QStringLiteral("hello ") + QString::fromUtf8(name)));
    EXPECT_FALSE(append(Place::Conversation, "   ", QStringLiteral("nowhere")));
    EXPECT_EQ(bodies(Place::Conversation, "../../ETC/passwd"), QStringList({"hello ../../etc/passwd"}));
    EXPECT_EQ(bodies(Place::Conversation, "J\xc3\xbc rgen"), QStringList({QStringLiteral("hello J\u00fcrgen")}));

    for (int i = 0; i < 6; ++i)
        append(Place::Conversation, "Friend", QStringLiteral("friend %1").arg(i));
    append(Place::Conversation, "Friend", QStringLiteral("one\r\nline\twith a tab, see you in Z\u00fcrich tomorrow"));
    append(Place::ChatRoom, "Friend", QStringLiteral("a room of the same name: Zurich tomorrow"));
    for (int i = 6; i < 9; ++i)
        append(Place::Conversation, "Friend", QStringLiteral("friend %1").arg(i));
    EXPECT_EQ(history.lastLines(Place::Conversation, "FRIEND", 2).last().body, QStringLiteral("friend 8"));

    // Every word, as a word or its start, without accents; newest first.
    const QList<HistoryStore::Match> matches = history.search(QStringLiteral("zurich TOMOR"));
    ASSERT_EQ(matches.size(), 2);
    EXPECT_EQ(matches[0].place, Place::ChatRoom);
    EXPECT_EQ(matches[1].place, Place::Conversation);
    EXPECT_EQ(matches[1].key, QByteArray("friend"));
    EXPECT_EQ(matches[1].shownName, QStringLiteral("Friend"));
    EXPECT_EQ(matches[1].line.body, QStringLiteral("one\r\nline\twith a tab, see you in Z\u00fcrich tomorrow"));
    EXPECT_TRUE(history.search(QStringLiteral("zurich yesterday")).isEmpty());
    // What would be query syntax is taken as text.
    for (const char *syntax : {"\"", "(", "* OR", "NEAR(a b)", "-", "^"})
        EXPECT_TRUE(history.search(QString::fromLatin1(syntax)).isEmpty()) << syntax;
    EXPECT_EQ(history.search(QStringLiteral("\"zurich\" (tomorrow AND")).size(), 0);
    EXPECT_EQ(history.search(QStringLiteral("\"zurich\" (tomorrow")).size(), 2);
    EXPECT_EQ(history.search(QStringLiteral("friend"), 4).size(), 4);

    // Around a match: the same conversation only, the room's line is not in it.
    QStringList around;
    for (const HistoryStore::Line &line : history.around(matches[1].line.id, 2, 3))
        around << line.body;
    EXPECT_EQ(around, QStringList({"friend 4", "friend 5", matches[1].line.body, "friend 6", "friend 7", "friend 8"}));

    EXPECT_TRUE(history.forget(Place::Conversation, "fr iend"));
    EXPECT_TRUE(bodies(Place::Conversation, "Friend").isEmpty());
    EXPECT_EQ(history.search(QStringLiteral("tomorrow")).size(), 1) << "the room keeps its line";
    EXPECT_EQ(bodies(Place::Conversation, "a\\b:c"), QStringList({"hello a\\b:c"}));
    EXPECT_EQ(filesInFolder(), QStringList({"history.sqlite", "history.sqlite-shm", "history.sqlite-wal"}));
    EXPECT_EQ(QFile::permissions(history.databasePath()) & 0x0077, 0) << "nobody but the owner reads it";
}

TEST_F(HistoryStoreTest, PruningDeletesWhatIsOlderThanTheChosenAge)
{
    const QDateTime now = QDateTime::currentDateTime();
    append(Place::Conversation, "Friend", QStringLiteral("two years ago"), now.addYears(-2));
    append(Place::ChatRoom, "lobby", QStringLiteral("two months ago"), now.addMonths(-2));
    append(Place::Conversation, "Friend", QStringLiteral("two weeks ago"), now.addDays(-14));
    append(Place::Conversation, "Friend", QStringLiteral("today"), now);

    history.pruneExpired(); // forever, until the user chooses otherwise
    remembered.setKeepHistoryFor(Remembered::HistoryAge::Year);
    history.pruneExpired();
    EXPECT_EQ(bodies(Place::Conversation, "Friend"), QStringList({"two weeks ago", "today"}));
    remembered.setKeepHistoryFor(Remembered::HistoryAge::Month);
    history.pruneExpired();
    EXPECT_TRUE(bodies(Place::ChatRoom, "lobby").isEmpty());
    EXPECT_EQ(history.pruneOlderThan(now.addDays(-7)), 1);
    EXPECT_EQ(bodies(Place::Conversation, "Friend"), QStringList({"today"}));
    EXPECT_TRUE(append(Place::ChatRoom, "lobby", QStringLiteral("back again")));
}

TEST_F(HistoryStoreTest, TextFilesOfEarlierVersionsAreReadInOnceAndLeftAsTheyAre)
{
    const QString friendFile = folder.path() + QStringLiteral("/friend.txt");
    const QByteArray friendText = "2026-12-08 19:04:00\tthem\tFriend\tone line\twith a tab\n"
                                  "garbage that Qiv never wrote\n"
                                  "2026-12-08 19:06:00\tme-auto\tMe\taway\n"
                                  "2026-12-08 19:07:00\tthem\tFri"; // cut short by a crash
    writeFile(friendFile, friendText);
    writeFile(folder.path() + QStringLiteral("/rooms/thelobby.txt"), "2026-12-08 19:05:00\tme\tMe\tin the room\n");
    writeFile(folder.path() + QStringLiteral("/%2E%2E%2Fetc.txt"), "2026-12-08 19:08:00\tthem\t../etc\tdots\n");
    writeFile(folder.path() + QStringLiteral("/j%C3%BCrgen.txt"), "2026-12-08 19:09:00\tthem\tJ\xc3\xbcrgen\thallo\n");
    writeFile(folder.path() + QStringLiteral("/Not Ours.txt"), "2026-12-08 19:09:00\tthem\tX\tnot imported\n");

    const QList<HistoryStore::Line> lines = history.lastLines(Place::Conversation, "Friend", 10);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].body, QStringLiteral("one line\twith a tab"));
    EXPECT_EQ(lines[0].time, QDateTime(QDate(2026, 12, 8), QTime(19, 4)));
    EXPECT_TRUE(lines[1].autoReply);
    EXPECT_EQ(bodies(Place::ChatRoom, "The Lobby"), QStringList({"in the room"}));
    EXPECT_EQ(bodies(Place::Conversation, "../etc"), QStringList({"dots"}));
    EXPECT_EQ(history.search(QStringLiteral("hallo")).value(0).shownName, QStringLiteral("J\u00fcrgen"));
    EXPECT_TRUE(history.search(QStringLiteral("imported")).isEmpty());
    EXPECT_EQ(readFile(friendFile), friendText);

    // Read in once: a later run neither reads the files again nor takes new lines from them.
    writeFile(friendFile, friendText + "\n2026-12-09 10:00:00\tthem\tFriend\tlater\n");
    HistoryStore again(remembered, folder.path());
    EXPECT_EQ(again.lastLines(Place::Conversation, "Friend", 10).size(), 2);
}

TEST_F(HistoryStoreTest, AFileThatIsNotAHistoryOfOursIsLeftAsItIsAndSaidSo)
{
    // Somebody's own file under that name, and another program's database.
    const QByteArray novel = "Chapter one. It was a dark and stormy night; the rain fell in torrents.\n";
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(folder.path() + QStringLiteral("/other.sqlite"));
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec(QStringLiteral("CREATE TABLE lines (text)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    const QByteArray database = readFile(folder.path() + QStringLiteral("/other.sqlite"));

    for (const QByteArray &contents : {novel, database}) {
        writeFile(folder.path() + QStringLiteral("/history.sqlite"), contents);
        const QStringList before = filesInFolder();
        HistoryStore store(remembered, folder.path());
        EXPECT_FALSE(store.append(
            Place::Conversation, "Friend",
            {QDateTime::currentDateTime(), Speaker::Other, false, QStringLiteral("Friend"), QStringLiteral("hi")}));
        EXPECT_FALSE(store.isKeeping());
        EXPECT_TRUE(store.search(QStringLiteral("night")).isEmpty());
        EXPECT_EQ(store.problem(),
                  QStringLiteral("Qiv keeps no history in this run: %1 is not a history it can read, "
                                 "and it leaves the file as it is.")
                      .arg(QDir::toNativeSeparators(store.databasePath())));
        EXPECT_EQ(readFile(store.databasePath()), contents);
        EXPECT_EQ(filesInFolder(), before);
    }
}
