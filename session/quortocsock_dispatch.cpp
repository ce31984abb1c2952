// The receiving half of QuorTOCSock: one server frame in, events out.

#include "quortocsock.h"

#include "toccommands.h"
#include "tocconfig.h"
#include "tocerrors.h"
#include "tocfields.h"

using TocFields::flagF;
using TocFields::flagT;
using TocFields::toInteger;
using TocFields::toLong;

namespace {
// The fields of a message cut into a fixed number of pieces, or nothing when
// the message is shorter than the handler needs.
std::optional<QList<QByteArrayView>> fieldsOf(QByteArrayView payload, int pieces, int needed)
{
    QList<QByteArrayView> fields = TocFields::split(payload, pieces);
    if (fields.size() < needed)
        return std::nullopt;
    return fields;
}

QByteArray bytes(QByteArrayView view) { return view.toByteArray(); }
} // namespace

void QuorTOCSock::ProcessPacket(const QByteArray &frame)
{
    emit IncomingPacket(frame);
    const quint8 type = Flap::frameType(frame);
    switch (type) {
    case Flap::SignOn:
        SendPacket(Flap::SignOn, TocCommand::signOnPayload(strScreenName));
        sendCommand(TocCommand::login(strAuthServer, lngServerPort, strScreenName, strRoastedPassword));
        break;
    case Flap::Data:
        dispatchData(Flap::framePayload(frame));
        break;
    case Flap::ErrorFrame:
    case Flap::SignOff:
        break;
    case Flap::KeepAlive:
        SendPacket(Flap::KeepAlive, QByteArray());
        break;
    default:
        emit Error(0, TocErrors::unknownChannel(type));
        break;
    }
}

