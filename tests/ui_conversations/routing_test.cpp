// Incoming messages find their conversation and arrive as plain text; the
// user opens conversations by name.

#include "conversationfixture.h"

#include <QApplication>
#include <QTest>

#include <QTextEdit>

namespace {

using RoutingTest = ConversationTest;

TEST_F(RoutingTest, TheFirstMessageOpensATaggedWindowAndOtherSpellingsReachIt)
{
    receiveIm("Some Body", "hello");
    ASSERT_EQ(conversations().size(), 1);
    frmAimIM *window = conversations()[0];
    EXPECT_EQ(WindowRegistry::tag(window), QStringLiteral("somebody"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - Some Body"));
    EXPECT_EQ(window->currentname->text(), QStringLiteral("Some Body"));
    EXPECT_EQ(window->usersn->text(), QStringLiteral("Me Myself"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->txtIM->toPlainText(), QStringLiteral("\nSome Body: hello"));
    EXPECT_EQ(runsOf(window->txtIM),
              (QList<TextRun>{{QStringLiteral("Some Body: "), true, Blue}, {QStringLiteral("hello"), false, Black}}));
    EXPECT_TRUE(sentLines().isEmpty()); // not away: nobody is answered

    receiveIm("SOME BODY", "again");
    receiveIm("so me bo dy", "");
    ASSERT_EQ(conversations().size(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - Some Body"));
    EXPECT_EQ(window->txtIM->toPlainText(), QStringLiteral("\nSome Body: hello\nSOME BODY: again\nso me bo dy: "));

    receiveIm("some.body", "hi"); // only case and spaces are ignored
    EXPECT_EQ(conversations().size(), 2);
}

TEST_F(RoutingTest, AWindowAMessageOpensLeavesTheKeyboardWhereTheUserIsTyping)
{
    frmAimIM *mine = router.showConversation("Friend");
    ASSERT_TRUE(QTest::qWaitForWindowActive(mine));
    mine->txtMessage->setFocus();
    receiveIm("Stranger", "hi!");
    ASSERT_EQ(conversations().size(), 2);
    frmAimIM *theirs = conversations()[1];
    EXPECT_TRUE(theirs->isVisible());
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), mine);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    EXPECT_EQ(mine->txtMessage->text(), QStringLiteral("typed"));
    EXPECT_TRUE(theirs->txtMessage->text().isEmpty());
}

TEST_F(RoutingTest, MarkupIsStrippedBeforeDisplayAndWhatRemainsIsNeverInterpreted)
{
    // A link is made only afterwards, of an address the text shows, to that very address.
    using Links = QList<std::pair<QString, QString>>;
    const QList<std::tuple<QByteArray, QString, Links>> messages = {
        {"<b>bold</b> words", "bold words", {}},
        {"fish &amp; chips &amp;amp; &lt;b&gt; &#8364;&#x41;&nbsp;&bogus; &",
         "fish & chips &amp; <b> \u20acA &bogus; &",
         {}},
        {"<img src=\"x.png\">pic <a href=\"http://evil\">click</a>",
         "pic click (http://evil)",
         {{"http://evil", "http://evil"}}},
        {"<A HREF='http://a.example/?x=1&amp;y=2'>http://a.example/?x=1&amp;y=2</A> line<br>two",
         "http://a.example/?x=1&y=2 line\ntwo",
         {{"http://a.example/?x=1&y=2", "http://a.example/?x=1&y=2"}}},
        {"see <img src=x.png", "see <img src=x.png", {}},
        {"<a href=\"javascript:alert(1)\">http://safe.example</a>",
         "http://safe.example (javascript:alert(1))",
         {{"http://safe.example", "http://safe.example"}}},
    };
    for (const auto &[text, shown, links] : messages) {
        SCOPED_TRACE(text.toStdString());
        receiveIm("<i>Pal</i> &amp; Co", text);
        ASSERT_EQ(conversations().size(), 1);
        frmAimIM *window = conversations()[0];
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - <i>Pal</i> &amp; Co"));
        EXPECT_EQ(window->currentname->text(), QStringLiteral("<i>Pal</i> &amp; Co"));
        EXPECT_EQ(window->currentname->textFormat(), Qt::PlainText);
        EXPECT_EQ(window->txtIM->toPlainText(), "\nPal & Co: " + shown);
        EXPECT_FALSE(hasRichContent(window->txtIM));
        EXPECT_EQ(linksOf(window->txtIM), links);
        delete window;
    }
}

TEST_F(RoutingTest, StartingAConversationOpensANewWindowUnderTheNormalizedName)
{
    dialogs.textAnswers = {QString()};
    EXPECT_EQ(router.startConversation(), nullptr);
    EXPECT_TRUE(conversations().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Enter the screenname you would like to Instant message"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("IM"));
    EXPECT_EQ(dialogs.defaultsOffered, QStringList{QString()});

    dialogs.textAnswers = {QStringLiteral(" Some Body ")};
    frmAimIM *window = router.startConversation();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowRegistry::tag(window), QStringLiteral("somebody"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - somebody"));
    EXPECT_EQ(window->currentname->text(), QStringLiteral("somebody"));
    EXPECT_EQ(window->usersn->text(), QStringLiteral("Me Myself"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->txtIM->toPlainText().isEmpty());
    EXPECT_TRUE(sentLines().isEmpty());
}

TEST_F(RoutingTest, MessagesGoToTheOldestOpenWindowWithTheExactTag)
{
    QWidget untagged; // every open window counts for the position
    windows.add(&untagged);
    receiveIm("Some Body", "first");
    dialogs.textAnswers = {QStringLiteral("somebody")};
    frmAimIM *younger = router.startConversation();
    ASSERT_EQ(conversations().size(), 2);
    EXPECT_EQ(router.FormByTag(QStringLiteral("somebody")), 1);
    EXPECT_EQ(router.windowAt(1), conversations()[0]);
    for (const char *miss : {"Somebody", " somebody", "nobody"})
        EXPECT_EQ(router.FormByTag(QString::fromLatin1(miss)), -1) << miss;

    receiveIm("Some Body", "second");
    EXPECT_EQ(conversations()[0]->txtIM->toPlainText(), QStringLiteral("\nSome Body: first\nSome Body: second"));
    EXPECT_TRUE(younger->txtIM->toPlainText().isEmpty());

    delete conversations()[0];
    receiveIm("Some Body", "third");
    EXPECT_EQ(younger->txtIM->toPlainText(), QStringLiteral("\nSome Body: third"));
    windows.remove(&untagged);
}

} // namespace
