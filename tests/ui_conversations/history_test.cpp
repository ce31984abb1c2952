// The history files: where a name's file lies, what survives a crash, and
// what a reopened transcript shows of them.

#include "conversationfixture.h"

#include "conversation/history.h"
#include "remembered.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>

namespace {
class HistoryTest : public ::testing::Test
{
protected:
    HistoryTest() { remembered.setKeepsHistory(true); }

    void append(const QString &body, Transcript::Speaker speaker = Transcript::Speaker::Other, bool autoReply = false)
    {
        history.append(History::Place::Conversation, "Friend",
                       {QDateTime(QDate(2026, 12, 8), QTime(19, 4)), speaker, autoReply,
                        speaker == Transcript::Speaker::Other ? QStringLiteral("Friend") : QStringLiteral("Me"), body});
    }

    QByteArray file() const
    {
        QFile file(history.filePath(History::Place::Conversation, "Friend"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    Remembered remembered; // no settings file: the choice lives for the test only
    History history{remembered, folder.path()};
};
} // namespace

TEST_F(HistoryTest, EveryNameGetsAFileInsideTheFolderOrNone)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"Some Body", "somebody.txt"},
        {"../../etc/passwd", "%2E%2E%2F%2E%2E%2Fetc%2Fpasswd.txt"},
        {"a\\b:c", "a%5Cb%3Ac.txt"},
        {"J\xc3\xbcrgen", "j%C3%BCrgen.txt"},
        {"   ", ""},
    };
    for (const auto &[name, file] : cases) {
        EXPECT_EQ(history.filePath(History::Place::Conversation, name),
                  file.isEmpty() ? QString() : folder.path() + QLatin1Char('/') + file);
    }
    EXPECT_EQ(history.filePath(History::Place::ChatRoom, "The Lobby"), folder.path() + QStringLiteral("/rooms/thelobby.txt"));
}

TEST_F(HistoryTest, ALineCutShortByACrashIsSkippedAndTheNextOneStaysWhole)
{
    append(QStringLiteral("one\r\nline\twith a tab"));
    {
        QFile cut(history.filePath(History::Place::Conversation, "Friend"));
        ASSERT_TRUE(cut.open(QIODevice::Append));
        cut.write("2026-12-08 19:05:00\tthem\tFri");
    }
    EXPECT_EQ(history.lastLines(History::Place::Conversation, "friend", 5).size(), 1);
    append(QStringLiteral("after the crash"));
    EXPECT_TRUE(file().endsWith("\tthem\tFri\n2026-12-08 19:04:00\tthem\tFriend\tafter the crash\n"));
    const QList<History::Line> lines = history.lastLines(History::Place::Conversation, "Friend", 5);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].body, QStringLiteral("one line\twith a tab"));
}

TEST_F(HistoryTest, AReopenedTranscriptShowsTheLastLinesAsPlainTextWithoutKeepingThemTwice)
{
    for (int i = 0; i < History::ShownLines; ++i)
        append(QStringLiteral("old %1").arg(i));
    append(QStringLiteral("<b>not bold</b>"), Transcript::Speaker::Self);
    append(QStringLiteral("away"), Transcript::Speaker::Self, true);

    QTextEdit view;
    history.follow(&view, History::Place::Conversation, "Friend");
    const QList<TextRun> runs = runsOf(&view);
    ASSERT_EQ(runs.size(), 1 + 2 * History::ShownLines);
    EXPECT_EQ(runs[0].text, QStringLiteral("History"));
    EXPECT_EQ(runs.mid(1, 2), QList<TextRun>({{"Friend: ", true, Blue}, {"old 2", false, Black}}));
    EXPECT_EQ(runs.mid(runs.size() - 4, 3),
              QList<TextRun>({{"Me: ", true, Red}, {"<b>not bold</b>", false, Black}, {"Me:(Auto) ", true, Red}}));
    EXPECT_FALSE(hasRichContent(&view));
    const qsizetype kept = file().count('\n');
    Transcript::appendEntry(&view, Transcript::Speaker::Self, QStringLiteral("Me"), QStringLiteral("new"));
    EXPECT_EQ(file().count('\n'), kept + 1) << "only the new entry is added";
}
