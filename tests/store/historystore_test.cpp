// The history files: where a name's file lies and what survives a crash.

#include "store/historystore.h"
#include "store/remembered.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class HistoryStoreTest : public ::testing::Test
{
protected:
    HistoryStoreTest() { remembered.setKeepsHistory(true); }

    void append(const QString &body)
    {
        history.append(HistoryStore::Place::Conversation, "Friend",
                       {QDateTime(QDate(2026, 12, 8), QTime(19, 4)), HistoryStore::Speaker::Other, false,
                        QStringLiteral("Friend"), body});
    }

    QByteArray file() const
    {
        QFile file(history.filePath(HistoryStore::Place::Conversation, "Friend"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    Remembered remembered; // no settings file: the choice lives for the test only
    HistoryStore history{remembered, folder.path()};
};
} // namespace

TEST_F(HistoryStoreTest, EveryNameGetsAFileInsideTheFolderOrNone)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"Some Body", "somebody.txt"},
        {"../../etc/passwd", "%2E%2E%2F%2E%2E%2Fetc%2Fpasswd.txt"},
        {"a\\b:c", "a%5Cb%3Ac.txt"},
        {"J\xc3\xbcrgen", "j%C3%BCrgen.txt"},
        {"   ", ""},
    };
    for (const auto &[name, file] : cases) {
        EXPECT_EQ(history.filePath(HistoryStore::Place::Conversation, name),
                  file.isEmpty() ? QString() : folder.path() + QLatin1Char('/') + file);
    }
    EXPECT_EQ(history.filePath(HistoryStore::Place::ChatRoom, "The Lobby"), folder.path() + QStringLiteral("/rooms/thelobby.txt"));
}

TEST_F(HistoryStoreTest, ALineCutShortByACrashIsSkippedAndTheNextOneStaysWhole)
{
    append(QStringLiteral("one\r\nline\twith a tab"));
    {
        QFile cut(history.filePath(HistoryStore::Place::Conversation, "Friend"));
        ASSERT_TRUE(cut.open(QIODevice::Append));
        cut.write("2026-12-08 19:05:00\tthem\tFri");
    }
    EXPECT_EQ(history.lastLines(HistoryStore::Place::Conversation, "friend", 5).size(), 1);
    append(QStringLiteral("after the crash"));
    EXPECT_TRUE(file().endsWith("\tthem\tFri\n2026-12-08 19:04:00\tthem\tFriend\tafter the crash\n"));
    const QList<HistoryStore::Line> lines = history.lastLines(HistoryStore::Place::Conversation, "Friend", 5);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].body, QStringLiteral("one line\twith a tab"));
}
