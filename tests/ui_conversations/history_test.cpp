// What a reopened transcript shows of the kept history and what it keeps, and
// the History window: finding a line, reading it in its conversation, forgetting.

#include "conversationfixture.h"

#include "conversation/history.h"
#include "history/frmhistory.h"
#include "scripteddialogs.h"
#include "store/remembered.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>

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

TEST_F(HistoryTest, WithTimestampsOnAReopenedTranscriptShowsWhenEachKeptLineWasSaid)
{
    append(QStringLiteral("long ago"));
    QTextEdit view;
    Transcript::showTimes(&view, true);
    history.follow(&view, History::Place::Conversation, "Friend");
    // Not said today: the date comes with the time.
    EXPECT_EQ(view.document()->lastBlock().text(),
              QLocale().toString(Said, QLocale::ShortFormat) + QStringLiteral(" Friend: long ago"));
    EXPECT_EQ(runsOf(&view).last(), (TextRun{QStringLiteral("long ago"), false, Black}));
}

TEST_F(HistoryTest, TheHistoryWindowFindsALineShowsItInItsConversationAsPlainTextAndForgetsIt)
{
    for (int i = 0; i < 3; ++i)
        append(QStringLiteral("before %1").arg(i));
    const QString markup = QStringLiteral("<b>see you</b> at the <a href=\"x\">lake</a>");
    append(markup);
    append(QStringLiteral("after"), HistoryStore::Speaker::Self);
    append(QStringLiteral("lake party"), HistoryStore::Speaker::Other, false, History::Place::ChatRoom);

    ScriptedDialogs dialogs;
    history.showWindow(dialogs);
    frmHistory *window = history.window();
    ASSERT_NE(window, nullptr);
    QTest::keyClicks(window->txtFind, QStringLiteral("LAKE"));
    QTest::keyClick(window->txtFind, Qt::Key_Return);
    ASSERT_EQ(window->lstMatches->topLevelItemCount(), 2);
    const QTreeWidgetItem *match = window->lstMatches->topLevelItem(1);
    EXPECT_EQ(match->text(frmHistory::TimeColumn), QLocale().toString(Said, QLocale::ShortFormat));
    EXPECT_EQ(match->text(frmHistory::WithColumn), QStringLiteral("Friend"));
    EXPECT_EQ(match->text(frmHistory::LineColumn), QStringLiteral("Friend: ") + markup);
    EXPECT_EQ(window->lstMatches->topLevelItem(0)->text(frmHistory::WithColumn), QStringLiteral("lobby (chat room)"));
    EXPECT_EQ(window->lbStatus->text(), QStringLiteral("2 lines match."));

    // The whole conversation around the match, the match marked and the caret on it.
    window->lstMatches->setCurrentItem(window->lstMatches->topLevelItem(1));
    EXPECT_EQ(window->lbConversation->text(), QStringLiteral("Conversation with Friend"));
    const QString shown = window->txtConversation->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Friend: before 0"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Me: after")));
    EXPECT_FALSE(shown.contains(QStringLiteral("party")));
    EXPECT_TRUE(runsOf(window->txtConversation).contains(TextRun{markup, false, Black}));
    EXPECT_FALSE(hasRichContent(window->txtConversation));
    EXPECT_TRUE(window->txtConversation->textCursor().block().text().endsWith(markup));
    ASSERT_EQ(window->txtConversation->extraSelections().size(), 1);
    EXPECT_TRUE(window->txtConversation->extraSelections()[0].cursor.selectedText().endsWith(markup));

    dialogs.yesNoAnswers << true;
    window->cmdForget->click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Forget everything Qiv kept of your conversation with Friend? This cannot be undone."));
    EXPECT_EQ(keptLines(), 0);
    EXPECT_EQ(window->lstMatches->topLevelItemCount(), 1);
    EXPECT_TRUE(window->txtConversation->toPlainText().isEmpty());
    EXPECT_FALSE(window->cmdForget->isEnabled());
    EXPECT_EQ(window->lbStatus->text(), QStringLiteral("Your conversation with Friend is forgotten."));
}
