// The history files: where a name's file lies, what survives a crash, and
// what a reopened transcript shows of them.

#include "conversationfixture.h"

#include "conversation/history.h"
#include "conversation/transcript.h"
#include "remembered.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>

namespace {
class HistoryTest : public ::testing::Test
{
protected:
    HistoryTest() { remembered.setKeepsHistory(true); }

    History::Line line(const QString &body, Transcript::Speaker speaker = Transcript::Speaker::Other) const
    {
        return {QDateTime(QDate(2026, 12, 8), QTime(19, 4)), speaker, false,
                speaker == Transcript::Speaker::Other ? QStringLiteral("Friend") : QStringLiteral("Me"), body};
    }

    QByteArray fileOf(const QByteArray &name) const
    {
        QFile file(history.filePath(History::Place::Conversation, name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    Remembered remembered; // no settings file: the choice lives for the test only
    History history{remembered, folder.path()};
};
} // namespace

TEST_F(HistoryTest, EveryNameGetsAFileInsideTheFolderOrNone)
{
    const struct
    {
        QByteArray name;
        QString file; // empty: refused
    } cases[] = {
        {"Some Body", "somebody.txt"},
        {"../../etc/passwd", "%2E%2E%2F%2E%2E%2Fetc%2Fpasswd.txt"},
        {"..", "%2E%2E.txt"},
        {"a\\b:c", "a%5Cb%3Ac.txt"},
        {"J\xc3\xbcrgen", "j%C3%BCrgen.txt"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto &c : cases) {
        const QString expected = c.file.isEmpty() ? QString() : folder.path() + QLatin1Char('/') + c.file;
        EXPECT_EQ(history.filePath(History::Place::Conversation, c.name), expected) << c.name.constData();
    }
    EXPECT_EQ(history.filePath(History::Place::ChatRoom, "The Lobby"), folder.path() + QStringLiteral("/rooms/thelobby.txt"));

    history.append(History::Place::Conversation, "   ", line(QStringLiteral("to nobody")));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(HistoryTest, ALineCutShortByACrashIsSkippedAndTheNextOneStaysWhole)
{
    history.append(History::Place::Conversation, "Friend", line(QStringLiteral("one\r\nline\twith a tab")));
    {
        QFile file(history.filePath(History::Place::Conversation, "Friend"));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("2026-12-08 19:05:00\tthem\tFri");
    }
    EXPECT_EQ(history.lastLines(History::Place::Conversation, "friend", 5).size(), 1);

    history.append(History::Place::Conversation, "Friend", line(QStringLiteral("after the crash")));
    EXPECT_TRUE(fileOf("Friend").endsWith("\tthem\tFri\n2026-12-08 19:04:00\tthem\tFriend\tafter the crash\n"));
    const QList<History::Line> lines = history.lastLines(History::Place::Conversation, "Friend", 5);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].body, QStringLiteral("one line\twith a tab"));
    EXPECT_EQ(lines[1].body, QStringLiteral("after the crash"));
    EXPECT_EQ(lines[1].time, line(QString()).time);
}

TEST_F(HistoryTest, AReopenedTranscriptShowsTheLastLinesAsPlainTextWithoutKeepingThemTwice)
{
    for (int i = 0; i < History::ShownLines; ++i)
        history.append(History::Place::Conversation, "Friend", line(QStringLiteral("old %1").arg(i)));
    history.append(History::Place::Conversation, "Friend",
                   line(QStringLiteral("<b>not bold</b>"), Transcript::Speaker::Self));
    History::Line autoReply = line(QStringLiteral("away"), Transcript::Speaker::Self);
    autoReply.autoReply = true;
    history.append(History::Place::Conversation, "Friend", autoReply);

    QTextEdit view;
    history.follow(&view, History::Place::Conversation, "Friend");
    const QList<TextRun> runs = runsOf(&view);
    ASSERT_EQ(runs.size(), 1 + 2 * History::ShownLines);
    EXPECT_EQ(runs.first().text, QStringLiteral("History"));
    EXPECT_EQ(runs[1], (TextRun{QStringLiteral("Friend: "), true, Blue}));
    EXPECT_EQ(runs[2], (TextRun{QStringLiteral("old 2"), false, Black}));
    EXPECT_EQ(runs[runs.size() - 4], (TextRun{QStringLiteral("Me: "), true, Red}));
    EXPECT_EQ(runs[runs.size() - 3], (TextRun{QStringLiteral("<b>not bold</b>"), false, Black}));
    EXPECT_EQ(runs[runs.size() - 2], (TextRun{QStringLiteral("Me:(Auto) "), true, Red}));
    EXPECT_FALSE(hasRichContent(&view));

    const qsizetype kept = fileOf("Friend").count('\n');
    Transcript::appendEntry(&view, Transcript::Speaker::Self, QStringLiteral("Me"), QStringLiteral("new"));
    EXPECT_EQ(fileOf("Friend").count('\n'), kept + 1) << "only the new entry is added";
    EXPECT_EQ(history.lastLines(History::Place::Conversation, "Friend", 1).first().body, QStringLiteral("new"));

    remembered.setKeepsHistory(false);
    Transcript::appendEntry(&view, Transcript::Speaker::Self, QStringLiteral("Me"), QStringLiteral("unkept"));
    EXPECT_EQ(fileOf("Friend").count('\n'), kept + 1);
}
