// Client commands: the exact line each method sends, and the text helpers.

#include "sessiontest.h"

#include "session/toccommands.h"
#include "session/tocquote.h"

#include <functional>

namespace {

class Commands : public SessionTest
{
protected:
    void SetUp() override { signOn("me"); }
};

struct CommandRow
{
    std::function<void(QuorTOCSock &)> call;
    QByteArray line;
};

TEST_F(Commands, EachMethodSendsItsLine)
{
    const CommandRow rows[] = {
        {[](auto &t) { t.JoinChat("  My Room ", 4); }, R"~(toc_chat_join "4" "My Room")~"},
        {[](auto &t) { t.JoinChat("a\"b", -1); }, R"~(toc_chat_join "-1" "a\"b")~"},
        {[](auto &t) { t.LeaveChat("", 42); }, R"~(toc_chat_leave "42")~"},
        {[](auto &t) { t.SendChat("x", "a(b) $5", 42); }, R"~(toc_chat_send "42" "a\(b\) \$5")~"},
        {[](auto &t) { t.GetProfile("Some Body"); }, R"~(toc_get_info "somebody")~"},
        {[](auto &t) { t.SendIM("Some Body", "a(b)", false); }, R"~(toc_send_im "somebody" "a\(b\)")~"},
        {[](auto &t) { t.SendIM("Some Body", "a(b)", true); }, R"~(toc_send_im "somebody" "a\(b\)" auto)~"},
        {[](auto &t) { t.SendIM("x", "<b>\nline</b>", false); }, "toc_send_im \"x\" \"<b>\nline</b>\""},
        {[](auto &t) { t.ChangePassword("o[1]", "n{2}"); }, R"~(toc_change_passwd "o\[1\]" "n\{2\}")~"},
        {[](auto &t) { t.FormatUserName("Some \"Body\""); }, R"~(toc_format_nickname "Some \"Body\"")~"},
        {[](auto &t) { t.SetAwayMessage(""); }, R"~(toc_set_away "")~"},
        {[](auto &t) { t.SetAwayMessage("back \\ soon"); }, R"~(toc_set_away "back \\ soon")~"},
        {[](auto &t) { t.SetProfile("I'm (here)"); }, R"~(toc_set_info "I'm \(here\)")~"},
        {[](auto &t) { t.GetStatus("A B"); }, R"~(toc_get_status "ab")~"},
        {[](auto &t) { t.SetIdleTime(10); }, R"~(toc_set_idle "600")~"},
        {[](auto &t) { t.SetIdleTime(0); }, R"~(toc_set_idle "0")~"},
        {[](auto &t) { t.SetIdleTime(-2); }, R"~(toc_set_idle "-120")~"},
        {[](auto &t) { t.SetIdleTime(35791394); }, R"~(toc_set_idle "2147483640")~"},
        {[](auto &t) { t.AcceptChatInvite(123456); }, R"~(toc_chat_accept "123456")~"},
        {[](auto &t) { t.InviteUsers("", "join us", "Amy Lee", 7); }, R"~(toc_chat_invite "7" "join us" "amylee")~"},
        {[](auto &t) { t.WarnUser("Bad Guy", true); }, R"~(toc_evil "badguy" "anon")~"},
        {[](auto &t) { t.WarnUser("Bad Guy", false); }, R"~(toc_evil "badguy" "norm")~"},
        {[](auto &t) { t.AddBuddy("Best $", "Amy"); }, "toc2_new_buddies \"g:Best \\$\nb:Amy\n\""},
        {[](auto &t) { t.RemoveBuddy("Friends", "Amy \"x\""); }, R"~(toc2_remove_buddy "Amy \"x\"" "Friends")~"},
        {[](auto &t) { t.AddGroup("G(1)"); }, R"~(toc2_new_group "G\(1\)")~"},
        {[](auto &t) { t.RemoveGroup("G"); }, R"~(toc2_del_group "G")~"},
        {[](auto &t) { t.BlockUser("Pe St"); }, R"~(toc2_add_deny "pest")~"},
        {[](auto &t) { t.UnblockUser("Pe St"); }, R"~(toc2_remove_deny "pest")~"},
        {[](auto &t) { t.AddPrivateUser("Pal"); }, R"~(toc2_add_permit "pal")~"},
        {[](auto &t) { t.RemovePrivateUser("Pal"); }, R"~(toc2_remove_permit "pal")~"},
        {[](auto &t) { t.SetPrivacy(3); }, "toc2_set_pdmode 3"},
        {[](auto &t) { t.SetPrivacy(-7); }, "toc2_set_pdmode -7"},
        {[](auto &t) { t.SetCapability("{0946-134}"); }, R"~(toc_set_caps "\{0946-134\}")~"},
        {[](auto &t) { t.SendTypingStatus("Some Body", QuorTOCSock::Typing); }, R"~(toc2_client_event "somebody" 2)~"},
    };
    for (const CommandRow &row : rows) {
        row.call(toc);
        EXPECT_EQ(takeLines(), QList<QByteArray>({row.line}));
    }
    EXPECT_TRUE(log.lines.isEmpty()) << "commands raise no events";
}

// A move or rename is several lines; they go out together, or none does.
TEST_F(Commands, ListEditsAndInvitationsGoOutWholeOrNotAtAll)
{
    using Check = QuorTOCSock::SendCheck;
    EXPECT_EQ(toc.tryMoveBuddy("Amy", "Old (1)", "New $"), Check::Sendable);
    // Open OSCAR Server takes no escapes off a removal's group name.
    EXPECT_EQ(takeLines(),
              (QList<QByteArray>{"toc2_new_buddies \"g:New \\$\nb:Amy\n\"", R"~(toc2_remove_buddy "Amy" "Old (1)")~"}));
    EXPECT_EQ(toc.tryInviteUsers(7, "come (now)", {"Amy Lee", "Bo"}), Check::Sendable);
    EXPECT_EQ(toc.trySetIdleTime(12), Check::Sendable);
    EXPECT_EQ(toc.tryRemoveGroup("Empty", {}), Check::Sendable);
    EXPECT_EQ(takeLines(),
              (QList<QByteArray>{R"~(toc_chat_invite "7" "come \(now\)" "amylee" "bo")~", R"~(toc_set_idle "720")~",
                                 R"~(toc2_del_group "Empty")~"}));

    // A big group takes as many lines as the length limit asks for, each buddy once.
    QList<QByteArray> buddies;
    for (int n = 0; n < 300; ++n)
        buddies << "buddy" + QByteArray::number(n).rightJustified(5, '0');
    EXPECT_EQ(toc.tryRenameGroup("Old", "New", buddies), Check::Sendable);
    const QList<QByteArray> lines = takeLines();
    ASSERT_GT(lines.size(), 4);
    EXPECT_EQ(lines.first(), R"~(toc2_new_group "New")~");
    EXPECT_EQ(lines.last(), R"~(toc2_del_group "Old")~");
    QList<QByteArray> added, removed;
    for (const QByteArray &line : lines) {
        EXPECT_LE(line.size(), TocCommand::MaxCommandLength);
        const QByteArray head = "toc2_new_buddies \"g:New\n";
        if (line.startsWith(head)) {
            for (const QByteArray &entry : line.sliced(head.size()).chopped(2).split('\n'))
                added << entry.sliced(2);
        }
        const auto words = TocQuote::splitCommandLine(line);
        if (words && words->first() == "toc2_remove_buddy" && words->last() == "Old")
            removed += words->sliced(1, words->size() - 2);
    }
    EXPECT_EQ(added, buddies);
    EXPECT_EQ(removed, buddies);

    EXPECT_EQ(toc.tryRenameGroup("Old", "New", {"amy", QByteArray(3000, 'x')}), Check::TooLong);
    toc.LogOff();
    takeLines();
    EXPECT_EQ(toc.tryMoveBuddy("Amy", "A", "B"), Check::NotSignedOn);
    EXPECT_TRUE(takeLines().isEmpty());
}

TEST_F(Commands, EscapeArgPutsOneBackslashBeforeEachSpecialCharacter)
{
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"", ""},
        {"plain text, <b>markup</b> & 'quotes'\n", "plain text, <b>markup</b> & 'quotes'\n"},
        {"\\$", "\\\\\\$"},
        {"\\\"$()[]{}", "\\\\\\\"\\$\\(\\)\\[\\]\\{\\}"},
        {"\\\\", "\\\\\\\\"},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(TocQuote::EscapeArg(in), out) << in.data();
}

// Whatever a user types into a quoted argument comes back out of it whole:
// no quote or backslash can end the argument early or add another one.
TEST_F(Commands, TypedQuotesAndBackslashesCannotInjectArguments)
{
    const QByteArray hostile = R"~(x" "evil" \" \)~";
    toc.SendIM("bob", hostile, false);
    toc.JoinChat(hostile, 4);
    toc.RemoveBuddy(hostile, hostile);
    toc.FormatUserName(hostile);
    toc.SetCapability(hostile);
    toc.GetProfile(hostile);
    // A message is HTML: a quote that Open OSCAR Server would take for the
    // argument's end is written as the entity it means.
    const QList<QList<QByteArray>> expected = {
        {"toc_send_im", "bob", R"~(x&quot; "evil&quot; \&quot; \)~"},
        {"toc_chat_join", "4", hostile},
        {"toc2_remove_buddy", hostile, hostile},
        {"toc_format_nickname", hostile},
        {"toc_set_caps", hostile},
        {"toc_get_info", R"~(x""evil"\"\)~"},
    };
    const QList<QByteArray> lines = takeLines();
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto words = TocQuote::splitCommandLine(lines[i]);
        ASSERT_TRUE(words.has_value()) << lines[i].data();
        EXPECT_EQ(*words, expected[i]) << lines[i].data();
    }
}

