// What a reopened transcript shows of the kept history, and what it keeps.

#include "conversationfixture.h"

#include "conversation/history.h"
#include "store/remembered.h"

#include <QTemporaryDir>
#include <QTextEdit>

namespace {
class HistoryTest : public ::testing::Test
{
protected:
    HistoryTest() { remembered.setKeepsHistory(true); }

    void append(const QString &body, HistoryStore::Speaker speaker = HistoryStore::Speaker::Other,
                bool autoReply = false, History::Place place = History::Place::Conversation)
    {
        store.append(place, place == History::Place::Conversation ? "Friend" : "lobby",
                     {Said, speaker, autoReply,
                      speaker == HistoryStore::Speaker::Other ? QStringLiteral("Friend") : QStringLiteral("Me"), body});
    }

    qsizetype keptLines() { return store.lastLines(History::Place::Conversation, "Friend", 1000).size(); }

    const QDateTime Said{QDate(2026, 12, 8), QTime(19, 4)};
    QTemporaryDir folder;
    Remembered remembered; // no settings file: the choice lives for the test only
    HistoryStore store{remembered, folder.path()};
    History history{store};
};
} // namespace

TEST_F(HistoryTest, AReopenedTranscriptShowsTheLastLinesAsPlainTextWithoutKeepingThemTwice)
{
    for (int i = 0; i < History::ShownLines; ++i)
        append(QStringLiteral("old %1").arg(i));
    append(QStringLiteral("<b>not bold</b>"), HistoryStore::Speaker::Self);
    append(QStringLiteral("away"), HistoryStore::Speaker::Self, true);

    QTextEdit view;
    history.follow(&view, History::Place::Conversation, "Friend");
    const QList<TextRun> runs = runsOf(&view);
    ASSERT_EQ(runs.size(), 1 + 2 * History::ShownLines);
    EXPECT_EQ(runs[0].text, QStringLiteral("History"));
    EXPECT_EQ(runs.mid(1, 2), QList<TextRun>({{"Friend: ", true, Blue}, {"old 2", false, Black}}));
    EXPECT_EQ(runs.mid(runs.size() - 4, 3),
              QList<TextRun>({{"Me: ", true, Red}, {"<b>not bold</b>", false, Black}, {"Me:(Auto) ", true, Red}}));
    EXPECT_FALSE(hasRichContent(&view));
    const qsizetype kept = keptLines();
    Transcript::appendEntry(&view, Transcript::Speaker::Self, QStringLiteral("Me"), QStringLiteral("new"));
    EXPECT_EQ(keptLines(), kept + 1) << "only the new entry is added";
}