void QuorTOCSock::dispatchData(QByteArrayView payload)
{
    const qsizetype colon = payload.indexOf(':');
    const QByteArrayView command = colon < 0 ? payload : payload.first(colon);

    if (command == "SIGN_ON") {
        return;
    } else if (command == "NICK") {
        if (const auto f = fieldsOf(payload, 2, 2))
            emit ScreennameFormat(bytes((*f)[1]));
    } else if (command == "CONFIG2") {
        handleConfig(payload);
    } else if (command == "ERROR") {
        if (const auto error = TocErrors::decode(payload))
            emit Error(error->code, error->text);
    } else if (command == "UPDATE_BUDDY2") {
        const auto f = fieldsOf(payload, 8, 7);
        if (!f)
            return;
        const auto warning = toInteger((*f)[3]);
        const auto onlineTime = toLong((*f)[4]);
        const auto idle = toLong((*f)[5]);
        if (warning && onlineTime && idle)
            emit BuddyUpdate(bytes((*f)[1]), flagF((*f)[2]), *warning, *onlineTime, *idle, bytes((*f)[6]));
    } else if (command == "BUDDY_CAPS2") {
        if (const auto f = fieldsOf(payload, 3, 3))
            emit BuddyCapabilities(bytes((*f)[1]), bytes((*f)[2]));
    } else if (command == "BART2") {
        if (const auto f = fieldsOf(payload, 3, 3))
            emit BuddyBart(bytes((*f)[1]), bytes((*f)[2]));
    } else if (command == "CHAT_JOIN") {
        const auto f = fieldsOf(payload, 3, 3);
        const auto id = f ? toLong((*f)[1]) : std::nullopt;
        if (!id)
            return;
        ChatTable.join(*id, bytes((*f)[2]));
        LastChatID = *id;
        emit JoinedChat(bytes((*f)[2]), LastChatID);
    } else if (command == "CHAT_UPDATE_BUDDY") {
        const auto f = fieldsOf(payload, TocFields::AllPieces, 4);
        const auto id = f ? toLong((*f)[1]) : std::nullopt;
        if (!id)
            return;
        if (flagT((*f)[2])) {
            for (qsizetype i = 3; i < f->size(); ++i)
                emit ChatUserUpdate(bytes((*f)[i]), true, *id);
        } else {
            // A departure reports only the first name listed.
            emit ChatUserUpdate(bytes((*f)[3]), false, *id);
        }
    } else if (command == "CHAT_IN_ENC") {
        const auto f = fieldsOf(payload, 7, 7);
        const auto id = f ? toLong((*f)[1]) : std::nullopt;
        if (id)
            emit ChatMessage(*id, bytes((*f)[2]), bytes((*f)[6]));
    } else if (command == "CHAT_LEFT") {
        const auto f = fieldsOf(payload, 2, 2);
        const auto id = f ? toLong((*f)[1]) : std::nullopt;
        if (!id)
            return;
        ChatTable.leave(*id);
        emit LeftChat(*id);
    } else if (command == "IM_IN_ENC2") {
        if (const auto f = fieldsOf(payload, 10, 10))
            emit InstantMessage(bytes((*f)[1]), bytes((*f)[9]), flagF((*f)[2]), bytes((*f)[5]));
    } else if (command == "INSERTED2" || command == "DELETED2") {
        const bool inserted = command == "INSERTED2";
        const auto head = fieldsOf(payload, 3, 2);
        if (!head)
            return;
        const QByteArrayView kindField = (*head)[1];
        if (inserted) {
            if (kindField == "b") {
                if (const auto f = fieldsOf(payload, 5, 5))
                    emit BuddyAdded(bytes((*f)[4]), bytes((*f)[3]), bytes((*f)[2]));
            } else if (kindField == "p" || kindField == "d" || kindField == "g") {
                const auto f = fieldsOf(payload, 3, 3);
                if (!f)
                    return;
                if (kindField == "p")
                    emit PrivateBuddyAdded(bytes((*f)[2]));
                else if (kindField == "d")
                    emit BuddyBlocked(bytes((*f)[2]));
                else
                    emit GroupAdded(bytes((*f)[2]));
            }
        } else {
            if (kindField == "b" || kindField == "p") {
                // Both are cut into four pieces; only a buddy needs the fourth (its group).
                const auto f = fieldsOf(payload, 4, kindField == "b" ? 4 : 3);
                if (!f)
                    return;
                if (kindField == "b")
                    emit BuddyRemoved(bytes((*f)[3]), bytes((*f)[2]));
                else
                    emit PrivateBuddyRemoved(bytes((*f)[2]));
            } else if (kindField == "d" || kindField == "g") {
                const auto f = fieldsOf(payload, 3, 3);
                if (!f)
                    return;
                if (kindField == "d")
                    emit BuddyUnblocked(bytes((*f)[2]));
                else
                    emit GroupRemoved(bytes((*f)[2]));
            }
        }
    } else if (command == "CHAT_INVITE") {
        const auto f = fieldsOf(payload, 5, 5);
        const auto id = f ? toLong((*f)[2]) : std::nullopt;
        if (id)
            emit ChatInvite(bytes((*f)[1]), *id, bytes((*f)[3]), bytes((*f)[4]));
    } else if (command == "UPDATED2") {
        return;
    } else if (command == "GOTO_URL") {
        if (const auto f = fieldsOf(payload, 3, 3))
            emit UserProfile(bytes((*f)[2]));
    } else if (command == "EVILED") {
        const auto f = fieldsOf(payload, 3, 3);
        const auto level = f ? toInteger((*f)[1]) : std::nullopt;
        if (level)
            emit Warned(QByteArray::number(*level), bytes((*f)[2]));
    } else if (command == "ADMIN_NICK_STATUS") {
        emit ScreenNameFormatted();
    } else if (command == "ADMIN_PASSWD_STATUS") {
        emit PasswordChanged();
    } else if (command == "RVOUS_PROPOSE") {
        const auto f = fieldsOf(payload, TocFields::AllPieces, 9);
        const auto port = f ? toLong((*f)[8]) : std::nullopt;
        if (port)
            emit RendevousRequest(bytes((*f)[1]), bytes((*f)[2]), bytes((*f)[3]), bytes((*f)[5]),
                                  bytes((*f)[6]), bytes((*f)[7]), *port);
    } else if (command == "CLIENT_EVENT2") {
        const auto f = fieldsOf(payload, 3, 3);
        const auto status = f ? toInteger((*f)[2]) : std::nullopt;
        if (status)
            emit TypingStatus(bytes((*f)[1]), *status);
    }
}

void QuorTOCSock::handleConfig(QByteArrayView payload)
{
    // The configuration text starts after "CONFIG2:".
    static constexpr qsizetype prefixLength = sizeof("CONFIG2:") - 1;
    const QByteArrayView text = payload.size() > prefixLength ? payload.sliced(prefixLength) : QByteArrayView();
    // The end marker may straddle two frames, so look across the join too.
    const qsizetype reach = TocConfigText::EndMarker.size() - 1;
    QByteArray join = strConfigBuffer.right(reach);
    join.append(text.first(std::min(text.size(), reach)));
    const bool complete = TocConfigText::hasEnd(text) || TocConfigText::hasEnd(join);
    if (!complete) {
        // A configuration that never ends must not grow without bound; what
        // was collected is dropped and the sign-on simply never completes.
        if (strConfigBuffer.size() + text.size() > MaxConfigSize)
            strConfigBuffer.clear();
        else
            strConfigBuffer.append(text);
        return;
    }
    const QByteArray whole = strConfigBuffer + text.toByteArray();
    strConfigBuffer.clear();
    const TocConfig config = TocConfigText::parse(whole);
    if (config.complete) {
        emit LoggedIn(strScreenName, config.BuddyList, config.BlockList, config.PrivateList,
                      config.MiscData, config.strPreferences, config.PrivacyMode);
    }
    // Sent after the handlers of LoggedIn have returned, so whatever they sent
    // (the profile) reaches the server first.
    SendPacket(Flap::Data, TocCommand::initDone());
}