TEST_F(Commands, ChatCommandsFindTheRoomByNameWhenNoIdIsGiven)
{
    deliver(data("CHAT_JOIN:10:lobby") + data("CHAT_JOIN:20:Lobby") + data("CHAT_JOIN:30:lobby"));
    toc.SendChat("lobby", "hi");
    toc.SendChat("Lobby", "hi");
    toc.LeaveChat("lobby");
    toc.InviteUsers("Lobby", "come", "A B");
    toc.SendChat("nowhere", "hi");
    toc.LeaveChat("LOBBY");
    toc.InviteUsers("lobby ", "x", "y");
    EXPECT_EQ(takeLines(),
              QList<QByteArray>({
                  R"~(toc_chat_send "10" "hi")~",
                  R"~(toc_chat_send "20" "hi")~",
                  R"~(toc_chat_leave "10")~",
                  R"~(toc_chat_invite "20" "come" "ab")~",
              }));

    // An empty name matches the first free entry: chat 0.
    toc.LeaveChat("");
    EXPECT_EQ(takeLines(), QList<QByteArray>({R"~(toc_chat_leave "0")~"}));
    for (int id = 4; id <= 11; ++id)
        deliver(data("CHAT_JOIN:" + QByteArray::number(id) + ":r"));
    toc.LeaveChat("");
    EXPECT_TRUE(takeLines().isEmpty()) << "no free entry left to match";
}

