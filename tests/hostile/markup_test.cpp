// Remote text that looks like markup, script, control bytes or broken UTF-8
// reaches every place on screen as the literal characters it is.

#include "conversation/frmaimchat.h"
#include "conversation/frmaimim.h"
#include "hostilesession.h"
#include "transcriptcontent.h"

#include <QLabel>
#include <QListWidget>
#include <QTextEdit>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Shown
{
    const char *what;
    QList<QByteArray> messages;
    std::function<void(HostileSession &)> check;
};

// The buddy list as shown, the sentinel that closes every case included.
QStringList listed(HostileSession &s, const QString &name)
{
    return s.buddies() == QStringList{name, QStringLiteral("sentinel1")} ? QStringList{name} : s.buddies();
}

// The one conversation window, checked for plain labels and a plain transcript.
frmAimIM *onlyConversation(HostileSession &s)
{
    const QList<frmAimIM *> open = s.conversations();
    EXPECT_EQ(open.size(), 1);
    if (open.size() != 1)
        return nullptr;
    EXPECT_EQ(open[0]->currentname->textFormat(), Qt::PlainText);
    EXPECT_FALSE(hasRichContent(open[0]->txtIM));
    return open[0];
}

frmAimChat *room(HostileSession &s)
{
    frmAimChat *w = s.shownChat(3);
    EXPECT_NE(w, nullptr);
    if (w) {
        EXPECT_FALSE(hasRichContent(w->txtChat));
        EXPECT_EQ(w->lbhere->textFormat(), Qt::PlainText);
    }
    return w;
}

// The error box and the status line both carry exactly this text.
void expectErrorShown(HostileSession &s, const QString &text)
{
    EXPECT_EQ(s.notices(), QStringList{QStringLiteral("Error|") + text});
    EXPECT_EQ(s.window->lbStat->text(), text);
    EXPECT_EQ(s.window->lbStat->textFormat(), Qt::PlainText);
}

const QByteArray im = "IM_IN_ENC2:";
const QByteArray imFields = ":F:F:T: O:F:L:en:";

