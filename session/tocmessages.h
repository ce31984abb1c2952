#pragma once

// TocMessages: one pure parser per TOC2 server message, from the whole payload
// (command word included) to a struct with named fields. Nothing when a field
// that the message needs is missing or a number is not a clean decimal.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace TocMessages {

struct Nick
{
    QByteArray displayName;
    bool operator==(const Nick &) const = default;
};

struct UpdateBuddy
{
    QByteArray name;
    bool online = false;
    qint16 warningLevel = 0;
    qint32 signOnTime = 0;
    qint32 idleMinutes = 0;
    QByteArray userClass;
    bool operator==(const UpdateBuddy &) const = default;
};

// BUDDY_CAPS2 and BART2: a screen name and everything after it, as sent.
struct BuddyData
{
    QByteArray name;
    QByteArray data;
    bool operator==(const BuddyData &) const = default;
};

struct ChatJoin
{
    qint32 chatId = 0;
    QByteArray roomName;
    bool operator==(const ChatJoin &) const = default;
};

struct ChatUpdateBuddy
{
    qint32 chatId = 0;
    bool inside = false;
    QList<QByteArray> names; // at least one
    bool operator==(const ChatUpdateBuddy &) const = default;
};

struct ChatIn
{
    qint32 chatId = 0;
    QByteArray sender;
    QByteArray message;
    bool operator==(const ChatIn &) const = default;
};

struct ChatLeft
{
    qint32 chatId = 0;
    bool operator==(const ChatLeft &) const = default;
};

struct ImIn
{
    QByteArray sender;
    bool autoResponse = false;
    QByteArray userClass;
    QByteArray message;
    bool operator==(const ImIn &) const = default;
};

// INSERTED2 and DELETED2: a change to one of the stored lists. A group change
// fills group, a permit or deny change fills name, a buddy both (and alias
// when inserted).
struct ListChange
{
    enum Kind { Buddy, Permit, Deny, Group };
    Kind kind = Buddy;
    QByteArray group;
    QByteArray name;
    QByteArray alias;
    bool operator==(const ListChange &) const = default;
};

struct ChatInvite
{
    QByteArray roomName;
    qint32 chatId = 0;
    QByteArray from;
    QByteArray message;
    bool operator==(const ChatInvite &) const = default;
};

struct GotoUrl
{
    QByteArray window;
    QByteArray url;
    bool operator==(const GotoUrl &) const = default;
};

struct Eviled
{
    qint16 level = 0;
    QByteArray from; // empty for an anonymous warning
    bool operator==(const Eviled &) const = default;
};

struct RvousPropose
{
    QByteArray sender;
    QByteArray uuid;
    QByteArray cookie;
    QByteArray rendezvousIp;
    QByteArray proposerIp;
    QByteArray verifiedIp;
    qint32 port = 0;
    bool operator==(const RvousPropose &) const = default;
};

struct ClientEvent
{
    QByteArray sender;
    qint16 typingStatus = 0;
    bool operator==(const ClientEvent &) const = default;
};

std::optional<Nick> parseNick(QByteArrayView payload);
std::optional<UpdateBuddy> parseUpdateBuddy(QByteArrayView payload);
std::optional<BuddyData> parseBuddyData(QByteArrayView payload);
std::optional<ChatJoin> parseChatJoin(QByteArrayView payload);
std::optional<ChatUpdateBuddy> parseChatUpdateBuddy(QByteArrayView payload);
std::optional<ChatIn> parseChatIn(QByteArrayView payload);
std::optional<ChatLeft> parseChatLeft(QByteArrayView payload);
std::optional<ImIn> parseImIn(QByteArrayView payload);
// The kind letter is compared exactly; an unknown kind gives nothing.
std::optional<ListChange> parseInserted(QByteArrayView payload);
std::optional<ListChange> parseDeleted(QByteArrayView payload);
std::optional<ChatInvite> parseChatInvite(QByteArrayView payload);
std::optional<GotoUrl> parseGotoUrl(QByteArrayView payload);
std::optional<Eviled> parseEviled(QByteArrayView payload);
std::optional<RvousPropose> parseRvousPropose(QByteArrayView payload);
std::optional<ClientEvent> parseClientEvent(QByteArrayView payload);

} // namespace TocMessages
