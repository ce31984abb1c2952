#include "tocmessages.h"

#include "tocfields.h"

namespace TocMessages {

using TocFields::flagF;
using TocFields::flagT;
using TocFields::toInteger;
using TocFields::toLong;

namespace {
// The fields of a message cut into a fixed number of pieces, or nothing when
// the message is shorter than the parser needs.
std::optional<QList<QByteArrayView>> fieldsOf(QByteArrayView payload, int pieces, int needed)
{
    QList<QByteArrayView> fields = TocFields::split(payload, pieces);
    if (fields.size() < needed)
        return std::nullopt;
    return fields;
}

QByteArray bytes(QByteArrayView view) { return view.toByteArray(); }

// Field 1 of INSERTED2 and DELETED2, read before the message is cut for good
// because the kind decides into how many pieces.
std::optional<ListChange::Kind> listKind(QByteArrayView payload)
{
    const auto head = fieldsOf(payload, 3, 2);
    if (!head)
        return std::nullopt;
    const QByteArrayView letter = (*head)[1];
    if (letter == "b")
        return ListChange::Buddy;
    if (letter == "p")
        return ListChange::Permit;
    if (letter == "d")
        return ListChange::Deny;
    if (letter == "g")
        return ListChange::Group;
    return std::nullopt;
}

// A permit, deny or group change: the one name is field 2 of the given cut.
std::optional<ListChange> singleNameChange(ListChange::Kind kind, QByteArrayView payload, int pieces)
{
    const auto f = fieldsOf(payload, pieces, 3);
    if (!f)
        return std::nullopt;
    ListChange change{kind, {}, {}, {}};
    (kind == ListChange::Group ? change.group : change.name) = bytes((*f)[2]);
    return change;
}
} // namespace

std::optional<Nick> parseNick(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 2, 2);
    if (!f)
        return std::nullopt;
    return Nick{bytes((*f)[1])};
}

std::optional<UpdateBuddy> parseUpdateBuddy(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 8, 7);
    if (!f)
        return std::nullopt;
    const auto warning = toInteger((*f)[3]);
    const auto signOnTime = toLong((*f)[4]);
    const auto idle = toLong((*f)[5]);
    if (!warning || !signOnTime || !idle)
        return std::nullopt;
    return UpdateBuddy{bytes((*f)[1]), flagF((*f)[2]), *warning, *signOnTime, *idle, bytes((*f)[6])};
}

std::optional<BuddyData> parseBuddyData(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 3, 3);
    if (!f)
        return std::nullopt;
    return BuddyData{bytes((*f)[1]), bytes((*f)[2])};
}

std::optional<ChatJoin> parseChatJoin(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 3, 3);
    const auto id = f ? toLong((*f)[1]) : std::nullopt;
    if (!id)
        return std::nullopt;
    return ChatJoin{*id, bytes((*f)[2])};
}

std::optional<ChatUpdateBuddy> parseChatUpdateBuddy(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, TocFields::AllPieces, 4);
    const auto id = f ? toLong((*f)[1]) : std::nullopt;
    if (!id)
        return std::nullopt;
    ChatUpdateBuddy update{*id, flagT((*f)[2]), {}};
    update.names.reserve(f->size() - 3);
    for (qsizetype i = 3; i < f->size(); ++i)
        update.names.append(bytes((*f)[i]));
    return update;
}

std::optional<ChatIn> parseChatIn(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 7, 7);
    const auto id = f ? toLong((*f)[1]) : std::nullopt;
    if (!id)
        return std::nullopt;
    return ChatIn{*id, bytes((*f)[2]), bytes((*f)[6])};
}

std::optional<ChatLeft> parseChatLeft(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 2, 2);
    const auto id = f ? toLong((*f)[1]) : std::nullopt;
    if (!id)
        return std::nullopt;
    return ChatLeft{*id};
}

std::optional<ImIn> parseImIn(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 10, 10);
    if (!f)
        return std::nullopt;
    return ImIn{bytes((*f)[1]), flagF((*f)[2]), bytes((*f)[5]), bytes((*f)[9])};
}

std::optional<ListChange> parseInserted(QByteArrayView payload)
{
    const auto kind = listKind(payload);
    if (!kind)
        return std::nullopt;
    if (*kind != ListChange::Buddy)
        return singleNameChange(*kind, payload, 3);
    const auto f = fieldsOf(payload, 5, 5);
    if (!f)
        return std::nullopt;
    return ListChange{ListChange::Buddy, bytes((*f)[4]), bytes((*f)[3]), bytes((*f)[2])};
}

std::optional<ListChange> parseDeleted(QByteArrayView payload)
{
    const auto kind = listKind(payload);
    if (!kind)
        return std::nullopt;
    // Buddy and permit changes are cut into four pieces; only a buddy needs
    // the fourth (its group).
    if (*kind != ListChange::Buddy)
        return singleNameChange(*kind, payload, *kind == ListChange::Permit ? 4 : 3);
    const auto f = fieldsOf(payload, 4, 4);
    if (!f)
        return std::nullopt;
    return ListChange{ListChange::Buddy, bytes((*f)[3]), bytes((*f)[2]), {}};
}

std::optional<ChatInvite> parseChatInvite(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 5, 5);
    const auto id = f ? toLong((*f)[2]) : std::nullopt;
    if (!id)
        return std::nullopt;
    return ChatInvite{bytes((*f)[1]), *id, bytes((*f)[3]), bytes((*f)[4])};
}

std::optional<GotoUrl> parseGotoUrl(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 3, 3);
    if (!f)
        return std::nullopt;
    return GotoUrl{bytes((*f)[1]), bytes((*f)[2])};
}

std::optional<Eviled> parseEviled(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 3, 3);
    const auto level = f ? toInteger((*f)[1]) : std::nullopt;
    if (!level)
        return std::nullopt;
    return Eviled{*level, bytes((*f)[2])};
}

std::optional<RvousPropose> parseRvousPropose(QByteArrayView payload)
{
    // Field 4, the proposal's sequence number, and anything after the port
    // are not used.
    const auto f = fieldsOf(payload, TocFields::AllPieces, 9);
    const auto port = f ? toLong((*f)[8]) : std::nullopt;
    if (!port)
        return std::nullopt;
    return RvousPropose{bytes((*f)[1]), bytes((*f)[2]), bytes((*f)[3]), bytes((*f)[5]),
                        bytes((*f)[6]), bytes((*f)[7]), *port};
}

std::optional<ClientEvent> parseClientEvent(QByteArrayView payload)
{
    const auto f = fieldsOf(payload, 3, 3);
    const auto status = f ? toInteger((*f)[2]) : std::nullopt;
    if (!status)
        return std::nullopt;
    return ClientEvent{bytes((*f)[1]), *status};
}

} // namespace TocMessages
