// Server message parsers: real lines and broken ones field by field, then what
// the local server writes read back into the same fields.

#include "printers.h"
#include "servermessages.h"
#include "session/tocerrors.h"
#include "session/tocmessages.h"

#include <gtest/gtest.h>

using namespace TocMessages;

// A failing row prints the fields it read and the ones it expected.
namespace TocMessages {
namespace {
void printFields(std::ostream *os, const auto &...fields)
{
    *os << '{';
    const char *separator = "";
    ((*os << separator << ::testing::PrintToString(fields), separator = ", "), ...);
    *os << '}';
}
} // namespace

void PrintTo(const Nick &m, std::ostream *os) { printFields(os, m.displayName); }
void PrintTo(const UpdateBuddy &m, std::ostream *os)
{
    printFields(os, m.name, m.online, m.warningLevel, m.signOnTime, m.idleMinutes, m.userClass);
}
void PrintTo(const BuddyData &m, std::ostream *os) { printFields(os, m.name, m.data); }
void PrintTo(const ChatJoin &m, std::ostream *os) { printFields(os, m.chatId, m.roomName); }
void PrintTo(const ChatUpdateBuddy &m, std::ostream *os) { printFields(os, m.chatId, m.inside, m.names); }
void PrintTo(const ChatIn &m, std::ostream *os) { printFields(os, m.chatId, m.sender, m.message); }
void PrintTo(const ChatLeft &m, std::ostream *os) { printFields(os, m.chatId); }
void PrintTo(const ImIn &m, std::ostream *os) { printFields(os, m.sender, m.autoResponse, m.userClass, m.message); }
void PrintTo(const ListChange &m, std::ostream *os) { printFields(os, int(m.kind), m.group, m.name, m.alias); }
void PrintTo(const ChatInvite &m, std::ostream *os) { printFields(os, m.roomName, m.chatId, m.from, m.message); }
void PrintTo(const GotoUrl &m, std::ostream *os) { printFields(os, m.window, m.url); }
void PrintTo(const Eviled &m, std::ostream *os) { printFields(os, m.level, m.from); }
void PrintTo(const RvousPropose &m, std::ostream *os)
{
    printFields(os, m.sender, m.uuid, m.cookie, m.rendezvousIp, m.proposerIp, m.verifiedIp, m.port);
}
void PrintTo(const ClientEvent &m, std::ostream *os) { printFields(os, m.sender, m.typingStatus); }
} // namespace TocMessages

namespace TocErrors {
void PrintTo(const TocError &m, std::ostream *os) { TocMessages::printFields(os, m.code, m.text); }
} // namespace TocErrors

