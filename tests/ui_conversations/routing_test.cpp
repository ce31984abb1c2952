// Incoming messages find their conversation, arrive as plain text, and the
// user can open conversations by name.

#include "conversationfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

using RoutingTest = ConversationTest;

TEST_F(RoutingTest, TheFirstMessageOpensATaggedWindowAndOtherSpellingsReachIt)
{
    receiveIm("Some Body", "hello");
    ASSERT_EQ(conversations().size(), 1);
    frmAimIM *window = conversations().first();
    EXPECT_EQ(WindowRegistry::tag(window), QStringLiteral("somebody"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - Some Body"));
    EXPECT_EQ(window->currentname->text(), QStringLiteral("Some Body"));
    EXPECT_EQ(window->usersn->text(), QStringLiteral("Me Myself"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->usersn->isVisible());
    EXPECT_EQ(window->txtIM->toPlainText(), QStringLiteral("\nSome Body: hello"));
    EXPECT_EQ(runsOf(window->txtIM), (QList<TextRun>{{QStringLiteral("Some Body: "), true, false, Blue},
                                                 {QStringLiteral("hello"), false, false, Black}}));
    EXPECT_TRUE(sentLines().isEmpty()); // not away: nobody is answered

    receiveIm("some body", "again");
    receiveIm("SOMEBODY", "and again");
    receiveIm("so me bo dy", "");
    ASSERT_EQ(conversations().size(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Qiv - Some Body"));
    EXPECT_EQ(window->currentname->text(), QStringLiteral("Some Body"));
    EXPECT_EQ(window->txtIM->toPlainText(),
              QStringLiteral("\nSome Body: hello\nsome body: again\nSOMEBODY: and again\nso me bo dy: "));

    // Only case and spaces are ignored: a dot makes another person.
    receiveIm("some.body", "hi");
    EXPECT_EQ(conversations().size(), 2);
}

struct MarkupCase
{
    const char *name;
    QByteArray from;
    QByteArray text;
    QString caption;
    QString shown;
};

TEST_F(RoutingTest, MarkupIsStrippedBeforeDisplayAndWhatRemainsIsNeverInterpreted)
{
    const QList<MarkupCase> cases = {
        {"bold text", "pal", "<b>bold</b> words", "Qiv - pal", "\npal: bold words"},
        {"entity stays literal", "pal", "fish &amp; chips", "Qiv - pal", "\npal: fish &amp; chips"},
        {"image tag", "pal", "<img src=\"x.png\">pic", "Qiv - pal", "\npal: pic"},
        {"unclosed image tag", "pal", "see <img src=x.png", "Qiv - pal", "\npal: see <img src=x.png"},
        {"link", "pal", "<a href=\"http://evil\">click</a>", "Qiv - pal", "\npal: click"},
        {"marked-up sender", "<b>Bad</b> &amp; Co", "hi", "Qiv - <b>Bad</b> &amp; Co", "\nBad &amp; Co: hi"},
    };
    for (const MarkupCase &c : cases) {
        SCOPED_TRACE(c.name);
        receiveIm(c.from, c.text);
        ASSERT_EQ(conversations().size(), 1);
        frmAimIM *window = conversations().first();
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->currentname->text(), QString::fromUtf8(c.from));
        EXPECT_EQ(window->currentname->textFormat(), Qt::PlainText);
        EXPECT_EQ(window->txtIM->toPlainText(), c.shown);
        EXPECT_FALSE(hasRichContent(window->txtIM));
        delete window;
    }
}

TEST_F(RoutingTest, StartingAConversationOpensANewWindowUnderTheNormalizedName)
{
    dialogs.textAnswers = {QStringLiteral("")};
    EXPECT_EQ(router.startConversation(), nullptr);
    EXPECT_TRUE(conversations().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown.first().text, QStringLiteral("Enter the screenname you would like to Instant message"));
    EXPECT_EQ(dialogs.shown.first().title, QStringLiteral("IM"));
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

TEST_F(RoutingTest, WithTwoWindowsForOnePersonMessagesGoToTheOlderOne)
{
    receiveIm("Some Body", "first");
    dialogs.textAnswers = {QStringLiteral("somebody")};
    frmAimIM *second = router.startConversation();
    ASSERT_EQ(conversations().size(), 2);
    receiveIm("Some Body", "second");
    EXPECT_EQ(conversations().first()->txtIM->toPlainText(),
              QStringLiteral("\nSome Body: first\nSome Body: second"));
    EXPECT_TRUE(second->txtIM->toPlainText().isEmpty());

    // Once the older one is closed, the younger one takes over.
    delete conversations().first();
    receiveIm("Some Body", "third");
    EXPECT_EQ(second->txtIM->toPlainText(), QStringLiteral("\nSome Body: third"));
}

TEST_F(RoutingTest, FormByTagMatchesExactlyAndCountsEveryOpenWindowInOpeningOrder)
{
    QWidget untagged;
    windows.add(&untagged);
    receiveIm("Some Body", "x");
    receiveIm("Other", "y");

    EXPECT_EQ(router.FormByTag(QStringLiteral("somebody")), 1);
    EXPECT_EQ(router.FormByTag(QStringLiteral("other")), 2);
    EXPECT_EQ(router.windowAt(2), conversations().at(1));
    for (const char *miss : {"Somebody", " somebody", "some body", "nobody"})
        EXPECT_EQ(router.FormByTag(QString::fromLatin1(miss)), -1) << miss;
    EXPECT_EQ(router.windowAt(-1), nullptr);
    EXPECT_EQ(router.windowAt(3), nullptr);
    windows.remove(&untagged);
}

} // namespace
