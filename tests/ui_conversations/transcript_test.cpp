// What a transcript adds to plain text: web and mail addresses that open on a
// click or Enter, and, when asked for, the time at the start of every line.

#include "conversationfixture.h"

#include "conversation/frmaimchat.h"
#include "conversation/transcriptlinks.h"
#include "conversation/weblinks.h"

#include <QLocale>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

TEST(WebLinksTest, FindsOnlyAddressesWrittenOutWithTheirScheme)
{
    const struct
    {
        QString text;
        QStringList found;
    } cases[] = {
        {"see http://a.example/x?y=1&z=2, then.", {"http://a.example/x?y=1&z=2"}},
        {"page (https://w.example/wiki/A_(b)) and [http://b.example/]",
         {"https://w.example/wiki/A_(b)", "http://b.example/"}},
        {"HTTPS://UP.example\"quoted\" <mailto:me@x.example>", {"HTTPS://UP.example", "mailto:me@x.example"}},
        {"xhttp://a.example http:// http://.x mailto:nobody mailto:@x", {}},
        {"javascript:alert(1) file:///etc/passwd ftp://f.example www.example.com data:text/html,x", {}},
        {"http://ünï.example/päth\thttp://[::1]:8080/", {"http://ünï.example/päth", "http://[::1]:8080/"}},
    };
    for (const auto &c : cases) {
        QStringList found;
        for (const WebLinks::Span &span : WebLinks::find(c.text))
            found << c.text.sliced(span.start, span.length);
        EXPECT_EQ(found, c.found) << c.text.toStdString();
    }
}

class TranscriptTest : public ConversationTest
{
protected:
    TranscriptTest()
    {
        context.openUrl = [this](const QUrl &url) {
            opened << url;
            return opens;
        };
    }

    // The point in view where the character at position is drawn.
    static QPoint pointAt(QTextEdit *view, int position)
    {
        QTextCursor cursor(view->document());
        cursor.setPosition(position);
        const QRect before = view->cursorRect(cursor);
        cursor.setPosition(position + 1);
        return QPoint((before.left() + view->cursorRect(cursor).left()) / 2, before.center().y());
    }

    QList<QUrl> opened;
    bool opens = true;
};

TEST_F(TranscriptTest, AClickOrEnterOnALinkOpensItAndNothingElseDoes)
{
    receiveIm("Friend", "look at http://a.example/x or mail mailto:me@x.example");
    ASSERT_EQ(conversations().size(), 1);
    frmAimIM *window = conversations()[0];
    QTextEdit *view = window->txtIM;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const int link = int(view->toPlainText().indexOf(QStringLiteral("http://")));
    const int plain = int(view->toPlainText().indexOf(QStringLiteral("look")));

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointAt(view, plain));
    EXPECT_TRUE(opened.isEmpty());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointAt(view, link + 3));
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("http://a.example/x"))});

    // The keyboard: the caret in the mail address, then in plain text.
    QTextCursor caret(view->document());
    caret.setPosition(int(view->toPlainText().indexOf(QStringLiteral("me@"))));
    view->setTextCursor(caret);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(opened.last(), QUrl(QStringLiteral("mailto:me@x.example")));
    caret.setPosition(plain + 1);
    view->setTextCursor(caret);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(opened.size(), 2);

    // A desktop without a browser is told, in the conversation.
    opens = false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pointAt(view, link + 3));
    EXPECT_TRUE(view->toPlainText().endsWith(QStringLiteral("Nothing on this computer opened http://a.example/x.")));
    EXPECT_FALSE(hasRichContent(view));
}

TEST_F(TranscriptTest, WithTimestampsOnEveryNewLineStartsWithItsTime)
{
    frmAimIM *window = router.showConversation("Friend");
    frmAimChat room(context);
    auto lastLine = [](QTextEdit *view) { return view->document()->lastBlock().text(); };
    auto now = [] { return QLocale().toString(QTime::currentTime(), QLocale::ShortFormat); };

    options.apply({.showTimes = true});
    const QString before = now();
    receiveIm("Friend", "hello");
    room.memberArrived(QStringLiteral("Bob"), "bob");
    const QString after = now();
    for (QTextEdit *view : {window->txtIM, room.txtChat}) {
        const QString line = lastLine(view);
        EXPECT_TRUE(line.startsWith(before + QLatin1Char(' ')) || line.startsWith(after + QLatin1Char(' ')))
            << line.toStdString();
    }
    EXPECT_TRUE(lastLine(window->txtIM).endsWith(QStringLiteral(" Friend: hello")));
    EXPECT_TRUE(lastLine(room.txtChat).endsWith(QStringLiteral(" * Bob has entered the room.*")));

    options.apply({});
    receiveIm("Friend", "bye");
    room.memberLeft(QStringLiteral("Bob"), "bob");
    EXPECT_EQ(lastLine(window->txtIM), QStringLiteral("Friend: bye"));
    EXPECT_EQ(lastLine(room.txtChat), QStringLiteral("* Bob has left the room.*"));
}

} // namespace