namespace {

template <typename T> struct Case
{
    QByteArray line;
    std::optional<T> expected; // nothing: the line is rejected
};

template <typename T> void expectParsed(std::optional<T> (*parse)(QByteArrayView), std::initializer_list<Case<T>> cases)
{
    for (const Case<T> &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const std::optional<T> parsed = parse(c.line);
        EXPECT_EQ(parsed.has_value(), c.expected.has_value());
        if (parsed && c.expected) {
            EXPECT_EQ(*parsed, *c.expected);
        }
    }
}

TEST(TocMessageLines, InstantMessageKeepsColonsInItsText)
{
    expectParsed<ImIn>(
        parseImIn,
        {
            {"IM_IN_ENC2:Bob:F:F:T: O:F:L:en:meet at 10:30:15", ImIn{"Bob", false, " O", "meet at 10:30:15"}},
            {"IM_IN_ENC2:Bob:x:F:T:AU:F:L:en:", ImIn{"Bob", true, "AU", ""}},
            {"IM_IN_ENC2:Bob:F:F:T: O:F:L:en", std::nullopt},
        });
}

TEST(TocMessageLines, BuddyUpdateNeedsThreeCleanNumbers)
{
    expectParsed<UpdateBuddy>(
        parseUpdateBuddy,
        {
            {"UPDATE_BUDDY2:Amy:T:10:1700000000:5: O:", UpdateBuddy{"Amy", true, 10, 1700000000, 5, " O"}},
            {"UPDATE_BUDDY2:Amy:F:0:0:0:", UpdateBuddy{"Amy", false, 0, 0, 0, ""}},
            {"UPDATE_BUDDY2:Amy:?:0:0:0: U:x", UpdateBuddy{"Amy", true, 0, 0, 0, " U"}},
            {"UPDATE_BUDDY2:Amy:T:10:100", std::nullopt},
            {"UPDATE_BUDDY2:Amy:T:40000:100:0: O:", std::nullopt},
            {"UPDATE_BUDDY2:Amy:T:1:2147483648:0: O:", std::nullopt},
            {"UPDATE_BUDDY2:Amy:T:1:2:-3: O:", std::nullopt},
        });
}

TEST(TocMessageLines, CapabilitiesAndIconsKeepEverythingAfterTheName)
{
    expectParsed<BuddyData>(parseBuddyData,
                            {
                                {"BUDDY_CAPS2:Amy:cap1,cap2:x", BuddyData{"Amy", "cap1,cap2:x"}},
                                {"BART2:Amy:0 2 abc:", BuddyData{"Amy", "0 2 abc:"}},
                                {"BUDDY_CAPS2:Amy", std::nullopt},
                            });
}

TEST(TocMessageLines, ChatMessagesNeedTheirChatNumber)
{
    expectParsed<ChatJoin>(parseChatJoin,
                           {
                               {"CHAT_JOIN:7:again:with:colons", ChatJoin{7, "again:with:colons"}},
                               {"CHAT_JOIN:x:bad", std::nullopt},
                               {"CHAT_JOIN:6", std::nullopt},
                           });
    expectParsed<ChatIn>(parseChatIn,
                         {
                             {"CHAT_IN_ENC:42:Amy:F:A:en:hi: there", ChatIn{42, "Amy", "hi: there"}},
                             {"CHAT_IN_ENC:+42:Amy:F:A:en:hi", std::nullopt},
                             {"CHAT_IN_ENC:42:Amy:F:A:en", std::nullopt},
                         });
    expectParsed<ChatLeft>(parseChatLeft,
                           {
                               {"CHAT_LEFT:0", ChatLeft{0}},
                               {"CHAT_LEFT:5 ", std::nullopt},
                               {"CHAT_LEFT", std::nullopt},
                           });
    expectParsed<ChatInvite>(
        parseChatInvite,
        {
            {"CHAT_INVITE:Room 1:42:Amy:come in: now", ChatInvite{"Room 1", 42, "Amy", "come in: now"}},
            {"CHAT_INVITE:Room:4 2:Amy:hi", std::nullopt},
            {"CHAT_INVITE:Room:42:Amy", std::nullopt},
        });
}

TEST(TocMessageLines, ChatUserUpdateListsEveryNameAfterTheFlag)
{
    expectParsed<ChatUpdateBuddy>(parseChatUpdateBuddy,
                                  {
                                      {"CHAT_UPDATE_BUDDY:42:T:a:b:c", ChatUpdateBuddy{42, true, {"a", "b", "c"}}},
                                      {"CHAT_UPDATE_BUDDY:42:t:a:", ChatUpdateBuddy{42, false, {"a", ""}}},
                                      {"CHAT_UPDATE_BUDDY:42:F", std::nullopt},
                                      {"CHAT_UPDATE_BUDDY:x:T:a", std::nullopt},
                                  });
}

TEST(TocMessageLines, ListChangesAreCutByTheirKind)
{
    using L = ListChange;
    expectParsed<L>(parseInserted,
                    {
                        {"INSERTED2:b:Ally:amy:Best:Friends", L{L::Buddy, "Best:Friends", "amy", "Ally"}},
                        {"INSERTED2:p:pal:x", L{L::Permit, "", "pal:x", ""}},
                        {"INSERTED2:d:pest", L{L::Deny, "", "pest", ""}},
                        {"INSERTED2:g:Work", L{L::Group, "Work", "", ""}},
                        {"INSERTED2:b:Ally:amy", std::nullopt},
                        {"INSERTED2:B:Ally:amy:Friends", std::nullopt},
                        {"INSERTED2", std::nullopt},
                    });
    expectParsed<L>(parseDeleted,
                    {
                        {"DELETED2:b:amy:Friends:x", L{L::Buddy, "Friends:x", "amy", ""}},
                        {"DELETED2:p:pal:x", L{L::Permit, "", "pal", ""}},
                        {"DELETED2:d:pest:x", L{L::Deny, "", "pest:x", ""}},
                        {"DELETED2:g:Work", L{L::Group, "Work", "", ""}},
                        {"DELETED2:b:amy", std::nullopt},
                        {"DELETED2:q:x:y", std::nullopt},
                    });
}

TEST(TocMessageLines, ShorterMessagesNeedEveryFieldAndCleanNumbers)
{
    expectParsed<Nick>(parseNick, {{"NICK:a:b", Nick{"a:b"}}, {"NICK", std::nullopt}});
    expectParsed<GotoUrl>(parseGotoUrl,
                          {
                              {"GOTO_URL:window:http://x/info?a=1", GotoUrl{"window", "http://x/info?a=1"}},
                              {"GOTO_URL:window", std::nullopt},
                          });
    expectParsed<Eviled>(parseEviled,
                         {
                             {"EVILED:05:", Eviled{5, ""}},
                             {"EVILED:5", std::nullopt},
                             {"EVILED:1e2:", std::nullopt},
                         });
    expectParsed<ClientEvent>(parseClientEvent,
                              {
                                  {"CLIENT_EVENT2:Amy:2", ClientEvent{"Amy", 2}},
                                  {"CLIENT_EVENT2:Amy:", std::nullopt},
                              });
    expectParsed<RvousPropose>(parseRvousPropose,
                               {
                                   {"RVOUS_PROPOSE:Amy:uuid:cookie:1:1.2.3.4:5.6.7.8:9.9.9.9:4443:extra",
                                    RvousPropose{"Amy", "uuid", "cookie", "1.2.3.4", "5.6.7.8", "9.9.9.9", 4443}},
                                   {"RVOUS_PROPOSE:Amy:uuid:cookie:1:a:b:c", std::nullopt},
                                   {"RVOUS_PROPOSE:Amy:uuid:cookie:1:a:b:c:99999999999", std::nullopt},
                               });
}

// The local server is the other end the client is tried against: every
// message it writes must come back with the values it was written from.
TEST(LocalServerMessages, ReadBackIntoTheSameFields)
{
    using namespace ServerMessage;
    expectParsed<ImIn>(
        parseImIn,
        {
            {imIn("Bob Smith", true, true, "at 10:30: <b>x</b>"), ImIn{"Bob Smith", true, " OU", "at 10:30: <b>x</b>"}},
            {imIn("bob", false, false, ""), ImIn{"bob", false, " O ", ""}},
        });
    expectParsed<UpdateBuddy>(
        parseUpdateBuddy,
        {
            {updateBuddy({"Amy", true, 15, 1700000000, 7, true}), UpdateBuddy{"Amy", true, 15, 1700000000, 7, " OU"}},
            {updateBuddy({"Amy", false, 0, 0, 0, false}), UpdateBuddy{"Amy", false, 0, 0, 0, " O "}},
        });
    expectParsed<ChatJoin>(parseChatJoin, {{chatJoin(3, "Room: one"), ChatJoin{3, "Room: one"}}});
    expectParsed<ChatIn>(parseChatIn, {{chatIn(3, "Amy", "hi: there"), ChatIn{3, "Amy", "hi: there"}}});
    expectParsed<ChatLeft>(parseChatLeft, {{chatLeft(2147483647), ChatLeft{2147483647}}});
    expectParsed<ChatUpdateBuddy>(parseChatUpdateBuddy,
                                  {
                                      {chatUpdateBuddy(3, true, {"a", "b c"}), ChatUpdateBuddy{3, true, {"a", "b c"}}},
                                      {chatUpdateBuddy(3, false, {"a"}), ChatUpdateBuddy{3, false, {"a"}}},
                                  });
    expectParsed<ChatInvite>(
        parseChatInvite,
        {
            {chatInvite("Room one", 3, "Amy", "come: in"), ChatInvite{"Room one", 3, "Amy", "come: in"}},
        });
    expectParsed<Eviled>(parseEviled,
                         {
                             {eviled(5, ""), Eviled{5, ""}},
                             {eviled(100, "Amy"), Eviled{100, "Amy"}},
                         });
    expectParsed<GotoUrl>(parseGotoUrl,
                          {
                              {gotoUrl("Profile", "http://127.0.0.1:80/info?u=a:b"),
                               GotoUrl{"Profile", "http://127.0.0.1:80/info?u=a:b"}},
                          });
    expectParsed<ClientEvent>(parseClientEvent, {{clientEvent("Amy", 2), ClientEvent{"Amy", 2}}});
    expectParsed<Nick>(parseNick, {{nick("Some Body"), Nick{"Some Body"}}});
    expectParsed<TocError>(TocErrors::decode,
                           {
                               {error(901, "Amy"), TocError{901, "Amy is not available"}},
                               {error(980), TocError{980, "Invalid account or password"}},
                               {error(989, "17"), TocError{989, "Sign on Blocked"}},
                           });
    // At sign-on, 980 may also mean the name is on in too many places.
    EXPECT_EQ(TocErrors::signOnRefusal(*TocErrors::decode(error(980))),
              "Invalid account or password, or this screen name is signed on in too many places already");
    EXPECT_EQ(TocErrors::signOnRefusal(*TocErrors::decode(error(983))), "You are attempting to sign on again too soon");
}

} // namespace