TEST_F(Commands, IdleTimeThatOverflowsInSecondsSendsNothing)
{
    toc.SetIdleTime(35791395);
    toc.SetIdleTime(-35791395);
    toc.SetIdleTime(std::numeric_limits<qint32>::max());
    EXPECT_TRUE(sock->takeWritten().isEmpty());
    toc.SetIdleTime(-35791394);
    EXPECT_EQ(takeLines(), QList<QByteArray>({R"~(toc_set_idle "-2147483640")~"}));
}

TEST_F(Commands, NoLineOverTheServerLimitIsEverSent)
{
    const QByteArray prefix = R"~(toc_set_info "")~";
    const QByteArray fitting(TocCommand::MaxCommandLength - prefix.size(), 'p');
    toc.SetProfile(fitting);
    toc.SetProfile(fitting + 'p');
    toc.SetProfile(QByteArray(TocCommand::MaxCommandLength / 2, '(')); // doubled by escaping
    toc.SendIM("bob", QByteArray(5000, 'x'), false);
    toc.SendChat("", QByteArray(3000, 'x'), 1);
    toc.AddBuddy("g", QByteArray(3000, 'b'));
    const QList<QByteArray> lines = takeLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].size(), TocCommand::MaxCommandLength);

    // The sign-on line is a command line too.
    toc.Login(QByteArray(2100, 'n'), "pw", "h", 5190);
    sock->acceptConnection();
    sock->takeWritten();
    deliver(frame(1, ""));
    const QList<QByteArray> frames = writtenFrames(sock->takeWritten());
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0][1], 1) << "only the sign-on frame goes out";
}

TEST_F(Commands, RemoveHtmlPairsEachLessThanWithTheNearestGreaterThan)
{
    const std::pair<QByteArray, QByteArray> rows[] = {
        {"<b>hi</b>", "hi"},
        {"a < b", "a < b"},
        {"x<a<b>c>y", "xc>y"},
        {"<>", ""},
        {"> a <b>c", "> a c"},
        {"1<2 and <i>3</i> < 4", "13 < 4"},
        {"&amp; stays\r\n  ", "&amp; stays\r\n  "},
        {"", ""},
        {"<<>>", ">"},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(QuorTOCSock::RemoveHtml(in), out) << in.data();
}

TEST_F(Commands, GetChatNameLooksUpTheTableIncludingFreeEntries)
{
    EXPECT_EQ(toc.GetChatName(0), "");
    EXPECT_EQ(toc.GetChatName(3), "[No Chat Name Found for ID]");
    deliver(data("CHAT_JOIN:3:Den"));
    EXPECT_EQ(toc.GetChatName(3), "Den");
}

} // namespace