const QList<Shown> cases = {
    {"buddy name with tags and an entity",
     {"UPDATE_BUDDY2:<b>Bold</b> &amp; <img src=x>:T:0:0:0: O"},
     [](HostileSession &s) {
         const QString name = QStringLiteral("<b>Bold</b> &amp; <img src=x>");
         EXPECT_EQ(listed(s, name), QStringList{name});
     }},
    {"instant message sender with tags",
     {im + "<font color=red>Mal</font>" + imFields + "hello"},
     [](HostileSession &s) {
         frmAimIM *w = onlyConversation(s);
         ASSERT_NE(w, nullptr);
         EXPECT_EQ(w->windowTitle(), QStringLiteral("Qiv - <font color=red>Mal</font>"));
         EXPECT_EQ(w->currentname->text(), QStringLiteral("<font color=red>Mal</font>"));
         EXPECT_EQ(w->txtIM->toPlainText(), QStringLiteral("\nMal: hello"));
     }},
    {"instant message with script, entities and a tag left open",
     {im + "pal" + imFields + "<script>alert(1)</script> &lt;b&gt; 1 < 2 &amp; <a href=x>link</a> <img src=y"},
     [](HostileSession &s) {
         frmAimIM *w = onlyConversation(s);
         ASSERT_NE(w, nullptr);
         // Tags go, entities are read once; what is left is shown character for character.
         EXPECT_EQ(w->txtIM->toPlainText(), QStringLiteral("\npal: alert(1) <b> 1 link <img src=y"));
     }},
    {"instant message with addresses of every kind",
     {im + "pal" + imFields
      + "<a href=\"file:///etc/passwd\">http://good.example/</a> javascript:alert(1) custom://x www.example.com "
        "MAILTO:me@x.example (https://ok.example/a_(b))."},
     [](HostileSession &s) {
         frmAimIM *w = onlyConversation(s);
         ASSERT_NE(w, nullptr);
         EXPECT_EQ(w->txtIM->toPlainText(),
                   QStringLiteral("\npal: http://good.example/ (file:///etc/passwd) javascript:alert(1) custom://x "
                                  "www.example.com MAILTO:me@x.example (https://ok.example/a_(b))."));
         // Only the web and mail addresses, each linked to what it shows.
         using Links = QList<std::pair<QString, QString>>;
         const QStringList linked{"http://good.example/", "MAILTO:me@x.example", "https://ok.example/a_(b)"};
         Links expected;
         for (const QString &address : linked)
             expected.append({address, address});
         EXPECT_EQ(linksOf(w->txtIM), expected);
     }},
    {"instant message with NUL and control bytes",
     {im + "pal" + imFields + QByteArray("be\0fore\x01\x1b[31m after", 19)},
     [](HostileSession &s) {
         frmAimIM *w = onlyConversation(s);
         ASSERT_NE(w, nullptr);
         const QString shown = w->txtIM->toPlainText();
         EXPECT_TRUE(shown.startsWith(QStringLiteral("\npal: be"))) << shown.toStdString();
         EXPECT_TRUE(shown.endsWith(QStringLiteral("fore\x01\x1b[31m after"))) << shown.toStdString();
     }},
    {"names and texts that are not UTF-8",
     {"UPDATE_BUDDY2:caf\xe9:T:0:0:0: O", im + "\xff\xfeX" + imFields + "half \xe2\x82",
      im + "\xff\xfe x" + imFields + "\xc0\xaf"},
     [](HostileSession &s) {
         const QString name = QStringLiteral("caf\u00e9");
         EXPECT_EQ(listed(s, name), QStringList{name});
         // Read byte for byte; both senders have the same normalized name.
         frmAimIM *w = onlyConversation(s);
         ASSERT_NE(w, nullptr);
         EXPECT_EQ(w->windowTitle(), QStringLiteral("Qiv - \u00ff\u00feX"));
         EXPECT_EQ(w->txtIM->toPlainText(),
                   QStringLiteral("\n\u00ff\u00feX: half \u00e2\u0082\n\u00ff\u00fe x: \u00c0\u00af"));
     }},
    {"room name with tags",
     {"CHAT_JOIN:7:<b>Room</b><script>x()</script>"},
     [](HostileSession &s) {
         frmAimChat *w = room(s);
         ASSERT_NE(w, nullptr);
         EXPECT_EQ(w->windowTitle(), QStringLiteral("Qiv - <b>Room</b><script>x()</script>"));
         EXPECT_EQ(w->txtChat->toPlainText(), QStringLiteral("You have just entered <b>Room</b><script>x()</script>"));
     }},
    {"chat members and messages with tags",
     {"CHAT_JOIN:7:Room", "CHAT_UPDATE_BUDDY:7:T:<u>Member</u>:<img src=z>",
      "CHAT_IN_ENC:7:<b>Who</b>:F:F:en:<a href=x>link</a> 3 < 4", "CHAT_UPDATE_BUDDY:7:F:<u>Member</u>"},
     [](HostileSession &s) {
         frmAimChat *w = room(s);
         ASSERT_NE(w, nullptr);
         ASSERT_EQ(w->lstHere->count(), 1);
         EXPECT_EQ(w->lstHere->item(0)->text(), QStringLiteral("<img src=z>"));
         EXPECT_EQ(w->lbhere->text(), QStringLiteral("1"));
         EXPECT_EQ(w->txtChat->toPlainText(),
                   QStringLiteral("You have just entered Room\n* <u>Member</u> has entered the room.*"
                                  "\n* <img src=z> has entered the room.*\nWho: link (x) 3 < 4"
                                  "\n* <u>Member</u> has left the room.*"));
     }},
    {"error about a buddy named with tags",
     {"ERROR:901:<b>x</b>"},
     [](HostileSession &s) { expectErrorShown(s, QStringLiteral("<b>x</b> is not available")); }},
    {"error about a room named with tags",
     {"ERROR:951:<i>room</i>:24"},
     [](HostileSession &s) { expectErrorShown(s, QStringLiteral("Could not join chat '<i>room</i>': Chat Full")); }},
    {"error with a sub-code that is a link",
     {"ERROR:989:<a href=\"http://x\">click</a>"},
     [](HostileSession &s) {
         expectErrorShown(s, QStringLiteral("Unknown error code 989, sub error: <a href=\"http://x\">click</a>"));
     }},
};

TEST(RemoteTextOnScreen, IsShownAsTheLiteralCharactersReceived)
{
    for (const Shown &c : cases) {
        SCOPED_TRACE(c.what);
        HostileSession s;
        ASSERT_TRUE(s.signOn());
        for (const QByteArray &message : c.messages)
            s.server.sendData(message);
        ASSERT_TRUE(s.sentinelGetsThrough());
        c.check(s);
    }
}

} // namespace
